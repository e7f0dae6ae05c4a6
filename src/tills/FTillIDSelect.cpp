#include "FTillIDSelect.h"

#include "FTillIDSetup.h"
#include "modTillID.h"

#include "framework/clsEZXException.h"
#include "framework/modMsgDlgs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

// Blank, or the suite's one-character "no text" marker.
bool IsNoText(const QString &text)
{
    QString t = text;
    t.remove(QChar(0));
    return t.trimmed().isEmpty();
}

} // namespace

TfrmTillIDSelect::TfrmTillIDSelect(platform::SqlConnection *connection, QWidget *parent)
    : TfrmDbSelector(connection, parent)
    , ThisComputerName(GetComputerNameText())
{
    setObjectName(QStringLiteral("frmTillIDSelect"));
    setWindowTitle(QStringLiteral("Vela Till ID's"));
    DialogKind = QStringLiteral("TillList");
    SelectedTill.SetAdoConnection(connection);
    ThisTill.SetAdoConnection(connection);

    Label1 = new QLabel(QStringLiteral("This Till ID:"), pnlTop);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto *topLayout = new QHBoxLayout(pnlTop);
    topLayout->setContentsMargins(8, 0, 8, 0);
    topLayout->addWidget(Label1);
    topLayout->addStretch(1);

    NavButton(QStringLiteral("Edit"))->hide();
}

bool TfrmTillIDSelect::DoRefresh()
{
    // Set rather than appended: a second refresh must not run the statement twice.
    QryStrings
        = QStringList {QStringLiteral("SELECT * FROM Tills"), QStringLiteral("ORDER BY TillID")};
    const bool result = TfrmDbSelector::DoRefresh();

    const QStringList shown {QStringLiteral("TillID"), QStringLiteral("Computer Name"),
                             QStringLiteral("Login Name")};
    const int widths[] = {3, 13, 13};
    const int charWidth = grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < ds->columnCount(); ++c) {
        const QString name = ds->headerData(c, Qt::Horizontal).toString();
        const int at = shown.indexOf(name, 0);
        grid->setColumnHidden(c, at < 0);
        if (at >= 0)
            grid->setColumnWidth(c, qMax(widths[at] * charWidth + 8, 40));
    }
    UpdateThisTillID();
    return result;
}

void TfrmTillIDSelect::UpdateThisTillID()
{
    try {
        ThisTill.Clear();
        if (qry.Active()) {
            const int remembered = qry.Position();
            // A machine whose name cannot be read must not take over a row without a name.
            if (!IsNoText(ThisComputerName)) {
                for (qry.First(); !qry.Eof(); qry.Next()) {
                    if (qry.FieldByName(u"Computer Name")
                            .AsString()
                            .compare(ThisComputerName, Qt::CaseInsensitive)
                        == 0) {
                        ThisTill.Populate(&qry);
                        break;
                    }
                }
            }
            if (remembered >= 0 && remembered < qry.RecordCount())
                qry.MoveTo(remembered);
        }
    } catch (...) {
        ExceptionReporter.Message = QStringLiteral("Could not locate this computer till ID");
        ExceptionReporter.RaisedIn = QStringLiteral("TfrmTillIDSelect.UpdateThisTillID");
        throw;
    }
    btnOK->setEnabled(qry.RecordCount() > 0);
    if (ThisTill.TillID() >= 1) {
        pnlTop->SetCaption(QString::number(ThisTill.TillID()));
        pnlTop->SetColor(clBtnFace);
    } else {
        pnlTop->SetCaption(QStringLiteral("Not Set"));
        pnlTop->SetColor(clRed);
    }
}

void TfrmTillIDSelect::QueryInsert()
{
    try {
        DoInsert();
    } catch (const std::exception &e) {
        // A button's handler is where the error reaches the event loop.
        ExceptionReporter.HandleException(this, e);
    }
}

void TfrmTillIDSelect::DoInsert()
{
    try {
        TfrmTillIDSetup setup(this);
        setup.SetAdoConnection(qry.Connection());
        if (setup.Execute() != platform::mrOk)
            return;
        platform::SqlCommand cmd(qry.Connection());
        cmd.SetCommandText(
            QStringLiteral("INSERT INTO Tills ([Login Name], TillID, [Computer Name], [HD Serial]) "
                           "VALUES (:LoginName, :TillID, :ComputerName, :HDSerial)"));
        cmd.SetParam(QStringLiteral("LoginName"), setup.UserName());
        cmd.SetParam(QStringLiteral("TillID"), setup.TillID());
        cmd.SetParam(QStringLiteral("ComputerName"), setup.ComputerName());
        cmd.SetParam(QStringLiteral("HDSerial"), setup.HDSerial());
        cmd.Execute();
        // The list shows the new row, and the refresh finds this machine's till again.
        DoRefresh();
    } catch (...) {
        ExceptionReporter.Message
            = QStringLiteral("Failed to insert the till information for this computer");
        ExceptionReporter.RaisedIn = QStringLiteral("TfrmTillIDSelect.DoInsert");
        throw;
    }
}

void TfrmTillIDSelect::QueryDelete()
{
    try {
        DoDelete();
    } catch (const std::exception &e) {
        ExceptionReporter.HandleException(this, e);
    }
}

void TfrmTillIDSelect::DoDelete()
{
    if (!qry.Active() || qry.IsEmpty())
        return;
    const QString name = qry.FieldByName(u"Computer Name").AsString();
    const int tillID = qry.FieldByName(u"TillID").AsInteger();
    const int tillsID = qry.FieldByName(u"TillsID").AsInteger();
    if (MsgDlg(QStringLiteral("Delete [") + name + QStringLiteral(" : ") + QString::number(tillID)
                   + QLatin1Char(']'),
               mtConfirmation, {mbYes, mbNo, mbCancel})
        != mrYes)
        return;
    UpdateThisTillID();
    platform::SqlCommand cmd(qry.Connection());
    cmd.SetCommandText(QStringLiteral("DELETE FROM Tills WHERE TillsID = :TillsID"));
    cmd.SetParam(QStringLiteral("TillsID"), tillsID);
    cmd.Execute();
    // Found again once the row is gone, so a deleted till is never taken for this machine's.
    DoRefresh();
}

void TfrmTillIDSelect::btnOKClick()
{
    SelectedTill.Clear();
    if (qry.Active() && !qry.IsEmpty())
        SelectedTill.Populate(&qry);
    TfrmDbSelector::btnOKClick();
}
