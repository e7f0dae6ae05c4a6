// The main window: the key map of both rows of digits, the grid geometry, marking done
// with and without labels, the prepared view's count-down, the menu toggle and the
// messages of the options that are not available.

#include "kitchen/FMain.h"

#include "orders/clsDbManager.h"

#include "platform/DialogSeam.h"
#include "platform/DbError.h"
#include "platform/StringGridView.h"

#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

TEST(MainWindowKeys, BothDigitRowsAndTheKeypad)
{
    struct Case
    {
        const char *name;
        int key;
        bool keypad;
        TKeyAction form;
        TKeyAction grid;
    };
    const Case cases[] = {
        {"keypad 0", Qt::Key_0, true, TKeyAction::PageDown, TKeyAction::ToggleMenu},
        {"keypad 1", Qt::Key_1, true, TKeyAction::MarkDone, TKeyAction::None},
        {"keypad 2", Qt::Key_2, true, TKeyAction::SelectNext, TKeyAction::None},
        {"keypad 3", Qt::Key_3, true, TKeyAction::ToggleView, TKeyAction::None},
        {"keypad 4", Qt::Key_4, true, TKeyAction::MoveLeft, TKeyAction::None},
        {"keypad 5", Qt::Key_5, true, TKeyAction::ToggleExpand, TKeyAction::None},
        {"keypad 6", Qt::Key_6, true, TKeyAction::MoveRight, TKeyAction::None},
        {"keypad 7", Qt::Key_7, true, TKeyAction::Assign, TKeyAction::None},
        {"keypad 8", Qt::Key_8, true, TKeyAction::SelectPrevious, TKeyAction::None},
        {"keypad minus", Qt::Key_Minus, true, TKeyAction::Close, TKeyAction::None},
        {"keypad multiply", Qt::Key_Asterisk, true, TKeyAction::None, TKeyAction::ToggleView},
        {"keypad decimal point", Qt::Key_Period, true, TKeyAction::None, TKeyAction::MarkDone},
        {"keypad enter", Qt::Key_Enter, true, TKeyAction::None, TKeyAction::ToggleExpand},
        {"top-row 0", Qt::Key_0, false, TKeyAction::None, TKeyAction::None},
        {"top-row 1", Qt::Key_1, false, TKeyAction::None, TKeyAction::None},
        {"top-row 2", Qt::Key_2, false, TKeyAction::None, TKeyAction::SelectNext},
        {"top-row 8", Qt::Key_8, false, TKeyAction::None, TKeyAction::SelectPrevious},
        {"minus", Qt::Key_Minus, false, TKeyAction::None, TKeyAction::None},
        {"full stop", Qt::Key_Period, false, TKeyAction::None, TKeyAction::MarkDone},
        {"return", Qt::Key_Return, false, TKeyAction::None, TKeyAction::ToggleExpand},
        {"escape", Qt::Key_Escape, false, TKeyAction::None, TKeyAction::Close},
        {"page down", Qt::Key_PageDown, false, TKeyAction::None, TKeyAction::PageDown},
        {"arrows", Qt::Key_Left, false, TKeyAction::None, TKeyAction::MoveLeft},
        {"up", Qt::Key_Up, false, TKeyAction::None, TKeyAction::SelectPrevious},
        {"down", Qt::Key_Down, false, TKeyAction::None, TKeyAction::SelectNext},
        {"right", Qt::Key_Right, false, TKeyAction::None, TKeyAction::MoveRight},
        {"insert", Qt::Key_Insert, false, TKeyAction::None, TKeyAction::ToggleMenu},
        {"delete", Qt::Key_Delete, false, TKeyAction::None, TKeyAction::MarkDone},
        {"F5", Qt::Key_F5, false, TKeyAction::None, TKeyAction::FullRefresh},
        {"a letter", Qt::Key_A, false, TKeyAction::None, TKeyAction::None},
    };
    for (const Case &c : cases) {
        const Qt::KeyboardModifiers mods = c.keypad ? Qt::KeypadModifier : Qt::NoModifier;
        EXPECT_EQ(FormKeyAction(c.key, mods), c.form) << c.name;
        EXPECT_EQ(GridKeyAction(c.key, mods), c.grid) << c.name;
    }
}

