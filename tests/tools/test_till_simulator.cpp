#include "tools/demo/TillSimulator.h"

#include "orders/clsDbManager.h"
#include "platform/SqlQuery.h"

#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QSet>

#include <functional>
#include <map>
#include <set>

using demo::SimulatorEvent;
using demo::TillSimulator;
using platform::Currency;

namespace {

struct StoredLine
{
    int lineNum = 0;
    QString code;
    QString size;
    QString itemDesc;
    double quantity = 0;
    Currency price;
};

// The demo shop, and what its tables say independently of the simulator.
class TillSimulatorTest : public ::testing::Test
{
protected:
    // Ticks until `orders` orders are written (or 10 times as many ticks have passed).
    static std::vector<SimulatorEvent> Run(TillSimulator &tills, int orders, const QDateTime &now)
    {
        std::vector<SimulatorEvent> events;
        int written = 0;
        for (int tick = 0; written < orders && tick < orders * 10; ++tick)
            for (const SimulatorEvent &e : tills.Tick(now)) {
                events.push_back(e);
                written += e.kind == SimulatorEvent::OrderWritten ? 1 : 0;
            }
        return events;
    }

    static std::vector<SimulatorEvent> OfKind(const std::vector<SimulatorEvent> &events,
                                              SimulatorEvent::Kind kind)
    {
        std::vector<SimulatorEvent> out;
        for (const SimulatorEvent &e : events)
            if (e.kind == kind)
                out.push_back(e);
        return out;
    }

    std::vector<StoredLine> Lines(int invoiceNum)
    {
        platform::SqlQuery q(&Db.Connection());
        q.SetSQL(
            QStringLiteral("SELECT LineNum, Code, [Size], ItemDesc, Quantity, Price FROM LineItem "
                           "WHERE InvoiceNum = :N ORDER BY LineNum"));
        q.SetParam(QStringLiteral("N"), invoiceNum);
        q.Open();
        std::vector<StoredLine> lines;
        for (q.First(); !q.Eof(); q.Next())
            lines.push_back(StoredLine {
                q.FieldByName(u"LineNum").AsInteger(), q.FieldByName(u"Code").AsString(),
                q.FieldByName(u"Size").AsString(), q.FieldByName(u"ItemDesc").AsString(),
                q.FieldByName(u"Quantity").AsFloat(), q.FieldByName(u"Price").AsCurrency()});
        return lines;
    }

    // Upper-case codes of one query's first column.
    QSet<QString> Codes(const QString &sql)
    {
        platform::SqlQuery q(&Db.Connection());
        q.SetSQL(sql);
        q.Open();
        QSet<QString> codes;
        for (q.First(); !q.Eof(); q.Next())
            codes.insert(q.Field(0).AsString().toUpper());
        return codes;
    }

    QSet<QString> ModifierCodes()
    {
        return Codes(QStringLiteral("SELECT Prices.Code FROM Prices JOIN CatMenu ON "
                                    "CatMenu.CatMenuCode = Prices.CatMenuCode "
                                    "WHERE upper(trim(CatMenu.Description)) IN ('EXTRA', 'NONE')"));
    }
    QSet<QString> CodesOnPrinter(const QString &printer)
    {
        return Codes(
            QStringLiteral(
                "SELECT Prices.Code FROM Prices JOIN PricesLinkPrinters ON fkPricesID = Recipe "
                "JOIN Printers ON PrintersID = fkPrintersID WHERE Printers.Name = '%1'")
                .arg(printer));
    }

