#include "FGYSettings.h"

#include "kitchen/ColorBox.h"

#include "controls/ZxControlsPanel.h"
#include "framework/clsEZXException.h"
#include "framework/clsZxAdoConnection.h"
#include "framework/modFormUtils.h"
#include "framework/modMsgDlgs.h"
#include "printing/cls_Printers.h"
#include "tills/clsTills.h"

#include "platform/DialogSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The form's Loading flag, cleared again however the filling ends.
class LoadingGuard
{
public:
    explicit LoadingGuard(bool &flag)
        : m_flag(flag)
        , m_previous(flag)
    {
        m_flag = true;
    }
    ~LoadingGuard() { m_flag = m_previous; }
    LoadingGuard(const LoadingGuard &) = delete;
    LoadingGuard &operator=(const LoadingGuard &) = delete;

private:
    bool &m_flag;
    bool m_previous;
};

const char *const kSampleLines[]
    = {"5: 106550: 01:08", "STATUS: WAITING", "1 SUPER DOOPER SANDWICH", "2 LEMONADE"};

QSpinBox *SpinBox(QWidget *parent, const char *name, int low, int high, int step, int value)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setSingleStep(step);
    box->setValue(value);
    return box;
}

QCheckBox *CheckBox(QWidget *parent, const char *name, const QString &caption)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

TColorBox *ColourBox(QWidget *parent, const char *name)
{
    auto *box = new TColorBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QListWidget *CheckList(QWidget *parent, const char *name)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

QListWidgetItem *CheckItem(QListWidget *list, const QString &text, int id, bool ticked)
{
    auto *item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setData(Qt::UserRole, id);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    return item;
}

// The IDs of the ticked entries, in list order.
QStringList TickedIDs(const QListWidget *list)
{
    QStringList ids;
    for (int i = 0; i < list->count(); ++i) {
        const QListWidgetItem *item = list->item(i);
        if (item->checkState() == Qt::Checked)
            ids.append(QString::number(item->data(Qt::UserRole).toInt()));
    }
    return ids;
}

void Paint(QLabel *label, TColor text, TColor back)
{
    QPalette palette = label->palette();
    const QColor fg = platform::ToQColor(text);
    const QColor bg = platform::ToQColor(back);
    palette.setColor(QPalette::WindowText,
                     fg.isValid() ? fg : QPalette().color(QPalette::WindowText));
    palette.setColor(QPalette::Window, bg.isValid() ? bg : QPalette().color(QPalette::Window));
    label->setPalette(palette);
}

} // namespace

TfrmGYSettings::TfrmGYSettings(platform::SqlConnection *connection, int tillID, QWidget *parent)
    : QDialog(parent)
    , m_connection(connection)
    , m_filters(tillID)
{
    BuildWindow();
    FormCreate();
}

TfrmGYSettings::~TfrmGYSettings()
{
    FormDestroy();
}

