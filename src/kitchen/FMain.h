#pragma once

// The kitchen monitor's working window: the order grid, the view title with the clock or
// the count-down, the column of ten keypad buttons, the status bar, the menu and the three
// timers (poll, view, "Orders Waiting" blink). It owns the order list, the order
// statements and the refresh, turns keys, buttons and clicks into operations on the
// orders, and writes an order's status when it is marked done.
//
// Every timer handler stops its timer on entry and restarts it on the way out, also after
// an error; errors inside handlers are shown once (message seam or exception reporter) and
// the window goes on. Main thread only.

#include "kitchen/clsOrderManager.h"
#include "kitchen/clsOrderRefresh.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QLabel;
class QMenuBar;
class QPushButton;
class QTimer;
class TDbManager;
class TGenericDB;
class TTillColours;
class TPricesCodeLinkPrinters;
class TBaseSound;
class TZxControlsPanel;
namespace platform {
class SqlConnection;
class StringGridView;
} // namespace platform

// What a key does. The window previews every key (FormKeyAction) before the order grid's
// own handler (GridKeyAction) sees it.
enum class TKeyAction {
    None,
    PageDown,
    MarkDone,
    SelectNext,
    ToggleView,
    MoveLeft,
    ToggleExpand,
    MoveRight,
    Assign,
    SelectPrevious,
    Close,
    ToggleMenu,
    FullRefresh,
};

// A bump bar is a keyboard: its keys arrive as keypad keys (Qt::KeypadModifier).
TKeyAction FormKeyAction(int key, Qt::KeyboardModifiers modifiers);
TKeyAction GridKeyAction(int key, Qt::KeyboardModifiers modifiers);

// Row height, column width and row count of the order grid for a grid of the given size
// in pixels: row height = font size + 20; column width = width / columns rounded to the
// nearest (ties to even) minus 3; rows = height div row height minus 1 (at least 1).
struct TGridGeometry
{
    int RowHeight = 0;
    int ColWidth = 0;
    int RowCount = 1;
};
TGridGeometry ComputeGridGeometry(int width, int height, int columns, int fontSize);

// The monitor settings the window applies, as the settings window holds them now.
struct TMainSettings
{
    TRefreshSettings Refresh;
    int Columns = 3;
    int PollSeconds = 5;
    bool AutoExpand = false;
    bool InvoiceNumber = true;       // headers show the invoice number, else the order number
    bool UseEmployeeColours = false;
    bool AutoPrintLabels = false;
    int ReportGroupID = 0;           // 0 = no limit (already 0 when the option is off)
};

class TfrmMain : public QMainWindow
{
    Q_OBJECT
public:
    // con is not owned and must outlive the window. Runs FormCreate.
    explicit TfrmMain(platform::SqlConnection *con, QWidget *parent = nullptr);
    ~TfrmMain() override; // runs FormDestroy

    // --- what the start-up wires in before the window is shown ---
    // Loads the monitor settings (the settings window's LoadSettings) and returns them.
    std::function<TMainSettings()> LoadSettings;
    // The current monitor settings, without reloading.
    std::function<TMainSettings()> CurrentSettings;
    // Shows the monitor settings window modally; true on OK. connectionChanged tells
    // whether the database connection string was changed there.
    std::function<bool(bool &connectionChanged)> ShowGalleySettings;
    // Reopens the database connection when it is closed; throws when that fails.
    std::function<void()> Reconnect;
    // This till's label printer ("PLABEL DEV"); empty or NUL when none.
    std::function<QString()> LabelPrinter;
    // Prints the order's item labels; throws on failure.
    std::function<void(int invoiceNum, int orderNum, const QString &waiter)> PrintInvoiceLabels;

    TOrderManager &OrderManager() { return *m_orderManager; }
    TDbManager &DbManager() { return *m_dbManager; }
    TOrderRefresh &Refresh() { return *m_refresh; }
    platform::StringGridView *gridOrders() const { return m_gridView; }
    QTimer *timerDisplayOrders() const { return m_timerDisplayOrders; }
    QTimer *timerSwitchView() const { return m_timerSwitchView; }
    QTimer *tmrFlashMessage() const { return m_tmrFlashMessage; }
    QString StatusText() const;        // panelStatus' caption
    QString SwitchViewText() const;    // the clock or the count-down
    QString StatusPanelText(int panel) const;
    int ViewCountdown() const { return m_viewCountdown; }
    int ReportGroupID() const { return m_refresh->ReportGroupID; }
    QList<QPushButton *> Buttons() const { return m_buttons; }

    // The window's operations, as buttons, keys and menu commands run them.
    void FormShow();
    void ApplySettings();
    void ApplyReportGroup();
    void DisablePolling();
    void EnablePolling();
    void ToggleView();
    void MarkSelectedDone();
    void AssignSelected();
    void OrderSelected(TDisplayInvoice *order);
    void ToggleMenu();
    void FullRefresh();
    void timerDisplayOrdersTimer();
    void timerSwitchViewTimer();
    void tmrFlashMessageTimer();
    void mnuSettingsClick();
    void VelaSettings1Click();
    void mnuAboutClick();
    void gridOrdersClick(int col, int row);
    // Runs the key through both handlers as the window does; true when it was consumed.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers, bool gridFocused);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();
    void BuildWindow();
    void RunAction(TKeyAction action);
    TMainSettings Settings() const;
    // The refresh, then the overrung check. False when the connection was closed and could
    // not be reopened (said once, by the refresh).
    bool RefreshAndCheck(bool reset);
    void pnlButtonsResize();

    platform::SqlConnection *m_con;
    std::unique_ptr<TStringAlignGrid> m_grid;
    std::unique_ptr<TOrderManager> m_orderManager;
    std::unique_ptr<TDbManager> m_dbManager;
    std::unique_ptr<TGenericDB> m_genericDB; // the till colours' statement runner
    std::unique_ptr<TTillColours> m_tillColours;
    std::unique_ptr<TBaseSound> m_newInvoiceSound;
    std::unique_ptr<TPricesCodeLinkPrinters> m_printerLinks;
    std::unique_ptr<TOrderRefresh> m_refresh;

    QWidget *m_panelTop = nullptr;
    QLabel *m_panelStatus = nullptr;
    QLabel *m_panelSwitchView = nullptr;
    platform::StringGridView *m_gridView = nullptr;
    TZxControlsPanel *m_pnlButtons = nullptr;
    QList<QPushButton *> m_buttons;
    QLabel *m_statusPanels[2] = {nullptr, nullptr};
    QMenuBar *m_mainMenu = nullptr;
    QTimer *m_tmrFlashMessage = nullptr;
    QTimer *m_timerDisplayOrders = nullptr;
    QTimer *m_timerSwitchView = nullptr;

    int m_viewCountdown = 0;
    QString m_flashText;
    bool m_flashOn = false;
    bool m_shown = false;
    bool m_pollingEnabled = false;
};
