// The working monitor, offscreen, against a real database: orders voided at a till turn red
// in the grid, "Orders Waiting" blinks while orders are queued, and the monitor rides out a
// locked database, a refused status write and a lost connection.

#include "kitchen/FMain.h"

#include "orders/clsDbManager.h"

#include "platform/DbError.h"
#include "platform/DialogSeam.h"
#include "platform/StringGridView.h"

#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include <set>

namespace {

const QString kConnectionLost = QStringLiteral(
    "The database connection cannot be opened\r\rClick Options | Settings and make sure the "
    "connection string has been correctly setup");

// The cells an order fills, in grid order: text, background, font colour.
struct CellView
{
    QString Text;
    TColor Background;
    TColor FontColour;
};

class MonitorBehaviour : public ::testing::Test
{
protected:
    MonitorBehaviour()
    {
        Db.Exec("INSERT INTO Printers (PrintersID, Name, Category) VALUES (1, 'Kitchen', 1)");
        Db.Exec("INSERT INTO Prices (Recipe, Code) VALUES (1, 'PIZ')");
        Db.Exec("INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (1, 1)");
        Settings.Refresh.WaitingText = clBlack;
        Settings.Refresh.WaitingBack = clWhite;
    }
    ~MonitorBehaviour() override { Window.reset(); }

    // Creates the window with the orders so far and shows it (the first poll runs then).
    void Start()
    {
        Window = std::make_unique<TfrmMain>(&Db.Connection());
        Window->CurrentSettings = [this] {
            return Settings;
        };
        Window->LoadSettings = [this] {
            return Settings;
        };
        Window->Reconnect = [this] {
            if (ReconnectFails)
                throw platform::DbError(QStringLiteral("server unreachable"));
            Db.Connection().Open();
        };
        Window->Refresh().PlaySound = [this] {
            ++Sounds;
        };
        Window->resize(1024, 768);
        Window->show();
        QCoreApplication::processEvents(); // FormShow runs once the window is shown
        Window->gridOrders()->setFocus();
        QApplication::setActiveWindow(Window.get());
    }

    void Order(int invoiceNum) { Order(Db.Connection(), invoiceNum); }
    static void Order(platform::SqlConnection &con, int invoiceNum)
    {
        con.Execute(QStringLiteral(
                        "INSERT INTO Invoices (InvoiceNum, OrderNum, [Date]) VALUES (%1, %2, '%3')")
                        .arg(invoiceNum)
                        .arg(invoiceNum - 100)
                        .arg(QDateTime::currentDateTime().addSecs(-300).toString(
                            "yyyy-MM-dd HH:mm:ss.zzz")));
        con.Execute(
            QStringLiteral("INSERT INTO LineItem (InvoiceNum, LineNum, Code, Quantity, ItemDesc) "
                           "VALUES (%1, 1, 'PIZ', 1, 'Pizza')")
                .arg(invoiceNum));
    }
    void Poll() { Window->timerDisplayOrdersTimer(); }
    // Orders from 102 on, more than a one-column board holds, fetched by a poll; returns the
    // number of the last of them.
    int OverfillTheBoard()
    {
        const int count = Grid().RowCount() + 2;
        for (int n = 0; n < count; ++n)
            Order(102 + n);
        Poll();
        return 102 + count - 1;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        ASSERT_EQ(QApplication::focusWidget(), Window->gridOrders());
        QTest::keyClick(Window->gridOrders(), Qt::Key(key), modifiers);
    }

