#include "KitchenTestUtil.h"

#include "platform/DialogSeam.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace kitchentest;

namespace {

using Picture_t = std::vector<std::string>;
using Numbers = std::vector<int>;

// A 2-column, 10-row order grid, set up as the main window does it.
class OrderManagerTest : public ::testing::Test
{
protected:
    OrderManagerTest()
    {
        manager.SetStringGrid(&grid);
        manager.SetDisplaySize(true);
        manager.SetDisplayInvoiceNum(true);
        manager.OnOrderSelect = [this](TDisplayInvoice *order) {
            selections.push_back(order->InvoiceNum());
        };
    }

    // A new order as the refresh adds it: filled, then announced.
    TDisplayInvoice *Add(int invoiceNum, int items, bool prepared = false)
    {
        TDisplayInvoice *order = manager.AddDisplayInvoice();
        Fill(*order, invoiceNum, items, prepared);
        manager.InvoiceAdded();
        return order;
    }

    int Selected() const
    {
        const TDisplayInvoice *order = manager.Displayed().Current();
        return order ? order->InvoiceNum() : 0;
    }

    // Whether the order's header shows the selection colours (waiting view).
    bool ShowsSelected(const TDisplayInvoice &order) const
    {
        const TGridCoord at = order.Position();
        return grid.CellFont(at.Col, at.Row).Color == kSelect;
    }

    Picture_t Shown() const { return Picture(grid, manager); }

    platform::ScriptedResponder dialogs {platform::DialogAnswer(platform::mrOk)};
    TStringAlignGrid grid {2, 10};
    TOrderManager manager;
    Numbers selections;
};

TEST_F(OrderManagerTest, NewOrdersAreAppendedAndTheFirstIsSelected)
{
    Add(1, 3);
    Add(2, 2);
    Add(3, 1);
    EXPECT_EQ(Shown(), (Picture_t {"AaaaaBC...", ".........."}));
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {1, 2, 3}));
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(ShowsSelected(*manager.Items(0)));
    EXPECT_FALSE(ShowsSelected(*manager.Items(1)));
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("1 :        1 :   00:05 *************"));
    EXPECT_EQ(grid.Cells(0, 2), ItemLine(1));
    EXPECT_FALSE(manager.WaitingOrdersQueued());
}

TEST_F(OrderManagerTest, APreparedOrderWaitsForItsView)
{
    Add(1, 2, true);
    EXPECT_EQ(Shown(), (Picture_t {"..........", ".........."}));
    EXPECT_TRUE(manager.Displayed().IsEmpty());

    manager.SetCurrentView(osPrepared);
    EXPECT_EQ(Shown(), (Picture_t {"Aaaa......", ".........."}));
    EXPECT_EQ(grid.Cells(0, 1), QStringLiteral("STATUS: PREPARED"));
    EXPECT_EQ(grid.CellFont(0, 0).Color, kCSelect); // selected, prepared colours
    EXPECT_EQ(selections, (Numbers {1}));
}

TEST_F(OrderManagerTest, OrdersWithoutRoomWaitUntilOrdersAreDone)
{
    Add(1, 17); // 19 lines: the whole grid but the last cell
    Add(2, 1);
    Add(3, 1);
    EXPECT_EQ(Shown(), (Picture_t {"Aaaaaaaaaa", "aaaaaaaaa."}));
    EXPECT_TRUE(manager.WaitingOrdersQueued());
    EXPECT_TRUE(manager.Items(1)->Queued());

    manager.DisplayFrom(-1);
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {1}));
    EXPECT_TRUE(manager.WaitingOrdersQueued());

    manager.ToggleStatus(); // the first order is done: room for the others
    EXPECT_TRUE(manager.Items(0)->Prepared());
    EXPECT_EQ(Shown(), (Picture_t {"BbbC......", ".........."}));
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {2, 3}));
    EXPECT_FALSE(manager.WaitingOrdersQueued());
    EXPECT_EQ(Selected(), 2);
}

TEST_F(OrderManagerTest, LaterOrdersWaitOnceOneIsQueued)
{
    Add(1, 17);
    Add(2, 1); // queued
    TDisplayInvoice *third = Add(3, 0); // would take no room, still waits for the layout
    EXPECT_FALSE(third->Queued());
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {1}));
    EXPECT_TRUE(manager.WaitingOrdersQueued());
}

