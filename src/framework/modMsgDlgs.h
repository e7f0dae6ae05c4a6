#pragma once

// The suite's message dialog and its look settings. Every message of the program goes
// through MsgDlg (or its wrappers), which builds a TfrmTimerForm and shows it through the
// dialog seam (kind "MsgDlg"), so tests answer it with a platform::ScriptedResponder.
// Main thread only.

#include "platform/DialogSeam.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>

#include <memory>

class TfrmTimerForm;

// The suite's vocabulary for message types, buttons and modal results.
using TMsgDlgType = platform::MsgDlgType;
using TMsgDlgBtn = platform::MsgDlgBtn;
using TMsgDlgButtons = platform::MsgDlgButtons;
using enum platform::MsgDlgType;
using enum platform::MsgDlgBtn;
using enum platform::ModalResult;

enum TFormLook { flKeyboard, flTouchScreen, flNormal };

// Look settings of the message dialog and the touch dialogs. Colours: an invalid QColor
// stands for the system's button face, i.e. "leave the widget's palette as it is".
// Sizes are pixels. Fonts carry face, size and style; their colour is kept beside them.
class TFormSettings
{
public:
    TFormSettings(); // applies flKeyboard and sets ButtonSpacing to 19
    virtual ~TFormSettings() = default;

    virtual void Apply(TFormLook look);

    TFormLook Look = flKeyboard;
    QColor ButtonColour;
    QFont ButtonFont;
    QColor ButtonFontColour;
    int ButtonHeight = 0;
    int ButtonSpacing = 0;
    int ButtonWidth = 0;
    Qt::Alignment MessageAlignment = Qt::AlignLeft;
    QColor MessageColour;
    QFont MessageFont;
    QColor MessageFontColour;
    int PanelHeight = 0; // height of the button row panel of the touch dialogs
};

// Process-wide look settings, applied with flNormal when the program starts.
extern TFormSettings FormSettings;

// The application's title (QGuiApplication::applicationDisplayName), used as the caption
// of custom messages and of the report window.
QString ApplicationTitle();

// The message-type table: "Warning", "Error", "Information", "Confirm", and the
// application's title for mtCustom; the icon is null for mtCustom.
QString MsgDlgCaption(TMsgDlgType type);
QIcon MsgDlgIcon(TMsgDlgType type);

// The button table, one row per TMsgDlgBtn.
struct TMsgDlgButtonInfo
{
    const char *Name; // object name of the button ("Yes", "NoToAll", ...)
    const char *Caption; // "&Yes", "OK", ...
    int ModalResult; // 0 for Help: that button does not close the window
};
const TMsgDlgButtonInfo &MsgDlgButtonInfo(TMsgDlgBtn button);

// Builds the message dialog without showing it: caption, icon, the "Message" label sized
// from the font actually in use, the buttons of the set with their default and cancel
// buttons, a "View Log" button when logFile names an existing file, and the count-down
// (countdown seconds; 0 for none) with its timer started. The caller owns the window.
std::unique_ptr<TfrmTimerForm> CreateMsgDialog(const QString &msg, TMsgDlgType dlgType,
                                               TMsgDlgButtons buttons, int countdown = 0,
                                               const QString &logFile = QString());

// Shows msg (carriage returns break lines) and returns the modal result of the button
// pressed (mrYes, mrOk, ...). When the result is mrYes and logFile names an existing file,
// that file is opened with the desktop's default program. colour is the window's
// background; invalid = button face.
int MsgDlg(const QString &msg, TMsgDlgType dlgType, TMsgDlgButtons buttons,
           const QString &logFile = QString(), int countdown = 0, const QColor &colour = QColor());

int ErrorDlg(const QString &msg); // error, OK
int InfoDlg(const QString &msg); // information, OK

// ErrorDlg of what + "\rReason: " + reason + "\r\rRaised In: " + raisedIn.
void ReportError(const QString &what, const QString &reason, const QString &raisedIn);
