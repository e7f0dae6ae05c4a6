#include "OrdersFixture.h"

#include "platform/DialogSeam.h"

using Ints = std::vector<int>;

namespace {

const QString kBound = QStringLiteral("'2026-12-11 08:30:00.000'"); // Now 11:30:20 minus 3 h, whole minute
const QString kSince = QStringLiteral("'2026-12-10 00:00:00.000'"); // yesterday's midnight

QStringList InvoiceLines(const QString &afterMark, const QString &filter = QString())
{
    QStringList lines{
        "SELECT invoices.invoicenum,invoices.ordernum,invoices.prepared,",
        "invoices.shiftnum, invoices.cashier,",
        "invoices.date as time, IsNull(tillpost.tillid,0) AS TillID",
        "FROM invoices",
        "LEFT OUTER JOIN tillpost ON invoices.shiftnum = tillpost.shiftnum",
        "WHERE [Invoices].[Date] >= " + kBound + " ",
        "AND INVOICES.invoicenum > " + afterMark,
        "AND ordernum > 0",
        "AND Invoices.status = 0",
    };
    if (!filter.isEmpty())
        lines << filter;
    lines << "ORDER BY INVOICES.invoicenum ASC";
    return lines;
}

} // namespace

// ---- GetInvoices ----

TEST_F(OrdersFixture, GetInvoicesReturnsLiveOrdersOfTheWindowFromTheBoundsMinute)
{
    const QDate today = Now.date();
    Invoice(101, QDateTime(today, QTime(8, 30, 0, 0))); // exactly the bound: in
    Invoice(102, QDateTime(today, QTime(8, 29, 59, 999))); // a moment before: out
    Invoice(103, QDateTime(today, QTime(10, 0)), /*orderNum*/ 0); // no order number: out
    Invoice(104, QDateTime(today, QTime(10, 0)), 1, /*status*/ 1); // overrung: out
    Invoice(105, QDateTime(today, QTime(10, 0)), 7, 0, 0, /*prepared*/ 1); // prepared: in
    Shift(40, 4, QDateTime(today, QTime(6, 0)));
    Invoice(106, QDateTime(today, QTime(11, 30, 19)), 8, 0, /*shift*/ 40);

    ASSERT_TRUE(Manager.GetInvoices(false, QString()));
    platform::SqlQuery &q = Manager.InvoiceQuery();
    EXPECT_EQ(q.SQL(), InvoiceLines("0"));
    // The cursor stands on the last row, whose number became the mark.
    EXPECT_EQ(q.FieldByName(u"invoicenum").AsInteger(), 106);
    EXPECT_EQ(q.FieldByName(u"TILLID").AsInteger(), 4);
    EXPECT_EQ(q.FieldByName(u"time").AsDateTime(), QDateTime(today, QTime(11, 30, 19)));
    EXPECT_EQ(Manager.LastInvoiceNum(), 106);

    EXPECT_EQ(IntColumn(q, "invoicenum"), (Ints{101, 105, 106}));
    EXPECT_EQ(IntColumn(q, "ordernum"), (Ints{1, 7, 8}));
    EXPECT_EQ(IntColumn(q, "tillid"), (Ints{0, 0, 4})); // no Tillpost row: 0 through the outer join
    EXPECT_EQ(StringColumn(q, "prepared"), (QStringList{"0", "1", "0"}));
    EXPECT_EQ(StringColumn(q, "cashier"), (QStringList{"Ann", "Ann", "Ann"}));
    EXPECT_EQ(IntColumn(q, "shiftnum"), (Ints{0, 0, 40}));
}

