#include "modMsgDlgs.h"

#include "FTimerForm.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

QFont MakeFont(const QString &family, int points, bool bold)
{
    QFont font(family);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

TFormSettings MakeFormSettings()
{
    TFormSettings settings;
    settings.Apply(flNormal);
    return settings;
}

constexpr std::array<TMsgDlgButtonInfo, platform::kMsgDlgBtnCount> kButtons = {{
    {"Yes", "&Yes", mrYes},
    {"No", "&No", mrNo},
    {"OK", "OK", mrOk},
    {"Cancel", "Cancel", mrCancel},
    {"Abort", "Abort", mrAbort},
    {"Retry", "&Retry", mrRetry},
    {"Ignore", "&Ignore", mrIgnore},
    {"All", "&All", mrAll},
    {"NoToAll", "NoToAll", mrNoToAll},
    {"YesToAll", "YesToAll", mrYesToAll},
    {"Help", "&Help", mrNone},
}};

constexpr int kIconSize = 32;
constexpr int kButtonGap = 19; // fixed gap of the message dialog, whatever the look says

// The screen the dialog belongs on: the main window's, else the primary one.
QScreen *DialogScreen()
{
    QWidget *main = QApplication::activeWindow();
    if (!main) {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && !qobject_cast<QDialog *>(w)) {
                main = w;
                break;
            }
    }
    if (main && main->screen())
        return main->screen();
    return QGuiApplication::primaryScreen();
}

void SetTextColour(QWidget *w, const QColor &colour)
{
    if (!colour.isValid())
        return;
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    w->setPalette(palette);
}

void SetBackground(QWidget *w, const QColor &colour)
{
    if (!colour.isValid())
        return;
    QPalette palette = w->palette();
    palette.setColor(w->backgroundRole(), colour);
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

// The "Message" label: no wrap and as wide as its widest line, unless that line is wider
// than half the screen; then it wraps at half the screen and gets one more line per
// half-screen of that line's width. Lines break at carriage returns.
QLabel *CreateMessageLabel(QWidget *parent, const QString &msg, int screenWidth)
{
    auto *label = new QLabel(parent);
    label->setObjectName("Message");
    label->setTextFormat(Qt::PlainText);
    label->setFont(FormSettings.MessageFont);
    label->setAlignment(FormSettings.MessageAlignment | Qt::AlignTop);
    label->setWordWrap(false);
    label->setContentsMargins(0, 0, 0, 0);
    label->setMargin(0);
    SetTextColour(label, FormSettings.MessageFontColour);
    SetBackground(label, FormSettings.MessageColour);

    const QString text = platform::CarriageReturnsToLineFeeds(msg);
    label->setText(text);

    const QFontMetrics fm(label->font());
    const QStringList lines = text.split(QChar('\n'));
    int widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest,
                          fm.boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX),
                                          Qt::AlignLeft | Qt::TextExpandTabs, line)
                              .width());

    const int half = std::max(1, screenWidth / 2);
    int width = widest;
    int extraLines = 0;
    if (widest > half) {
        label->setWordWrap(true);
        width = half;
        extraLines = widest / half;
    }
    int height = int(lines.size() + extraLines) * fm.lineSpacing();
    // Word wrap breaks between words, so a wrapped message can need more lines than the
    // width alone suggests; give it the height it needs rather than cut its end off.
    if (label->wordWrap())
        height = std::max(height, label->heightForWidth(width));
    label->resize(width, height);
    return label;
}

} // namespace

TFormSettings FormSettings = MakeFormSettings();

TFormSettings::TFormSettings()
{
    Apply(flKeyboard);
    ButtonSpacing = 19;
}

void TFormSettings::Apply(TFormLook look)
{
    Look = look;
    MessageAlignment = Qt::AlignLeft;
    MessageColour = QColor(); // button face
    MessageFontColour = QColor(Qt::black);
    if (look == flTouchScreen)
        MessageFont = MakeFont("Arial", 10, true);
    else
        MessageFont = MakeFont("Tahoma", 8, false);
    PanelHeight = look == flNormal ? 40 : 45;
    ButtonColour = QColor(); // button face
    ButtonFont = MakeFont("Tahoma", 8, false);
    ButtonFontColour = QColor(Qt::black);
    ButtonWidth = 64;
    ButtonHeight = 24;
}

QString ApplicationTitle()
{
    return QGuiApplication::applicationDisplayName();
}

QString MsgDlgCaption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return QStringLiteral("Warning");
    case mtError:
        return QStringLiteral("Error");
    case mtInformation:
        return QStringLiteral("Information");
    case mtConfirmation:
        return QStringLiteral("Confirm");
    case mtCustom:
        break;
    }
    return ApplicationTitle();
}

QIcon MsgDlgIcon(TMsgDlgType type)
{
    QStyle *style = QApplication::style();
    switch (type) {
    case mtWarning:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case mtError:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case mtInformation:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case mtConfirmation:
        return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case mtCustom:
        break;
    }
    return QIcon();
}

const TMsgDlgButtonInfo &MsgDlgButtonInfo(TMsgDlgBtn button)
{
    return kButtons.at(size_t(button));
}

