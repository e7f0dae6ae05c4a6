// The working monitor's poll, as the main window runs it (RefreshInvoices(false), then
// CheckOverrungInvoices, through TOrderRefresh), with the order grid painted by its view on
// the offscreen platform. The file holds 50,000 invoices of history (older than the three
// hours the monitor looks at, each with its line items) and 600 live orders of the last two
// hours with 2 to 5 kitchen lines each (every third order also has a bar line).
//
// BM_PollNothingNew: the poll of a monitor that holds the 600 (fetched by an earlier poll)
// when nothing new has arrived; six of the orders were overrung at the till since, one of
// them on screen, so each poll marks six and redraws one. Counters: the repaint that follows
// in the window's event loop (repaint_us, timed apart), and the raw statements run beside
// each poll under the same load (raw_us, and vs_raw = poll time / raw time).
// BM_PollNothingNewRawSqlite: the same two statements (the order query above the high-water
// mark, the overrung query; the texts the embedded database receives) through the sqlite3
// C API, stepping every row. /0 prepares them at each poll, as a program that builds its
// statement texts does; /1 keeps them prepared (reset and step only), the floor.
// BM_FirstPoll600: the first poll after a start: all 600 orders with their line items and
// the maker of each, then the grid laid out as the window does (DisplayFrom(-1)) and painted.
//
// The grid is the one a 1280x1024 screen gives the window with the default settings: 3
// columns, font size 12, a view of 1131x930 pixels. No sound device: the chime is left out.
#include "BenchOrdersFile.h"
#include "TestDatabase.h"

#include "kitchen/FMain.h"
#include "kitchen/clsOrderManager.h"
#include "kitchen/clsOrderRefresh.h"

#include "framework/clsGenericDB.h"
#include "orders/clsDbManager.h"
#include "orders/modGalley.h"
#include "printing/clsPricesCodeLinkPrinters.h"

#include "platform/SqlText.h"
#include "platform/StringGridView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>

namespace {

constexpr int kHistory = 50000;
constexpr int kOrders = 600;
constexpr int kTills = 6;
constexpr int kViewWidth = 1131;
constexpr int kViewHeight = 930;
constexpr int kColumns = 3;
constexpr int kFontSize = 12;

// Positions (from 1) among the 600 of the orders overrung after they were fetched; the
// third is on screen.
constexpr int kOverrung[] = {3, 100, 200, 300, 400, 500};


struct PollDatabase
{
    testsupport::TestDatabase db;
    QDateTime now = QDateTime::currentDateTime();
    int firstOrder = kHistory + 1; // invoice number of the oldest of the 600

    PollDatabase()
    {
        BenchOrdersFile out(db.File());
        // 40 products: 1-32 go to the kitchen printer, 33-40 (drinks) to the bar.
        out.Exec("INSERT INTO Printers (PrintersID, Name, Category) VALUES (1, 'Kitchen', 1), (2, 'Bar', 2)");
        for (int p = 1; p <= 40; ++p)
            out.Exec(QString("INSERT INTO Prices (Recipe, Code, Description, fkReportGroupID) "
                             "VALUES (%1, 'P%1', 'Product %1', %2);"
                             "INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (%1, %3)")
                         .arg(p)
                         .arg(p % 4 + 1)
                         .arg(p <= 32 ? 1 : 2)
                         .toUtf8());

        // One shift per till per day over the last 60 days.
        const int shiftNum = out.AddShifts(kTills, 60, now);

        // History over the 50 days before the last four hours; then the 600 in the last two.
        const qint64 historySpan = 50LL * 24 * 3600;
        for (int n = 1; n <= kHistory + kOrders; ++n) {
            const bool live = n > kHistory;
            const QDateTime when = live ? now.addSecs(-7200 + qint64(n - kHistory - 1) * 7000 / kOrders)
                                        : now.addSecs(-4 * 3600 - historySpan + qint64(n) * historySpan / kHistory);
            const QByteArray date = BenchOrdersFile::Text(when);
            out.AddInvoice(n, n % 100 + 1, !live, shiftNum - (n % kTills), date,
                           !live && n % 97 == 0 ? 1 : 0); // some history overrung
            const int kitchenLines = 2 + n % 4; // 2..5
            const int lines = kitchenLines + (n % 3 == 0 ? 1 : 0);
            for (int l = 1; l <= lines; ++l)
                out.AddLine(n, l, l > kitchenLines ? 33 + n % 8 : (n * 7 + l * 3) % 32 + 1, date);
            if (n % 10 == 0) // some orders assigned to a cook
                out.AddMaker(n);
        }
        out.CommitAndAnalyze();
    }

