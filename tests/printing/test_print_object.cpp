// The print object: inches to dots, gutters and margins, line positions, fitting text to a
// width, pages. Drawn into a recording printer whose sheet and gutters each test chooses.

#include "TestDatabase.h"

#include "printing/PrnMain.h"

#include "platform/RecordingPrinter.h"

#include <gtest/gtest.h>

#include <memory>

using platform::PrintedText;
using platform::RecordingPageSetup;

namespace {

class PrintObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Printers = std::make_shared<platform::RecordingPrinters>(QStringList {"Labels"});
        m_previous = platform::SetPrinterSystem(Printers);
        platform::Printer::Instance().SetPrinterName(QStringLiteral("Labels"));
    }
    void TearDown() override
    {
        platform::SetPrinterSystem(m_previous);
        platform::Printer::Instance().SetPrinterName(QString());
    }
    // 4 x 1.5 inches at 203 dots per inch, with gutters left, top, right, bottom.
    void Gutters(int left, int top, int right, int bottom)
    {
        Printers->Setup().gutters = QMargins(left, top, right, bottom);
    }
    const platform::PrintedDocument &Document() const
    {
        return Printers->Recording().documents.back();
    }
    const PrintedText &Text(size_t i) const { return Document().texts.at(i); }

    std::shared_ptr<platform::RecordingPrinters> Printers;

private:
    std::shared_ptr<platform::PrinterSystem> m_previous;
};

TEST_F(PrintObjectTest, BeginJobReadsTheSheetAndSetsTheMarginsToTheGutters)
{
    Gutters(20, 10, 30, 12);
    TPrintObject print;
    EXPECT_TRUE(print.BeginJob());
    EXPECT_FLOAT_EQ(print.PageWidth(), 812.0f / 203.0f);
    EXPECT_FLOAT_EQ(print.PageHeight(), 305.0f / 203.0f);
    EXPECT_EQ(print.GutterLeft(), 20);
    EXPECT_EQ(print.GutterTop(), 10);
    EXPECT_EQ(print.GutterRight(), 30); // physical - left gutter - printable width
    EXPECT_EQ(print.GutterBottom(), 12);
    EXPECT_EQ(print.MarginLeft(), 20);
    EXPECT_EQ(print.MarginTop(), 10);
    EXPECT_EQ(print.MarginRight(), 30);
    EXPECT_EQ(print.MarginBottom(), 12);
    EXPECT_FLOAT_EQ(print.LinePosition(), 0.0f);
    print.EndJob();
    EXPECT_TRUE(Document().ended);
    EXPECT_FALSE(platform::Printer::Instance().Printing());
}

TEST_F(PrintObjectTest, InchesTruncateTowardZeroInSinglePrecision)
{
    TPrintObject print;
    print.BeginJob();
    EXPECT_EQ(print.InchesToDotsX(0.6f), 121); // 121.8
    EXPECT_EQ(print.InchesToDotsY(1.0f), 203);
    EXPECT_EQ(print.InchesToDotsX(-0.6f), -121);
    EXPECT_EQ(print.InchesToDotsX(1e30f), std::numeric_limits<int>::max()); // no overflow
    EXPECT_FLOAT_EQ(print.DotsToInchesY(406), 2.0f);
    print.EndJob();
}

struct MarginCase
{
    const char *name;
    float top, bottom, left, right;
    int marginTop, marginBottom, marginLeft, marginRight;
};

TEST_F(PrintObjectTest, MarginsFallBackToTheGuttersAndNeverGoInsideThem)
{
    // Sheet 812 x 305 dots (4 x 1.5 inches); gutters left 20, top 10, right 30, bottom 12.
    const MarginCase cases[] = {
        {"zeros fall back to the gutters", 0, 0, 0, 0, 10, 12, 20, 30},
        {"margins inside the sheet are kept", 0.2f, 0.3f, 0.5f, 0.5f, 40, 60, 101, 101},
        {"a pair as wide as the page falls back", 0.2f, 0.3f, 3.0f, 1.0f, 40, 60, 20, 30},
        {"a pair as high as the page falls back", 1.0f, 0.6f, 0.5f, 0.5f, 10, 12, 101, 101},
        {"a margin inside its gutter is raised", 0.01f, 0.01f, 0.05f, 0.1f, 10, 12, 20, 30},
        {"negative margins fall back", -1, -1, -1, 0.5f, 10, 12, 20, 101},
    };
    Gutters(20, 10, 30, 12);
    TPrintObject print;
    print.BeginJob();
    for (const MarginCase &c : cases) {
        SCOPED_TRACE(c.name);
        print.SetPageMargins(c.top, c.bottom, c.left, c.right);
        EXPECT_EQ(print.MarginTop(), c.marginTop);
        EXPECT_EQ(print.MarginBottom(), c.marginBottom);
        EXPECT_EQ(print.MarginLeft(), c.marginLeft);
        EXPECT_EQ(print.MarginRight(), c.marginRight);
    }
    print.EndJob();
}

