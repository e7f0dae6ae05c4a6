#pragma once

// The one way the program runs a modal interaction: message dialogs, message boxes,
// the connection editor, the till list, password and number-pad dialogs, the fingerprint
// window, the label question. Callers describe what they show in a DialogRequest and hand
// over a function that shows the real window. When a test has installed a
// ScriptedResponder, the request is recorded and answered from the script and the real
// window is never shown; otherwise the real window runs.
//
// All of this is for the main (user-interface) thread only.

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

#include <deque>
#include <functional>
#include <initializer_list>

namespace platform {

// Modal results, numbered as the suite's window library numbers them.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Message types, numbered as the message dialog's table of captions and icons.
enum MsgDlgType : int { mtWarning = 0, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons of a message dialog or message box; the value is the bit number in a set and
// the order in which the buttons stand in the window.
enum MsgDlgBtn : int {
    mbYes = 0,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
};
inline constexpr int kMsgDlgBtnCount = 11;

// A set of buttons: bit n stands for button n. Written as a list ({mbYes, mbNo}) or from
// the stored bits (MsgDlgButtons::FromBits(11) is Yes, No, Cancel).
class MsgDlgButtons
{
public:
    constexpr MsgDlgButtons() = default;
    constexpr MsgDlgButtons(std::initializer_list<MsgDlgBtn> buttons)
    {
        for (MsgDlgBtn b : buttons)
            m_bits |= 1u << unsigned(b);
    }
    static constexpr MsgDlgButtons FromBits(unsigned bits)
    {
        MsgDlgButtons set;
        set.m_bits = bits & ((1u << kMsgDlgBtnCount) - 1);
        return set;
    }

    constexpr unsigned Bits() const { return m_bits; }
    constexpr bool Has(MsgDlgBtn b) const { return (m_bits >> unsigned(b)) & 1u; }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    int Count() const;
    QList<MsgDlgBtn> InOrder() const; // the members in table order
    constexpr bool operator==(const MsgDlgButtons &) const = default;

private:
    unsigned m_bits = 0;
};

// What a caller shows. Kind names the window: "MsgDlg", "MessageBox", "ReportWindow",
// "ConnectionEditor", "TillList", "Password", "NumPad", "FingerPrint", "LabelQuestion", ...
// Fields a kind does not use stay at their defaults; anything else goes into Data.
struct DialogRequest
{
    QString Kind;
    QString Text; // the message, or the window's main text (lines as the caller wrote them)
    QString Caption; // the window's title
    MsgDlgType Type = mtCustom;
    MsgDlgButtons Buttons;
    QVariantMap Data;
    // The window the caller built, when it built one before asking (MsgDlg does). Lets a
    // scripted handler look at it or press its buttons. Not owned; null once it is gone.
    QPointer<QWidget> Window;
};

// What came back: the modal result, and for dialogs that return a value (a number, a
// text, a chosen row, a connection string) that value.
struct DialogAnswer
{
    int Result = mrNone;
    QVariant Value;

    DialogAnswer() = default;
    DialogAnswer(int result, QVariant value = {}) // implicit: a bare modal result is an answer
        : Result(result)
        , Value(std::move(value))
    { }
};

// Answers requests instead of the real windows. At most one is installed at a time per
// process; installing a second hides the first until the second goes.
class DialogResponder
{
public:
    virtual ~DialogResponder() = default;
    virtual DialogAnswer Respond(const DialogRequest &request) = 0;
};

// Runs one modal interaction: the installed responder answers it, or else showReal shows
// the real window and its answer is returned. showReal is not called when a responder is
// installed. Exceptions of showReal pass through.
//
// With the environment variable VELA_DIALOGS_SCRIPTED_ONLY set (test programs set it) and
// no responder installed, the program stops with a message naming the request instead of
// waiting forever on a window nobody will close.
DialogAnswer RunModal(const DialogRequest &request, const std::function<DialogAnswer()> &showReal);

// True while a responder is installed.
bool DialogsScripted();

// The platform's plain message box (kind "MessageBox"): the text (carriage returns break
// lines), the caption (empty = the application's title), an icon after the type and the
// buttons. Returns the modal result of the button pressed; closing the box gives the
// result of its cancel button (Cancel, else No, else OK).
int MessageBox(const QString &text, MsgDlgType type = mtCustom, MsgDlgButtons buttons = {mbOK},
               const QString &caption = QString());

// Opens a document with the desktop's default program (the shell's "open" verb; kind
// "ShellOpen", recorded like a dialog when scripted). Returns false when it could not start.
bool ShellOpen(const QString &fileName);

// Replaces the suite's carriage-return line breaks (character 13, alone or followed by a
// line feed) with line feeds, as Qt's widgets break lines.
QString CarriageReturnsToLineFeeds(const QString &text);

// The scripted responder for tests: installs itself while it lives, records every request
// and answers from a queue, then from an optional handler, then with the default answer.
//
//     platform::ScriptedResponder dialogs;          // unscripted requests get mrCancel
//     dialogs.Queue(platform::mrYes);               // the next request is answered Yes
//     RunTheCode();
//     ASSERT_EQ(dialogs.Requests().size(), 1);
//     EXPECT_EQ(dialogs.Requests()[0].Text, "Print labels? [Kitchen]");
class ScriptedResponder : public DialogResponder
{
public:
    // The default answer is mrCancel: what the user gets by closing a window.
    explicit ScriptedResponder(DialogAnswer defaultAnswer = DialogAnswer(mrCancel));
    ~ScriptedResponder() override;
    ScriptedResponder(const ScriptedResponder &) = delete;
    ScriptedResponder &operator=(const ScriptedResponder &) = delete;

    void Queue(DialogAnswer answer);
    void SetDefaultAnswer(DialogAnswer answer) { m_default = std::move(answer); }
    // Called for a request when the queue is empty; its answer is used.
    void SetHandler(std::function<DialogAnswer(const DialogRequest &)> handler)
    {
        m_handler = std::move(handler);
    }

    const QList<DialogRequest> &Requests() const { return m_requests; }
    QList<DialogRequest> RequestsOfKind(const QString &kind) const;
    const DialogRequest &Last() const { return m_requests.back(); } // requires a request
    void Clear() { m_requests.clear(); }

    DialogAnswer Respond(const DialogRequest &request) override;

private:
    DialogResponder *m_previous = nullptr;
    DialogAnswer m_default;
    std::deque<DialogAnswer> m_queue;
    std::function<DialogAnswer(const DialogRequest &)> m_handler;
    QList<DialogRequest> m_requests;
};

} // namespace platform