    // Sets the Status of the overrung orders (0 = live again).
    void SetOverrung(int status)
    {
        QStringList numbers;
        for (int position : kOverrung)
            numbers << QString::number(firstOrder + position - 1);
        db.Exec(QStringLiteral("UPDATE Invoices SET Status = %1 WHERE InvoiceNum IN (%2)")
                    .arg(status)
                    .arg(numbers.join(QLatin1Char(','))));
    }
};

PollDatabase &Database()
{
    // Destroyed at exit, so the 45 MB file does not stay behind in the temporary folder.
    static PollDatabase db;
    return db;
}

// What the window's event loop does after a poll: the view takes the grid's changes (a
// posted call), then paints them (an update request posted by that call).
void RunEventLoopOnce()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The pieces of the main window that a poll touches, wired as the window wires them. The
// clock is pinned to the time the file was made, so every poll sends the same texts.
struct Monitor
{
    platform::SqlConnection &con = Database().db.Connection();
    TStringAlignGrid grid{kColumns, 10};
    std::unique_ptr<platform::StringGridView> view;
    TOrderManager orders;
    TDbManager db{&con};
    TGenericDB runner{&con};
    TTillColours colours{&runner};
    TPricesCodeLinkPrinters links;
    TOrderRefresh refresh{orders, db, links, colours};
    TRefreshSettings settings;

    Monitor()
    {
        settings.FontSize = kFontSize;
        settings.WaitingText = clYellow;
        settings.WaitingBack = clBlack;
        const QDateTime now = Database().now;
        db.SetClock([now] { return now; });

        const TGridGeometry g = ComputeGridGeometry(kViewWidth, kViewHeight, kColumns, kFontSize);
        grid.SetSize(kColumns, g.RowCount);
        view = std::make_unique<platform::StringGridView>(&grid);
        view->resize(kViewWidth, kViewHeight);
        view->SetDefaultRowHeight(g.RowHeight);
        view->SetDefaultColWidth(g.ColWidth);
        view->show();

        orders.SetStringGrid(&grid);
        orders.SetDisplaySize(true);
        orders.SetDisplayInvoiceNum(true);
        colours.PopulateTillColours();
        links.SetAdoConnection(&con);
        links.LoadAllWithCodes();
        refresh.EnsureConnected = [this] {
            if (!con.Connected())
                throw std::runtime_error("The database connection is closed.");
        };
        refresh.ProcessEvents = [] { QCoreApplication::processEvents(); };
        orders.DisplayFrom(-1);
        RunEventLoopOnce();
    }

    void Poll()
    {
        refresh.RefreshInvoices(false, settings);
        refresh.CheckOverrungInvoices();
    }
};

int OverrungHeld(const TOrderManager &orders)
{
    int overrung = 0;
    for (int i = 0; i < orders.Count(); ++i)
        overrung += orders.Items(i)->Overrung() ? 1 : 0;
    return overrung;
}

// The two statements of a poll that finds nothing new, as the embedded database receives
// them, run through the sqlite3 C API on a connection of its own.
class RawPoll
{
public:
    // monitor holds the 600 and has polled since: its statements are those of the next poll.
    RawPoll(Monitor &monitor, bool keepPrepared)
        : m_keepPrepared(keepPrepared)
    {
        if (monitor.db.GetInvoices(false, QString()))
            throw std::runtime_error("the order query should find nothing new");
        m_ordersSql = platform::sqltext::RewriteForSqlite(monitor.db.InvoiceQuery().Text()).toUtf8();
        monitor.db.GetOverrungInvoices();
        m_overrungSql = platform::sqltext::RewriteForSqlite(monitor.db.InvoiceQuery().Text()).toUtf8();
        BenchOrdersFile::Check(sqlite3_open_v2(QFile::encodeName(Database().db.File()).constData(), &m_raw, SQLITE_OPEN_READWRITE,
                              nullptr),
              m_raw);
        if (m_keepPrepared) {
            m_orders = Prepare(m_ordersSql);
            m_overrung = Prepare(m_overrungSql);
        }
    }
    ~RawPoll()
    {
        sqlite3_finalize(m_orders);
        sqlite3_finalize(m_overrung);
        sqlite3_close_v2(m_raw);
    }
    RawPoll(const RawPoll &) = delete;
    RawPoll &operator=(const RawPoll &) = delete;

    // Steps every row of both; returns the number of rows.
    int Run()
    {
        if (!m_keepPrepared) {
            m_orders = Prepare(m_ordersSql);
            m_overrung = Prepare(m_overrungSql);
        }
        const int rows = Step(m_orders) + Step(m_overrung);
        if (!m_keepPrepared) {
            sqlite3_finalize(m_orders);
            sqlite3_finalize(m_overrung);
            m_orders = m_overrung = nullptr;
        }
        return rows;
    }

private:
    sqlite3_stmt *Prepare(const QByteArray &sql)
    {
        sqlite3_stmt *stmt = nullptr;
        BenchOrdersFile::Check(sqlite3_prepare_v2(m_raw, sql.constData(), int(sql.size()), &stmt, nullptr), m_raw);
        return stmt;
    }
    static int Step(sqlite3_stmt *stmt)
    {
        int rows = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int(stmt, 0));
            ++rows;
        }
        sqlite3_reset(stmt);
        return rows;
    }

    bool m_keepPrepared;
    QByteArray m_ordersSql;
    QByteArray m_overrungSql;
    sqlite3 *m_raw = nullptr;
    sqlite3_stmt *m_orders = nullptr;
    sqlite3_stmt *m_overrung = nullptr;
};