struct HorizontalCase
{
    const char *name;
    int gutterLeft;
    float x;
    int canvasX;
};

TEST_F(PrintObjectTest, HorizontalPositionsCountFromTheSheetEdge)
{
    const HorizontalCase cases[] = {
        {"0.6 inch without gutter", 0, 0.6f, 121},
        {"0.6 inch with a 20-dot gutter", 20, 0.6f, 101},
        {"a negative X is the left margin", 20, -1.0f, 0},
        {"a position inside the gutter is clamped", 20, 0.05f, 0},
    };
    for (const HorizontalCase &c : cases) {
        SCOPED_TRACE(c.name);
        Gutters(c.gutterLeft, 0, 0, 0);
        TPrintObject print;
        print.BeginJob();
        print.SetPageMargins(0, 0, 0, 0);
        print.WriteText(QStringLiteral("x"), c.x, 0);
        print.EndJob();
        EXPECT_EQ(Text(0).x, c.canvasX);
    }
}

TEST_F(PrintObjectTest, TopLineLandsOnThePrintableEdgeAndTheNextOneLineHeightFromTheSheetTop)
{
    for (const int gutterTop : {0, 15}) {
        SCOPED_TRACE(gutterTop);
        Gutters(0, gutterTop, 0, 0);
        TPrintObject print;
        print.BeginJob();
        print.SetAutoNewPage(false); // the text area is empty until set
        print.SetFont(QStringLiteral("Arial Narrow"), 10);
        print.WriteText(QStringLiteral("first"), 0.6f, 0);
        EXPECT_FLOAT_EQ(print.LinePosition(), 0.0f);
        const float lineHeight = print.LineHeight();
        print.WriteText(QStringLiteral("second"), 0.6f, TPrintObject::kNextLine);
        print.WriteText(QStringLiteral("again"), 0.6f, TPrintObject::kSameLine);
        print.EndJob();

        EXPECT_EQ(Text(0).y, 0);
        EXPECT_EQ(Text(1).y, print.InchesToDotsY(lineHeight) - gutterTop);
        EXPECT_EQ(Text(2).y, Text(1).y);
        EXPECT_FLOAT_EQ(print.LinePosition(), lineHeight);
    }
}

TEST_F(PrintObjectTest, AnAbsolutePositionBelowTheSheetIsClampedToItsPrintableBottom)
{
    Gutters(0, 10, 0, 12);
    TPrintObject print;
    print.BeginJob();
    print.WriteText(QStringLiteral("low"), 0, 10.0f);
    print.EndJob();
    EXPECT_EQ(Text(0).y, 305 - 12 - 10);
}

TEST_F(PrintObjectTest, LineHeightFollowsTheFontAndComesFromTheDeviceMetrics)
{
    TPrintObject print;
    print.BeginJob();
    print.SetTextArea(0, 30);
    print.SetFont(QStringLiteral("Arial Narrow"), 10);
    const platform::TextMetrics small = platform::Printer::Instance().Device().GetTextMetrics();
    EXPECT_FLOAT_EQ(print.LineHeight(), float(small.height + small.externalLeading) / 203.0f);
    print.WriteText(QStringLiteral("10 pt"), 0, 0);
    print.WriteText(QStringLiteral("10 pt"), 0, TPrintObject::kNextLine);
    const float smallLine = print.LineHeight();

    print.SetFont(QStringLiteral("Arial Narrow"), 20, TFontStyle::fsBold);
    const float bigLine = print.LineHeight();
    EXPECT_GT(bigLine, smallLine * 1.5f);
    print.WriteText(QStringLiteral("20 pt"), 0, TPrintObject::kNextLine);
    print.EndJob();

    EXPECT_EQ(Text(2).y, print.InchesToDotsY(smallLine + bigLine));
    EXPECT_EQ(Text(2).fontName, QStringLiteral("Arial Narrow"));
    EXPECT_EQ(Text(2).fontSize, 20);
    EXPECT_TRUE(Text(2).bold);
    EXPECT_FALSE(Text(0).bold);
}

