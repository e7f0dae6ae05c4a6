#include "FMain.h"

#include "kitchen/clsSound.h"

#include "orders/clsDbManager.h"
#include "orders/modGalley.h"

#include "printing/clsPricesCodeLinkPrinters.h"

#include "controls/ZxControlsPanel.h"

#include "framework/clsEZXException.h"
#include "framework/clsGenericDB.h"
#include "framework/modMsgDlgs.h"

#include "platform/DbError.h"
#include "platform/DialogSeam.h"
#include "platform/SqlConnection.h"
#include "platform/StringGridView.h"
#include "platform/SystemInfo.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QSysInfo>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

// Stops a timer for the length of a handler and starts it again on every way out.
class TimerPause
{
public:
    explicit TimerPause(QTimer *timer) : m_timer(timer) { m_timer->stop(); }
    ~TimerPause() { m_timer->start(); }
    TimerPause(const TimerPause &) = delete;
    TimerPause &operator=(const TimerPause &) = delete;

private:
    QTimer *m_timer;
};

// Hourglass cursor for the length of a scope.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Errors that escape a handler go to the exception reporter, never out of the event loop.
template<typename F>
void Guarded(F &&f)
{
    try {
        f();
    } catch (const std::exception &e) {
        ExceptionReporter.HandleException(nullptr, e);
    }
}

struct ButtonDef
{
    const char *Name;
    const char *Caption;
    TKeyAction Action;
};

const ButtonDef ButtonDefs[] = {
    {"btnDone", "Done (1)", TKeyAction::MarkDone},
    {"btnView", "View (3)", TKeyAction::ToggleView},
    {"btnPageDown", "Pg Down (0)", TKeyAction::PageDown},
    {"btnLeft", "< (4)", TKeyAction::MoveLeft},
    {"btnRight", "> (6)", TKeyAction::MoveRight},
    {"btnExpand", "Expand (5)", TKeyAction::ToggleExpand},
    {"btnPrevious", "Previous (8)", TKeyAction::SelectPrevious},
    {"btnNext", "Next (2)", TKeyAction::SelectNext},
    {"btnAssign", "Assign (7)", TKeyAction::Assign},
    {"btnExit", "Exit (-)", TKeyAction::Close},
};

const QString NotAvailableText = QStringLiteral(
    "The Vela settings cannot be opened from the kitchen monitor in this version. Open them "
    "from a till or the back office.");

} // namespace

TKeyAction FormKeyAction(int key, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::KeypadModifier))
        return TKeyAction::None;
    switch (key) {
    case Qt::Key_0: return TKeyAction::PageDown;
    case Qt::Key_1: return TKeyAction::MarkDone;
    case Qt::Key_2: return TKeyAction::SelectNext;
    case Qt::Key_3: return TKeyAction::ToggleView;
    case Qt::Key_4: return TKeyAction::MoveLeft;
    case Qt::Key_5: return TKeyAction::ToggleExpand;
    case Qt::Key_6: return TKeyAction::MoveRight;
    case Qt::Key_7: return TKeyAction::Assign;
    case Qt::Key_8: return TKeyAction::SelectPrevious;
    case Qt::Key_Minus: return TKeyAction::Close;
    default: return TKeyAction::None;
    }
}

TKeyAction GridKeyAction(int key, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers & Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_0: return keypad ? TKeyAction::ToggleMenu : TKeyAction::None;
    case Qt::Key_Return:
    case Qt::Key_Enter: return TKeyAction::ToggleExpand;
    case Qt::Key_Escape: return TKeyAction::Close;
    case Qt::Key_PageDown: return TKeyAction::PageDown;
    case Qt::Key_Left: return TKeyAction::MoveLeft;
    case Qt::Key_Up: return TKeyAction::SelectPrevious;
    case Qt::Key_8: return keypad ? TKeyAction::None : TKeyAction::SelectPrevious;
    case Qt::Key_Right: return TKeyAction::MoveRight;
    case Qt::Key_Down: return TKeyAction::SelectNext;
    case Qt::Key_2: return keypad ? TKeyAction::None : TKeyAction::SelectNext;
    case Qt::Key_Insert: return TKeyAction::ToggleMenu;
    case Qt::Key_Delete:
    case Qt::Key_Period: return TKeyAction::MarkDone; // keypad decimal point and full stop
    case Qt::Key_Comma: return keypad ? TKeyAction::MarkDone : TKeyAction::None; // decimal comma keypads
    case Qt::Key_Asterisk: return keypad ? TKeyAction::ToggleView : TKeyAction::None;
    case Qt::Key_F5: return TKeyAction::FullRefresh;
    default: return TKeyAction::None;
    }
}

