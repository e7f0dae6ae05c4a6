// Item labels: the products read for an invoice (extras folded in, one label per line
// item, the size of sized products), the extras summary, the lines each label prints, pages
// side by side, the label printer's lookup and the errors that reach the caller.

#include "TestDatabase.h"

#include "printing/clsPrintLabels.h"

#include "framework/clsEZXException.h"
#include "platform/DbError.h"
#include "platform/RecordingPrinter.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using platform::PrintedText;

namespace {

// --- the extras summary -----------------------------------------------------------------

struct SummaryCase
{
    const char *name;
    QStringList extras;
    QString summary;
};

TEST(LabelExtrasSummary, CutsToTwentyFiveCharactersAndMarksWhatWasLeftOut)
{
    const QString a10(10, QLatin1Char('A')), b10(10, QLatin1Char('B')), c10(10, QLatin1Char('C'));
    const QString letters30 = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZABCD");
    const QString exactly25(25, QLatin1Char('X'));
    const SummaryCase cases[] = {
        {"no extras", {}, QString()},
        {"two that fit", {"NO ONION", "EXTRA CHEESE"}, QStringLiteral("NO ONION,EXTRA CHEESE")},
        {"three of ten letters", {a10, b10, c10}, a10 + "," + b10 + ",CC,..."},
        {"one of thirty letters", {letters30}, letters30.left(25) + ",..."},
        {"25 then one: only the comma, nothing left out", {exactly25, "Y"}, exactly25 + ","},
        {"no room left: the commas stay and count as printed",
         {exactly25, "Y", "Z"},
         exactly25 + ",,"},
    };
    for (const SummaryCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LabelExtrasSummary(c.extras), c.summary);
    }
    EXPECT_EQ(LabelExtrasSummary({a10, b10, c10}).size(), 28);
}

// --- printing from the database ---------------------------------------------------------

class LabelTest : public ::testing::Test
{
protected:
    static constexpr int kInvoice = 7001;
    static constexpr int kOrder = 42;

    void SetUp() override
    {
        Printers = std::make_shared<platform::RecordingPrinters>(
            QStringList {QStringLiteral("Kitchen Slips"), QStringLiteral("Kitchen Labels")});
        m_previous = platform::SetPrinterSystem(Printers);
        Settings.LabelDevice = QStringLiteral("Kitchen Labels");
        Settings.SideBySide = QStringLiteral("0");
        Db.Exec(QStringLiteral("INSERT INTO CatMenu (CatMenuCode, Description) VALUES "
                               "(1, 'Burgers'), (2, 'Pizzas'), (6, 'EXTRA'), (7, 'NONE'), "
                               "(8, '  extra ')"));
    }
    void TearDown() override
    {
        platform::SetPrinterSystem(m_previous);
        platform::Printer::Instance().SetPrinterName(QString());
    }

    // A price record linked to `links` printers; no label title is NULL.
    void Product(int recipe, const QString &code, std::optional<QString> labelDesc, int category,
                 const QString &size = QString(), int links = 1)
    {
        Db.Exec(QStringLiteral("INSERT INTO Prices (Recipe, Code, [Size], LabelDesc, CatMenuCode) "
                               "VALUES (%1, '%2', '%3', %4, %5)")
                    .arg(recipe)
                    .arg(code, size, labelDesc ? "'" + *labelDesc + "'" : QStringLiteral("NULL"))
                    .arg(category));
        for (int printer = 1; printer <= links; ++printer)
            Db.Exec(QStringLiteral("INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) "
                                   "VALUES (%1, %2)")
                        .arg(recipe)
                        .arg(printer));
    }
    void Line(int lineNum, const QString &code, const QString &size = QString())
    {
        Db.Exec(QStringLiteral("INSERT INTO LineItem (InvoiceNum, LineNum, Code, [Size], ItemDesc) "
                               "VALUES (%1, %2, '%3', '%4', 'x')")
                    .arg(kInvoice)
                    .arg(lineNum)
                    .arg(code, size));
    }
    void Print(const QString &waiter = QString())
    {
        PrintInvoiceLabels(Db.Connection(), Settings, kInvoice, kOrder, waiter);
    }

