#include "platform/RecordingPrinter.h"

#include <algorithm>

namespace platform {

std::vector<PrintedText> PrintedDocument::Page(int page) const
{
    std::vector<PrintedText> result;
    std::copy_if(texts.cbegin(), texts.cend(), std::back_inserter(result),
                 [page](const PrintedText &t) { return t.page == page; });
    return result;
}

// --- ResolutionDevice -------------------------------------------------------------------

ResolutionDevice::ResolutionDevice(int dpiX, int dpiY, QSize size)
    : m_dpiX(dpiX)
    , m_dpiY(dpiY)
    , m_size(size)
{ }

int ResolutionDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_size.width();
    case PdmHeight:
        return m_size.height();
    case PdmWidthMM:
        return m_dpiX > 0 ? qRound(m_size.width() * 25.4 / m_dpiX) : 0;
    case PdmHeightMM:
        return m_dpiY > 0 ? qRound(m_size.height() * 25.4 / m_dpiY) : 0;
    case PdmNumColors:
        return 2;
    case PdmDepth:
        return 1;
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return m_dpiY;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

// --- RecordingPrintDevice ---------------------------------------------------------------

RecordingPrintDevice::RecordingPrintDevice(PrintedDocument *document,
                                           const RecordingPageSetup &setup)
    : m_document(document)
    , m_setup(setup)
    , m_resolution(setup.dpiX, setup.dpiY, setup.physical)
{
    InstallPrintFontSubstitutes();
    SetFont(PrintFont());
}

void RecordingPrintDevice::BeginDoc(const QString &title)
{
    m_document->title = title;
    m_document->pages = 1;
}

void RecordingPrintDevice::NewPage()
{
    ++m_document->pages;
}

void RecordingPrintDevice::EndDoc()
{
    m_document->ended = true;
}

void RecordingPrintDevice::Abort()
{
    m_document->aborted = true;
}

QPoint RecordingPrintDevice::PrintingOffset() const
{
    return QPoint(m_setup.gutters.left(), m_setup.gutters.top());
}

QSize RecordingPrintDevice::PrintableSize() const
{
    return m_setup.physical.shrunkBy(m_setup.gutters);
}

void RecordingPrintDevice::SetFont(const PrintFont &font)
{
    m_font = font;
    m_metrics.emplace(ToQFont(font), &m_resolution);
}

TextMetrics RecordingPrintDevice::GetTextMetrics() const
{
    return TextMetrics {m_metrics->ascent() + m_metrics->descent(),
                        std::max(0, m_metrics->leading())};
}

int RecordingPrintDevice::TextWidth(const QString &text) const
{
    return m_metrics->horizontalAdvance(text);
}

void RecordingPrintDevice::TextOut(int x, int y, const QString &text)
{
    m_document->texts.push_back(
        PrintedText {text, m_font.name, m_font.size, m_font.bold, x, y, m_document->pages});
}

// --- RecordingPrinters ------------------------------------------------------------------

RecordingPrinters::RecordingPrinters(QStringList names, RecordingPageSetup setup)
    : m_names(std::move(names))
    , m_setup(setup)
{ }

std::unique_ptr<PrintDevice> RecordingPrinters::CreateDevice(const QString &name)
{
    const auto found = std::find_if(m_names.cbegin(), m_names.cend(), [&](const QString &n) {
        return n.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (found == m_names.cend())
        throw PrinterError(QStringLiteral("The printer [%1] is not installed.").arg(name));
    PrintedDocument &document = m_recording.documents.emplace_back();
    document.printer = *found;
    return std::make_unique<RecordingPrintDevice>(&document, m_setup);
}

} // namespace platform