TGridGeometry ComputeGridGeometry(int width, int height, int columns, int fontSize)
{
    TGridGeometry g;
    columns = qMax(1, columns);
    g.RowHeight = qMax(1, fontSize + 20);
    // nearbyint rounds halves to even under the default rounding mode.
    g.ColWidth = int(std::nearbyint(double(width) / columns)) - 3;
    g.RowCount = qMax(1, height / g.RowHeight - 1);
    return g;
}

TfrmMain::TfrmMain(platform::SqlConnection *con, QWidget *parent)
    : QMainWindow(parent), m_con(con)
{
    BuildWindow();
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    qApp->removeEventFilter(this);
    FormDestroy();
    // The view listens to the grid, which is a member and dies before the child widgets.
    delete m_gridView;
    m_gridView = nullptr;
}

void TfrmMain::BuildWindow()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vela Kitchen Monitor"));
    setWindowFlags(Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                   | Qt::WindowCloseButtonHint);

    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    m_panelTop = new QWidget(central);
    m_panelTop->setObjectName(QStringLiteral("panelTop"));
    m_panelTop->setFixedHeight(41);
    auto *top = new QHBoxLayout(m_panelTop);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    m_panelStatus = new QLabel(QStringLiteral("Waiting Orders"), m_panelTop);
    m_panelStatus->setObjectName(QStringLiteral("panelStatus"));
    m_panelStatus->setAlignment(Qt::AlignCenter);
    m_panelStatus->setAutoFillBackground(true);
    QFont statusFont = m_panelStatus->font();
    statusFont.setBold(true);
    statusFont.setPixelSize(32);
    m_panelStatus->setFont(statusFont);
    m_panelStatus->setStyleSheet(QStringLiteral("background-color: black; color: white;"));
    m_panelSwitchView = new QLabel(m_panelTop);
    m_panelSwitchView->setObjectName(QStringLiteral("panelSwitchView"));
    m_panelSwitchView->setFixedWidth(58);
    m_panelSwitchView->setAlignment(Qt::AlignCenter);
    m_panelSwitchView->setFont(statusFont);
    m_panelSwitchView->setStyleSheet(QStringLiteral("background-color: black; color: red;"));
    top->addWidget(m_panelStatus, 1);
    top->addWidget(m_panelSwitchView);
    outer->addWidget(m_panelTop);

    auto *middle = new QHBoxLayout();
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    m_grid = std::make_unique<TStringAlignGrid>(3, 10);
    m_gridView = new platform::StringGridView(m_grid.get(), central);
    m_gridView->setObjectName(QStringLiteral("gridOrders"));
    connect(m_gridView, &platform::StringGridView::CellClicked, this,
            [this](int col, int row) { Guarded([&] { gridOrdersClick(col, row); }); });
    middle->addWidget(m_gridView, 1);

    m_pnlButtons = new TZxControlsPanel(central);
    m_pnlButtons->setObjectName(QStringLiteral("pnlButtons"));
    m_pnlButtons->setFixedWidth(149);
    m_pnlButtons->SetLayout(loVertical);
    m_pnlButtons->SetHorizSpacing(5);
    m_pnlButtons->SetVertSpacing(5);
    m_pnlButtons->SetHorizAlignment(taCenter);
    m_pnlButtons->SetVertAlignment(vaMiddle);
    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setBold(true);
    buttonFont.setPixelSize(24);
    for (const ButtonDef &def : ButtonDefs) {
        auto *button = new QPushButton(QString::fromLatin1(def.Caption), m_pnlButtons);
        button->setObjectName(QString::fromLatin1(def.Name));
        button->setFont(buttonFont);
        const TKeyAction action = def.Action;
        connect(button, &QPushButton::clicked, this,
                [this, action] { Guarded([&] { RunAction(action); }); });
        m_buttons.append(button);
    }
    middle->addWidget(m_pnlButtons);
    outer->addLayout(middle, 1);
    setCentralWidget(central);

    auto *bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("status"));
    bar->setFixedHeight(28);
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        m_statusPanels[i] = new QLabel(bar);
        m_statusPanels[i]->setFixedWidth(i == 0 ? 500 : 150);
        bar->addWidget(m_statusPanels[i]);
    }
    setStatusBar(bar);

    m_mainMenu = menuBar();
    QMenu *file = m_mainMenu->addMenu(QStringLiteral("&File"));
    QAction *exit = file->addAction(QStringLiteral("E&xit"));
    exit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(exit, &QAction::triggered, this, &QWidget::close);
    QMenu *options = m_mainMenu->addMenu(QStringLiteral("&Options"));
    QAction *galley = options->addAction(QStringLiteral("&Galley Settings"));
    galley->setObjectName(QStringLiteral("mnuSettings"));
    connect(galley, &QAction::triggered, this, [this] { Guarded([&] { mnuSettingsClick(); }); });
    QAction *vela = options->addAction(QStringLiteral("&Vela Settings"));
    vela->setObjectName(QStringLiteral("VelaSettings1"));
    connect(vela, &QAction::triggered, this, [this] { Guarded([&] { VelaSettings1Click(); }); });
    QMenu *help = m_mainMenu->addMenu(QStringLiteral("&Help"));
    QAction *about = help->addAction(QStringLiteral("&About"));
    connect(about, &QAction::triggered, this, [this] { Guarded([&] { mnuAboutClick(); }); });

    m_tmrFlashMessage = new QTimer(this);
    m_tmrFlashMessage->setInterval(800);
    connect(m_tmrFlashMessage, &QTimer::timeout, this, [this] { tmrFlashMessageTimer(); });
    m_timerDisplayOrders = new QTimer(this);
    m_timerDisplayOrders->setInterval(5000);
    connect(m_timerDisplayOrders, &QTimer::timeout, this, [this] { timerDisplayOrdersTimer(); });
    m_timerSwitchView = new QTimer(this);
    m_timerSwitchView->setInterval(1000);
    connect(m_timerSwitchView, &QTimer::timeout, this, [this] { timerSwitchViewTimer(); });
    m_timerSwitchView->start();

    qApp->installEventFilter(this);
}