    const platform::PrintRecording &Recording() const { return Printers->Recording(); }
    const platform::PrintedDocument &Document() const
    {
        return Printers->Recording().documents.at(0);
    }
    // The texts of a page without the padding of the fitted left-hand label.
    QStringList PageLines(int page) const
    {
        QStringList lines;
        for (const PrintedText &t : Document().Page(page))
            lines << t.text.trimmed();
        return lines;
    }
    // Width of a text in the label face, as the label printer measures it.
    int Width(const QString &text, int size, bool bold = false) const
    {
        platform::PrintedDocument scratch;
        platform::RecordingPrintDevice device(&scratch, Printers->Setup());
        platform::PrintFont font;
        font.name = QStringLiteral("Arial Narrow");
        font.size = size;
        font.bold = bold;
        device.SetFont(font);
        return device.TextWidth(text);
    }

    testsupport::TestDatabase Db;
    TLabelSettings Settings;
    std::shared_ptr<platform::RecordingPrinters> Printers;

private:
    std::shared_ptr<platform::PrinterSystem> m_previous;
};

TEST_F(LabelTest, OneLabelPrintsSixLinesInTheNarrowFaceAtTheMargin)
{
    Product(101, "BCHS", "Cheese Burger", 1);
    Product(601, "XONI", "NO ONION", 7);
    Product(602, "XCHE", "EXTRA CHEESE", 6);
    Line(1, "BCHS");
    Line(2, "XONI");
    Line(3, "XCHE");
    Settings.WaiterDetails = QStringLiteral("1");
    Print(QStringLiteral("Sam"));

    ASSERT_EQ(Recording().documents.size(), 1u);
    const platform::PrintedDocument &doc = Document();
    EXPECT_EQ(doc.printer, QStringLiteral("Kitchen Labels"));
    EXPECT_EQ(doc.pages, 1);
    EXPECT_TRUE(doc.ended);
    EXPECT_EQ(PageLines(1),
              (QStringList {"Order #: 42", "Cheese Burger", "", "NO ONION,EXTRA CHEESE",
                            "Item 1 of 1", "Wtr:Sam"}));

    const struct
    {
        double size;
        bool bold;
    } fonts[] = {{10, false}, {12, true}, {10, false}, {8, false}, {10, false}, {10, false}};
    ASSERT_EQ(doc.texts.size(), 6u);
    for (size_t i = 0; i < doc.texts.size(); ++i) {
        const PrintedText &t = doc.texts[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(t.fontName, QStringLiteral("Arial Narrow"));
        EXPECT_EQ(t.fontSize, fonts[i].size);
        EXPECT_EQ(t.bold, fonts[i].bold);
        EXPECT_EQ(t.x, 121); // 0.6 inch at 203 dots per inch
        // Fitted to 320 dots: padded until one more space would not fit.
        const int width = Width(t.text, int(fonts[i].size), fonts[i].bold);
        EXPECT_LE(width, 320);
        EXPECT_TRUE(width == 320 || Width(t.text + " ", int(fonts[i].size), fonts[i].bold) > 320);
        if (i == 0)
            EXPECT_EQ(t.y, 0);
        else
            EXPECT_GT(t.y, doc.texts[i - 1].y);
    }
}

TEST_F(LabelTest, ExtrasFoldIntoTheProductBeforeThem)
{
    Product(601, "XCHE", "+Cheese", 6);
    Product(701, "NONI", "No Onions", 8); // category "  extra ": still an extra
    Product(101, "BCLS", "Classic Burger", 1);
    Line(1, "XCHE"); // an extra before any product starts a product of its own
    Line(2, "NONI");
    Line(3, "BCLS");
    Line(4, "NONI");
    Print();

    ASSERT_EQ(Document().pages, 2);
    EXPECT_EQ(PageLines(1).mid(1, 4),
              (QStringList {"+Cheese", "", "+Cheese,No Onions", "Item 1 of 2"}));
    EXPECT_EQ(PageLines(2).mid(1, 4),
              (QStringList {"Classic Burger", "", "No Onions", "Item 2 of 2"}));
}

TEST_F(LabelTest, OneLabelPerLineItem)
{
    Product(101, "BCLS", "Classic Burger", 1, QString(), 3); // linked to three printers
    Product(102, "BBAC", "Bacon Burger", 1);
    Product(301, "SCAE", "", 1); // empty label title: no label
    Product(401, "DCOL", std::nullopt, 1); // no label title: no label
    Product(501, "ECHC", "Cake", 1, QString(), 0); // no printer link: no label
    Line(1, "BCLS");
    Line(2, "BBAC");
    Line(3, "BBAC");
    Line(4, "SCAE");
    Line(5, "DCOL");
    Line(6, "ECHC");
    Print();

    ASSERT_EQ(Document().pages, 3);
    EXPECT_EQ(PageLines(1).at(1), QStringLiteral("Classic Burger"));
    EXPECT_EQ(PageLines(2).at(1), QStringLiteral("Bacon Burger"));
    EXPECT_EQ(PageLines(3).at(1), QStringLiteral("Bacon Burger"));
    EXPECT_EQ(PageLines(3).at(4), QStringLiteral("Item 3 of 3"));
}

TEST_F(LabelTest, ASizedLineGetsOneLabelWithItsOwnSize)
{
    // The sizes of one product share its code.
    Product(201, "PMAR", "Margherita", 2, "SMALL");
    Product(202, "PMAR", "Margherita", 2, "MEDIUM");
    Product(203, "PMAR", "Margherita", 2, "LARGE");
    Product(101, "BCLS", "Classic Burger", 1);
    Line(1, "PMAR", "large");
    Line(2, "BCLS", "REGULAR"); // a size the product has no record for: still labelled
    Print();

    ASSERT_EQ(Document().pages, 2);
    EXPECT_EQ(PageLines(1).mid(1, 2), (QStringList {"Margherita", "LARGE"}));
    EXPECT_EQ(PageLines(1).at(4), QStringLiteral("Item 1 of 2"));
    EXPECT_EQ(PageLines(2).at(1), QStringLiteral("Classic Burger"));
}

TEST_F(LabelTest, SideBySidePrintsTwoLabelsAcrossEachPage)
{
    Product(101, "BCLS", "Classic Burger", 1);
    Product(102, "BBAC", "Bacon Burger", 1);
    Product(103, "BVEG", "Veggie Burger", 1);
    Line(1, "BCLS");
    Line(2, "BBAC");
    Line(3, "BVEG");
    Settings.SideBySide = QStringLiteral("1");
    Print();

    const platform::PrintedDocument &doc = Document();
    ASSERT_EQ(doc.pages, 2);
    const std::vector<PrintedText> first = doc.Page(1);
    ASSERT_EQ(first.size(), 5u);
    // The left label is fitted to 320 dots, the right one follows it unfitted.
    const QString pairTitle = first[1].text;
    EXPECT_TRUE(pairTitle.startsWith(QStringLiteral("Classic Burger ")));
    EXPECT_TRUE(pairTitle.endsWith(QStringLiteral(" Bacon Burger")));
    EXPECT_LE(Width(pairTitle.chopped(QStringLiteral("Bacon Burger").size()), 12, true), 320);
    EXPECT_EQ(first[0].text.simplified(), QStringLiteral("Order #: 42 Order #: 42"));
    EXPECT_EQ(first[4].text.simplified(), QStringLiteral("Item 1 of 3 Item 2 of 3"));
    EXPECT_EQ(PageLines(2), (QStringList {"Order #: 42", "Veggie Burger", "", "", "Item 3 of 3"}));
}

struct WaiterCase
{
    const char *name;
    const char *waiterDetails;
    const char *waiter;
    bool printed;
};

TEST_F(LabelTest, TheWaiterLineNeedsTheSettingAndAName)
{
    Product(101, "BCLS", "Classic Burger", 1);
    Line(1, "BCLS");
    const WaiterCase cases[] = {
        {"on with a name", "1", "Sam", true},  {"on as a word", "Yes", "Sam", true},
        {"on without a name", "1", "", false}, {"off with a name", "0", "Sam", false},
        {"empty setting", "", "Sam", false},
    };
    for (const WaiterCase &c : cases) {
        SCOPED_TRACE(c.name);
        Settings.WaiterDetails = QString::fromLatin1(c.waiterDetails);
        Print(QString::fromLatin1(c.waiter));
        const platform::PrintedDocument &doc = Recording().documents.back();
        ASSERT_EQ(doc.texts.size(), c.printed ? 6u : 5u);
        if (c.printed) {
            EXPECT_EQ(doc.texts.back().text.trimmed(), QStringLiteral("Wtr:Sam"));
        }
    }
}

TEST_F(LabelTest, TheLabelPrinterIsFoundInAnyLetterCaseAndStaysCurrent)
{
    Product(101, "BCLS", "Classic Burger", 1);
    Line(1, "BCLS");
    Settings.LabelDevice = QStringLiteral("KITCHEN labels");
    Print();
    ASSERT_EQ(Recording().documents.size(), 1u);
    EXPECT_EQ(Document().printer, QStringLiteral("Kitchen Labels"));
    EXPECT_EQ(platform::Printer::Instance().PrinterName(), QStringLiteral("Kitchen Labels"));
}

TEST_F(LabelTest, AMissingLabelPrinterIsReportedWithTheInstalledOnes)
{
    Product(101, "BCLS", "Classic Burger", 1);
    Line(1, "BCLS");
    Settings.LabelDevice = QStringLiteral("Zebra");
    const QString cr(QChar(13));
    const QString head = "Failed to find the label printer [Zebra] in the list of available "
                         "windows printers"
        + cr + cr + "Available printers are..." + cr + cr;
    try {
        Print();
        FAIL() << "no error";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(), head + "Kitchen Slips" + cr + "Kitchen Labels" + cr);
    }

    platform::SetPrinterSystem(std::make_shared<platform::RecordingPrinters>(QStringList {}));
    try {
        Print();
        FAIL() << "no error";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(), head + "No windows printers available");
    }
    EXPECT_TRUE(Recording().documents.empty());
    EXPECT_FALSE(platform::Printer::Instance().Printing());
}