TEST_F(OrderManagerTest, AnOrderWithoutItemsTakesNoPlace)
{
    Add(1, 2);
    Add(2, 0); // every line was for another station
    Add(3, 1);
    EXPECT_EQ(Shown(), (Picture_t {"AaaaC.....", ".........."}));
    manager.DisplayFrom(-1);
    EXPECT_EQ(Shown(), (Picture_t {"AaaaC.....", ".........."}));
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {1, 3}));
}

TEST_F(OrderManagerTest, ALongOrderFollowsTheOrdersBeforeIt)
{
    Add(1, 1);
    Add(24, 6); // 'x': 8 lines
    Add(2, 9); // 11 lines: longer than a column
    ASSERT_EQ(Shown(), (Picture_t {"AaaXB.....", ".........."}));
    manager.SelectNext();
    manager.ToggleExpand();
    EXPECT_EQ(Shown(), (Picture_t {"AaaXxxxxxx", "xB........"}));
    EXPECT_EQ(grid.Cells(0, 4), QStringLiteral("STATUS: WAITING"));
}

TEST_F(OrderManagerTest, SelectionWrapsAround)
{
    Add(1, 1);
    Add(2, 1);
    Add(3, 1);
    manager.SelectNext();
    manager.SelectNext();
    EXPECT_EQ(Selected(), 3);
    manager.SelectNext();
    EXPECT_EQ(Selected(), 1);
    manager.SelectPrevious();
    EXPECT_EQ(Selected(), 3);
    EXPECT_EQ(selections, (Numbers {2, 3, 1, 3}));
    EXPECT_TRUE(ShowsSelected(*manager.Items(2)));
    EXPECT_FALSE(ShowsSelected(*manager.Items(0)));
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

TEST_F(OrderManagerTest, SelectionKeepsItsPlaceInTheList)
{
    Add(1, 1);
    Add(2, 1);
    Add(3, 1);
    manager.SelectPrevious(); // the last
    manager.DisplayFrom(-1);
    EXPECT_EQ(Selected(), 3);

    manager.ToggleStatus(); // the last is done: the selection stays on the last shown
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {1, 2}));
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(manager.Items(2)->Expanded(), false);

    manager.ToggleExpand();
    EXPECT_EQ(Shown(), (Picture_t {"AaaBbb....", ".........."}));
    EXPECT_EQ(Selected(), 2);
}

TEST_F(OrderManagerTest, DoneOnTheOnlyOrderClearsTheGrid)
{
    Add(1, 2);
    manager.ToggleStatus();
    EXPECT_TRUE(manager.Items(0)->Prepared());
    EXPECT_TRUE(manager.Displayed().IsEmpty());
    EXPECT_EQ(Shown(), (Picture_t {"..........", ".........."}));
    EXPECT_EQ(grid.CellColor(0, 0), clWindow);

    manager.SetCurrentView(osPrepared);
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {1}));
    manager.ToggleStatus(); // undone: back to the waiting orders
    EXPECT_FALSE(manager.Items(0)->Prepared());
    manager.SetCurrentView(osWaiting);
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {1}));
}

TEST_F(OrderManagerTest, ALayoutWithoutOrdersLeavesTheGridAlone)
{
    grid.SetCells(1, 1, QStringLiteral("left over"));
    manager.DisplayFrom(-1);
    manager.SetCurrentView(osPrepared);
    EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("left over"));
}

TEST_F(OrderManagerTest, MovingSidewaysPicksTheOrderInTheSameRow)
{
    Add(1, 8); // 10 lines: the whole first column
    Add(2, 1); // (1, 0)
    Add(3, 1); // (1, 1)
    ASSERT_EQ(Shown(), (Picture_t {"Aaaaaaaaaa", "BC........"}));

    manager.MoveLeft(); // from the first column to the last
    EXPECT_EQ(Selected(), 2);
    manager.MoveRight(); // from the last column to the first
    EXPECT_EQ(Selected(), 1);
    manager.SelectNext();
    manager.SelectNext();
    manager.MoveLeft(); // any line of an order will do
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(selections, (Numbers {2, 1, 2, 3, 1}));
}

TEST_F(OrderManagerTest, MovingSidewaysToNothingChangesNothing)
{
    Add(1, 2);
    Add(2, 1);
    manager.MoveRight(); // (1, 0) is empty
    EXPECT_EQ(Selected(), 1);

    TStringAlignGrid single(1, 10);
    manager.SetStringGrid(&single);
    manager.MoveLeft();
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(selections.empty());
}