void TfrmMain::FormCreate()
{
    m_orderManager = std::make_unique<TOrderManager>();
    m_orderManager->SetStringGrid(m_grid.get());
    m_orderManager->SetDisplaySize(true);
    m_orderManager->OnOrderSelect = [this](TDisplayInvoice *order) { OrderSelected(order); };
    m_orderManager->SetDisplayInvoiceNum(true);

    m_dbManager = std::make_unique<TDbManager>(m_con);
    m_genericDB = std::make_unique<TGenericDB>(m_con);
    m_tillColours = std::make_unique<TTillColours>(m_genericDB.get());
    m_tillColours->PopulateTillColours();

    m_newInvoiceSound = std::make_unique<TBaseSound>();
    try {
        m_newInvoiceSound->LoadFromFile(QStringLiteral("NewInvoice.wav"));
    } catch (const std::exception &e) {
        MsgDlg(QStringLiteral("Could not load the new invoice sound. Reason: ") + ExceptionMessage(e)
                   + QStringLiteral("\rRaised in TfrmMain.FormCreate"),
               platform::mtInformation, {platform::mbOK});
    }

    m_printerLinks = std::make_unique<TPricesCodeLinkPrinters>();
    m_printerLinks->SetAdoConnection(m_con);
    m_printerLinks->LoadAllWithCodes();

    m_refresh = std::make_unique<TOrderRefresh>(*m_orderManager, *m_dbManager, *m_printerLinks,
                                                *m_tillColours);
    m_refresh->EnsureConnected = [this] {
        if (!m_con->Connected() && Reconnect)
            Reconnect();
        if (!m_con->Connected())
            throw platform::DbError(QStringLiteral("The database connection is closed."));
    };
    m_refresh->PlaySound = [this] { m_newInvoiceSound->Play(); };
    m_refresh->ProcessEvents = [] { QCoreApplication::processEvents(); };
    m_refresh->StartFlash = [this] {
        if (!m_tmrFlashMessage->isActive())
            m_tmrFlashMessage->start();
    };
}