void TfrmGYSettings::BuildWindow()
{
    setObjectName(QStringLiteral("frmGYSettings"));
    setWindowTitle(QStringLiteral("Settings For Galley"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto *layout = new QVBoxLayout(this);
    pgMain = new QTabWidget(this);
    pgMain->setObjectName(QStringLiteral("pgMain"));
    layout->addWidget(pgMain, 1);

    // Connection
    tabConnection = new QWidget;
    tabConnection->setObjectName(QStringLiteral("tabConnection"));
    {
        auto *page = new QVBoxLayout(tabConnection);
        auto *grp = new QGroupBox(QStringLiteral("Database Connection"), tabConnection);
        auto *row = new QHBoxLayout(grp);
        row->addWidget(new QLabel(QStringLiteral("Edit Connection"), grp));
        btnEditDBConnection = new QPushButton(QStringLiteral("..."), grp);
        btnEditDBConnection->setObjectName(QStringLiteral("btnEditDBConnection"));
        btnEditDBConnection->setFixedWidth(30);
        row->addWidget(btnEditDBConnection);
        row->addStretch(1);
        page->addWidget(grp);
        page->addStretch(1);
    }
    pgMain->addTab(tabConnection, QStringLiteral("Connection"));

    // Settings
    tabSettings = new QWidget;
    tabSettings->setObjectName(QStringLiteral("tabSettings"));
    {
        auto *page = new QVBoxLayout(tabSettings);
        auto *grpAdditional = new QGroupBox(QStringLiteral("Additional Settings"), tabSettings);
        auto *grid = new QGridLayout(grpAdditional);
        sePoll = SpinBox(grpAdditional, "sePoll", TGalleySettings::kMinPoll,
                         TGalleySettings::kMaxPoll, 5, 5);
        grid->addWidget(new QLabel(QStringLiteral("Poll for orders every"), grpAdditional), 0, 0);
        grid->addWidget(sePoll, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("seconds"), grpAdditional), 0, 2);
        chkDisablePending
            = CheckBox(grpAdditional, "chkDisablePending", QStringLiteral("Disable Pending Items"));
        grid->addWidget(chkDisablePending, 1, 0, 1, 3);
        chkSizes = CheckBox(grpAdditional, "chkSizes",
                            QStringLiteral("Display sizes in the item description"));
        grid->addWidget(chkSizes, 2, 0, 1, 3);
        seFontSize = SpinBox(grpAdditional, "seFontSize", TGalleySettings::kMinFontSize,
                             TGalleySettings::kMaxFontSize, 1, 10);
        grid->addWidget(new QLabel(QStringLiteral("Font Size"), grpAdditional), 3, 0);
        grid->addWidget(seFontSize, 3, 1);
        chkAutoPrintLabels
            = CheckBox(grpAdditional, "chkAutoPrintLabels", QStringLiteral("Auto print labels"));
        grid->addWidget(chkAutoPrintLabels, 4, 0, 1, 3);
        chkUseEmployeeColours = CheckBox(grpAdditional, "chkUseEmployeeColours",
                                         QStringLiteral("Use Employee Colours"));
        grid->addWidget(chkUseEmployeeColours, 5, 0, 1, 3);
        grid->setColumnStretch(2, 1);
        page->addWidget(grpAdditional);

        auto *filters = new QHBoxLayout;
        auto *grpTills = new QGroupBox(QStringLiteral("Filter By Till ID"), tabSettings);
        auto *tills = new QVBoxLayout(grpTills);
        chkFiltered = CheckBox(grpTills, "chkFiltered", QStringLiteral("Enable Till ID Filter"));
        lstTillIDs = CheckList(grpTills, "lstTillIDs");
        tills->addWidget(chkFiltered);
        tills->addWidget(lstTillIDs, 1);
        filters->addWidget(grpTills);
        auto *grpPrinters = new QGroupBox(QStringLiteral("Filter By Printer"), tabSettings);
        auto *printers = new QVBoxLayout(grpPrinters);
        chkPrinterFilter
            = CheckBox(grpPrinters, "chkPrinterFilter", QStringLiteral("Enable Printer Filter"));
        lstPrinters = CheckList(grpPrinters, "lstPrinters");
        printers->addWidget(chkPrinterFilter);
        printers->addWidget(lstPrinters, 1);
        filters->addWidget(grpPrinters);
        page->addLayout(filters, 1);
    }
    pgMain->addTab(tabSettings, QStringLiteral("Settings"));

    // Display
    tabDisplay = new QWidget;
    tabDisplay->setObjectName(QStringLiteral("tabDisplay"));
    {
        auto *page = new QVBoxLayout(tabDisplay);
        auto *cols = new QHBoxLayout;
        cols->addWidget(
            new QLabel(QStringLiteral("No of columns in the completed orders grid"), tabDisplay));
        seCols = SpinBox(tabDisplay, "seCols", TGalleySettings::kMinCols, TGalleySettings::kMaxCols,
                         1, 1);
        cols->addWidget(seCols);
        cols->addStretch(1);
        page->addLayout(cols);

        auto *grpNumber = new QGroupBox(
            QStringLiteral("Select the number to be displayed in the order ID"), tabDisplay);
        auto *numbers = new QHBoxLayout(grpNumber);
        radOrderNo = new QRadioButton(QStringLiteral("Order Number"), grpNumber);
        radOrderNo->setObjectName(QStringLiteral("radOrderNo"));
        radOrderNo->setChecked(true);
        radInvoiceNo = new QRadioButton(QStringLiteral("Invoice Number"), grpNumber);
        radInvoiceNo->setObjectName(QStringLiteral("radInvoiceNo"));
        numbers->addWidget(radOrderNo);
        numbers->addWidget(radInvoiceNo);
        page->addWidget(grpNumber);

        chkAutoExpand
            = CheckBox(tabDisplay, "chkAutoExpand", QStringLiteral("AutoExpand Invoice Details"));
        page->addWidget(chkAutoExpand);
        auto *group = new QHBoxLayout;
        chkReportGroup = CheckBox(tabDisplay, "chkReportGroup",
                                  QStringLiteral("Only display items for report group"));
        cboReportGroup = new QComboBox(tabDisplay);
        cboReportGroup->setObjectName(QStringLiteral("cboReportGroup"));
        group->addWidget(chkReportGroup);
        group->addWidget(cboReportGroup, 1);
        page->addLayout(group);

        grpColours = new QGroupBox(QStringLiteral("Colours"), tabDisplay);
        grpColours->setObjectName(QStringLiteral("grpColours"));
        auto *colours = new QVBoxLayout(grpColours);
        pgColours = new QTabWidget(grpColours);
        pgColours->setObjectName(QStringLiteral("pgColours"));
        auto colourPage = [this](const QString &caption, TColorBox *&font, const char *fontName,
                                 TColorBox *&back, const char *backName, TColorBox *&select,
                                 const char *selectName) {
            auto *pageWidget = new QWidget;
            auto *form = new QFormLayout(pageWidget);
            font = ColourBox(pageWidget, fontName);
            back = ColourBox(pageWidget, backName);
            form->addRow(QStringLiteral("Font:"), font);
            form->addRow(QStringLiteral("Background:"), back);
            auto *grpSelected = new QGroupBox(QStringLiteral("Selected"), pageWidget);
            auto *selected = new QFormLayout(grpSelected);
            select = ColourBox(grpSelected, selectName);
            selected->addRow(QStringLiteral("Background:"), select);
            form->addRow(grpSelected);
            pgColours->addTab(pageWidget, caption);
        };
        colourPage(QStringLiteral("Waiting"), colWF, "colWF", colWB, "colWB", colSelect,
                   "colSelect");
        colourPage(QStringLiteral("Completed"), colCF, "colCF", colCB, "colCB", colCSelect,
                   "colCSelect");
        colours->addWidget(pgColours);

        auto *preview = new QHBoxLayout;
        preview->setSpacing(0);
        auto previewColumn = [this](const QString &heading, QList<QLabel *> &lines) {
            auto *column = new QWidget(grpColours);
            auto *v = new QVBoxLayout(column);
            v->setContentsMargins(0, 0, 0, 0);
            v->setSpacing(0);
            v->addWidget(new QLabel(heading, column));
            for (const char *text : kSampleLines) {
                auto *line = new QLabel(QString::fromLatin1(text), column);
                line->setAutoFillBackground(true);
                v->addWidget(line);
                lines.append(line);
            }
            return column;
        };
        pnlPreviewNormal = previewColumn(QStringLiteral("Normal"), lblPreviewNormal);
        pnlPreviewSelected = previewColumn(QStringLiteral("Selected"), lblPreviewSelected);
        preview->addWidget(pnlPreviewNormal);
        preview->addWidget(pnlPreviewSelected, 1);
        colours->addLayout(preview);
        page->addWidget(grpColours, 1);
        grpColours->installEventFilter(this);
    }
    pgMain->addTab(tabDisplay, QStringLiteral("Display"));

    pnlBottom = new TZxControlsPanel(this);
    pnlBottom->setObjectName(QStringLiteral("pnlBottom"));
    pnlBottom->BevelOuter = bvNone;
    pnlBottom->SetLayout(loHorizontal);
    pnlBottom->SetHorizAlignment(taCenter);
    pnlBottom->SetHorizSpacing(5);
    pnlBottom->setFixedHeight(41);
    btnOK = new QPushButton(QStringLiteral("&OK"), pnlBottom);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->resize(75, 25);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), pnlBottom);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->resize(75, 25);
    layout->addWidget(pnlBottom);

    setFixedSize(sizeHint().expandedTo(QSize(372, 451)));
    pgMain->setCurrentWidget(tabSettings);

    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
    connect(btnEditDBConnection, &QPushButton::clicked, this,
            [this] { btnEditDBConnectionClick(); });
    connect(chkFiltered, &QCheckBox::clicked, this, [this] { chkFilteredClick(); });
    connect(chkPrinterFilter, &QCheckBox::clicked, this, [this] { chkPrinterFilterClick(); });
    connect(lstTillIDs, &QListWidget::itemChanged, this,
            [this](QListWidgetItem *item) { lstTillIDsClick(item); });
    connect(lstPrinters, &QListWidget::itemChanged, this,
            [this](QListWidgetItem *item) { lstPrintersClick(item); });
    connect(pgColours, &QTabWidget::currentChanged, this, [this] { ShowColourPreview(); });
    for (TColorBox *box : {colWF, colWB, colSelect, colCF, colCB, colCSelect}) {
        connect(box, &TColorBox::closedUp, this, [this] { ShowColourPreview(); });
        connect(box, &QComboBox::currentIndexChanged, this, [this] { ShowColourPreview(); });
    }
}

