#pragma once

// TPrintObject lays lines of text out on the pages of the current printer (the process-wide
// platform::Printer), with positions in inches from the top-left corner of the physical
// sheet. It hides the printer's resolution and its unprintable edges (the gutters): callers
// give a position in inches or ask for the next line; the object converts to printer dots,
// keeps the line position and clamps to the printable area.
//
// Units: inches as single-precision floats, dots (printer device pixels) as integers.
// One object per print job, owned by its caller: BeginJob, settings and writes, StartNewPage
// between pages, EndJob last (also after an error). Printer errors (platform::PrinterError)
// are raised to the caller unchanged; the conversions never fail.
// Main thread only; the printer is process-wide, so one job at a time.

#include "platform/Printer.h"

#include <QFlags>
#include <QString>

enum class TFontStyle : unsigned {
    fsBold = 0x1,
    fsItalic = 0x2,
    fsUnderline = 0x4,
    fsStrikeOut = 0x8,
};
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFontStyles)

class TPrintObject
{
public:
    // WriteText's Y codes.
    static constexpr float kNextLine = -1.0f; // one line height below the last line
    static constexpr float kSameLine = -2.0f; // on the last line again

    explicit TPrintObject(platform::Printer &printer = platform::Printer::Instance());
    // A job begun here and never ended is dropped (see platform::Printer::Abort).
    ~TPrintObject();
    TPrintObject(const TPrintObject &) = delete;
    TPrintObject &operator=(const TPrintObject &) = delete;

    // Starts the document on the current printer, switches automatic new page on, reads
    // the device metrics, sets the margins to the gutters and the line position to 0.
    // Always true; a printer that refuses raises instead.
    bool BeginJob();
    // Ends the document. Nothing happens when no job of this object is open, so callers can
    // end on every way out.
    void EndJob();
    bool JobOpen() const { return m_jobOpen; }

    // Margins in inches. A pair that does not fit across (down) the page falls back to the
    // gutters, as does each value not greater than 0; no margin is ever inside its gutter.
    void SetPageMargins(float top, float bottom, float left, float right);
    // Where next-line writing restarts after a new page (top) and where an automatic new
    // page is triggered (bottom), in inches; the line position becomes top - line height.
    void SetTextArea(float top, float bottom);
    void SetAutoNewPage(bool value) { m_autoNewPage = value; }
    void ResetLinePosition() { m_linePosition = m_textTop; }

    // The canvas font; the device metrics are read again, so the line height follows it.
    void SetFont(const QString &name, int size, TFontStyles style = {});
    int TextWidth(const QString &text); // dots, in the current font

    // One line of text. X in inches, or negative for the left margin. Y in inches (greater
    // than -0.01: an absolute position, clamped to the printable area), kNextLine or
    // kSameLine; any other code writes on the last line, like kSameLine.
    void WriteText(const QString &text, float x, float y);
    // text + spaces + tail, or text shortened from its end + tail, measuring at most width
    // dots in the current font (the tail alone may be wider). Characters are dropped whole:
    // a character outside the basic plane is never split.
    QString FitToWidth(const QString &text, const QString &tail, int width);
    void StartNewPage();

    // Inches times dots per inch of the axis, in single precision, truncated toward zero.
    int InchesToDotsX(float inches) const;
    int InchesToDotsY(float inches) const;
    float DotsToInchesX(int dots) const;
    float DotsToInchesY(int dots) const;

    // The state, for callers that lay out by hand and for tests.
    float LinePosition() const { return m_linePosition; } // inches from the top of the sheet
    float LineHeight() const; // inches: (text height + external leading) / dots per inch Y
    int MarginTop() const { return m_marginTop; } // dots
    int MarginBottom() const { return m_marginBottom; }
    int MarginLeft() const { return m_marginLeft; }
    int MarginRight() const { return m_marginRight; }
    int GutterTop() const { return m_gutterTop; }
    int GutterBottom() const { return m_gutterBottom; }
    int GutterLeft() const { return m_gutterLeft; }
    int GutterRight() const { return m_gutterRight; }
    float PageWidth() const { return m_pageWidth; } // inches
    float PageHeight() const { return m_pageHeight; }

private:
    void ReadDeviceMetrics();
    void RaiseMarginsToGutters();

    platform::Printer &m_printer;
    bool m_jobOpen = false;

    int m_marginTop = 0;
    int m_marginBottom = 0;
    int m_marginLeft = 0;
    int m_marginRight = 0;
    int m_dpiX = 0;
    int m_dpiY = 0;
    int m_physicalWidth = 0;
    int m_physicalHeight = 0;
    float m_pageWidth = 0;
    float m_pageHeight = 0;
    int m_gutterLeft = 0;
    int m_gutterTop = 0;
    int m_gutterRight = 0;
    int m_gutterBottom = 0;
    float m_textTop = 0;
    float m_textBottom = 0;
    float m_linePosition = 0;
    bool m_autoNewPage = true;
    platform::TextMetrics m_textMetrics;
};