TEST(MainWindowGeometry, RowsColumnsAndRounding)
{
    struct Case
    {
        const char *name;
        int width, height, columns, fontSize;
        TGridGeometry expected;
    };
    const Case cases[] = {
        {"plain", 900, 700, 3, 12, {32, 297, 20}},
        {"half rounds down to even", 1002, 700, 4, 10, {30, 247, 22}},
        {"half rounds up to even", 1006, 700, 4, 10, {30, 249, 22}},
        {"one row's height left free", 600, 320, 2, 12, {32, 297, 9}},
        {"tiny grid keeps one row", 100, 10, 1, 12, {32, 97, 1}},
    };
    for (const Case &c : cases) {
        const TGridGeometry g = ComputeGridGeometry(c.width, c.height, c.columns, c.fontSize);
        EXPECT_EQ(g.RowHeight, c.expected.RowHeight) << c.name;
        EXPECT_EQ(g.ColWidth, c.expected.ColWidth) << c.name;
        EXPECT_EQ(g.RowCount, c.expected.RowCount) << c.name;
    }
}

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest()
    {
        Db.Exec("INSERT INTO Printers (PrintersID, Name, Category) VALUES (1, 'Kitchen', 1)");
        Db.Exec("INSERT INTO Prices (Recipe, Code) VALUES (1, 'PIZ')");
        Db.Exec("INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (1, 1)");
        Order(101);
        Order(102);
        Window = std::make_unique<TfrmMain>(&Db.Connection());
        Window->CurrentSettings = [this] { return Settings; };
        Window->LoadSettings = [this] { return Settings; };
        Window->LabelPrinter = [this] { return LabelPrinter; };
        Window->PrintInvoiceLabels = [this](int invoiceNum, int orderNum, const QString &waiter) {
            Printed << QStringLiteral("%1/%2/%3").arg(invoiceNum).arg(orderNum).arg(waiter);
            if (PrintFails)
                throw platform::DbError(QStringLiteral("printer offline"));
        };
        Window->resize(1024, 768);
        Window->show();
        QCoreApplication::processEvents(); // FormShow runs once the window is shown
    }

    void Order(int invoiceNum)
    {
        Db.Exec(QStringLiteral("INSERT INTO Invoices (InvoiceNum, OrderNum, [Date]) VALUES (%1, %2, '%3')")
                    .arg(invoiceNum).arg(invoiceNum - 100)
                    .arg(QDateTime::currentDateTime().addSecs(-300).toString("yyyy-MM-dd HH:mm:ss.zzz")));
        Db.Exec(QStringLiteral("INSERT INTO LineItem (InvoiceNum, LineNum, Code, ItemDesc) VALUES (%1, 1, 'PIZ', 'Pizza')")
                    .arg(invoiceNum));
    }
    int Prepared(int invoiceNum)
    {
        return Db.Scalar(QStringLiteral("SELECT Prepared FROM Invoices WHERE InvoiceNum = %1").arg(invoiceNum)).toInt();
    }
    int Selected() const
    {
        const TDisplayInvoice *order = Window->OrderManager().Displayed().Current();
        return order ? order->InvoiceNum() : 0;
    }

    platform::ScriptedResponder Dialogs{platform::DialogAnswer(platform::mrOk)};
    testsupport::TestDatabase Db;
    TMainSettings Settings;
    QString LabelPrinter;
    QStringList Printed;
    bool PrintFails = false;
    std::unique_ptr<TfrmMain> Window;
};

TEST_F(MainWindowTest, ShowFetchesTheOrdersAndShowsTheClock)
{
    EXPECT_EQ(Window->OrderManager().Count(), 2);
    EXPECT_EQ(Window->OrderManager().Displayed().Count(), 2);
    EXPECT_EQ(Window->StatusText(), "Waiting Orders");
    EXPECT_EQ(Window->SwitchViewText().size(), 5); // hh:mm
    EXPECT_TRUE(Window->timerDisplayOrders()->isActive());
    EXPECT_EQ(Window->timerDisplayOrders()->interval(), 5000);
    ASSERT_EQ(Window->Buttons().size(), 10);
    EXPECT_EQ(Window->Buttons().front()->text(), "Done (1)");
    EXPECT_EQ(Window->Buttons().back()->text(), "Exit (-)");
}

TEST_F(MainWindowTest, DoneWritesTheStatusBothWays)
{
    const int invoiceNum = Selected();
    ASSERT_NE(invoiceNum, 0);
    Window->MarkSelectedDone();
    EXPECT_EQ(Prepared(invoiceNum), 1);
    EXPECT_FALSE(Db.Scalar(QStringLiteral("SELECT TimeStampCooked FROM Invoices WHERE InvoiceNum = %1").arg(invoiceNum)).isNull());
    EXPECT_EQ(Window->OrderManager().Displayed().Count(), 1);

    Window->ToggleView();
    EXPECT_EQ(Window->StatusText(), "Prepared Orders");
    EXPECT_FALSE(Window->timerDisplayOrders()->isActive());
    ASSERT_EQ(Selected(), invoiceNum);
    Window->MarkSelectedDone();
    EXPECT_EQ(Prepared(invoiceNum), 0);
    EXPECT_TRUE(Printed.isEmpty());
    EXPECT_TRUE(Dialogs.Requests().isEmpty()); // no label printer: nothing asked
}