void TfrmMain::FormDestroy()
{
    m_timerDisplayOrders->stop();
    m_timerSwitchView->stop();
    m_tmrFlashMessage->stop();
    if (m_printerLinks)
        m_printerLinks->Clear();
    if (m_newInvoiceSound)
        m_newInvoiceSound->Unload();
    // The order list draws into the grid: it goes first.
    m_refresh.reset();
    m_orderManager.reset();
}

TMainSettings TfrmMain::Settings() const
{
    return CurrentSettings ? CurrentSettings() : TMainSettings();
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the window has its size, so the grid's rows follow the screen.
    QTimer::singleShot(0, this, [this] { Guarded([&] { FormShow(); }); });
}

void TfrmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    pnlButtonsResize();
}

void TfrmMain::pnlButtonsResize()
{
    if (m_buttons.isEmpty())
        return;
    const int height = m_pnlButtons->height() / int(m_buttons.size()) - 5;
    for (QPushButton *button : m_buttons)
        button->setFixedSize(m_pnlButtons->width(), qMax(1, height));
    m_pnlButtons->ArrangeControls();
}

void TfrmMain::FormShow()
{
    DisablePolling();
    const TMainSettings settings = LoadSettings ? LoadSettings() : Settings();
    ApplyReportGroup();
    if (const QScreen *screen = this->screen())
        resize(screen->availableGeometry().size());
    ApplySettings();
    m_orderManager->SetAutoExpand(settings.AutoExpand);
    m_orderManager->SetDisplayInvoiceNum(settings.InvoiceNumber);
    m_orderManager->DisplayFrom(-1);
    m_gridView->setFocus();
    timerSwitchViewTimer();
    timerDisplayOrdersTimer();
    EnablePolling();
}

void TfrmMain::ApplySettings()
{
    const TMainSettings settings = Settings();
    m_orderManager->SetUseEmployeeColours(settings.UseEmployeeColours);
    m_orderManager->SetDisplayInvoiceNum(settings.InvoiceNumber);
    m_timerDisplayOrders->setInterval(qMax(1, settings.PollSeconds) * 1000);

    // The view's size now: a hidden menu or a new screen size changes it.
    centralWidget()->layout()->activate();
    const TGridGeometry g = ComputeGridGeometry(m_gridView->width(), m_gridView->height(),
                                                settings.Columns, settings.Refresh.FontSize);
    m_grid->SetSize(qMax(1, settings.Columns), g.RowCount);
    m_gridView->SetDefaultRowHeight(g.RowHeight);
    m_gridView->SetDefaultColWidth(g.ColWidth);
}

void TfrmMain::ApplyReportGroup()
{
    m_refresh->ReportGroupID = Settings().ReportGroupID;
}

void TfrmMain::DisablePolling()
{
    m_pollingEnabled = false;
    m_timerDisplayOrders->stop();
}

void TfrmMain::EnablePolling()
{
    m_pollingEnabled = true;
    m_timerDisplayOrders->start();
}

void TfrmMain::ToggleView()
{
    const bool toPrepared = m_orderManager->CurrentView() == osWaiting;
    m_orderManager->ClearGrid();
    if (toPrepared)
        m_viewCountdown = 10;
    m_panelSwitchView->clear();
    m_orderManager->SetCurrentView(toPrepared ? osPrepared : osWaiting);
    m_panelStatus->setStyleSheet(QStringLiteral("background-color: black; color: %1;")
                                     .arg(platform::ToQColor(toPrepared ? clGreen : clRed).name()));
    m_panelStatus->setText(toPrepared ? QStringLiteral("Prepared Orders")
                                      : QStringLiteral("Waiting Orders"));
    if (toPrepared)
        DisablePolling(); // no orders are fetched while the prepared view is shown
    else
        EnablePolling();
    timerSwitchViewTimer();
}

