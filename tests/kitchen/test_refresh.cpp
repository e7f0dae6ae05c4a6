// The poll: which orders arrive, with which lines, when the sound plays, the printer
// filter's treatment of modifiers, orders without kitchen lines, overrung orders and a
// lost connection.

#include "kitchen/clsOrderManager.h"
#include "kitchen/clsOrderRefresh.h"

#include "framework/clsGenericDB.h"

#include "orders/clsDbManager.h"
#include "orders/modGalley.h"
#include "printing/clsPricesCodeLinkPrinters.h"

#include "platform/DialogSeam.h"
#include "platform/DbError.h"

#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

class RefreshTest : public ::testing::Test
{
protected:
    RefreshTest()
    {
        Db.Exec("INSERT INTO Printers (PrintersID, Name, Category) VALUES (1, 'Kitchen', 1)");
        Db.Exec("INSERT INTO Printers (PrintersID, Name, Category) VALUES (2, 'Grill', 1)");
        Product(1, "PIZ", 1);
        Product(2, "BUR", 2);
        Product(3, "XCH", 1, /*child*/ true);
        Product(4, "COLA", -1); // goes to no kitchen printer
        Db.Exec("INSERT INTO ReportGroup (ReportGroupID, Description) VALUES (7, 'Pizza')");
        Db.Exec("UPDATE Prices SET fkReportGroupID = 7 WHERE Code = 'PIZ'");
        Manager.SetClock([this] { return Now; });
        Grid.SetSize(3, 30);
        Orders.SetStringGrid(&Grid);
        Links.SetAdoConnection(&Db.Connection());
        Links.LoadAllWithCodes();
        Refresh.PlaySound = [this] { ++Sounds; };
    }

    void Product(int recipe, const char *code, int printer, bool child = false)
    {
        Db.Exec(QStringLiteral("INSERT INTO Prices (Recipe, Code, IsChild) VALUES (%1, '%2', %3)")
                    .arg(recipe).arg(QLatin1String(code)).arg(child ? 1 : 0));
        if (printer > 0)
            Db.Exec(QStringLiteral("INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (%1, %2)")
                        .arg(recipe).arg(printer));
    }
    void Order(int invoiceNum, QStringList codes, int minutesAgo = 5)
    {
        const QString when = Now.addSecs(-60 * minutesAgo).toString("yyyy-MM-dd HH:mm:ss.zzz");
        Db.Exec(QStringLiteral("INSERT INTO Invoices (InvoiceNum, OrderNum, [Date]) VALUES (%1, %2, '%3')")
                    .arg(invoiceNum).arg(invoiceNum % 100).arg(when));
        for (int i = 0; i < codes.size(); ++i)
            Db.Exec(QStringLiteral("INSERT INTO LineItem (InvoiceNum, LineNum, Code, Quantity, [Size], ItemDesc) "
                                   "VALUES (%1, %2, '%3', 2, 'LARGE', '%3 desc')")
                        .arg(invoiceNum).arg(i + 1).arg(codes[i]));
    }
    bool Poll()
    {
        const bool ok = Refresh.RefreshInvoices(false, Settings);
        Refresh.CheckOverrungInvoices();
        return ok;
    }
    TDisplayInvoice *Held(int invoiceNum)
    {
        const int index = Orders.IndexOfInvoiceNum(invoiceNum);
        return index < 0 ? nullptr : Orders.Items(index);
    }
    QStringList Lines(int invoiceNum)
    {
        QStringList lines;
        TDisplayInvoice *order = Held(invoiceNum);
        for (int i = 0; order && i < order->Lineitems()->Count(); ++i) {
            const TLineitemItem *line = order->Lineitems()->Items(i);
            lines << QStringLiteral("%1 %2 %3").arg(line->Quantity()).arg(line->Size(), line->ItemDesc());
        }
        return lines;
    }