    const TStringAlignGrid &Grid() const { return *Window->gridOrders()->Grid(); }
    TDisplayInvoice *Held(int invoiceNum)
    {
        const int index = Window->OrderManager().IndexOfInvoiceNum(invoiceNum);
        return index < 0 ? nullptr : Window->OrderManager().Items(index);
    }
    // The cells showing the order, column by column, top to bottom.
    std::vector<CellView> CellsOf(int invoiceNum)
    {
        std::vector<CellView> cells;
        const TDisplayInvoice *order = Held(invoiceNum);
        for (int c = 0; order && c < Grid().ColCount(); ++c) {
            for (int r = 0; r < Grid().RowCount(); ++r) {
                if (Grid().Objects(c, r) == order)
                    cells.push_back(
                        {Grid().Cells(c, r), Grid().CellColor(c, r), Grid().CellFont(c, r).Color});
            }
        }
        return cells;
    }
    std::vector<int> HeldNumbers()
    {
        std::vector<int> numbers;
        for (int i = 0; i < Window->OrderManager().Count(); ++i)
            numbers.push_back(Window->OrderManager().Items(i)->InvoiceNum());
        return numbers;
    }
    std::vector<int> DisplayedNumbers()
    {
        std::vector<int> numbers;
        const TDisplayList &shown = Window->OrderManager().Displayed();
        for (int i = 0; i < shown.Count(); ++i)
            numbers.push_back(shown.ItemAt(i)->InvoiceNum());
        return numbers;
    }
    int Prepared(int invoiceNum)
    {
        return Db
            .Scalar(QStringLiteral("SELECT Prepared FROM Invoices WHERE InvoiceNum = %1")
                        .arg(invoiceNum))
            .toInt();
    }
    // The monitor is still alive: the poll and the clock are running.
    void ExpectRunning()
    {
        EXPECT_TRUE(Window->timerDisplayOrders()->isActive());
        EXPECT_TRUE(Window->timerSwitchView()->isActive());
    }
    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const platform::DialogRequest &r : Dialogs.Requests())
            texts << r.Text;
        return texts;
    }

    platform::ScriptedResponder Dialogs {platform::DialogAnswer(platform::mrOk)};
    testsupport::TestDatabase Db;
    TMainSettings Settings;
    bool ReconnectFails = false;
    int Sounds = 0;
    std::unique_ptr<TfrmMain> Window;
};

TEST_F(MonitorBehaviour, OrderVoidedAfterItWasFetchedTurnsRedAtTheNextPoll)
{
    Settings.AutoExpand = true; // every order shows its status line
    Order(101);
    Order(102);
    Start();
    const std::vector<CellView> before = CellsOf(102);
    ASSERT_EQ(before.size(), 3u);
    EXPECT_EQ(before[1].Text, "STATUS: WAITING");
    EXPECT_NE(before[0].Background, clRed);

    Db.Exec("UPDATE Invoices SET Status = 1 WHERE InvoiceNum = 102");
    Poll();
    const std::vector<CellView> voided = CellsOf(102);
    ASSERT_EQ(voided.size(), 3u);
    EXPECT_TRUE(voided[0].Text.endsWith(" *************")) << voided[0].Text.toStdString();
    EXPECT_EQ(voided[0].Background, clRed); // the header is drawn in reverse: on red
    EXPECT_EQ(voided[1].Text, "STATUS: OVERRUNG");
    EXPECT_EQ(voided[1].FontColour, clRed);
    EXPECT_EQ(voided[2].Text, "1  Pizza");
    // It stays where it was, among the waiting orders; the other order is untouched.
    EXPECT_EQ(DisplayedNumbers(), (std::vector<int> {101, 102}));
    const std::vector<CellView> other = CellsOf(101);
    ASSERT_EQ(other.size(), 3u);
    EXPECT_EQ(other[1].Text, "STATUS: WAITING");
    EXPECT_NE(other[0].Background, clRed);

    Poll(); // seen overrung again: still one order, still red
    EXPECT_EQ(HeldNumbers(), (std::vector<int> {101, 102}));
    EXPECT_EQ(CellsOf(102)[1].Text, "STATUS: OVERRUNG");
    EXPECT_TRUE(Dialogs.Requests().isEmpty());
}

TEST_F(MonitorBehaviour, OrdersWaitingBlinksOnlyWhileOrdersAreQueued)
{
    Settings.Columns = 1;
    Order(101);
    Start();
    EXPECT_TRUE(Window->tmrFlashMessage()->isActive()); // switched on by the first refresh

    // Nothing queued: the blink shows nothing, on or off.
    for (int i = 0; i < 4; ++i) {
        Window->tmrFlashMessageTimer();
        EXPECT_EQ(Window->StatusPanelText(1), "") << "tick " << i;
    }

    const int orders = OverfillTheBoard() - 100;
    ASSERT_TRUE(Window->OrderManager().WaitingOrdersQueued());
    ASSERT_LT(Window->OrderManager().Displayed().Count(), Window->OrderManager().Count());
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        Window->tmrFlashMessageTimer();
        seen << Window->StatusPanelText(1);
    }
    // Panel 1 alternates between the text and nothing.
    EXPECT_EQ(seen.count("Orders Waiting"), 2) << seen.join('|').toStdString();
    EXPECT_EQ(seen.count(""), 2);
    EXPECT_NE(seen[0], seen[1]);
    EXPECT_EQ(seen[0], seen[2]);
    EXPECT_TRUE(Window->tmrFlashMessage()->isActive());

    // The cook clears the board until everything fits: the blink stops.
    for (int i = 0; i < orders && Window->OrderManager().WaitingOrdersQueued(); ++i)
        Key(Qt::Key_1, Qt::KeypadModifier);
    ASSERT_FALSE(Window->OrderManager().WaitingOrdersQueued());
    for (int i = 0; i < 3; ++i) {
        Window->tmrFlashMessageTimer();
        EXPECT_EQ(Window->StatusPanelText(1), "") << "tick " << i;
    }
}