TEST_F(OrderManagerTest, AClickedOrderStaysHighlightedInLaterLayouts)
{
    Add(1, 1);
    Add(2, 1);
    Add(3, 1);
    ASSERT_EQ(Shown(), (Picture_t {"AaaBC.....", ".........."}));
    grid.SetCurrentCell(0, 3); // the second order
    manager.SelectClicked();
    EXPECT_EQ(manager.ClickedInvoiceNum(), 2);
    EXPECT_EQ(Selected(), 2);

    manager.SelectNext();
    manager.DisplayFrom(-1);
    EXPECT_EQ(Selected(), 3);
    EXPECT_TRUE(ShowsSelected(*manager.Items(1))); // clicked
    EXPECT_TRUE(ShowsSelected(*manager.Items(2))); // selected
    EXPECT_FALSE(ShowsSelected(*manager.Items(0)));

    grid.SetCurrentCell(1, 5); // empty cell: nothing
    manager.SelectClicked();
    EXPECT_EQ(manager.ClickedInvoiceNum(), 2);
    EXPECT_EQ(Selected(), 3);
}

TEST_F(OrderManagerTest, PagingThroughPreparedOrders)
{
    // A 2 x 3 grid holds three prepared orders of one item: the newest in full in the first
    // column, two headers in the second.
    TStringAlignGrid small(2, 3);
    manager.SetStringGrid(&small);
    Add(100, 1); // a waiting order, the oldest of all
    for (int n = 1; n <= 10; ++n)
        Add(n, 1, true);

    manager.PageDown(); // waiting view: nothing
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {100}));

    manager.SetCurrentView(osPrepared);
    EXPECT_EQ(DisplayedNumbers(manager), (Numbers {10, 9, 8}));
    const Numbers pages[] = {{7, 6, 5}, {4, 3, 2}, {1}, {10, 9, 8}};
    for (const Numbers &page : pages) {
        manager.PageDown();
        EXPECT_EQ(DisplayedNumbers(manager), page);
    }
    EXPECT_EQ(Picture(small, manager), (Picture_t {"Jjj", "IH."}));
}

TEST_F(OrderManagerTest, ExpandingKeepsThePreparedPage)
{
    for (int n = 1; n <= 6; ++n)
        Add(n, 1, true);
    manager.SetCurrentView(osPrepared);
    manager.DisplayFrom(3); // orders 4 down to 1
    manager.SelectNext(); // order 3
    manager.ToggleExpand();
    EXPECT_EQ(Shown(), (Picture_t {"DddCccBA..", ".........."}));
    EXPECT_EQ(Selected(), 3);
}

TEST_F(OrderManagerTest, OverrungOrdersTurnRed)
{
    Add(1, 1);
    Add(2, 1, true);
    manager.MarkOverrung(1);
    manager.MarkOverrung(2); // other view: marked, not drawn
    manager.MarkOverrung(99); // not held: nothing
    EXPECT_TRUE(manager.Items(0)->Overrung());
    EXPECT_TRUE(manager.Items(1)->Overrung());
    EXPECT_EQ(grid.Cells(0, 1), QStringLiteral("STATUS: OVERRUNG"));
    EXPECT_EQ(grid.CellColor(0, 0), clRed);
    EXPECT_EQ(Shown(), (Picture_t {"Aaa.......", ".........."}));
}

TEST_F(OrderManagerTest, NumberAndSizeSettingsRedrawTheOrders)
{
    TDisplayInvoice *order = Add(1234, 1);
    manager.SetDisplayInvoiceNum(false);
    EXPECT_EQ(grid.Cells(0, 0), QStringLiteral("1 : 34 :   00:05 *************"));
    EXPECT_EQ(order->DisplayNumber(), dnOrderNum);
    manager.SetDisplaySize(false);
    EXPECT_EQ(grid.Cells(0, 2), QStringLiteral("1 Item 1"));
    // New orders take the settings too.
    EXPECT_EQ(manager.AddDisplayInvoice()->DisplayNumber(), dnOrderNum);
}

TEST_F(OrderManagerTest, ClearForgetsEverything)
{
    Add(1, 1);
    Add(2, 1);
    manager.Clear();
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_TRUE(manager.Displayed().IsEmpty());
    EXPECT_EQ(manager.NextCell(), (TGridCoord {0, 0}));
    EXPECT_EQ(Shown(), (Picture_t {"..........", ".........."}));
    Add(3, 1);
    EXPECT_EQ(Shown(), (Picture_t {"Ccc.......", ".........."}));
}

