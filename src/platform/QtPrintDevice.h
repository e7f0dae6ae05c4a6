#pragma once

// Print devices that draw through Qt's printer: a CUPS queue, or a PDF file.
// Main thread only.

#include "Printer.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>
#include <optional>

class QPainter;
class QPrinter;

namespace platform {

// A device on a QPrinter set up by the caller (printer, paper, margins, resolution). The
// metrics come from the printer: dots per inch from its resolution, the sheet from its
// paper rectangle and the printable area from its page rectangle, both in device pixels;
// the printing offset is where the page rectangle starts on the paper.
class QPrinterDevice : public PrintDevice
{
public:
    // displayName names the printer in error messages.
    QPrinterDevice(std::unique_ptr<QPrinter> printer, const QString &displayName);
    ~QPrinterDevice() override;

    void BeginDoc(const QString &title) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;

    int DpiX() const override { return m_dpiX; }
    int DpiY() const override { return m_dpiY; }
    QSize PhysicalPageSize() const override { return m_physical; }
    QPoint PrintingOffset() const override { return m_offset; }
    QSize PrintableSize() const override { return m_printable; }

    void SetFont(const PrintFont &font) override;
    const PrintFont &Font() const override { return m_font; }
    TextMetrics GetTextMetrics() const override;
    int TextWidth(const QString &text) const override;
    void TextOut(int x, int y, const QString &text) override;

protected:
    QPrinter &QtPrinter() { return *m_printer; }
    const QString &DisplayName() const { return m_displayName; }
    // Ends the painter; false when the engine reports a failure.
    bool FinishPainting();

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QString m_displayName;
    PrintFont m_font;
    QFont m_qfont;
    std::optional<QFontMetrics> m_metrics;
    int m_dpiX = 0;
    int m_dpiY = 0;
    QSize m_physical;
    QPoint m_offset;
    QSize m_printable;
};

// A PDF printer: the document is written beside the target file and moved over it when the
// job ends, so a failed or dropped job leaves the previous file as it was. A folder that
// does not exist or cannot be written fails BeginDoc at once.
class PdfFileDevice : public QPrinterDevice
{
public:
    PdfFileDevice(const QString &printerName, const QString &file, QSizeF pageInches, int dpi);
    ~PdfFileDevice() override;

    void BeginDoc(const QString &title) override;
    void EndDoc() override;
    void Abort() override;

private:
    QString m_file;
    QString m_partFile; // the document while it is being written
};

} // namespace platform
