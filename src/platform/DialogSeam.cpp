#include "DialogSeam.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <bit>
#include <cstdio>
#include <map>

namespace platform {

namespace {

DialogResponder *g_responder = nullptr;

QString Describe(const DialogRequest &request)
{
    QString text = request.Text.left(200);
    text.replace(QChar('\r'), QChar(' '));
    return request.Kind + " \"" + text + "\"";
}

// The platform's own message box, answering with the modal result of the button pressed.
DialogAnswer ShowRealMessageBox(const DialogRequest &request)
{
    static const std::map<MsgDlgBtn, std::pair<QMessageBox::StandardButton, int>> standard = {
        {mbYes, {QMessageBox::Yes, mrYes}},
        {mbNo, {QMessageBox::No, mrNo}},
        {mbOK, {QMessageBox::Ok, mrOk}},
        {mbCancel, {QMessageBox::Cancel, mrCancel}},
        {mbAbort, {QMessageBox::Abort, mrAbort}},
        {mbRetry, {QMessageBox::Retry, mrRetry}},
        {mbIgnore, {QMessageBox::Ignore, mrIgnore}},
        {mbNoToAll, {QMessageBox::NoToAll, mrNoToAll}},
        {mbYesToAll, {QMessageBox::YesToAll, mrYesToAll}},
        {mbHelp, {QMessageBox::Help, mrNone}},
    };
    QMessageBox box;
    box.setWindowTitle(request.Caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(CarriageReturnsToLineFeeds(request.Text));
    switch (request.Type) {
    case mtWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case mtError:
        box.setIcon(QMessageBox::Critical);
        break;
    case mtInformation:
        box.setIcon(QMessageBox::Information);
        break;
    case mtConfirmation:
        box.setIcon(QMessageBox::Question);
        break;
    case mtCustom:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    std::map<QAbstractButton *, int> results;
    for (MsgDlgBtn b : request.Buttons.InOrder()) {
        QAbstractButton *button = nullptr;
        int result = mrNone;
        if (b == mbAll) {
            button = box.addButton(QObject::tr("&All"), QMessageBox::AcceptRole);
            result = mrAll;
        } else {
            const auto &[standardButton, r] = standard.at(b);
            button = box.addButton(standardButton);
            result = r;
        }
        results[button] = result;
    }
    // Closing the box answers as its cancel button would.
    for (MsgDlgBtn b : {mbCancel, mbNo, mbOK}) {
        if (request.Buttons.Has(b)) {
            box.setEscapeButton(box.button(standard.at(b).first));
            break;
        }
    }
    box.exec();
    const auto it = results.find(box.clickedButton());
    return it != results.end() ? it->second : int(mrCancel);
}

} // namespace

int MsgDlgButtons::Count() const
{
    return std::popcount(m_bits);
}

QList<MsgDlgBtn> MsgDlgButtons::InOrder() const
{
    QList<MsgDlgBtn> list;
    for (int b = 0; b < kMsgDlgBtnCount; ++b)
        if (Has(MsgDlgBtn(b)))
            list.append(MsgDlgBtn(b));
    return list;
}

DialogAnswer RunModal(const DialogRequest &request, const std::function<DialogAnswer()> &showReal)
{
    if (g_responder)
        return g_responder->Respond(request);
    if (qEnvironmentVariableIsSet("VELA_DIALOGS_SCRIPTED_ONLY"))
        qFatal("A modal window was shown without a scripted responder: %s",
               qPrintable(Describe(request)));
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        // Nobody can see or answer a window on an off-screen display: say what it would
        // have shown and answer as closing it would (OK when that is the only button).
        fprintf(stderr, "%s\n", qPrintable(Describe(request)));
        const bool onlyOk = request.Buttons == MsgDlgButtons{mbOK};
        return DialogAnswer(onlyOk ? mrOk : mrCancel);
    }
    return showReal();
}

bool DialogsScripted()
{
    return g_responder != nullptr;
}

QString CarriageReturnsToLineFeeds(const QString &text)
{
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QChar('\r'), QChar('\n'));
    return out;
}

int MessageBox(const QString &text, MsgDlgType type, MsgDlgButtons buttons, const QString &caption)
{
    DialogRequest request;
    request.Kind = QStringLiteral("MessageBox");
    request.Text = text;
    request.Caption = caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption;
    request.Type = type;
    request.Buttons = buttons.IsEmpty() ? MsgDlgButtons {mbOK} : buttons;

    return RunModal(request, [&request] { return ShowRealMessageBox(request); }).Result;
}

bool ShellOpen(const QString &fileName)
{
    DialogRequest request;
    request.Kind = QStringLiteral("ShellOpen");
    request.Text = fileName;
    return RunModal(request,
                    [&fileName]() -> DialogAnswer {
                        return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName)) ? mrOk
                                                                                        : mrCancel;
                    })
               .Result
        == mrOk;
}

ScriptedResponder::ScriptedResponder(DialogAnswer defaultAnswer)
    : m_previous(g_responder)
    , m_default(std::move(defaultAnswer))
{
    g_responder = this;
}

ScriptedResponder::~ScriptedResponder()
{
    g_responder = m_previous;
}

void ScriptedResponder::Queue(DialogAnswer answer)
{
    m_queue.push_back(std::move(answer));
}

QList<DialogRequest> ScriptedResponder::RequestsOfKind(const QString &kind) const
{
    QList<DialogRequest> list;
    for (const DialogRequest &r : m_requests)
        if (r.Kind == kind)
            list.append(r);
    return list;
}

DialogAnswer ScriptedResponder::Respond(const DialogRequest &request)
{
    m_requests.append(request);
    if (!m_queue.empty()) {
        DialogAnswer answer = std::move(m_queue.front());
        m_queue.pop_front();
        return answer;
    }
    if (m_handler)
        return m_handler(request);
    return m_default;
}

} // namespace platform