void TfrmGYSettings::FormCreate()
{
    TGalleySettings::ConfigureAppInfo(m_appInfo);
    m_appInfo.SetOnError([](QObject *, const QString &message) {
        qWarning().noquote() << "Galley settings:" << message;
    });
    m_appInfo.WriteAppInfo();

    m_tills = std::make_unique<TTills>();
    m_tills->SetAdoConnection(m_connection);
    m_unassignedTill = std::make_unique<TTillsItem>();
    m_unassignedTill->SetTillID(0);
    m_unassignedTill->SetComputerName(QStringLiteral("Unassigned Orders"));

    LoadTillFilterIDs();
    LoadTillFilterFlag();
    LoadPrinterFilterIDs();
    LoadPrinterFilterFlag();
}

void TfrmGYSettings::FormDestroy()
{
    m_reportGroups.Clear();
}

template<typename F> void TfrmGYSettings::Guarded(F &&handler)
{
    try {
        handler();
    } catch (const std::exception &e) {
        ExceptionReporter.HandleException(this, e);
    }
}

// --- the settings, current ------------------------------------------------------------

TGalleySettings TfrmGYSettings::Settings() const
{
    TGalleySettings s;
    s.NoOrdersCols = seCols->value();
    s.PollInterval = sePoll->value();
    s.FontSize = seFontSize->value();
    s.DisablePending = chkDisablePending->isChecked();
    s.PrintLabels = chkAutoPrintLabels->isChecked();
    s.UseEmpColours = chkUseEmployeeColours->isChecked();
    s.EnableSizes = chkSizes->isChecked();
    s.DisplayInvoiceNo = radInvoiceNo->isChecked();
    s.AutoExpand = chkAutoExpand->isChecked();
    s.LimitToReportGroup = chkReportGroup->isChecked();
    const int index = cboReportGroup->currentIndex();
    s.ReportGroup = index >= 0 && index < m_reportGroups.Count()
        ? m_reportGroups.Items(index).ReportGroupID
        : m_loadedReportGroup;
    s.SelectColour = colSelect->Selected();
    s.WaitingBackground = colWB->Selected();
    s.WaitingFont = colWF->Selected();
    s.CompletedSelectColour = colCSelect->Selected();
    s.CompletedBackground = colCB->Selected();
    s.CompletedFont = colCF->Selected();
    return s;
}

