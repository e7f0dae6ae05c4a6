#pragma once

// Printers that record what a job draws instead of printing it, for tests and benchmarks:
// every text with its font, its position and its page. Text is measured with the real
// font faces at the device's resolution, so widths and line heights are those a printer of
// that resolution would give. Main thread only.

#include "Printer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

struct PrintedText
{
    QString text;
    QString fontName; // as requested
    double fontSize = 0; // points
    bool bold = false;
    int x = 0; // canvas dots, from the printable area's left edge
    int y = 0; // canvas dots, from the printable area's top edge: the top of the text cell
    int page = 0; // 1-based
};

struct PrintedDocument
{
    QString printer;
    QString title;
    std::vector<PrintedText> texts;
    int pages = 0;
    bool ended = false; // EndDoc ran
    bool aborted = false;

    // The texts of one page, in drawing order.
    std::vector<PrintedText> Page(int page) const;
};

// Everything the recording printers were asked to print, in job order. A deque, so a
// document stays where it is while later ones are added.
struct PrintRecording
{
    std::deque<PrintedDocument> documents;
};

// The sheet of a recording printer. The default is label stock of 4 x 1.5 inches at 203
// dots per inch without unprintable edges.
struct RecordingPageSetup
{
    int dpiX = 203;
    int dpiY = 203;
    QSize physical {812, 305};
    QMargins gutters; // unprintable edges: left, top, right, bottom
};

// A paint device that only reports a resolution, so fonts can be measured as on a printer
// of that resolution without one.
class ResolutionDevice : public QPaintDevice
{
public:
    ResolutionDevice(int dpiX, int dpiY, QSize size);
    QPaintEngine *paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_dpiX;
    int m_dpiY;
    QSize m_size;
};

class RecordingPrintDevice : public PrintDevice
{
public:
    // document is filled as the job runs; it must outlive the device.
    RecordingPrintDevice(PrintedDocument *document, const RecordingPageSetup &setup);

    void BeginDoc(const QString &title) override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;

    int DpiX() const override { return m_setup.dpiX; }
    int DpiY() const override { return m_setup.dpiY; }
    QSize PhysicalPageSize() const override { return m_setup.physical; }
    QPoint PrintingOffset() const override;
    QSize PrintableSize() const override;

    void SetFont(const PrintFont &font) override;
    const PrintFont &Font() const override { return m_font; }
    TextMetrics GetTextMetrics() const override;
    int TextWidth(const QString &text) const override;
    void TextOut(int x, int y, const QString &text) override;

private:
    PrintedDocument *m_document;
    RecordingPageSetup m_setup;
    ResolutionDevice m_resolution;
    PrintFont m_font;
    std::optional<QFontMetrics> m_metrics;
};

// A set of installed printers, all recording into one PrintRecording.
class RecordingPrinters : public PrinterSystem
{
public:
    explicit RecordingPrinters(QStringList names = {QStringLiteral("Label Printer")},
                               RecordingPageSetup setup = {});

    QStringList PrinterNames() override { return m_names; }
    std::unique_ptr<PrintDevice> CreateDevice(const QString &name) override;

    PrintRecording &Recording() { return m_recording; }
    RecordingPageSetup &Setup() { return m_setup; } // for the jobs started from now on

private:
    QStringList m_names;
    RecordingPageSetup m_setup;
    PrintRecording m_recording;
};

} // namespace platform