void TfrmMain::timerSwitchViewTimer()
{
    TimerPause pause(m_timerSwitchView);
    Guarded([&] {
        QFont font = m_panelSwitchView->font();
        if (m_orderManager->CurrentView() == osWaiting) {
            m_panelSwitchView->clear();
            font.setPointSize(12);
            m_panelSwitchView->setFont(font);
            m_panelSwitchView->setText(QTime::currentTime().toString(QStringLiteral("hh:mm")));
        } else {
            font.setPointSize(24);
            m_panelSwitchView->setFont(font);
            m_panelSwitchView->setText(QString::number(m_viewCountdown));
            --m_viewCountdown;
            if (m_viewCountdown < 0)
                ToggleView();
        }
    });
}

void TfrmMain::tmrFlashMessageTimer()
{
    TimerPause pause(m_tmrFlashMessage);
    Guarded([&] {
        m_flashText = m_orderManager->WaitingOrdersQueued() ? QStringLiteral("Orders Waiting")
                                                            : QString();
        if (m_flashOn) {
            m_statusPanels[1]->clear();
            m_flashOn = false;
        } else {
            m_statusPanels[1]->setText(m_flashText);
            m_flashOn = true;
        }
    });
}

void TfrmMain::timerDisplayOrdersTimer()
{
    BusyCursor busy;
    const bool polling = m_pollingEnabled;
    m_timerDisplayOrders->stop();
    m_timerSwitchView->stop();
    Guarded([&] { RefreshAndCheck(false); });
    // A key handled during the refresh may have switched views: polling follows the view.
    if (polling && m_pollingEnabled)
        m_timerDisplayOrders->start();
    m_timerSwitchView->start();
}

bool TfrmMain::RefreshAndCheck(bool reset)
{
    const bool refreshed = m_refresh->RefreshInvoices(reset, Settings().Refresh);
    // A connection the refresh could not reopen has been reported; the overrung check would
    // only try again and show the same message a second time.
    if (!refreshed && !m_con->Connected())
        return false;
    m_refresh->CheckOverrungInvoices();
    return true;
}

void TfrmMain::MarkSelectedDone()
{
    TDisplayInvoice *order = m_orderManager->Displayed().Current();
    if (!order)
        return;
    const int invoiceNum = order->InvoiceNum();
    const int orderNum = order->OrderNum();
    const bool newStatus = !order->Prepared();
    if (newStatus) {
        const QString printer = LabelPrinter ? LabelPrinter() : QString();
        if (!printer.isEmpty() && printer != QString(QChar(0))) {
            bool print = Settings().AutoPrintLabels;
            if (!print)
                print = MsgDlg(QStringLiteral("Print labels? [") + printer + QStringLiteral("]"),
                               platform::mtConfirmation, {platform::mbYes, platform::mbNo})
                        == platform::mrYes;
            if (print && PrintInvoiceLabels) {
                try {
                    PrintInvoiceLabels(invoiceNum, orderNum, QString());
                } catch (const std::exception &e) {
                    // The order stays as it was, neither moved nor written.
                    ExceptionReporter.HandleException(this, e);
                    return;
                }
            }
        }
    }
    // The database first: an order whose new status could not be written stays where it
    // is (the failure has been shown), instead of leaving the board while the database,
    // the tills and every later poll still hold it as it was.
    if (m_dbManager->SetStatus(invoiceNum, newStatus))
        m_orderManager->ToggleStatus();
}

void TfrmMain::AssignSelected()
{
    if (Settings().UseEmployeeColours)
        m_orderManager->AssignEmployee();
    else
        platform::MessageBox(
            QStringLiteral("Please enable Use Employee Colours in settings\rto enable this feature."),
            platform::mtCustom, {platform::mbOK});
}

void TfrmMain::OrderSelected(TDisplayInvoice *order)
{
    if (order)
        m_statusPanels[0]->setText(QStringLiteral("Selected Invoice #: ")
                                   + QString::number(order->InvoiceNum()));
}

