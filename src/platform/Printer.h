#pragma once

// The printers of this machine and the one process-wide printer object that print jobs
// draw on, in place of the Windows printer object and its device context.
//
// Units: every position, size and width is in printer dots (device pixels) unless a name
// says otherwise; font sizes are in points. Canvas coordinates count from the top-left
// corner of the printable area, as a Windows printer canvas does.
//
// The installed printers are the CUPS queues (through QPrinterInfo) and the PDF printers
// named in the registry (see MachinePrinters). Tests replace the whole set through
// SetPrinterSystem, e.g. with the RecordingPrinters of RecordingPrinter.h.
//
// Main (user-interface) thread only; one print job at a time. Failures throw PrinterError.

#include <QMargins>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

class QFont;

namespace platform {

class PrinterError : public std::runtime_error
{
public:
    explicit PrinterError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    { }
    const QString &Message() const { return m_message; }

private:
    QString m_message;
};

// A font as a print job asks for it. The name is kept as requested ("Arial Narrow") even
// where the machine draws it with a substitute face.
struct PrintFont
{
    QString name = QStringLiteral("Arial");
    double size = 10; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// The font as Qt draws it, after the substitutes below are in place.
QFont ToQFont(const PrintFont &font);

// Makes the faces that label layouts ask for by their Windows names resolve to the metric-
// compatible faces of this machine ("Arial Narrow" -> "Liberation Sans Narrow", "Arial" ->
// "Liberation Sans") where the Windows face is not installed. Idempotent; needs the
// application object (QGuiApplication).
void InstallPrintFontSubstitutes();

// The text metrics of a font on a device, as Windows reports them: the cell height
// (ascent + descent) and the external leading, in dots.
struct TextMetrics
{
    int height = 0;
    int externalLeading = 0;
};

// One printer's device for one document: document and pages, a canvas with a font, and the
// device metrics. Created for a job by the PrinterSystem and freed after it.
class PrintDevice
{
public:
    virtual ~PrintDevice() = default;

    // The document. BeginDoc throws when the printer cannot take a job (a file that cannot
    // be written, a stopped or unreachable printer); EndDoc throws when the finished
    // document cannot be delivered. After EndDoc or Abort the device is only freed, and
    // Abort, which drops the document, never throws.
    virtual void BeginDoc(const QString &title) = 0;
    virtual void NewPage() = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;

    // LOGPIXELSX, LOGPIXELSY.
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // GETPHYSPAGESIZE: the whole sheet.
    virtual QSize PhysicalPageSize() const = 0;
    // GETPRINTINGOFFSET: the unprintable edge at the left and at the top.
    virtual QPoint PrintingOffset() const = 0;
    // The printable area (the printer object's page width and height).
    virtual QSize PrintableSize() const = 0;

    // The canvas font; metrics and widths follow it.
    virtual void SetFont(const PrintFont &font) = 0;
    virtual const PrintFont &Font() const = 0;
    virtual TextMetrics GetTextMetrics() const = 0;
    virtual int TextWidth(const QString &text) const = 0;
    // Draws text with the top-left corner of its cell at (x, y) in canvas coordinates.
    virtual void TextOut(int x, int y, const QString &text) = 0;
};

// The set of installed printers and the factory of their devices: the seam through which
// tests put a recording device in place of real printers.
class PrinterSystem
{
public:
    virtual ~PrinterSystem() = default;
    // The installed printers' names in display order. Never blocks for more than a few
    // seconds, never throws: a print server that cannot be reached contributes no names.
    virtual QStringList PrinterNames() = 0;
    // The machine's default printer; empty when there is none.
    virtual QString DefaultPrinterName() { return QString(); }
    // A device for one printer, named as PrinterNames gives it. Throws PrinterError for an
    // unknown name or a printer that cannot be reached, within a few seconds.
    virtual std::unique_ptr<PrintDevice> CreateDevice(const QString &name) = 0;
};

// The machine's printers: the CUPS queues, then the PDF printers of the registry string
// value "PdfPrinters" under HKEY_LOCAL_MACHINE "\Software\Zentrix\Vela", which holds
// "Name=/path/file.pdf" pairs separated by ';'. A PDF printer of the same name as a CUPS
// queue hides the queue. A PDF printer prints every job into its file, replacing it when
// the job ends, on label stock of kPdfLabelWidthInches x kPdfLabelHeightInches at kPdfDpi
// dots per inch without unprintable edges. Both lists are read afresh at every call.
class MachinePrinters : public PrinterSystem
{
public:
    static constexpr double kPdfLabelWidthInches = 4.0;
    static constexpr double kPdfLabelHeightInches = 1.5;
    static constexpr int kPdfDpi = 203;
    // How long the print server may take to accept a connection before its queues are left
    // out and jobs for them fail.
    static constexpr int kServerTimeoutMs = 2000;

    struct PdfPrinter
    {
        QString name;
        QString file;
    };
    // The pairs of a "PdfPrinters" value; entries without '=' or with an empty name or path
    // are skipped, blanks around names and paths dropped, a repeated name (any letter case)
    // keeps its first path.
    static QList<PdfPrinter> ParsePdfPrinters(const QString &value);
    static QList<PdfPrinter> PdfPrinters(); // from the registry

    QStringList PrinterNames() override;
    QString DefaultPrinterName() override;
    std::unique_ptr<PrintDevice> CreateDevice(const QString &name) override;
};

// Whether the CUPS server this process would talk to accepts a connection within
// timeoutMs. A local server (the domain socket, localhost) counts as reachable: the system
// answers for it at once. Reads CUPS_SERVER, then ~/.cups/client.conf and
// /etc/cups/client.conf (ServerName).
bool CupsServerReachable(int timeoutMs);

// Installs the set of printers used from now on and returns the one it replaces; an empty
// pointer restores the machine's printers. A job in progress is aborted first.
std::shared_ptr<PrinterSystem> SetPrinterSystem(std::shared_ptr<PrinterSystem> system);
PrinterSystem &CurrentPrinterSystem();

// The process-wide printer object: the current printer and the document being printed.
class Printer
{
public:
    static Printer &Instance();

    // The installed printers (CurrentPrinterSystem().PrinterNames()).
    QStringList Printers() const;
    // The printer the next document goes to; empty means the machine's default printer.
    const QString &PrinterName() const { return m_printerName; }
    void SetPrinterName(const QString &name) { m_printerName = name; }

    // Starts a document on the current printer, on page 1. Throws PrinterError when a
    // document is already open, no printer is chosen and there is no default, or the
    // device refuses; nothing stays open then.
    void BeginDoc(const QString &title = QStringLiteral("Vela"));
    void NewPage();
    // Ends the document; the printer is free again even when delivery fails (and throws).
    void EndDoc();
    // Drops the open document, if any. Never throws.
    void Abort();
    bool Printing() const { return m_device != nullptr; }
    int PageNumber() const { return m_pageNumber; } // 1-based; 0 when not printing

    // The open document's device: canvas and metrics. Throws PrinterError when none is open.
    PrintDevice &Device();

private:
    Printer() = default;

    QString m_printerName;
    std::unique_ptr<PrintDevice> m_device;
    int m_pageNumber = 0;
};

} // namespace platform
