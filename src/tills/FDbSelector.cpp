#include "FDbSelector.h"

#include "framework/clsEZXException.h"
#include "framework/modMsgDlgs.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

const char *const kNavButtons[]
    = {"First", "Prior", "Next", "Last", "Insert", "Delete", "Edit", "Post", "Cancel"};

// Hourglass for the life of the object.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

TfrmDbSelector::TfrmDbSelector(platform::SqlConnection *connection, QWidget *parent)
    : TfrmPosForm(parent)
    , qry(connection)
{
    setObjectName(QStringLiteral("frmDbSelector"));

    pnlTop = new TZXPanel(pnlMain);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->setFixedHeight(33);
    pnlTop->SetVAlignment(vaMiddle);
    QFont titleFont(QStringLiteral("Arial"), 10);
    titleFont.setBold(true);
    pnlTop->setFont(titleFont);
    AddToMain(pnlTop);

    ds = new QStandardItemModel(this);
    grid = new QTableView(pnlMain);
    grid->setObjectName(QStringLiteral("grid"));
    grid->setModel(ds);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->verticalHeader()->hide();
    grid->installEventFilter(this);
    AddToMain(grid, 1);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { SyncCurrentRow(); });

    nav = new QWidget(pnlMain);
    nav->setObjectName(QStringLiteral("nav"));
    auto *navLayout = new QHBoxLayout(nav);
    navLayout->setContentsMargins(2, 2, 2, 2);
    for (const char *name : kNavButtons) {
        auto *b = new QPushButton(QString::fromLatin1(name), nav);
        b->setObjectName(QStringLiteral("nav") + QString::fromLatin1(name));
        b->setAutoDefault(false);
        navLayout->addWidget(b);
    }
    navLayout->addStretch(1);
    AddToMain(nav);

    auto select = [this](int row) {
        if (ds->rowCount() > 0)
            grid->selectRow(qBound(0, row, ds->rowCount() - 1));
    };
    connect(NavButton("First"), &QPushButton::clicked, this, [select] { select(0); });
    connect(NavButton("Prior"), &QPushButton::clicked, this,
            [this, select] { select(qry.Position() - 1); });
    connect(NavButton("Next"), &QPushButton::clicked, this,
            [this, select] { select(qry.Position() + 1); });
    connect(NavButton("Last"), &QPushButton::clicked, this,
            [this, select] { select(ds->rowCount() - 1); });
    connect(NavButton("Insert"), &QPushButton::clicked, this, [this] { QueryInsert(); });
    connect(NavButton("Delete"), &QPushButton::clicked, this, [this] { QueryDelete(); });
    // Rows are written by the derived windows' own statements, never edited in the grid,
    // so there is no edit state to post or cancel.
    NavButton("Post")->setEnabled(false);
    NavButton("Cancel")->setEnabled(false);

    btnOK = new QPushButton(QStringLiteral("&OK"), pnlBottom);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), pnlBottom);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnClose = new QPushButton(QStringLiteral("Close"), pnlBottom);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton *b : {btnOK, btnCancel, btnClose}) {
        b->resize(75, 25);
        b->setAutoDefault(false);
    }
    connect(btnOK, &QPushButton::clicked, this, [this] { btnOKClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });
    connect(btnClose, &QPushButton::clicked, this, [this] { done(platform::mrCancel); });

    SetAllowEdit(false);
}

QPushButton *TfrmDbSelector::NavButton(const QString &name) const
{
    return nav->findChild<QPushButton *>(QStringLiteral("nav") + name);
}

void TfrmDbSelector::SetAllowEdit(bool value)
{
    m_allowEdit = value;
    btnCancel->setVisible(value);
    nav->setVisible(value);
    const int centre = pnlBottom->width() / 2;
    if (value) {
        btnCancel->move(centre + 5, btnCancel->y());
        btnOK->move(btnCancel->x() - 5 - btnOK->width(), btnOK->y());
    } else {
        btnOK->move(centre - btnOK->width() / 2, btnOK->y());
    }
}