// An order the grid had no room for is not on the grid; voided at the till, it must not be
// drawn over the orders that are.
TEST_F(MonitorBehaviour, QueuedOrderVoidedAtTheTillStaysOffTheGrid)
{
    Settings.Columns = 1;
    Order(101);
    Start();
    const int last = OverfillTheBoard();
    ASSERT_TRUE(Window->OrderManager().WaitingOrdersQueued());
    ASSERT_NE(Held(last), nullptr);
    ASSERT_EQ(Window->OrderManager().IndexInDisplayed(last), -1);
    const std::vector<int> shown = DisplayedNumbers();

    Db.Exec(QStringLiteral("UPDATE Invoices SET Status = 1 WHERE InvoiceNum = %1").arg(last));
    Poll();
    EXPECT_TRUE(Held(last)->Overrung());
    EXPECT_TRUE(CellsOf(last).empty());
    EXPECT_EQ(DisplayedNumbers(), shown);
    // Every cell still belongs to a displayed order, the first one at the top.
    std::set<const void *> displayed;
    for (int i = 0; i < Window->OrderManager().Displayed().Count(); ++i)
        displayed.insert(Window->OrderManager().Displayed().ItemAt(i));
    for (int r = 0; r < Grid().RowCount(); ++r) {
        if (Grid().Objects(0, r)) {
            EXPECT_TRUE(displayed.count(Grid().Objects(0, r))) << "row " << r;
        }
    }
    EXPECT_EQ(Grid().Objects(0, 0), Held(101));

    // Once the board has room it appears, in red.
    for (int i = 101; i < last && Window->OrderManager().IndexInDisplayed(last) == -1; ++i)
        Key(Qt::Key_1, Qt::KeypadModifier);
    const std::vector<CellView> cells = CellsOf(last);
    ASSERT_FALSE(cells.empty());
    EXPECT_EQ(cells[0].Background, clRed);
}

// Another connection holds the database exclusively while the monitor polls.
class LockedDatabase : public MonitorBehaviour
{
protected:
    void SetUp() override
    {
        // The embedded database runs in WAL mode, where a writer never blocks a reader; a
        // server, or a file in rollback-journal mode, does. The file is switched to that mode
        // so another connection's exclusive lock refuses the poll's reads, and the monitor's
        // connection waits a tenth of a second for a lock instead of five.
        Db.Exec("PRAGMA journal_mode=DELETE");
        Db.Exec("PRAGMA busy_timeout=100");
        ASSERT_EQ(sqlite3_open_v2(Db.File().toLocal8Bit().constData(), &Till, SQLITE_OPEN_READWRITE,
                                  nullptr),
                  SQLITE_OK);
    }
    void TearDown() override { sqlite3_close_v2(Till); }

