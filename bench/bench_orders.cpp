// One full fetch of 600 new orders, as the first poll after a start does it: GetInvoices
// with the mark reset, then GetLineitems for each order, reading the columns the refresh
// reads. Beside it the same SQL texts (as the embedded database receives them) run through
// the sqlite3 C API on the same file, reading the same columns into QStrings and ints.
// The file holds 50,000 invoices of history (with their lines) before the 600.
#include "BenchOrdersFile.h"
#include "TestDatabase.h"

#include "orders/clsDbManager.h"
#include "platform/SqlText.h"

#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdexcept>

namespace {

constexpr int kHistory = 50000;
constexpr int kNewOrders = 600;
constexpr int kTills = 6;


struct OrdersDatabase
{
    testsupport::TestDatabase db;
    QDateTime now = QDateTime::currentDateTime();

    OrdersDatabase()
    {
        BenchOrdersFile out(db.File());
        // 40 products: a third on the kitchen printer, some with a back-kitchen text, the
        // rest on the bar printer.
        out.Exec("INSERT INTO Printers (PrintersID, Name, Category) VALUES (1, 'Kitchen', 1), (2, 'Bar', 2)");
        for (int p = 1; p <= 40; ++p)
            out.Exec(QString("INSERT INTO Prices (Recipe, Code, Description, BKPrint, fkReportGroupID) "
                             "VALUES (%1, 'P%1', 'Product %1', '%2', %3);"
                             "INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (%1, %4)")
                         .arg(p)
                         .arg(p % 5 == 0 ? "K" : "")
                         .arg(p % 4 + 1)
                         .arg(p % 3 == 0 ? 1 : 2)
                         .toUtf8());

        // One shift per till per day over the last 60 days.
        const int shiftNum = out.AddShifts(kTills, 60, now);

        // History: spread over the 50 days before the window; then the new orders in the
        // last two hours.
        const qint64 historySpan = 50LL * 24 * 3600;
        for (int n = 1; n <= kHistory + kNewOrders; ++n) {
            const bool fresh = n > kHistory;
            const QDateTime when = fresh ? now.addSecs(-7200 + qint64(n - kHistory) * 7200 / kNewOrders)
                                         : now.addSecs(-4 * 3600 - historySpan + qint64(n) * historySpan / kHistory);
            const QByteArray date = BenchOrdersFile::Text(when);
            out.AddInvoice(n, n % 100 + 1, !fresh, shiftNum - (n % kTills), date,
                           !fresh && n % 97 == 0 ? 1 : 0); // some history overrung
            const int lines = 3 + n % 6; // 3..8
            for (int l = 1; l <= lines; ++l)
                out.AddLine(n, l, (n * 7 + l * 3) % 40 + 1, date);
        }
        out.CommitAndAnalyze();
    }
};

OrdersDatabase &Database()
{
    // Destroyed at exit, so its temporary folder goes with it.
    static OrdersDatabase db;
    return db;
}

TDbManager &Manager()
{
    static TDbManager *manager = [] {
        auto *m = new TDbManager(&Database().db.Connection());
        const QDateTime now = Database().now;
        m->SetClock([now] { return now; });
        return m;
    }();
    return *manager;
}

// What the refresh reads of each order and each line.
struct Totals
{
    qint64 orders = 0;
    qint64 lines = 0;
    qint64 sum = 0;
};

void BM_FetchOrders600(benchmark::State &state)
{
    TDbManager &manager = Manager();
    Totals totals;
    for (auto _ : state) {
        totals = {};
        if (!manager.GetInvoices(true, QString()))
            state.SkipWithError("no orders");
        platform::SqlQuery &orders = manager.InvoiceQuery();
        platform::SqlQuery &lines = manager.LineitemQuery();
        for (orders.First(); !orders.Eof(); orders.Next()) {
            const int invoiceNum = orders.FieldByName(u"invoicenum").AsInteger();
            totals.sum += orders.FieldByName(u"ordernum").AsInteger();
            totals.sum += orders.FieldByName(u"prepared").AsString().size();
            totals.sum += orders.FieldByName(u"time").AsString().size();
            totals.sum += orders.FieldByName(u"TillID").AsInteger();
            ++totals.orders;
            if (manager.GetLineitems(invoiceNum, 0) < 0)
                state.SkipWithError("line items failed");
            for (lines.First(); !lines.Eof(); lines.Next()) {
                totals.sum += lines.FieldByName(u"Code").AsString().size();
                totals.sum += int(lines.FieldByName(u"Quantity").AsFloat());
                totals.sum += lines.FieldByName(u"Size").AsString().size();
                totals.sum += lines.FieldByName(u"ItemDesc").AsString().size();
                ++totals.lines;
            }
        }
        benchmark::DoNotOptimize(totals.sum);
    }
    state.counters["orders"] = double(totals.orders);
    state.counters["lines"] = double(totals.lines);
}
BENCHMARK(BM_FetchOrders600)->Unit(benchmark::kMillisecond);

QString ColumnText(sqlite3_stmt *stmt, int column)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, column)),
                             sqlite3_column_bytes(stmt, column));
}