bool TfrmDbSelector::DoRefresh()
{
    try {
        if (QryStrings.isEmpty())
            throw EZXException(QStringLiteral("TfrmDbSelector.QryStrings has not been set"));
        WaitCursor wait;
        grid->setUpdatesEnabled(false);
        const int remembered = qry.Active() ? qry.Position() : -1;
        bool found = false;
        try {
            qry.Close();
            qry.SetSQL(QryStrings);
            qry.Open();
            AfterRefresh();
            found = qry.RecordCount() > 0;
        } catch (...) {
            FillGrid();
            grid->setUpdatesEnabled(true);
            throw;
        }
        FillGrid();
        if (remembered >= 0 && remembered < qry.RecordCount())
            qry.MoveTo(remembered);
        if (qry.RecordCount() > 0)
            grid->selectRow(qry.Position());
        grid->setUpdatesEnabled(true);
        return found;
    } catch (const std::exception &e) {
        MsgDlg(QStringLiteral("Failed to refresh the query\r\rReason: ") + ExceptionMessage(e)
                   + QStringLiteral("\r\rRaised In: TfrmDbSelector.DoRefresh"),
               mtError, {mbOK});
        return false;
    }
}

void TfrmDbSelector::FillGrid()
{
    ds->clear();
    if (!qry.Active())
        return;
    const int current = qry.Position();
    QStringList headers;
    for (int c = 0; c < qry.FieldCount(); ++c)
        headers << qry.FieldName(c);
    ds->setColumnCount(qry.FieldCount());
    ds->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < qry.RecordCount(); ++r) {
        qry.MoveTo(r);
        QList<QStandardItem *> cells;
        for (int c = 0; c < qry.FieldCount(); ++c)
            cells << new QStandardItem(qry.Field(c).AsString());
        ds->appendRow(cells);
    }
    if (qry.RecordCount() > 0)
        qry.MoveTo(qBound(0, current, qry.RecordCount() - 1));
}

void TfrmDbSelector::SyncCurrentRow()
{
    const int row = grid->selectionModel()->currentIndex().row();
    if (qry.Active() && row >= 0 && row < qry.RecordCount())
        qry.MoveTo(row);
}

bool TfrmDbSelector::Execute()
{
    if (!DoRefresh())
        return false;
    if (isVisible())
        hide();
    return ShowModalRequest() == platform::mrOk;
}

void TfrmDbSelector::PrepareShow()
{
    btnOK->setVisible((VisibleButtons >> 2) & 1u);
    btnCancel->setVisible((VisibleButtons >> 3) & 1u);
    btnClose->setVisible(VisibleButtons == 0);
    pnlBottom->ArrangeControls();
}

int TfrmDbSelector::ShowModalRequest()
{
    PrepareShow();
    platform::DialogRequest request;
    request.Kind = DialogKind;
    request.Caption = windowTitle();
    request.Text = pnlTop->Caption();
    request.Window = this;
    return platform::RunModal(request, [this] { return platform::DialogAnswer(exec()); }).Result;
}

void TfrmDbSelector::btnOKClick()
{
    done(platform::mrOk);
}

bool TfrmDbSelector::HandleKey(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() & Qt::ControlModifier)
            DoCtrlEnter();
        else
            done(platform::mrOk);
        return true;
    case Qt::Key_Escape:
        done(platform::mrCancel);
        return true;
    case Qt::Key_Insert:
        DoInsertKey();
        return true;
    case Qt::Key_Delete:
        DoDeleteKey();
        return true;
    default:
        return false;
    }
}

bool TfrmDbSelector::eventFilter(QObject *watched, QEvent *event)
{
    // The window sees the grid's keys first.
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent *>(event)))
        return true;
    return TfrmPosForm::eventFilter(watched, event);
}

void TfrmDbSelector::keyPressEvent(QKeyEvent *event)
{
    if (!HandleKey(event))
        TfrmPosForm::keyPressEvent(event);
}
