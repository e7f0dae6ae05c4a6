#include "printing/PrnMain.h"

#include <algorithm>
#include <cmath>
#include <limits>

TPrintObject::TPrintObject(platform::Printer &printer)
    : m_printer(printer)
{ }

TPrintObject::~TPrintObject()
{
    if (m_jobOpen)
        m_printer.Abort();
}

bool TPrintObject::BeginJob()
{
    m_printer.BeginDoc();
    m_jobOpen = true;
    m_autoNewPage = true;
    ReadDeviceMetrics();
    SetPageMargins(DotsToInchesY(m_gutterTop), DotsToInchesY(m_gutterBottom),
                   DotsToInchesX(m_gutterLeft), DotsToInchesX(m_gutterRight));
    m_linePosition = 0;
    return true;
}

void TPrintObject::EndJob()
{
    if (!m_jobOpen)
        return;
    m_jobOpen = false;
    m_printer.EndDoc();
}

void TPrintObject::ReadDeviceMetrics()
{
    platform::PrintDevice &device = m_printer.Device();
    m_textMetrics = device.GetTextMetrics();
    m_dpiY = device.DpiY();
    m_dpiX = device.DpiX();
    const QPoint offset = device.PrintingOffset();
    m_gutterLeft = offset.x();
    m_gutterTop = offset.y();
    const QSize physical = device.PhysicalPageSize();
    m_physicalWidth = physical.width();
    m_physicalHeight = physical.height();
    m_pageWidth = DotsToInchesX(m_physicalWidth);
    m_pageHeight = DotsToInchesY(m_physicalHeight);
    const QSize printable = device.PrintableSize();
    m_gutterRight = m_physicalWidth - m_gutterLeft - printable.width();
    m_gutterBottom = m_physicalHeight - m_gutterTop - printable.height();
    RaiseMarginsToGutters();
}

void TPrintObject::RaiseMarginsToGutters()
{
    m_marginLeft = std::max(m_marginLeft, m_gutterLeft);
    m_marginTop = std::max(m_marginTop, m_gutterTop);
    m_marginRight = std::max(m_marginRight, m_gutterRight);
    m_marginBottom = std::max(m_marginBottom, m_gutterBottom);
}

void TPrintObject::SetPageMargins(float top, float bottom, float left, float right)
{
    if (left + right >= m_pageWidth) {
        left = DotsToInchesX(m_gutterLeft);
        right = DotsToInchesX(m_gutterRight);
    }
    if (left <= 0)
        left = DotsToInchesX(m_gutterLeft);
    if (right <= 0)
        right = DotsToInchesX(m_gutterRight);

    if (top + bottom >= m_pageHeight) {
        top = DotsToInchesY(m_gutterTop);
        bottom = DotsToInchesY(m_gutterBottom);
    }
    if (top <= 0)
        top = DotsToInchesY(m_gutterTop);
    if (bottom <= 0)
        bottom = DotsToInchesY(m_gutterBottom);

    // The round trip through inches may lose a dot; the gutter is the floor either way.
    m_marginTop = std::max(InchesToDotsY(top), m_gutterTop);
    m_marginBottom = std::max(InchesToDotsY(bottom), m_gutterBottom);
    m_marginLeft = std::max(InchesToDotsX(left), m_gutterLeft);
    m_marginRight = std::max(InchesToDotsX(right), m_gutterRight);
}

void TPrintObject::SetTextArea(float top, float bottom)
{
    m_textTop = top;
    m_textBottom = bottom;
    m_linePosition = top - LineHeight();
}

void TPrintObject::SetFont(const QString &name, int size, TFontStyles style)
{
    platform::PrintFont font;
    font.name = name;
    font.size = size;
    font.bold = style.testFlag(TFontStyle::fsBold);
    font.italic = style.testFlag(TFontStyle::fsItalic);
    font.underline = style.testFlag(TFontStyle::fsUnderline);
    font.strikeOut = style.testFlag(TFontStyle::fsStrikeOut);
    m_printer.Device().SetFont(font);
    ReadDeviceMetrics();
}

int TPrintObject::TextWidth(const QString &text)
{
    return m_printer.Device().TextWidth(text);
}

float TPrintObject::LineHeight() const
{
    if (m_dpiY <= 0)
        return 0;
    return float(m_textMetrics.height + m_textMetrics.externalLeading) / float(m_dpiY);
}

void TPrintObject::WriteText(const QString &text, float x, float y)
{
    int dotsX = x >= 0 ? InchesToDotsX(x) : m_marginLeft;
    if (dotsX < m_gutterLeft)
        dotsX = m_gutterLeft;

    int dotsY = 0;
    if (y > -0.01f) {
        dotsY = InchesToDotsY(y);
        if (dotsY < m_gutterTop)
            dotsY = m_gutterTop;
        if (dotsY > m_physicalHeight)
            dotsY = m_physicalHeight - m_gutterBottom;
        m_linePosition = y;
    } else if (y == kNextLine) {
        if (m_autoNewPage && m_linePosition + LineHeight() > m_textBottom)
            StartNewPage();
        dotsY = InchesToDotsY(m_linePosition + LineHeight());
        m_linePosition += LineHeight();
    } else {
        dotsY = InchesToDotsY(m_linePosition);
    }

    m_printer.Device().TextOut(dotsX - m_gutterLeft, dotsY - m_gutterTop, text);
}

QString TPrintObject::FitToWidth(const QString &text, const QString &tail, int width)
{
    if (TextWidth(text + tail) < width) {
        // Pad one space at a time. Every space adds at least a dot on any real face; the
        // bound only stops a face whose space has no width.
        QString spaces;
        int measured = 0;
        do {
            spaces += QLatin1Char(' ');
            measured = TextWidth(text + spaces + tail);
        } while (measured < width && spaces.size() <= width);
        if (measured > width)
            spaces.chop(1);
        return text + spaces + tail;
    }

    QString shortened = text;
    while (!shortened.isEmpty() && TextWidth(shortened + tail) > width) {
        const qsizetype n = shortened.size();
        const bool pair = n >= 2 && shortened.at(n - 1).isLowSurrogate()
            && shortened.at(n - 2).isHighSurrogate();
        shortened.chop(pair ? 2 : 1);
    }
    return shortened + tail;
}

void TPrintObject::StartNewPage()
{
    m_linePosition = m_textTop - LineHeight();
    m_printer.NewPage();
}

namespace {

// Truncation toward zero; a value beyond the integers (a margin of "1e30") stops at their
// ends instead of being undefined.
int TruncateToDots(float dots)
{
    if (std::isnan(dots))
        return 0;
    if (dots > 2147483520.0f) // the largest float below 2^31
        return std::numeric_limits<int>::max();
    if (dots <= -2147483648.0f)
        return std::numeric_limits<int>::min();
    return int(std::trunc(dots));
}

} // namespace

int TPrintObject::InchesToDotsX(float inches) const
{
    return TruncateToDots(inches * float(m_dpiX));
}

int TPrintObject::InchesToDotsY(float inches) const
{
    return TruncateToDots(inches * float(m_dpiY));
}

float TPrintObject::DotsToInchesX(int dots) const
{
    return m_dpiX > 0 ? float(dots) / float(m_dpiX) : 0.0f;
}

float TPrintObject::DotsToInchesY(int dots) const
{
    return m_dpiY > 0 ? float(dots) / float(m_dpiY) : 0.0f;
}
