#pragma once

// The till list window: every till of the table Tills, this machine's number in the title
// ("Not Set" on red when it has none), Insert registers this machine through the setup
// dialog, Delete removes a till after a confirmation. Shown through the dialog seam as
// "TillList". Main thread only.

#include "FDbSelector.h"
#include "clsTills.h"

class QLabel;

class TfrmTillIDSelect : public TfrmDbSelector
{
    Q_OBJECT

public:
    explicit TfrmTillIDSelect(platform::SqlConnection *connection, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QString ThisComputerName; // read at creation
    TTillsItem SelectedTill; // the grid's row when OK was pressed
    TTillsItem ThisTill; // this machine's till; TillID -1 when it has none

    bool DoRefresh() override;
    // Finds this machine's row again, enables OK when there are rows and sets the title.
    // An error is passed on with the reporter's texts set.
    void UpdateThisTillID();

protected:
    void QueryInsert() override;
    void QueryDelete() override;
    void btnOKClick() override;

private:
    void DoInsert();
    void DoDelete();
};
