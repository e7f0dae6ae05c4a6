#pragma once

// A list picker over one query: the rows in a grid with row selection, a navigator, and
// OK / Cancel (or Close) in the bottom row. The query runs on a connection that is not
// owned and must outlive the window. Every modal show goes through the dialog seam with
// the kind DialogKind. Main thread only.

#include "controls/FPosForm.h"

#include "platform/DialogSeam.h"
#include "platform/SqlQuery.h"

#include <QStringList>

class QPushButton;
class QStandardItemModel;
class QTableView;

class TfrmDbSelector : public TfrmPosForm
{
    Q_OBJECT

public:
    explicit TfrmDbSelector(platform::SqlConnection *connection, QWidget *parent = nullptr);

    platform::SqlQuery qry;
    QStandardItemModel *ds = nullptr; // the query's rows as the grid shows them
    QTableView *grid = nullptr;
    QWidget *nav = nullptr; // buttons navFirst ... navCancel
    TZXPanel *pnlTop = nullptr; // title panel
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
    QPushButton *btnClose = nullptr;

    QStringList QryStrings; // the query's SQL lines
    unsigned VisibleButtons = 12; // bit 2: OK, bit 3: Cancel
    QString DialogKind = QStringLiteral("DbSelector");

    bool AllowEdit() const { return m_allowEdit; }
    void SetAllowEdit(bool value);
    QPushButton *NavButton(const QString &name) const; // "First", "Insert", "Edit", ...

    virtual void DoCtrlEnter() { }
    virtual void DoInsertKey() { }
    virtual void DoDeleteKey() { }
    // Runs QryStrings afresh and shows the rows, keeping the current row where it can.
    // True when there is at least one row; on an error shows it and returns false.
    virtual bool DoRefresh();
    virtual void AfterRefresh() { }
    // Refreshes; false when that fails or finds nothing; otherwise shows the window
    // modally and returns whether it closed with OK.
    virtual bool Execute();

    // Shows the window modally through the dialog seam (buttons set up as for a show) and
    // returns the modal result.
    int ShowModalRequest();

protected:
    // The navigator's Insert and Delete (the query's insert and delete events).
    virtual void QueryInsert() { }
    virtual void QueryDelete() { }
    virtual void btnOKClick();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FillGrid();
    void SyncCurrentRow();
    void PrepareShow();
    bool HandleKey(QKeyEvent *event);

    bool m_allowEdit = false;
};