    testsupport::TestDatabase Db {true};
    QDateTime Now = QDateTime::currentDateTime();
};

TEST_F(TillSimulatorTest, OrdersAreWholeConsistentAndVoidedOnlyAfterTheyWereWritten)
{
    TillSimulator tills(&Db.Connection(), 11);
    tills.LoadShop();
    const std::vector<SimulatorEvent> events = Run(tills, 80, Now);
    const auto written = OfKind(events, SimulatorEvent::OrderWritten);
    ASSERT_EQ(written.size(), 80u);
    EXPECT_TRUE(OfKind(events, SimulatorEvent::WriteFailed).empty());
    EXPECT_EQ(Db.Count(QStringLiteral("Invoices")), 80);

    // Prices by code and size, as the tills charge them.
    std::map<std::pair<QString, QString>, Currency> prices;
    {
        platform::SqlQuery q(&Db.Connection());
        q.SetSQL(QStringLiteral("SELECT Code, [Size], Price FROM Prices"));
        q.Open();
        for (q.First(); !q.Eof(); q.Next())
            prices[{q.FieldByName(u"Code").AsString().toUpper(),
                    q.FieldByName(u"Size").AsString().toUpper()}]
                = q.FieldByName(u"Price").AsCurrency();
    }
    const QSet<QString> modifiers = ModifierCodes();
    const QString today = Db.Connection().DateText(Now);

    int lastInvoice = 0, lastOrder = 0, modifierLines = 0, sizedLines = 0, stationOnly = 0;
    std::set<int> tillsSeen;
    for (const SimulatorEvent &e : written) {
        SCOPED_TRACE(tills.Describe(e).toStdString());
        EXPECT_GT(e.invoiceNum, lastInvoice);
        EXPECT_GT(e.orderNum, lastOrder);
        lastInvoice = e.invoiceNum;
        lastOrder = e.orderNum;
        tillsSeen.insert(e.tillID);
        stationOnly += e.order.onlyStation > 0 ? 1 : 0;

        // The invoice row: live, not prepared, dated now, on a shift of its till, rung up
        // by a waiter.
        platform::SqlQuery inv(&Db.Connection());
        inv.SetSQL(QStringLiteral(
            "SELECT Invoices.*, Tillpost.TillID AS ShiftTill, Employee.Waiter FROM Invoices "
            "LEFT JOIN Tillpost ON Tillpost.ShiftNum = Invoices.ShiftNum "
            "LEFT JOIN Employee ON Employee.EmpNum = Invoices.Cashier WHERE InvoiceNum = :N"));
        inv.SetParam(QStringLiteral("N"), e.invoiceNum);
        inv.Open();
        ASSERT_EQ(inv.RecordCount(), 1);
        EXPECT_EQ(inv.FieldByName(u"OrderNum").AsInteger(), e.orderNum);
        EXPECT_EQ(inv.FieldByName(u"Prepared").AsInteger(), 0);
        EXPECT_TRUE(inv.FieldByName(u"TimeStampCooked").IsNull());
        EXPECT_EQ(inv.FieldByName(u"Date").AsString(), today);
        EXPECT_EQ(inv.FieldByName(u"ShiftTill").AsInteger(), e.tillID);
        EXPECT_TRUE(inv.FieldByName(u"Waiter").AsBoolean());

        // Its lines: 1 to 6 products of 1 to 3 each, numbered from 1, at the menu's price,
        // every modifier right after a product made on the same printer.
        const std::vector<StoredLine> lines = Lines(e.invoiceNum);
        ASSERT_EQ(lines.size(), e.order.lines.size());
        ASSERT_FALSE(lines.empty());
        EXPECT_GE(e.order.Products(), 1);
        EXPECT_LE(e.order.Products(), 6);
        Currency total;
        QString product; // the code of the product the next modifiers belong to
        for (size_t i = 0; i < lines.size(); ++i) {
            const StoredLine &l = lines[i];
            EXPECT_EQ(l.lineNum, int(i) + 1);
            EXPECT_GE(l.quantity, 1.0);
            EXPECT_LE(l.quantity, 3.0);
            EXPECT_EQ(l.code, e.order.lines[i].item.code);
            const auto price = prices.find({l.code.toUpper(), l.size.toUpper()});
            ASSERT_NE(price, prices.end()) << l.code.toStdString() << " " << l.size.toStdString();
            EXPECT_EQ(l.price, price->second);
            total = total + Currency::FromRaw(l.price.Raw() * qint64(l.quantity));
            sizedLines += l.size.isEmpty() ? 0 : 1;
            if (!modifiers.contains(l.code.toUpper())) {
                product = l.code.toUpper();
                continue;
            }
            ++modifierLines;
            ASSERT_FALSE(product.isEmpty()) << "a modifier opens the order";
            const int sharedPrinters = Db.Count(
                QStringLiteral("PricesLinkPrinters a JOIN Prices pa ON pa.Recipe = a.fkPricesID "
                               "JOIN PricesLinkPrinters b ON b.fkPrintersID = a.fkPrintersID "
                               "JOIN Prices pb ON pb.Recipe = b.fkPricesID"),
                QStringLiteral("pa.Code = '%1' AND pb.Code = '%2'").arg(product, l.code));
            EXPECT_GT(sharedPrinters, 0)
                << l.code.toStdString() << " after " << product.toStdString();
        }
        EXPECT_EQ(total, e.order.Total());
    }
    EXPECT_EQ(tillsSeen, (std::set<int> {1, 2, 3}));
    EXPECT_GT(modifierLines, 0);
    EXPECT_GT(sizedLines, 0);
    EXPECT_GT(stationOnly, 0);

    // Voids: only of orders written at an earlier tick, and exactly those are overrung.
    const auto voided = OfKind(events, SimulatorEvent::OrderVoided);
    ASSERT_FALSE(voided.empty());
    std::set<int> voidedNums;
    for (const SimulatorEvent &v : voided) {
        const auto order
            = std::find_if(written.begin(), written.end(),
                           [&](const SimulatorEvent &w) { return w.invoiceNum == v.invoiceNum; });
        ASSERT_NE(order, written.end());
        EXPECT_LT(order->tick, v.tick);
        EXPECT_EQ(order->tillID, v.tillID);
        EXPECT_EQ(order->orderNum, v.orderNum);
        voidedNums.insert(v.invoiceNum);
    }
    EXPECT_EQ(Db.Count(QStringLiteral("Invoices"), QStringLiteral("Status <> 0")),
              int(voidedNums.size()));
    for (int n : voidedNums)
        EXPECT_EQ(Db.Count(QStringLiteral("Invoices"),
                           QStringLiteral("Status = 1 AND InvoiceNum = %1").arg(n)),
                  1);
}

TEST_F(TillSimulatorTest, TheMonitorsQueriesSeeTheKitchenOrders)
{
    TillSimulator tills(&Db.Connection(), 5);
    tills.LoadShop();
    const std::vector<SimulatorEvent> events = Run(tills, 40, Now);
    std::set<int> voided;
    for (const SimulatorEvent &v : OfKind(events, SimulatorEvent::OrderVoided))
        voided.insert(v.invoiceNum);
    std::vector<SimulatorEvent> live;
    for (const SimulatorEvent &w : OfKind(events, SimulatorEvent::OrderWritten))
        if (!voided.count(w.invoiceNum))
            live.push_back(w);
    ASSERT_FALSE(voided.empty());

    const QSet<QString> kitchen = Codes(QStringLiteral(
        "SELECT Prices.Code FROM Prices LEFT JOIN PricesLinkPrinters ON Prices.Recipe = "
        "PricesLinkPrinters.fkPricesID "
        "LEFT JOIN Printers ON Printers.PrintersID = PricesLinkPrinters.fkPrintersID "
        "WHERE Printers.Category = 1 OR Prices.BKPrint <> ''"));
    const QSet<QString> onKitchenPrinter = CodesOnPrinter(QStringLiteral("Kitchen"));

    TDbManager manager(&Db.Connection());
    ASSERT_TRUE(manager.GetInvoices(true, QString()));
    platform::SqlQuery &rows = manager.InvoiceQuery();
    ASSERT_EQ(rows.RecordCount(), int(live.size()));
    rows.First();
    int kitchenOnlyHidden = 0;
    for (const SimulatorEvent &e : live) {
        SCOPED_TRACE(tills.Describe(e).toStdString());
        ASSERT_FALSE(rows.Eof());
        EXPECT_EQ(rows.FieldByName(u"invoicenum").AsInteger(), e.invoiceNum);
        EXPECT_EQ(rows.FieldByName(u"ordernum").AsInteger(), e.orderNum);
        EXPECT_EQ(rows.FieldByName(u"TillID").AsInteger(), e.tillID);
        EXPECT_NE(rows.FieldByName(u"prepared").AsString(), QStringLiteral("1"));
        const int row = rows.Position();

        // The kitchen's lines, in till order, each modifier still after its product.
        QStringList expected;
        for (const demo::OrderLine &l : e.order.lines)
            if (kitchen.contains(l.item.code.toUpper()))
                expected << l.item.description;
        EXPECT_EQ(manager.GetLineitems(e.invoiceNum, 0), int(expected.size()));
        QStringList got;
        platform::SqlQuery &items = manager.LineitemQuery();
        for (items.First(); !items.Eof(); items.Next())
            got << items.FieldByName(u"ItemDesc").AsString();
        EXPECT_EQ(got, expected);

        // An order for another station alone has nothing the kitchen printer makes, so the
        // kitchen's printer filter hides it.
        if (e.order.onlyStation > 0) {
            ++kitchenOnlyHidden;
            for (const demo::OrderLine &l : e.order.lines)
                EXPECT_FALSE(onKitchenPrinter.contains(l.item.code.toUpper()))
                    << l.item.code.toStdString();
        }
        rows.MoveTo(row);
        rows.Next();
    }
    EXPECT_GT(kitchenOnlyHidden, 0);

    // The till filter finds each till's orders through the shift the till opened.
    ASSERT_TRUE(manager.GetInvoices(true, manager.TillFilter({QStringLiteral("2")})));
    std::vector<int> tillTwo, expectedTillTwo;
    for (rows.First(); !rows.Eof(); rows.Next())
        tillTwo.push_back(rows.FieldByName(u"invoicenum").AsInteger());
    for (const SimulatorEvent &e : live)
        if (e.tillID == 2)
            expectedTillTwo.push_back(e.invoiceNum);
    EXPECT_EQ(tillTwo, expectedTillTwo);

    ASSERT_TRUE(manager.GetOverrungInvoices());
    std::set<int> overrung;
    for (rows.First(); !rows.Eof(); rows.Next())
        overrung.insert(rows.FieldByName(u"invoicenum").AsInteger());
    EXPECT_EQ(overrung, voided);
}

TEST_F(TillSimulatorTest, TheSeedDecidesTheOrders)
{
    auto ring = [](testsupport::TestDatabase &db, quint32 seed) {
        TillSimulator tills(&db.Connection(), seed);
        tills.LoadShop();
        QStringList orders;
        for (const SimulatorEvent &e : Run(tills, 25, QDateTime::currentDateTime())) {
            QString text = QStringLiteral("%1 %2 %3 %4:")
                               .arg(int(e.kind))
                               .arg(e.tillID)
                               .arg(e.order.cashier)
                               .arg(e.invoiceNum);
            for (const demo::OrderLine &l : e.order.lines)
                text += QStringLiteral(" %1x%2/%3").arg(l.quantity).arg(l.item.code, l.item.size);
            orders << text;
        }
        return orders;
    };
    testsupport::TestDatabase other(true), third(true);
    const QStringList first = ring(Db, 42);
    EXPECT_EQ(ring(other, 42), first);
    EXPECT_NE(ring(third, 43), first);
}

// A tick that cannot write leaves no trace, and the next one writes the same order whole.
TEST_F(TillSimulatorTest, AFailedWriteLeavesNothingAndIsRetriedAtTheNextTick)
{
    struct Case
    {
        const char *name;
        std::function<void()> block;
        std::function<void()> unblock;
        const char *error;
    };
    platform::SqlConnection otherProgram;
    const Case cases[] = {
        {"another program holds the write lock",
         [&] {
             Db.Exec(QStringLiteral("PRAGMA busy_timeout = 100")); // do not wait the full 5 s
             otherProgram.Open(Db.ConnectionString());
             otherProgram.BeginTransaction();
         },
         [&] {
             otherProgram.Rollback();
             otherProgram.Close();
         },
         "locked"},
        {"the database refuses a line after the invoice was written",
         [&] {
             Db.Exec(QStringLiteral("CREATE TRIGGER RefuseLines BEFORE INSERT ON LineItem "
                                    "BEGIN SELECT RAISE(ABORT, 'no lines today'); END"));
         },
         [&] { Db.Exec(QStringLiteral("DROP TRIGGER RefuseLines")); }, "no lines today"},
    };
    TillSimulator tills(&Db.Connection(), 3);
    tills.LoadShop();
    tills.GetOdds().voidOrder = 0;
    int expectedInvoices = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int shifts = Db.Count(QStringLiteral("Tillpost"));
        c.block();
        const std::vector<SimulatorEvent> failed = tills.Tick(Now);
        ASSERT_EQ(failed.size(), 1u);
        EXPECT_EQ(failed[0].kind, SimulatorEvent::WriteFailed);
        EXPECT_TRUE(failed[0].error.contains(QLatin1String(c.error)))
            << failed[0].error.toStdString();
        EXPECT_EQ(Db.Count(QStringLiteral("Invoices")), expectedInvoices);
        EXPECT_EQ(Db.Count(QStringLiteral("LineItem"),
                           QStringLiteral("InvoiceNum > %1").arg(expectedInvoices)),
                  0);
        EXPECT_EQ(Db.Count(QStringLiteral("Tillpost")), shifts);
        EXPECT_FALSE(Db.Connection().InTransaction());
        c.unblock();

        const std::vector<SimulatorEvent> retried = tills.Tick(Now);
        ASSERT_EQ(retried.size(), 1u);
        ASSERT_EQ(retried[0].kind, SimulatorEvent::OrderWritten) << retried[0].error.toStdString();
        ++expectedInvoices;
        EXPECT_EQ(Db.Count(QStringLiteral("Invoices")), expectedInvoices);
        EXPECT_EQ(retried[0].tillID, failed[0].tillID);
        ASSERT_EQ(retried[0].order.lines.size(), failed[0].order.lines.size());
        for (size_t i = 0; i < failed[0].order.lines.size(); ++i)
            EXPECT_EQ(retried[0].order.lines[i].item.recipe, failed[0].order.lines[i].item.recipe);
        EXPECT_EQ(Lines(retried[0].invoiceNum).size(), failed[0].order.lines.size());
    }
}