TEST_F(OrdersFixture, WindowBoundIsTheStartOfTheMinuteThreeHoursBack)
{
    const struct
    {
        const char *name;
        QDateTime now;
        QDateTime bound;
    } cases[] = {
        {"seconds and milliseconds dropped", QDateTime(QDate(2026, 12, 11), QTime(11, 30, 59, 999)),
         QDateTime(QDate(2026, 12, 11), QTime(8, 30))},
        {"on the minute", QDateTime(QDate(2026, 12, 11), QTime(11, 30)), QDateTime(QDate(2026, 12, 11), QTime(8, 30))},
        {"back across midnight", QDateTime(QDate(2026, 12, 11), QTime(1, 10, 5)),
         QDateTime(QDate(2026, 12, 10), QTime(22, 10))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Now = c.now;
        EXPECT_EQ(Manager.WindowBound(), c.bound);
    }
}

TEST_F(OrdersFixture, HighWaterMarkReturnsOnlyNewerOrdersUntilReset)
{
    const QDateTime recent(Now.date(), QTime(11, 0));
    Invoice(201, recent);
    Invoice(202, recent);
    ASSERT_TRUE(Manager.GetInvoices(false, QString()));
    EXPECT_EQ(Manager.LastInvoiceNum(), 202);

    // Nothing newer: false, the mark stays, even when a held order changes.
    Db.Exec("UPDATE Invoices SET Prepared = 1 WHERE InvoiceNum = 201");
    EXPECT_FALSE(Manager.GetInvoices(false, QString()));
    EXPECT_EQ(Manager.InvoiceQuery().SQL(), InvoiceLines("202"));
    EXPECT_EQ(Manager.LastInvoiceNum(), 202);

    Invoice(203, recent);
    ASSERT_TRUE(Manager.GetInvoices(false, QString()));
    EXPECT_EQ(IntColumn(Manager.InvoiceQuery(), "invoicenum"), Ints{203});
    EXPECT_EQ(Manager.LastInvoiceNum(), 203);

    ASSERT_TRUE(Manager.GetInvoices(true, QString()));
    EXPECT_EQ(IntColumn(Manager.InvoiceQuery(), "invoicenum"), (Ints{201, 202, 203}));
    EXPECT_EQ(Manager.LastInvoiceNum(), 203);

    // A reset that finds nothing leaves the mark at 0: the next poll asks from the start.
    Db.Exec("DELETE FROM Invoices");
    EXPECT_FALSE(Manager.GetInvoices(true, QString()));
    EXPECT_EQ(Manager.LastInvoiceNum(), 0);
}

// ---- The till filter ----

TEST_F(OrdersFixture, TillFilterTextWritesYesterdaysMidnightAndOnlyIntegerTills)
{
    const QString shifts = "[Invoices].[Shiftnum] in (SELECT [Shiftnum] FROM [Tillpost] WHERE DATE >= " + kSince
                           + "  AND [TillID] IN (%1) )";
    const struct
    {
        const char *name;
        QStringList tills;
        QString filter;
    } cases[] = {
        {"chosen tills", {"3", "5"}, "AND " + shifts.arg("3,5")},
        {"unassigned first", {"0", "3"}, "AND (" + shifts.arg("0,3") + " OR Invoices.ShiftNum = 0 )"},
        {"unassigned not first", {"3", "0"}, "AND " + shifts.arg("3,0")},
        {"text that is no till number is skipped", {"3", "1) OR (1=1", "", " 7 ", "x"}, "AND " + shifts.arg("3,7")},
        {"no till chosen", {}, "AND " + shifts.arg("")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Manager.TillFilter(c.tills), c.filter);
    }
}

TEST_F(OrdersFixture, TillFilterKeepsOrdersOfChosenTillsShiftsSinceYesterday)
{
    const QDateTime recent(Now.date(), QTime(11, 0));
    Shift(1, 3, QDateTime(Now.date().addDays(-1), QTime(0, 0))); // till 3, opened at yesterday's midnight
    Shift(2, 5, QDateTime(Now.date(), QTime(7, 0))); // till 5
    Shift(3, 3, QDateTime(Now.date().addDays(-2), QTime(23, 59))); // till 3, opened too long ago
    Invoice(301, recent, 1, 0, 1);
    Invoice(302, recent, 1, 0, 2);
    Invoice(303, recent, 1, 0, 3);
    Invoice(304, recent, 1, 0, 0); // no shift
    Invoice(305, recent, 0, 0, 0); // no shift, no order number

    const struct
    {
        const char *name;
        QStringList tills;
        Ints orders;
    } cases[] = {
        {"till 3", {"3"}, {301}},
        {"tills 3 and 5", {"3", "5"}, {301, 302}},
        {"unassigned and till 5", {"0", "5"}, {302, 304}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString filter = Manager.TillFilter(c.tills);
        Manager.GetInvoices(true, filter);
        EXPECT_EQ(Manager.InvoiceQuery().SQL(), InvoiceLines("0", filter));
        EXPECT_EQ(IntColumn(Manager.InvoiceQuery(), "invoicenum"), c.orders);
    }
}

TEST_F(OrdersFixture, TillFilterWithoutTillsFailsAtEveryPollWithOneMessage)
{
    Invoice(401, QDateTime(Now.date(), QTime(11, 0)));
    ASSERT_TRUE(Manager.GetInvoices(false, QString()));
    platform::ScriptedResponder dialogs(platform::mrOk);
    for (int poll = 1; poll <= 2; ++poll) {
        EXPECT_FALSE(Manager.GetInvoices(false, Manager.TillFilter({})));
        ASSERT_EQ(dialogs.Requests().size(), poll);
        EXPECT_TRUE(dialogs.Last().Text.startsWith("Failed to get invoices to display on the kitchen monitor\rReason: "));
        EXPECT_EQ(Manager.LastInvoiceNum(), 401);
    }
}

// ---- GetLineitems ----

class LineitemsTest : public OrdersFixture
{
protected:
    LineitemsTest()
    {
        Product(1, "BURGER", 1); // kitchen printer
        Product(2, "SALAD", -1, "K"); // back-kitchen text, no printer
        Product(3, "COLA", 2); // bar printer only
        Product(4, "PIZZA", 1, QString(), 7); // kitchen printer, report group 7
        Product(5, "WATER", -1); // nowhere
        // Written out of line order, as a till that inserts a modifier late would.
        Line(500, 4, "PIZZA");
        Line(500, 1, "BURGER");
        Line(500, 3, "COLA");
        Line(500, 2, "SALAD");
        Line(500, 5, "WATER");
        Line(501, 1, "BURGER"); // another order
    }
};

TEST_F(LineitemsTest, KitchenLinesInLineOrderOptionallyOfOneReportGroup)
{
    const struct
    {
        const char *name;
        int reportGroup;
        QStringList codes;
    } cases[] = {
        {"no report group", 0, {"BURGER", "SALAD", "PIZZA"}},
        {"negative report group", -1, {"BURGER", "SALAD", "PIZZA"}},
        {"report group 7", 7, {"PIZZA"}},
        {"report group without products", 8, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Manager.GetLineitems(500, c.reportGroup), c.codes.size());
        EXPECT_EQ(StringColumn(Manager.LineitemQuery(), "Code"), c.codes);
    }
    EXPECT_TRUE(Manager.LineitemQuery().HasField(u"Quantity"));
    EXPECT_TRUE(Manager.LineitemQuery().HasField(u"ItemDesc"));
    EXPECT_EQ(Manager.GetLineitems(999, 0), 0);
}

TEST_F(LineitemsTest, StatementTextWithAndWithoutReportGroupLine)
{
    const QStringList head{
        "SELECT * FROM LineItem",
        "\tWHERE LineItem.Code IN",
        "\t\t(SELECT Prices.Code FROM Prices",
        "\t\t\tLEFT JOIN PricesLinkPrinters ON Prices.Recipe = PricesLinkPrinters.fkPricesID",
        "\t\t\tLEFT JOIN Printers ON Printers.PrintersID = PricesLinkPrinters.fkPrintersID",
        "\t\t\tWHERE (Printers.Category = 1",
        "\t\t\tOR Prices.BKPrint <> '')",
    };
    const QStringList tail{"\t\t)", "\tAND LineItem.Invoicenum = 500", "ORDER BY LineItem.LineNum"};

    Manager.GetLineitems(500, 0);
    EXPECT_EQ(Manager.LineitemQuery().SQL(), head + tail);
    Manager.GetLineitems(500, 7);
    EXPECT_EQ(Manager.LineitemQuery().SQL(), head + QStringList{"     AND fkReportGroupID = 7"} + tail);
}

// ---- GetOverrungInvoices ----

TEST_F(OrdersFixture, OverrungInvoicesOfTheWindowRegardlessOfTheMark)
{
    const QDateTime recent(Now.date(), QTime(11, 0));
    Invoice(601, recent, 1, /*status*/ 2);
    Invoice(602, recent);
    Invoice(603, QDateTime(Now.date(), QTime(8, 30)), 1, 1); // at the bound
    Invoice(604, QDateTime(Now.date(), QTime(8, 29, 59)), 1, 1); // before the window
    Invoice(605, recent, 0, 1); // order number 0 does not matter here

    ASSERT_TRUE(Manager.GetInvoices(false, QString()));
    EXPECT_EQ(Manager.LastInvoiceNum(), 602);
    ASSERT_TRUE(Manager.GetOverrungInvoices());
    platform::SqlQuery &q = Manager.InvoiceQuery();
    EXPECT_EQ(q.SQL(), (QStringList{"SELECT invoicenum", "FROM invoices", "WHERE Invoices.Date >= " + kBound + " ",
                                    "AND status <> 0", "ORDER BY invoicenum ASC"}));
    EXPECT_EQ(q.FieldCount(), 1);
    EXPECT_EQ(IntColumn(q, "invoicenum"), (Ints{601, 603, 605})); // the orders of GetInvoices are gone
    EXPECT_EQ(Manager.LastInvoiceNum(), 602);

    Db.Exec("UPDATE Invoices SET Status = 0");
    EXPECT_FALSE(Manager.GetOverrungInvoices());
}

// ---- SetStatus ----

TEST_F(OrdersFixture, SetStatusWritesPreparedAndStampsTheCookedTimeOnlyWhenSetting)
{
    Invoice(701, QDateTime(Now.date(), QTime(11, 0)));
    Invoice(702, QDateTime(Now.date(), QTime(11, 0)));

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_TRUE(Manager.SetStatus(701, true));
    EXPECT_EQ(Manager.StatusQuery().SQL(),
              (QStringList{"UPDATE invoices", "SET prepared = 1", ", TimeStampCooked = GetDate()", "WHERE invoicenum = 701"}));
    EXPECT_EQ(Db.Scalar("SELECT Prepared FROM Invoices WHERE InvoiceNum = 701").toInt(), 1);
    const QDateTime cooked = platform::ParseDbDateTime(Db.Scalar("SELECT TimeStampCooked FROM Invoices WHERE InvoiceNum = 701"));
    EXPECT_GE(cooked, before); // the database's (local) clock, not the pinned one
    EXPECT_LE(cooked, QDateTime::currentDateTime().addSecs(1));
    EXPECT_TRUE(Db.Scalar("SELECT TimeStampCooked FROM Invoices WHERE InvoiceNum = 702").isNull());

    ASSERT_TRUE(Manager.SetStatus(701, false));
    EXPECT_EQ(Manager.StatusQuery().SQL(), (QStringList{"UPDATE invoices", "SET prepared = 0", "WHERE invoicenum = 701"}));
    EXPECT_EQ(Db.Scalar("SELECT Prepared FROM Invoices WHERE InvoiceNum = 701").toInt(), 0);
    EXPECT_EQ(platform::ParseDbDateTime(Db.Scalar("SELECT TimeStampCooked FROM Invoices WHERE InvoiceNum = 701")), cooked);
}

// ---- Failures ----

TEST_F(OrdersFixture, EachOperationReportsOnceAndReturnsItsFailureValueOnALostConnection)
{
    Invoice(801, QDateTime(Now.date(), QTime(11, 0)));
    ASSERT_TRUE(Manager.GetInvoices(false, QString()));
    Db.Connection().Close();
    const QString reason = "The database connection is not open.";

    platform::ScriptedResponder dialogs(platform::mrOk);
    const struct
    {
        const char *name;
        std::function<bool()> failed; // the call returned its failure value
        QString message;
    } cases[] = {
        {"GetInvoices", [&] { return !Manager.GetInvoices(false, QString()); },
         "Failed to get invoices to display on the kitchen monitor\rReason: " + reason
             + "\r\rException Raised In: TDbManager.GetInvoices"},
        {"GetLineitems", [&] { return Manager.GetLineitems(801, 3) == -1; },
         "Failed to Failed to get lineitems for invoice number 801\rReason: " + reason
             + "\r\rException Raised In: TDbManager.GetLineitems"},
        {"GetOverrungInvoices", [&] { return !Manager.GetOverrungInvoices(); },
         "Failed to get overrung invoices\rReason: " + reason + "\r\rException Raised In: TDbManager.GetOverrungInvoices"},
        {"SetStatus", [&] { return !Manager.SetStatus(801, true); },
         "Failed to set the selected order status\r\rReason: " + reason
             + "\r\rException Raised In: TDbManager.SetStatus"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.Clear();
        EXPECT_TRUE(c.failed());
        ASSERT_EQ(dialogs.Requests().size(), 1);
        EXPECT_EQ(dialogs.Last().Kind, "MsgDlg");
        EXPECT_EQ(dialogs.Last().Type, platform::mtError);
        EXPECT_EQ(dialogs.Last().Text, c.message);
    }
    EXPECT_EQ(Manager.LastInvoiceNum(), 801); // unchanged by the failed poll

    dialogs.Clear();
    EXPECT_FALSE(Manager.GetInvoices(true, QString()));
    EXPECT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(Manager.LastInvoiceNum(), 0); // a reset happens before the statement
}