TEST_F(OrderManagerTest, BadInputDrawsSensibly)
{
    Add(1, 200);
    TDisplayInvoice *quoted = manager.AddDisplayInvoice();
    Fill(*quoted, 2, 0);
    quoted->Lineitems()->Add()->SetItemDesc(QStringLiteral("'; DROP TABLE \"x\" – Süß"));
    manager.InvoiceAdded();
    EXPECT_EQ(Shown(), (Picture_t {"Aaaaaaaaaa", "aaaaaaaaaa"}));
    EXPECT_EQ(grid.Cells(1, 9), ItemLine(200));
    EXPECT_TRUE(manager.WaitingOrdersQueued());

    // One cell: nothing fits, nothing breaks.
    TStringAlignGrid tiny(1, 1);
    manager.SetStringGrid(&tiny);
    for (int i = 0; i < manager.Count(); ++i)
        manager.Items(i)->SetStringGrid(&tiny);
    manager.DisplayFrom(-1);
    EXPECT_TRUE(manager.Displayed().IsEmpty());
    EXPECT_TRUE(manager.WaitingOrdersQueued());
    manager.SelectNext();
    manager.SelectPrevious();
    manager.MoveLeft();
    manager.ToggleExpand();
    manager.ToggleStatus();
    EXPECT_EQ(tiny.Cells(0, 0), QString());

    // The quoted text comes out as it went in once there is room.
    TStringAlignGrid wide(3, 10);
    manager.SetStringGrid(&wide);
    for (int i = 0; i < manager.Count(); ++i)
        manager.Items(i)->SetStringGrid(&wide);
    manager.Items(0)->SetPrepared(true);
    manager.DisplayFrom(-1);
    EXPECT_EQ(wide.Cells(0, 2), QStringLiteral("0  '; DROP TABLE \"x\" – Süß"));
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

// Failures are shown once, with the operation's own message.
TEST_F(OrderManagerTest, FailuresAreReported)
{
    struct Case
    {
        const char *Name;
        void (TOrderManager::*Operation)();
        bool FailInGrid; // else in the selection event
        QString Message;
    };
    const Case cases[] = {
        {"next", &TOrderManager::SelectNext, false,
         QStringLiteral("Failed to select the next invoice\rReason: boom\r\r"
                        "Exception Raised In: TOrderManager.SelectNext")},
        {"previous", &TOrderManager::SelectPrevious, false,
         QStringLiteral("Failed to select the previous invoice\rReason: boom\r\r"
                        "Exception Raised In: TOrderManager.SelectPrevious")},
        {"status", &TOrderManager::ToggleStatus, false,
         QStringLiteral("Failed to toggle the status of the selected order\rReason: boom\r\r"
                        "Exception Raised In: TOrderManager.ToggleStatus;")},
        {"clear", &TOrderManager::Clear, true,
         QStringLiteral("Failed to clear all current invoices\rReason: boom\r\r"
                        "Exception Raised In: TOrderManager.Clear")},
    };
    Add(1, 1);
    Add(2, 1);
    Add(3, 1);
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        dialogs.Clear();
        const auto boom = [] {
            throw std::runtime_error("boom");
        };
        if (tc.FailInGrid)
            grid.OnChanged = boom;
        else
            manager.OnOrderSelect = [boom](TDisplayInvoice *) {
                boom();
            };
        EXPECT_NO_THROW((manager.*tc.Operation)());
        grid.OnChanged = nullptr;
        manager.OnOrderSelect = nullptr;
        ASSERT_EQ(dialogs.Requests().size(), 1);
        EXPECT_EQ(dialogs.Requests()[0].Kind, QStringLiteral("MsgDlg"));
        EXPECT_EQ(dialogs.Requests()[0].Type, platform::mtError);
        EXPECT_EQ(dialogs.Requests()[0].Text, tc.Message);
    }
}

// ---- Assigning an order to an employee ----

struct ScriptedStaff : TEmployeeIdentification, TEmployeeClockIn, TInvoiceMakers
{
    QString Identified;
    int ClockInResult = 1;
    QStringList Calls;
    std::vector<std::pair<int, QString>> Saved;