    platform::ScriptedResponder Dialogs{platform::DialogAnswer(platform::mrOk)};
    testsupport::TestDatabase Db;
    QDateTime Now{QDate(2026, 12, 11), QTime(11, 30, 20)};
    TDbManager Manager{&Db.Connection()};
    TStringAlignGrid Grid;
    TOrderManager Orders;
    TPricesCodeLinkPrinters Links;
    TGenericDB Runner{&Db.Connection()};
    TTillColours Colours{&Runner};
    TOrderRefresh Refresh{Orders, Manager, Links, Colours};
    TRefreshSettings Settings;
    int Sounds = 0;
};

TEST_F(RefreshTest, SoundPlaysOncePerPollThatBringsANewerOrder)
{
    Order(101, {"PIZ"});
    Order(102, {"BUR"});
    Order(90, {"PIZ"}, 200); // outside the three-hour window
    ASSERT_TRUE(Poll());
    EXPECT_EQ(Orders.Count(), 2);
    EXPECT_EQ(Sounds, 1);
    EXPECT_EQ(Refresh.HighestInvoiceNum, 102);

    Poll(); // nothing new
    EXPECT_EQ(Sounds, 1);

    Order(103, {"PIZ"});
    Order(104, {"PIZ"});
    Order(105, {"BUR"});
    Poll();
    EXPECT_EQ(Orders.Count(), 5);
    EXPECT_EQ(Sounds, 2);

    // A reset fetches everything again but brings nothing newer: silent.
    ASSERT_TRUE(Refresh.RefreshInvoices(true, Settings));
    EXPECT_EQ(Orders.Count(), 5);
    EXPECT_EQ(Sounds, 2);
    EXPECT_EQ(Orders.Items(0)->InvoiceNum(), 101);
    EXPECT_TRUE(Dialogs.Requests().isEmpty());
}

TEST_F(RefreshTest, OrderBuiltFromItsRowsAndTheSettings)
{
    Order(101, {"PIZ", "XCH"});
    Db.Exec("INSERT INTO GYStaffLinkInvoices (fkEmpNum, fkInvoiceNum) VALUES ('E7', 101)");
    Settings.WaitingText = TColor(0x0000A1);
    Settings.CompletedBack = TColor(0x00E500);
    Settings.FontSize = 17;
    Poll();
    TDisplayInvoice *order = Held(101);
    ASSERT_NE(order, nullptr);
    EXPECT_EQ(order->OrderNum(), 1);
    EXPECT_EQ(order->TillID(), 0); // no shift: no till
    EXPECT_EQ(order->EmpNum(), "E7");
    EXPECT_EQ(order->EmpColour(), TColor(0));
    EXPECT_EQ(order->TextColour(), TColor(0x0000A1));
    EXPECT_EQ(order->CBackColour(), TColor(0x00E500));
    EXPECT_EQ(order->FontSize(), 17);
    EXPECT_FALSE(order->Prepared());
    EXPECT_EQ(Lines(101), QStringList({"2 LARGE PIZ desc", "2 LARGE XCH desc"}));
}

TEST_F(RefreshTest, OrderWithoutKitchenLinesGoesStraightToPrepared)
{
    Order(101, {"COLA"});
    Order(102, {"BUR"});
    Refresh.ReportGroupID = 7; // only pizza lines
    Order(103, {"PIZ", "BUR"});
    Poll();
    for (int invoiceNum : {101, 102}) {
        ASSERT_NE(Held(invoiceNum), nullptr);
        EXPECT_TRUE(Held(invoiceNum)->Prepared()) << invoiceNum;
        EXPECT_EQ(Lines(invoiceNum), QStringList({"0 ----- No Items Available"})) << invoiceNum;
    }
    EXPECT_FALSE(Held(103)->Prepared());
    EXPECT_EQ(Lines(103), QStringList({"2 LARGE PIZ desc"}));
}