int ColumnIndex(sqlite3_stmt *stmt, const char *name)
{
    for (int i = 0; i < sqlite3_column_count(stmt); ++i)
        if (qstricmp(sqlite3_column_name(stmt, i), name) == 0)
            return i;
    throw std::runtime_error(name);
}

void BM_FetchOrders600RawSqlite(benchmark::State &state)
{
    // The texts the embedded database receives from the manager.
    TDbManager &manager = Manager();
    manager.GetInvoices(true, QString());
    const QByteArray ordersSql = platform::sqltext::RewriteForSqlite(manager.InvoiceQuery().Text()).toUtf8();
    manager.GetLineitems(123456789, 0);
    const QString linesTemplate = platform::sqltext::RewriteForSqlite(manager.LineitemQuery().Text());

    sqlite3 *raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(Database().db.File()).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    Totals totals;
    for (auto _ : state) {
        totals = {};
        sqlite3_stmt *orders = nullptr;
        BenchOrdersFile::Check(sqlite3_prepare_v2(raw, ordersSql.constData(), -1, &orders, nullptr), raw);
        const int cInvoice = ColumnIndex(orders, "invoicenum");
        const int cOrder = ColumnIndex(orders, "ordernum");
        const int cPrepared = ColumnIndex(orders, "prepared");
        const int cTime = ColumnIndex(orders, "time");
        const int cTill = ColumnIndex(orders, "TillID");
        while (sqlite3_step(orders) == SQLITE_ROW) {
            const int invoiceNum = sqlite3_column_int(orders, cInvoice);
            totals.sum += sqlite3_column_int(orders, cOrder);
            totals.sum += ColumnText(orders, cPrepared).size();
            totals.sum += ColumnText(orders, cTime).size();
            totals.sum += sqlite3_column_int(orders, cTill);
            ++totals.orders;

            QString text = linesTemplate;
            text.replace(QStringLiteral("123456789"), QString::number(invoiceNum));
            const QByteArray linesSql = text.toUtf8();
            sqlite3_stmt *lines = nullptr;
            BenchOrdersFile::Check(sqlite3_prepare_v2(raw, linesSql.constData(), -1, &lines, nullptr), raw);
            const int cCode = ColumnIndex(lines, "Code");
            const int cQuantity = ColumnIndex(lines, "Quantity");
            const int cSize = ColumnIndex(lines, "Size");
            const int cDesc = ColumnIndex(lines, "ItemDesc");
            while (sqlite3_step(lines) == SQLITE_ROW) {
                totals.sum += ColumnText(lines, cCode).size();
                totals.sum += int(sqlite3_column_double(lines, cQuantity));
                totals.sum += ColumnText(lines, cSize).size();
                totals.sum += ColumnText(lines, cDesc).size();
                ++totals.lines;
            }
            sqlite3_finalize(lines);
        }
        sqlite3_finalize(orders);
        benchmark::DoNotOptimize(totals.sum);
    }
    sqlite3_close_v2(raw);
    state.counters["orders"] = double(totals.orders);
    state.counters["lines"] = double(totals.lines);
}
BENCHMARK(BM_FetchOrders600RawSqlite)->Unit(benchmark::kMillisecond);

} // namespace