    QString PromptForEmployee(const QString &reason, bool invoicePassword) override
    {
        Calls << QStringLiteral("prompt %1 %2").arg(reason).arg(invoicePassword);
        return Identified;
    }
    int ClockInEmployee(const QString &empNum, bool confirmPassword) override
    {
        Calls << QStringLiteral("clock in %1 %2").arg(empNum).arg(confirmPassword);
        return ClockInResult;
    }
    TColor GetEmployeeColour(const QString &empNum) override
    {
        Calls << QStringLiteral("colour %1").arg(empNum);
        return kEmp;
    }
    void SaveInvoiceMaker(int invoiceNum, const QString &empNum) override
    {
        Saved.emplace_back(invoiceNum, empNum);
    }
};

TEST_F(OrderManagerTest, AssigningAnOrder)
{
    struct Case
    {
        const char *Name;
        QString Identified;
        int ClockIn;
        bool UseColours;
        QString EmpNumAfter;
        bool Stored;
        QString StatusLine; // as the grid shows it afterwards
    };
    const QString prompt = QStringLiteral("prompt To assign this invoice 0");
    const Case cases[] = {
        {"clocked in now", QStringLiteral("7"), 1, true, QStringLiteral("7"), true,
         QStringLiteral("WAITING FOR 7")},
        {"clocked in already", QStringLiteral("7"), 4, true, QStringLiteral("7"), true,
         QStringLiteral("WAITING FOR 7")},
        {"nobody identified", {}, 1, true, {}, false, QStringLiteral("STATUS: WAITING")},
        {"clock-in failed", QStringLiteral("7"), 0, true, QStringLiteral("7"), false,
         QStringLiteral("STATUS: WAITING")},
        {"without employee colours", QStringLiteral("7"), 1, false, QStringLiteral("7"), false,
         QStringLiteral("WAITING FOR 7")},
    };
    for (const Case &tc : cases) {
        SCOPED_TRACE(tc.Name);
        manager.Clear();
        TDisplayInvoice *order = Add(5, 1);
        order->SetEmpNum(QStringLiteral("3")); // an earlier maker
        ScriptedStaff staff;
        staff.Identified = tc.Identified;
        staff.ClockInResult = tc.ClockIn;
        manager.SetEmployeeIdentification(&staff);
        manager.SetEmployeeClockIn(&staff);
        manager.SetInvoiceMakers(&staff);
        manager.SetUseEmployeeColours(tc.UseColours);

        manager.AssignEmployee();

        EXPECT_EQ(order->EmpNum(), tc.EmpNumAfter);
        EXPECT_EQ(staff.Calls.value(0), prompt);
        if (!tc.Identified.isEmpty()) {
            EXPECT_EQ(staff.Calls.value(1), QStringLiteral("clock in 7 0"));
        }
        if (tc.Stored) {
            ASSERT_EQ(staff.Saved.size(), 1u);
            EXPECT_EQ(staff.Saved[0], std::make_pair(5, QStringLiteral("7")));
            EXPECT_EQ(order->EmpColour(), kEmp);
            EXPECT_EQ(grid.CellFont(0, 0).Color, kText); // selected with a maker
            EXPECT_EQ(grid.CellColor(0, 0), kEmp);
        } else {
            EXPECT_TRUE(staff.Saved.empty());
            EXPECT_FALSE(staff.Calls.contains(QStringLiteral("colour 7")));
            EXPECT_EQ(order->EmpColour(), clBlack);
        }
        EXPECT_EQ(grid.Cells(0, 1), tc.StatusLine);
        EXPECT_TRUE(dialogs.Requests().isEmpty());
        manager.SetEmployeeIdentification(nullptr);
        manager.SetEmployeeClockIn(nullptr);
        manager.SetInvoiceMakers(nullptr);
    }
}

TEST_F(OrderManagerTest, AssigningIsNotAvailableWithoutStaffFunctions)
{
    TDisplayInvoice *order = Add(5, 1);
    order->SetEmpNum(QStringLiteral("3"));
    manager.SetUseEmployeeColours(true);
    manager.AssignEmployee();
    EXPECT_EQ(order->EmpNum(), QStringLiteral("3"));
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].Type, platform::mtInformation);
    EXPECT_TRUE(dialogs.Requests()[0].Text.contains(QStringLiteral("not available")));

    // Nothing selected: nothing asked.
    dialogs.Clear();
    manager.Clear();
    manager.AssignEmployee();
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

} // namespace