std::unique_ptr<TfrmTimerForm> CreateMsgDialog(const QString &msg, TMsgDlgType dlgType,
                                               TMsgDlgButtons buttons, int countdown,
                                               const QString &logFile)
{
    auto form = std::make_unique<TfrmTimerForm>();
    form->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    form->setLayoutDirection(QGuiApplication::layoutDirection());
    form->setFont(MakeFont("MS Sans Serif", 8, false));

    QScreen *screen = DialogScreen();
    const QRect screenRect = screen ? screen->geometry() : QRect(0, 0, 800, 600);

    const bool hasLog = !logFile.isEmpty() && QFileInfo::exists(logFile);
    const int buttonCount = buttons.Count() + (hasLog ? 1 : 0);
    const int buttonRowWidth = buttonCount == 0
        ? 0
        : buttonCount * FormSettings.ButtonWidth + (buttonCount - 1) * kButtonGap;

    form->setWindowTitle(MsgDlgCaption(dlgType));
    int iconWidth = 0;
    int iconHeight = 0;
    const QIcon icon = MsgDlgIcon(dlgType);
    if (!icon.isNull()) {
        auto *image = new QLabel(form.get());
        image->setObjectName("Image");
        image->setPixmap(icon.pixmap(kIconSize, kIconSize));
        image->setGeometry(8, 8, kIconSize, kIconSize);
        iconWidth = iconHeight = kIconSize;
    }

    QLabel *label = CreateMessageLabel(form.get(), msg, screenRect.width());

    const int clientWidth = std::max(iconWidth + label->width() + 10, buttonRowWidth) + 16;
    const int clientHeight = std::max(iconHeight, label->height()) + FormSettings.ButtonHeight + 26;
    form->setFixedSize(clientWidth, clientHeight);
    const QSize outer = form->frameGeometry().size();
    form->move(screenRect.x() + (screenRect.width() - outer.width()) / 2,
               screenRect.y() + (screenRect.height() - outer.height()) / 2);
    label->move(iconWidth + 18, 8);

    int x = (outer.width() - buttonRowWidth) / 2;
    const int y = clientHeight - FormSettings.ButtonHeight - 8;
    auto addButton = [&](const QString &name, const QString &caption, int result) {
        auto *button = new QPushButton(caption, form.get());
        button->setObjectName(name);
        button->setProperty("ModalResult", result);
        button->setFont(FormSettings.ButtonFont);
        SetTextColour(button, FormSettings.ButtonFontColour);
        if (FormSettings.ButtonColour.isValid()) {
            QPalette palette = button->palette();
            palette.setColor(QPalette::Button, FormSettings.ButtonColour);
            button->setPalette(palette);
        }
        button->setAutoDefault(false);
        button->setGeometry(x, y, FormSettings.ButtonWidth, FormSettings.ButtonHeight);
        x += FormSettings.ButtonWidth + kButtonGap;
        QObject::connect(button, &QPushButton::clicked, form.get(), [f = form.get(), result]() {
            if (result != mrNone)
                f->done(result);
        });
        return button;
    };

    std::array<QPushButton *, platform::kMsgDlgBtnCount> made {};
    for (TMsgDlgBtn b : buttons.InOrder()) {
        const TMsgDlgButtonInfo &info = MsgDlgButtonInfo(b);
        made[size_t(b)] = addButton(info.Name, info.Caption, info.ModalResult);
    }
    QPushButton *defaultButton = nullptr;
    for (TMsgDlgBtn b : {mbOK, mbYes, mbRetry})
        if (made[size_t(b)]) {
            defaultButton = made[size_t(b)];
            break;
        }
    for (TMsgDlgBtn b : {mbCancel, mbNo, mbOK})
        if (made[size_t(b)]) {
            form->CancelButton = made[size_t(b)];
            break;
        }
    if (defaultButton) {
        defaultButton->setDefault(true);
        form->DefaultButton = defaultButton;
        if (countdown > 0) {
            form->CountdownButton = defaultButton;
            form->CountdownCaption = defaultButton->text();
            form->CountdownResult = defaultButton->property("ModalResult").toInt();
        }
    }
    if (hasLog)
        addButton("btnLogFile", "View Log", mrYes);

    form->Countdown = countdown;
    if (countdown > 0)
        form->Timer1->start();
    return form;
}

int MsgDlg(const QString &msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, const QString &logFile,
           int countdown, const QColor &colour)
{
    std::unique_ptr<TfrmTimerForm> form
        = CreateMsgDialog(msg, dlgType, buttons, countdown, logFile);
    SetBackground(form.get(), colour);

    platform::DialogRequest request;
    request.Kind = QStringLiteral("MsgDlg");
    request.Text = msg;
    request.Caption = form->windowTitle();
    request.Type = dlgType;
    request.Buttons = buttons;
    request.Data.insert("Countdown", countdown);
    if (!logFile.isEmpty())
        request.Data.insert("LogFile", logFile);
    request.Window = form.get();

    const int result = platform::RunModal(request, [&form]() -> platform::DialogAnswer {
                           return form->exec();
                       }).Result;
    if (result == mrYes && !logFile.isEmpty() && QFileInfo::exists(logFile))
        platform::ShellOpen(logFile);
    return result;
}

int ErrorDlg(const QString &msg)
{
    return MsgDlg(msg, mtError, {mbOK});
}

int InfoDlg(const QString &msg)
{
    return MsgDlg(msg, mtInformation, {mbOK});
}

void ReportError(const QString &what, const QString &reason, const QString &raisedIn)
{
    ErrorDlg(what + "\rReason: " + reason + "\r\rRaised In: " + raisedIn);
}
