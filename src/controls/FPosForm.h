#pragma once

// The base window of the suite's small dialogs: a panel filling the window with the row of
// buttons (pnlBottom) along its bottom. Derived dialogs put their controls into
// AddToMain, above the button row, and their buttons on pnlBottom.
//
// This is the part of the touch dialog base the list pickers need. Still to come: the
// employee (AdoConnection, EmpNum, Emp), the looks (FormLook, SetFormLook, ApplyFormLook,
// StyleButtonPanel with FormSettings' button sizes and fonts), ShowBorder, and placing the
// window on the configured monitor when shown. Main thread only.

#include "ZXPanel.h"
#include "ZxControlsPanel.h"

#include <QDialog>

class QVBoxLayout;

class TfrmPosForm : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmPosForm(QWidget *parent = nullptr);

    TZXPanel *pnlMain = nullptr; // owned by the window
    TZxControlsPanel *pnlBottom = nullptr; // 45 pixels high; a centred row, spacing 12

protected:
    // Puts widget into the main panel, below what was added before and above pnlBottom.
    void AddToMain(QWidget *widget, int stretch = 0);

private:
    QVBoxLayout *m_mainLayout = nullptr;
};