TEST_F(PrintObjectTest, NextLinePastTheTextAreaStartsAPageOnlyWithAutomaticNewPage)
{
    for (const bool automatic : {true, false}) {
        SCOPED_TRACE(automatic);
        TPrintObject print;
        print.BeginJob();
        print.SetFont(QStringLiteral("Arial Narrow"), 10);
        print.SetTextArea(0.2f, 0.5f); // room for about two 10-pt lines below 0.2
        print.SetAutoNewPage(automatic);
        for (int i = 0; i < 5; ++i)
            print.WriteText(QString::number(i), 0, TPrintObject::kNextLine);
        print.EndJob();

        const platform::PrintedDocument &doc = Document();
        if (!automatic) {
            EXPECT_EQ(doc.pages, 1);
            continue;
        }
        EXPECT_GT(doc.pages, 1);
        // A line that opens a page goes to the top of the text area.
        for (int page = 2; page <= doc.pages; ++page)
            EXPECT_EQ(doc.Page(page).front().y, print.InchesToDotsY(0.2f)) << page;
    }
}

TEST_F(PrintObjectTest, StartNewPagePutsTheNextLineAtTheTopOfTheTextArea)
{
    TPrintObject print;
    print.BeginJob();
    print.SetFont(QStringLiteral("Arial Narrow"), 12);
    print.SetTextArea(0.25f, 30);
    print.WriteText(QStringLiteral("page 1"), 0, TPrintObject::kNextLine);
    print.StartNewPage();
    EXPECT_FLOAT_EQ(print.LinePosition(), 0.25f - print.LineHeight());
    print.WriteText(QStringLiteral("page 2"), 0, TPrintObject::kNextLine);
    print.EndJob();
    EXPECT_EQ(Document().pages, 2);
    EXPECT_EQ(Text(1).page, 2);
    EXPECT_EQ(Text(1).y, print.InchesToDotsY(0.25f));
}

TEST_F(PrintObjectTest, FitToWidthPadsWithSpacesOrCutsTheText)
{
    TPrintObject print;
    print.BeginJob();
    print.SetFont(QStringLiteral("Arial Narrow"), 10);
    const QString tail = QStringLiteral(" ");
    const int width = 320;
    const QString texts[] = {
        QString(),
        QStringLiteral("Order #: 42"),
        QStringLiteral("NO ONION,EXTRA CHEESE"),
        QString(200, QLatin1Char('W')),
        QStringLiteral("Crème brûlée 'n' \"Spécial\" 🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔🍔"),
    };
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        const QString fitted = print.FitToWidth(text, tail, width);
        const int measured = print.TextWidth(fitted);
        EXPECT_LE(measured, width);
        EXPECT_TRUE(fitted.endsWith(tail));
        if (print.TextWidth(text + tail) < width) {
            // Padded: the text, then only spaces; one space more would pass the width.
            EXPECT_TRUE(fitted.startsWith(text));
            EXPECT_TRUE(fitted.mid(text.size()).trimmed().isEmpty());
            EXPECT_TRUE(measured == width || print.TextWidth(fitted + tail) > width);
        } else {
            // Cut: a prefix of the text; one character more would not fit.
            const QString kept = fitted.chopped(tail.size());
            EXPECT_TRUE(text.startsWith(kept));
            EXPECT_GT(print.TextWidth(text.left(kept.size() + 1) + tail), width);
            EXPECT_FALSE(!kept.isEmpty() && kept.back().isHighSurrogate()) << "split character";
        }
    }
    // A text whose tail makes exactly the width stays as it is.
    const int exact = print.TextWidth(QStringLiteral("Margherita "));
    EXPECT_EQ(print.FitToWidth(QStringLiteral("Margherita"), tail, exact),
              QStringLiteral("Margherita "));
    print.EndJob();
}

TEST_F(PrintObjectTest, EndJobIsSafeToRepeatAndAnUnendedJobIsDropped)
{
    {
        TPrintObject print;
        print.EndJob(); // nothing begun: nothing to end
        print.BeginJob();
        print.WriteText(QStringLiteral("kept"), 0, 0);
        print.EndJob();
        print.EndJob();
    }
    EXPECT_TRUE(Text(0).text == QStringLiteral("kept"));
    {
        TPrintObject print;
        print.BeginJob();
    }
    EXPECT_TRUE(Printers->Recording().documents.back().aborted);
    EXPECT_FALSE(platform::Printer::Instance().Printing());
}

} // namespace