// A monitor holding the 600, six of them overrung since they were fetched.
std::unique_ptr<Monitor> MonitorWithOrdersHeld(benchmark::State &state)
{
    PollDatabase &data = Database();
    data.SetOverrung(0);
    auto monitor = std::make_unique<Monitor>();
    monitor->Poll(); // the earlier poll that fetched the 600
    data.SetOverrung(1);
    monitor->Poll(); // ... and the one that saw them overrung
    if (monitor->orders.Count() != kOrders || OverrungHeld(monitor->orders) != int(std::size(kOverrung)))
        state.SkipWithError("the monitor should hold 600 orders, 6 of them overrung");
    RunEventLoopOnce();
    return monitor;
}

void BM_PollNothingNew(benchmark::State &state)
{
    std::unique_ptr<Monitor> monitor = MonitorWithOrdersHeld(state);
    // The machine is shared: beside each poll the raw statements run too (timed apart, in
    // turn before and after it), so the ratio compares the two under the same load.
    RawPoll raw(*monitor, false);
    const qint64 before = monitor->con.StatementCount();
    qint64 repaintNs = 0;
    qint64 rawNs = 0;
    qint64 pollNs = 0;
    QElapsedTimer clock;
    bool rawFirst = false;
    for (auto _ : state) {
        if (rawFirst) {
            state.PauseTiming();
            clock.start();
            raw.Run();
            rawNs += clock.nsecsElapsed();
            state.ResumeTiming();
        }
        clock.start();
        monitor->Poll();
        pollNs += clock.nsecsElapsed();
        // Between two polls the window's event loop repaints what the poll redrew; that is
        // the view's cost, not the poll's: timed apart.
        state.PauseTiming();
        clock.start();
        RunEventLoopOnce();
        repaintNs += clock.nsecsElapsed();
        if (!rawFirst) {
            clock.start();
            raw.Run();
            rawNs += clock.nsecsElapsed();
        }
        rawFirst = !rawFirst;
        state.ResumeTiming();
    }
    if (monitor->orders.Count() != kOrders)
        state.SkipWithError("a poll with nothing new changed the orders held");
    const double n = double(state.iterations());
    state.counters["statements"] = double(monitor->con.StatementCount() - before) / n;
    state.counters["repaint_us"] = double(repaintNs) / 1000.0 / n;
    state.counters["raw_us"] = double(rawNs) / 1000.0 / n;
    state.counters["vs_raw"] = rawNs > 0 ? double(pollNs) / double(rawNs) : 0.0;
    monitor.reset();
    Database().SetOverrung(0);
}
BENCHMARK(BM_PollNothingNew)->Unit(benchmark::kMicrosecond);

void BM_PollNothingNewRawSqlite(benchmark::State &state)
{
    std::unique_ptr<Monitor> monitor = MonitorWithOrdersHeld(state);
    RawPoll raw(*monitor, state.range(0) != 0);
    qint64 rows = 0;
    for (auto _ : state)
        rows += raw.Run();
    state.counters["rows"] = benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
    monitor.reset();
    Database().SetOverrung(0);
}
BENCHMARK(BM_PollNothingNewRawSqlite)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_FirstPoll600(benchmark::State &state)
{
    Database().SetOverrung(0);
    std::unique_ptr<Monitor> monitor;
    qint64 statements = 0;
    int held = 0;
    int displayed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        monitor.reset();
        monitor = std::make_unique<Monitor>();
        const qint64 before = monitor->con.StatementCount();
        state.ResumeTiming();

        monitor->Poll();
        monitor->orders.DisplayFrom(-1);
        // On screen: the view takes the grid's cells and paints them.
        monitor->view->SyncNow();
        monitor->view->viewport()->repaint();

        state.PauseTiming();
        statements += monitor->con.StatementCount() - before;
        held = monitor->orders.Count();
        displayed = monitor->orders.Displayed().Count();
        state.ResumeTiming();
    }
    monitor.reset();
    if (held != kOrders)
        state.SkipWithError("the first poll should fetch all 600 orders");
    state.counters["orders"] = held;
    state.counters["displayed"] = displayed;
    state.counters["statements"] = benchmark::Counter(double(statements), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_FirstPoll600)->Unit(benchmark::kMillisecond);

} // namespace