// A till opens a shift for the day when its last one is from an earlier day; otherwise the
// monitor's till filter (shifts since yesterday) would lose its orders.
TEST_F(TillSimulatorTest, EachDayOpensANewShiftPerTill)
{
    Db.Exec(QStringLiteral("UPDATE Tillpost SET [Date] = '2020-01-01 06:00:00.000'"));
    TillSimulator tills(&Db.Connection(), 8);
    tills.LoadShop();
    tills.GetOdds().voidOrder = 0;
    const auto events = Run(tills, 12, Now);
    std::set<int> tillsUsed;
    for (const SimulatorEvent &e : OfKind(events, SimulatorEvent::OrderWritten))
        tillsUsed.insert(e.tillID);
    const int used = int(tillsUsed.size());
    ASSERT_GT(used, 1);
    EXPECT_EQ(Db.Count(QStringLiteral("Tillpost")), 3 + used);
    EXPECT_EQ(Db.Count(QStringLiteral("Tillpost"), QStringLiteral("TILLISACTIVE <> 0")), 3);
    EXPECT_EQ(Db.Count(QStringLiteral("Tillpost"),
                       QStringLiteral("TILLISACTIVE <> 0 AND [Date] < '2021-01-01'")),
              3 - used);
    EXPECT_EQ(
        Db.Count(QStringLiteral("Invoices JOIN Tillpost ON Tillpost.ShiftNum = Invoices.ShiftNum"),
                 QStringLiteral("Tillpost.[Date] < '2021-01-01'")),
        0);
}

} // namespace