TEST_F(RefreshTest, PrinterFilterLetsModifiersFollowTheirLine)
{
    struct Case
    {
        const char *name;
        QList<int> printers;
        QStringList codes;
        QStringList shown;
    };
    const Case cases[] = {
        {"modifier after a shown line is shown", {1}, {"PIZ", "XCH"}, {"PIZ", "XCH"}},
        {"modifier after a hidden line is hidden", {1}, {"BUR", "XCH"}, {}},
        {"modifier at the top is hidden", {1}, {"XCH", "PIZ"}, {"PIZ"}},
        {"second printer in the list also counts", {2, 1}, {"BUR", "XCH", "PIZ"}, {"BUR", "XCH", "PIZ"}},
        {"empty printer list shows nothing", {}, {"PIZ", "XCH"}, {}},
    };
    int invoiceNum = 200;
    for (const Case &c : cases) {
        ++invoiceNum;
        Order(invoiceNum, c.codes);
        Settings.PrinterFilterEnabled = true;
        Settings.PrinterFilterIDs = c.printers;
        Poll();
        QStringList shown;
        for (const QString &line : Lines(invoiceNum))
            shown << line.section(' ', 2, 2);
        EXPECT_EQ(shown, c.shown) << c.name;
        // Filtered down to nothing, the order is still held as waiting.
        EXPECT_FALSE(Held(invoiceNum)->Prepared()) << c.name;
    }
}

TEST_F(RefreshTest, OverrungAfterFetchIsMarkedAtTheNextPoll)
{
    Order(101, {"PIZ"});
    Poll();
    EXPECT_FALSE(Held(101)->Overrung());
    Order(102, {"PIZ"});
    Db.Exec("UPDATE Invoices SET Status = 1");
    Poll();
    EXPECT_TRUE(Held(101)->Overrung());
    EXPECT_EQ(Held(102), nullptr); // overrung before it was ever fetched: never shown
}

TEST_F(RefreshTest, ConnectionThatCannotBeReopenedSkipsThePollWithOneMessage)
{
    Order(101, {"PIZ"});
    Refresh.EnsureConnected = [] { throw platform::DbError(QStringLiteral("server gone")); };
    EXPECT_FALSE(Refresh.RefreshInvoices(false, Settings));
    EXPECT_FALSE(Refresh.CheckOverrungInvoices());
    EXPECT_EQ(Orders.Count(), 0);
    ASSERT_EQ(Dialogs.Requests().size(), 2);
    EXPECT_EQ(Dialogs.Requests()[0].Text,
              "The database connection cannot be opened\r\rClick Options | Settings and make sure "
              "the connection string has been correctly setup");

    // The next poll, with the server back, fetches the order.
    Refresh.EnsureConnected = [] {};
    EXPECT_TRUE(Refresh.RefreshInvoices(false, Settings));
    EXPECT_EQ(Orders.Count(), 1);
    EXPECT_EQ(Sounds, 1);
}

TEST_F(RefreshTest, TillFilterLimitsTheOrders)
{
    Db.Exec(QStringLiteral("INSERT INTO Tillpost (ShiftNum, TillID, [Date]) VALUES (5, 2, '%1')")
                .arg(Now.addSecs(-3600).toString("yyyy-MM-dd HH:mm:ss.zzz")));
    Order(101, {"PIZ"});
    Order(102, {"PIZ"});
    Db.Exec("UPDATE Invoices SET ShiftNum = 5 WHERE InvoiceNum = 102");
    Settings.TillFilterEnabled = true;
    Settings.TillFilterIDs = QStringList({"2"});
    Poll();
    EXPECT_EQ(Held(101), nullptr);
    ASSERT_NE(Held(102), nullptr);
    EXPECT_EQ(Held(102)->TillID(), 2);
}

} // namespace

namespace {

// A poll that runs while the window handles its pending events (a key, a timer) must not
// cost the outer poll its rows: they are past the high-water mark and never come again.
TEST_F(RefreshTest, NestedPollDuringPendingEventsLosesNoOrder)
{
    Order(101, {"PIZ"});
    Order(102, {"PIZ"});
    bool nested = false;
    Refresh.ProcessEvents = [&] {
        if (nested)
            return;
        nested = true;
        Refresh.RefreshInvoices(false, Settings);
    };
    ASSERT_TRUE(Refresh.RefreshInvoices(false, Settings));
    EXPECT_EQ(Orders.Count(), 2);
    EXPECT_NE(Held(101), nullptr);
    EXPECT_NE(Held(102), nullptr);
}

} // namespace