int TfrmGYSettings::ReportGroupLimit() const
{
    const int index = cboReportGroup->currentIndex();
    if (!chkReportGroup->isChecked() || index < 0 || index >= m_reportGroups.Count())
        return 0;
    return m_reportGroups.Items(index).ReportGroupID;
}

// --- registry values -------------------------------------------------------------------

bool TfrmGYSettings::LoadSettings()
{
    TGalleySettings s = Settings(); // a colour never stored keeps the box's colour
    s.Load(m_appInfo);
    m_loadedReportGroup = s.ReportGroup;
    PopulatecboReportGroup();
    ApplyToControls(s);
    ShowColourPreview();
    return true;
}

void TfrmGYSettings::ApplyToControls(const TGalleySettings &s)
{
    LoadingGuard loading(m_loading);
    seCols->setValue(s.NoOrdersCols);
    sePoll->setValue(s.PollInterval);
    seFontSize->setValue(s.FontSize);
    chkDisablePending->setChecked(s.DisablePending);
    chkAutoPrintLabels->setChecked(s.PrintLabels);
    chkUseEmployeeColours->setChecked(s.UseEmpColours);
    chkSizes->setChecked(s.EnableSizes);
    (s.DisplayInvoiceNo ? radInvoiceNo : radOrderNo)->setChecked(true);
    chkAutoExpand->setChecked(s.AutoExpand);
    chkReportGroup->setChecked(s.LimitToReportGroup);
    cboReportGroup->setCurrentIndex(m_reportGroups.IndexForStored(s.ReportGroup));
    colSelect->SetSelected(s.SelectColour);
    colWB->SetSelected(s.WaitingBackground);
    colWF->SetSelected(s.WaitingFont);
    colCSelect->SetSelected(s.CompletedSelectColour);
    colCB->SetSelected(s.CompletedBackground);
    colCF->SetSelected(s.CompletedFont);
}