void TfrmMain::ToggleMenu()
{
    m_mainMenu->setVisible(!m_mainMenu->isVisible());
    ApplySettings();
}

void TfrmMain::FullRefresh()
{
    BusyCursor busy;
    DisablePolling();
    Guarded([&] {
        if (!RefreshAndCheck(true))
            return; // no connection: the board stays as it was
        m_orderManager->DisplayFrom(-1);
        m_printerLinks->LoadAllWithCodes();
    });
    EnablePolling();
}

void TfrmMain::mnuSettingsClick()
{
    DisablePolling();
    Guarded([&] {
        bool connectionChanged = false;
        if (ShowGalleySettings && ShowGalleySettings(connectionChanged)) {
            ApplySettings();
            ApplyReportGroup();
            m_orderManager->DisplayFrom(-1);
            if (connectionChanged)
                platform::MessageBox(QStringLiteral("For the new db connection string to take affect, "
                                                    "Kitchen Monitor needs to be restarted"),
                                     platform::mtInformation, {platform::mbOK});
        }
    });
    EnablePolling();
}

void TfrmMain::VelaSettings1Click()
{
    DisablePolling();
    platform::MessageBox(NotAvailableText, platform::mtInformation, {platform::mbOK});
    EnablePolling();
}

void TfrmMain::mnuAboutClick()
{
    const QString text =
        QStringLiteral("Vela Kitchen Monitor\rVersion %1\r\rQt %2 on %3\rComputer: %4")
            .arg(platform::ProgramVersion(), QString::fromLatin1(qVersion()),
                 QSysInfo::prettyProductName(), platform::ComputerName());
    platform::MessageBox(text, platform::mtInformation, {platform::mbOK}, QStringLiteral("About"));
}

void TfrmMain::gridOrdersClick(int col, int row)
{
    m_viewCountdown = 10;
    if (!m_orderManager->OrderInCell(*m_grid, TGridCoord{col, row}))
        return;
    m_orderManager->SelectClicked();
    m_orderManager->ToggleExpand();
}

void TfrmMain::RunAction(TKeyAction action)
{
    switch (action) {
    case TKeyAction::None: break;
    case TKeyAction::PageDown: m_orderManager->PageDown(); break;
    case TKeyAction::MarkDone: MarkSelectedDone(); break;
    case TKeyAction::SelectNext: m_orderManager->SelectNext(); break;
    case TKeyAction::ToggleView: ToggleView(); break;
    case TKeyAction::MoveLeft: m_orderManager->MoveLeft(); break;
    case TKeyAction::ToggleExpand: m_orderManager->ToggleExpand(); break;
    case TKeyAction::MoveRight: m_orderManager->MoveRight(); break;
    case TKeyAction::Assign: AssignSelected(); break;
    case TKeyAction::SelectPrevious: m_orderManager->SelectPrevious(); break;
    case TKeyAction::Close: close(); break;
    case TKeyAction::ToggleMenu: ToggleMenu(); break;
    case TKeyAction::FullRefresh: FullRefresh(); break;
    }
}

bool TfrmMain::HandleKey(int key, Qt::KeyboardModifiers modifiers, bool gridFocused)
{
    Guarded([&] { RunAction(FormKeyAction(key, modifiers)); });
    if (!gridFocused)
        return false;
    m_viewCountdown = 10;
    Guarded([&] { RunAction(GridKeyAction(key, modifiers)); });
    return true; // the grid's own navigation never acts
}

bool TfrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto *widget = qobject_cast<QWidget *>(watched);
    // Only keys sent to this window's own widgets (not to a dialog it opened), once each.
    if (!widget || widget->window() != this || widget != QApplication::focusWidget())
        return QMainWindow::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool grid = widget == m_gridView;
    return HandleKey(key->key(), key->modifiers(), grid);
}

QString TfrmMain::StatusText() const
{
    return m_panelStatus->text();
}

QString TfrmMain::SwitchViewText() const
{
    return m_panelSwitchView->text();
}

QString TfrmMain::StatusPanelText(int panel) const
{
    return m_statusPanels[panel]->text();
}