TEST_F(MainWindowTest, LabelsAskedPrintedOrSkipped)
{
    LabelPrinter = QStringLiteral("Label Printer (PDF)");
    Dialogs.Queue(platform::DialogAnswer(platform::mrNo));
    const int first = Selected();
    Window->MarkSelectedDone();
    ASSERT_EQ(Dialogs.Requests().size(), 1);
    EXPECT_EQ(Dialogs.Last().Text, "Print labels? [Label Printer (PDF)]");
    EXPECT_TRUE(Printed.isEmpty());
    EXPECT_EQ(Prepared(first), 1); // No still marks it done

    Settings.AutoPrintLabels = true;
    const int second = Selected();
    Window->MarkSelectedDone();
    EXPECT_EQ(Dialogs.Requests().size(), 1); // printed without asking
    EXPECT_EQ(Printed, QStringList({QStringLiteral("%1/%2/").arg(second).arg(second - 100)}));
    EXPECT_EQ(Prepared(second), 1);
}

TEST_F(MainWindowTest, FailedLabelsLeaveTheOrderUntouched)
{
    LabelPrinter = QStringLiteral("Label Printer (PDF)");
    Settings.AutoPrintLabels = true;
    PrintFails = true;
    const int invoiceNum = Selected();
    Window->MarkSelectedDone();
    EXPECT_EQ(Prepared(invoiceNum), 0);
    EXPECT_EQ(Window->OrderManager().Displayed().Count(), 2);
    ASSERT_EQ(Dialogs.RequestsOfKind("ReportWindow").size(), 1);
    EXPECT_TRUE(Dialogs.RequestsOfKind("ReportWindow").front().Text.contains("printer offline"));

    // A NUL marker is no printer at all.
    LabelPrinter = QString(QChar(0));
    Printed.clear();
    Window->MarkSelectedDone();
    EXPECT_TRUE(Printed.isEmpty());
    EXPECT_EQ(Prepared(invoiceNum), 1);
}

TEST_F(MainWindowTest, PreparedViewCountsDownAndKeysKeepItOpen)
{
    Window->ToggleView();
    for (int i = 0; i < 8; ++i)
        Window->timerSwitchViewTimer();
    EXPECT_EQ(Window->StatusText(), "Prepared Orders");
    Window->HandleKey(Qt::Key_A, Qt::NoModifier, true); // any key on the grid
    EXPECT_EQ(Window->ViewCountdown(), 10);
    for (int i = 0; i < 10; ++i)
        Window->timerSwitchViewTimer();
    EXPECT_EQ(Window->StatusText(), "Prepared Orders");
    EXPECT_EQ(Window->SwitchViewText(), "1");
    Window->timerSwitchViewTimer();
    Window->timerSwitchViewTimer();
    EXPECT_EQ(Window->StatusText(), "Waiting Orders");
    EXPECT_TRUE(Window->timerDisplayOrders()->isActive());
}

TEST_F(MainWindowTest, RealKeypadKeysOnTheGrid)
{
    Window->gridOrders()->setFocus();
    QApplication::setActiveWindow(Window.get());
    ASSERT_EQ(QApplication::focusWidget(), Window->gridOrders());
    const int first = Selected();
    QTest::keyClick(Window->gridOrders(), Qt::Key_2, Qt::KeypadModifier); // next
    EXPECT_NE(Selected(), first);
    QTest::keyClick(Window->gridOrders(), Qt::Key_8); // top-row 8: previous
    EXPECT_EQ(Selected(), first);
    QTest::keyClick(Window->gridOrders(), Qt::Key_1, Qt::KeypadModifier); // done
    EXPECT_EQ(Prepared(first), 1);
    QTest::keyClick(Window->gridOrders(), Qt::Key_3, Qt::KeypadModifier);
    EXPECT_EQ(Window->StatusText(), "Prepared Orders");
}

TEST_F(MainWindowTest, HidingTheMenuGivesTheGridMoreRows)
{
    const int rows = Window->gridOrders()->Grid()->RowCount();
    const bool menuShown = Window->menuBar()->isVisible();
    Window->HandleKey(Qt::Key_Insert, Qt::NoModifier, true);
    EXPECT_NE(Window->menuBar()->isVisible(), menuShown);
    if (menuShown) {
        EXPECT_GE(Window->gridOrders()->Grid()->RowCount(), rows);
    }
}

TEST_F(MainWindowTest, AssignAndVelaSettingsSayWhyNot)
{
    Window->AssignSelected();
    ASSERT_EQ(Dialogs.Requests().size(), 1);
    EXPECT_EQ(Dialogs.Last().Text, "Please enable Use Employee Colours in settings\rto enable this feature.");
    Window->VelaSettings1Click();
    ASSERT_EQ(Dialogs.Requests().size(), 2);
    EXPECT_TRUE(Dialogs.Last().Text.contains("in this version"));
    EXPECT_TRUE(Window->timerDisplayOrders()->isActive());
}

TEST_F(MainWindowTest, FullRefreshSeesOrdersPreparedElsewhere)
{
    Db.Exec("UPDATE Invoices SET Prepared = 1 WHERE InvoiceNum = 101");
    Window->HandleKey(Qt::Key_F5, Qt::NoModifier, true);
    EXPECT_EQ(Window->OrderManager().Count(), 2);
    EXPECT_EQ(Window->OrderManager().Displayed().Count(), 1);
    EXPECT_TRUE(Window->timerDisplayOrders()->isActive());
}

} // namespace