void TfrmGYSettings::SaveSettings()
{
    Settings().Save(m_appInfo);
    m_filters.StoreTillFilterIDs(TickedIDs(lstTillIDs));
    m_filters.StorePrinterFilterIDs(TickedIDs(lstPrinters));
}

void TfrmGYSettings::PopulatecboReportGroup()
{
    LoadingGuard loading(m_loading);
    // Filled afresh, so loading the settings twice does not list every group twice.
    cboReportGroup->clear();
    m_reportGroups.Clear();
    try {
        m_reportGroups.Populate(m_connection);
    } catch (const std::exception &e) {
        MsgDlg(QStringLiteral("Could not load list of Report Groups\rReason: ")
                   + ExceptionMessage(e) + QStringLiteral("\r")
                   + QStringLiteral("Raised in TfrmGYSettings.PopulatecboReportGroup"),
               mtInformation, {mbOK});
    }
    for (int i = 0; i < m_reportGroups.Count(); ++i)
        cboReportGroup->addItem(m_reportGroups.Items(i).Description,
                                m_reportGroups.Items(i).ReportGroupID);
    cboReportGroup->setCurrentIndex(m_reportGroups.Count() > 0 ? 0 : -1);
}

int TfrmGYSettings::IndexOfReportGroup(int reportGroupID) const
{
    return m_reportGroups.IndexOfReportGroup(reportGroupID);
}

// --- showing ---------------------------------------------------------------------------

bool TfrmGYSettings::Execute()
{
    FormShow();
    if (!parentWidget()) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    platform::DialogRequest request;
    request.Kind = QStringLiteral("GalleySettings");
    request.Caption = windowTitle();
    request.Window = this;
    const int result
        = platform::RunModal(request, [this] { return platform::DialogAnswer(exec()); }).Result;
    return result == platform::mrOk;
}

void TfrmGYSettings::FormShow()
{
    m_connectionChanged = false;
    pgMain->setCurrentWidget(tabSettings);
    ShowColourPreview();
    LoadTillFilterIDs();
    LoadPrinterFilterIDs();
    FillTillList();
    FillPrinterList();
}

void TfrmGYSettings::ShowColourPreview()
{
    const bool completed = pgColours->currentIndex() == 1;
    const TColor text = (completed ? colCF : colWF)->Selected();
    const TColor back = (completed ? colCB : colWB)->Selected();
    const TColor selected = (completed ? colCSelect : colSelect)->Selected();
    for (QLabel *line : std::as_const(lblPreviewNormal))
        Paint(line, text, back);
    for (QLabel *line : std::as_const(lblPreviewSelected))
        Paint(line, text, selected);
}

bool TfrmGYSettings::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grpColours && event->type() == QEvent::Resize)
        FormResize();
    return QDialog::eventFilter(watched, event);
}

void TfrmGYSettings::FormResize()
{
    pnlPreviewNormal->setFixedWidth(grpColours->width() / 2);
}

// --- the filters -----------------------------------------------------------------------

void TfrmGYSettings::LoadTillFilterIDs()
{
    m_filters.LoadTillFilterIDs();
}

void TfrmGYSettings::LoadPrinterFilterIDs()
{
    m_filters.LoadPrinterFilterIDs();
}