TEST_F(LabelTest, NothingToPrintIsNoError)
{
    Product(101, "BCLS", "Classic Burger", 1);
    Print(); // the invoice has no line items
    Line(1, "BCLS");
    for (const QString &device : {QString(), QStringLiteral("   "), QString(QChar(0))}) {
        Settings.LabelDevice = device; // no label printer configured
        Print();
    }
    EXPECT_TRUE(Recording().documents.empty());
}

TEST_F(LabelTest, AMarginThatIsNotANumberFailsTheJobAndEndsIt)
{
    Product(101, "BCLS", "Classic Burger", 1);
    Line(1, "BCLS");
    Settings.LabelMargin = QStringLiteral("abc");
    EXPECT_THROW(Print(), platform::ConvertError);
    ASSERT_EQ(Recording().documents.size(), 1u);
    EXPECT_TRUE(Document().ended);
    EXPECT_TRUE(Document().texts.empty());
    EXPECT_FALSE(platform::Printer::Instance().Printing());

    Settings.LabelMargin = QStringLiteral("0.3"); // the next job runs normally
    Print();
    ASSERT_EQ(Recording().documents.size(), 2u);
    EXPECT_EQ(Recording().documents[1].texts.front().x, 60);
}

TEST_F(LabelTest, LongQuotedAndNonAsciiTextsPrintAsTheyAre)
{
    const QString longTitle = QString(200, QLatin1Char('W'));
    const QString odd = QStringLiteral("Brûlée ''n'' \"Spé\" 🍔");
    Product(101, "LONG", longTitle, 1);
    Product(102, "ODD", odd, 1, QStringLiteral("GROß"));
    Line(1, "LONG");
    Line(2, "ODD", QStringLiteral("GROß"));
    Settings.WaiterDetails = QStringLiteral("1");
    Print(QStringLiteral("O'Brien \"Bob\""));

    ASSERT_EQ(Document().pages, 2);
    const QString fitted = Document().Page(1).at(1).text;
    EXPECT_TRUE(longTitle.startsWith(fitted.chopped(1)));
    EXPECT_LT(fitted.size(), 100);
    EXPECT_LE(Width(fitted, 12, true), 320);
    EXPECT_EQ(PageLines(2).mid(1, 2), (QStringList {"Brûlée 'n' \"Spé\" 🍔", "GROß"}));
    EXPECT_EQ(PageLines(2).at(5), QStringLiteral("Wtr:O'Brien \"Bob\""));
}

TEST_F(LabelTest, ADatabaseErrorReachesTheCallerBeforeAnythingIsPrinted)
{
    Db.Exec(QStringLiteral("DROP TABLE CatMenu"));
    EXPECT_THROW(Print(), platform::DbError);
    EXPECT_TRUE(Recording().documents.empty());
}

} // namespace