    int TillExec(const QString &sql)
    {
        return sqlite3_exec(Till, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    }

    sqlite3 *Till = nullptr;
};

TEST_F(LockedDatabase, PollWhileLockedReportsAndTheNextPollAddsTheOrdersOnce)
{
    Order(101);
    Start();
    ASSERT_EQ(HeldNumbers(), (std::vector<int> {101}));
    ASSERT_EQ(Sounds, 1);

    // A till writes two orders in one long transaction.
    ASSERT_EQ(TillExec("BEGIN EXCLUSIVE"), SQLITE_OK);
    for (int invoiceNum : {102, 103}) {
        ASSERT_EQ(
            TillExec(
                QStringLiteral(
                    "INSERT INTO Invoices (InvoiceNum, OrderNum, [Date]) VALUES (%1, %2, '%3')")
                    .arg(invoiceNum)
                    .arg(invoiceNum - 100)
                    .arg(QDateTime::currentDateTime().addSecs(-60).toString(
                        "yyyy-MM-dd HH:mm:ss.zzz"))),
            SQLITE_OK);
        ASSERT_EQ(
            TillExec(QStringLiteral(
                         "INSERT INTO LineItem (InvoiceNum, LineNum, Code, Quantity, ItemDesc) "
                         "VALUES (%1, 1, 'PIZ', 1, 'Pizza')")
                         .arg(invoiceNum)),
            SQLITE_OK);
    }
    Poll();
    ASSERT_FALSE(Dialogs.Requests().isEmpty());
    const platform::DialogRequest &fetch = Dialogs.Requests().front();
    EXPECT_EQ(fetch.Type, platform::mtError);
    EXPECT_TRUE(
        fetch.Text.startsWith("Failed to get invoices to display on the kitchen monitor\rReason: "))
        << fetch.Text.toStdString();
    EXPECT_TRUE(fetch.Text.contains("locked")) << fetch.Text.toStdString();
    EXPECT_TRUE(fetch.Text.endsWith("\r\rException Raised In: TDbManager.GetInvoices"))
        << fetch.Text.toStdString();
    EXPECT_EQ(HeldNumbers(), (std::vector<int> {101}));
    EXPECT_EQ(Sounds, 1);
    ExpectRunning();

    ASSERT_EQ(TillExec("COMMIT"), SQLITE_OK);
    Dialogs.Clear();
    Poll();
    EXPECT_EQ(HeldNumbers(), (std::vector<int> {101, 102, 103}));
    EXPECT_EQ(DisplayedNumbers(), (std::vector<int> {101, 102, 103}));
    EXPECT_EQ(Sounds, 2);
    Poll();
    EXPECT_EQ(HeldNumbers(), (std::vector<int> {101, 102, 103}));
    EXPECT_EQ(Sounds, 2);
    EXPECT_TRUE(Dialogs.Requests().isEmpty()) << MessageTexts().join("\n").toStdString();
    ExpectRunning();
}

TEST_F(MonitorBehaviour, RefusedStatusWriteIsReportedAndTheOrderStaysWaiting)
{
    Order(101);
    Order(102);
    Start();
    Db.Exec("CREATE TRIGGER RefuseCooked BEFORE UPDATE OF Prepared ON Invoices "
            "BEGIN SELECT RAISE(ABORT, 'invoice is open at till 2'); END");
    ASSERT_EQ(Window->OrderManager().Displayed().Current(), Held(101));

    Key(Qt::Key_1, Qt::KeypadModifier); // Done (1)
    ASSERT_EQ(Dialogs.Requests().size(), 1);
    EXPECT_EQ(Dialogs.Last().Type, platform::mtError);
    EXPECT_EQ(Dialogs.Last().Text,
              "Failed to set the selected order status\r\rReason: invoice is open at till 2"
              "\r\rException Raised In: TDbManager.SetStatus");
    EXPECT_EQ(Prepared(101), 0);
    // The order the database still holds as waiting stays on the waiting board, selected,
    // so nothing leaves the cook's sight; a poll changes nothing.
    EXPECT_EQ(DisplayedNumbers(), (std::vector<int> {101, 102}));
    EXPECT_EQ(Window->OrderManager().Displayed().Current(), Held(101));
    EXPECT_FALSE(Held(101)->Prepared());
    Poll();
    EXPECT_EQ(DisplayedNumbers(), (std::vector<int> {101, 102}));
    ExpectRunning();

    Key(Qt::Key_F5);
    EXPECT_FALSE(Held(101)->Prepared());
    EXPECT_EQ(DisplayedNumbers(), (std::vector<int> {101, 102}));
    EXPECT_EQ(Dialogs.Requests().size(), 1);
    ExpectRunning();
}

TEST_F(MonitorBehaviour, LostConnectionIsReportedOncePerPollUntilItReopens)
{
    Order(101);
    Start();
    ASSERT_EQ(Sounds, 1);
    Db.Connection().Close();
    ReconnectFails = true;

    for (int poll = 1; poll <= 2; ++poll) {
        Poll();
        EXPECT_EQ(MessageTexts(), QStringList(poll, kConnectionLost)) << "poll " << poll;
        EXPECT_EQ(Dialogs.Last().Type, platform::mtInformation);
        ExpectRunning();
    }
    // F5 while it is down says it once too, and keeps the board as it was.
    Dialogs.Clear();
    Key(Qt::Key_F5);
    EXPECT_EQ(MessageTexts(), QStringList({kConnectionLost}));
    EXPECT_EQ(HeldNumbers(), (std::vector<int> {101}));
    ExpectRunning();

    // The server is back: the next poll reopens the connection and fetches what came meanwhile.
    ReconnectFails = false;
    {
        platform::SqlConnection till;
        till.Open(Db.ConnectionString());
        Order(till, 102);
    }
    Dialogs.Clear();
    Poll();
    EXPECT_TRUE(Db.Connection().Connected());
    EXPECT_TRUE(Dialogs.Requests().isEmpty()) << MessageTexts().join("\n").toStdString();
    EXPECT_EQ(HeldNumbers(), (std::vector<int> {101, 102}));
    EXPECT_EQ(Sounds, 2);
    ExpectRunning();
}

} // namespace