void TfrmGYSettings::LoadTillFilterFlag()
{
    m_filters.LoadTillFilterFlag();
    ShowFilterFlags();
}

void TfrmGYSettings::LoadPrinterFilterFlag()
{
    m_filters.LoadPrinterFilterFlag();
    ShowFilterFlags();
}

void TfrmGYSettings::ShowFilterFlags()
{
    LoadingGuard loading(m_loading);
    chkFiltered->setChecked(m_filters.TillFilterEnabled);
    lstTillIDs->setEnabled(m_filters.TillFilterEnabled);
    chkPrinterFilter->setChecked(m_filters.PrinterFilterEnabled);
    lstPrinters->setEnabled(m_filters.PrinterFilterEnabled);
}

void TfrmGYSettings::FillTillList()
{
    LoadingGuard loading(m_loading);
    lstTillIDs->clear();
    m_tills->Clear(); // a table emptied since the last showing lists no stale tills
    m_tills->LoadAll();
    CheckItem(lstTillIDs, m_unassignedTill->ComputerName(), m_unassignedTill->TillID(),
              m_filters.TillFilterIDs.contains(QString::number(m_unassignedTill->TillID())));
    for (int i = 0; i < m_tills->Count(); ++i) {
        const TTillsItem *till = m_tills->Items(i);
        CheckItem(
            lstTillIDs,
            QString::number(till->TillID()) + QStringLiteral(" - ") + TrimControls(till->ComputerName()),
            till->TillID(), m_filters.TillFilterIDs.contains(QString::number(till->TillID())));
    }
}

void TfrmGYSettings::FillPrinterList()
{
    LoadingGuard loading(m_loading);
    lstPrinters->clear();
    T_Printers *printers = m_sharedPrinters;
    if (!printers) {
        if (!m_ownPrinters) {
            m_ownPrinters = std::make_unique<T_Printers>();
            m_ownPrinters->SetAdoConnection(m_connection);
        }
        m_ownPrinters->Clear();
        m_ownPrinters->LoadAll();
        printers = m_ownPrinters.get();
    }
    for (int i = 0; i < printers->Count(); ++i) {
        const T_PrintersItem *printer = printers->Items(i);
        CheckItem(lstPrinters, TrimControls(printer->Name()), printer->PrintersID(),
                  m_filters.PrinterFilterIDs.contains(QString::number(printer->PrintersID())));
    }
}

// --- clicks ----------------------------------------------------------------------------

void TfrmGYSettings::chkFilteredClick()
{
    Guarded([this] {
        const bool on = chkFiltered->isChecked();
        m_filters.StoreTillFilterFlag(on);
        lstTillIDs->setEnabled(on);
    });
}

void TfrmGYSettings::chkPrinterFilterClick()
{
    Guarded([this] {
        const bool on = chkPrinterFilter->isChecked();
        m_filters.StorePrinterFilterFlag(on);
        lstPrinters->setEnabled(on);
    });
}

// The tick mark is what the user sees, so the stored list follows the tick: ticking adds
// the ID, unticking removes it.
void TfrmGYSettings::lstTillIDsClick(QListWidgetItem *item)
{
    if (m_loading || !item)
        return;
    Guarded([this, item] {
        m_filters.SetTillFilterID(QString::number(item->data(Qt::UserRole).toInt()),
                                  item->checkState() == Qt::Checked);
    });
}

void TfrmGYSettings::lstPrintersClick(QListWidgetItem *item)
{
    if (m_loading || !item)
        return;
    Guarded([this, item] {
        m_filters.SetPrinterFilterID(QString::number(item->data(Qt::UserRole).toInt()),
                                     item->checkState() == Qt::Checked);
    });
}

void TfrmGYSettings::btnOKClick()
{
    Guarded([this] {
        SaveSettings();
        done(platform::mrOk);
    });
}

void TfrmGYSettings::btnEditDBConnectionClick()
{
    Guarded([this] {
        TZXAdoConnection keeper;
        keeper.SetApplicationKey(ConnectionAppKey);
        keeper.ConnectionName = ConnectionName;
        if (keeper.EditConnectionString()) {
            m_connectionChanged = true;
            emit connectionStringChanged();
        }
    });
}
