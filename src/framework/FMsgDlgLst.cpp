#include "FMsgDlgLst.h"

#include "modFormUtils.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include <pwd.h>
#include <unistd.h>

namespace {

constexpr int kReportHeight = 244;
constexpr int kReportHeightWithSupport = 175;

QString g_logFolder;

QString RtfEscape(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += u'\\';
            out += c;
        } else if (c == u'\t') {
            out += QLatin1String("\\tab ");
        } else if (u < 0x20) {
            out += QString::asprintf("\\'%02x", u);
        } else if (u < 0x80) {
            out += c;
        } else {
            // \uN takes a signed 16-bit number; "?" is what readers without Unicode show.
            out += QString::asprintf("\\u%d?", int(short(u)));
        }
    }
    return out;
}

QString CurrentUser()
{
    for (const char *name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    if (const passwd *entry = getpwuid(geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return QString();
}

bool WriteFile(const QString &fileName, const QByteArray &bytes, QString *error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

TfrmMsgDlgLst::TfrmMsgDlgLst(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Message Dlg"));
    if (!ApplicationTitle().isEmpty())
        setWindowTitle(ApplicationTitle());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    re = new QTextEdit(this);
    re->setObjectName("re");
    re->setReadOnly(true);
    re->setFont(QFont("Arial", 10));
    re->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    re->setFixedHeight(kReportHeight);

    reNums = new QTextEdit(this);
    reNums->setObjectName("reNums");
    reNums->setReadOnly(true);
    reNums->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont numsFont("Arial", 10);
    numsFont.setBold(true);
    reNums->setFont(numsFont);
    QPalette numsPalette = reNums->palette();
    numsPalette.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xE1)); // information background
    numsPalette.setColor(QPalette::Text, QColor(0x00, 0x00, 0x80)); // navy
    reNums->setPalette(numsPalette);
    reNums->setPlainText(QStringLiteral("Support Telephone Numbers [F1]\n"
                                        "Call the support desk of your Vela supplier.\n"
                                        "The numbers are on the support label of this "
                                        "workstation."));

    pnlBottom = new QWidget(this);
    pnlBottom->setObjectName("pnlBottom");
    pnlBottom->setFixedHeight(45);
    Image = new QLabel(pnlBottom);
    Image->setObjectName("Image");
    Image->setFixedSize(32, 32);
    Image->setPixmap(QApplication::windowIcon().pixmap(32, 32));
    TchButton1 = new QPushButton(QStringLiteral("&Close"), pnlBottom);
    TchButton1->setObjectName("TchButton1");
    TchButton1->setFixedSize(75, 40);
    connect(TchButton1, &QPushButton::clicked, this, &QDialog::reject);
    auto *bottomLayout = new QHBoxLayout(pnlBottom);
    bottomLayout->setContentsMargins(8, 2, 8, 2);
    bottomLayout->addWidget(Image);
    bottomLayout->addStretch();
    bottomLayout->addWidget(TchButton1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(re);
    layout->addWidget(reNums, 1);
    layout->addWidget(pnlBottom);
    setFixedSize(520, kReportHeight + 110 + 45);

    // The window sees keys before its controls.
    for (QWidget *w : {static_cast<QWidget *>(re), static_cast<QWidget *>(reNums),
                       static_cast<QWidget *>(TchButton1)})
        w->installEventFilter(this);
    reNums->viewport()->installEventFilter(this);

    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
}

void TfrmMsgDlgLst::Append(const QString &text, bool bold, bool red)
{
    const QString broken = platform::CarriageReturnsToLineFeeds(text);
    for (const QString &part : broken.split(QChar('\n'))) {
        QTextCursor cursor(re->document());
        cursor.movePosition(QTextCursor::End);
        if (!m_lines.isEmpty())
            cursor.insertBlock();
        QTextCharFormat format;
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        format.setForeground(red ? QColor(Qt::red) : QColor(Qt::black));
        cursor.insertText(part, format);
        m_lines.append({part, bold, red});
    }
}

void TfrmMsgDlgLst::AddBoldLine(const QString &text)
{
    Append(text, true, false);
}

void TfrmMsgDlgLst::AddLine(const QString &text)
{
    Append(text, false, false);
}

void TfrmMsgDlgLst::AddErrorLine(const QString &text)
{
    Append(text, true, true);
}

void TfrmMsgDlgLst::AddBlankLines(int n)
{
    for (int i = 0; i < n; ++i)
        Append(QString(), false, false);
}

void TfrmMsgDlgLst::ClearLines()
{
    re->clear();
    m_lines.clear();
}

QString TfrmMsgDlgLst::ReportText() const
{
    return re->toPlainText();
}

QString TfrmMsgDlgLst::ReportRtf() const
{
    QString rtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                                 "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                                 "{\\colortbl ;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\n"
                                 "\\pard\\f0\\fs20\n");
    for (const Line &line : m_lines) {
        rtf += line.Red ? QLatin1String("\\cf2") : QLatin1String("\\cf1");
        rtf += line.Bold ? QLatin1String("\\b ") : QLatin1String("\\b0 ");
        rtf += RtfEscape(line.Text);
        rtf += QLatin1String("\\par\n");
    }
    rtf += QLatin1String("}\n");
    return rtf;
}

QString TfrmMsgDlgLst::LogFolder()
{
    return g_logFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_logFolder;
}

void TfrmMsgDlgLst::SetLogFolder(const QString &folder)
{
    g_logFolder = folder;
}

QString TfrmMsgDlgLst::SaveLog()
{
    const QString name = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd HHmm"))
        + QStringLiteral(".rtf");
    const QByteArray bytes = ReportRtf().toLatin1(); // all non-ASCII is escaped

    // The program's folder is often not writable for the user who runs it; the report is
    // worth more than the place, so it goes to the user's data folder then.
    QStringList folders {LogFolder()};
    const QString fallback = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!fallback.isEmpty())
        folders.append(fallback);

    QString error;
    for (const QString &folder : std::as_const(folders)) {
        if (folder != folders.first())
            QDir().mkpath(folder);
        const QString fileName = QDir(folder).filePath(name);
        if (WriteFile(fileName, bytes, &error)) {
            m_lastLog = fileName;
            AddBlankLines(1);
            AddLine("Log file has been saved to " + QDir::toNativeSeparators(fileName));
            return fileName;
        }
    }
    m_lastLog.clear();
    AddBlankLines(1);
    AddErrorLine("The log file could not be saved (" + error + "). Make "
                 + QDir::toNativeSeparators(folders.first()) + " writable to keep reports.");
    return QString();
}

void TfrmMsgDlgLst::ToggleSupportLines()
{
    re->setFixedHeight(re->maximumHeight() == kReportHeight ? kReportHeightWithSupport
                                                            : kReportHeight);
}

int TfrmMsgDlgLst::ShowMessages(TMsgDlgType kind)
{
    const QIcon icon = MsgDlgIcon(kind);
    if (!icon.isNull())
        Image->setPixmap(icon.pixmap(32, 32));

    if (kind == mtError) {
        const QString separator(53, QChar('-'));
        AddBoldLine(separator);
        AddBoldLine("Application Information...");
        AddBoldLine(separator);
        AddLine("Title: " + ApplicationTitle());
        TFileVersion version;
        try {
            version.ReadVersion(QCoreApplication::applicationFilePath());
        } catch (const std::exception &) {
            // The program file has gone (replaced by an update); the version stays unknown.
        }
        AddLine("Version: " + version.VersionText);
        AddBoldLine(separator);
        AddBoldLine("Operating System Information...");
        AddBoldLine(separator);
        AddLine("Computer Name: " + QSysInfo::machineHostName());
        AddLine("Current User: " + CurrentUser());
        AddLine("Platform: " + QSysInfo::prettyProductName());
        AddLine("Version: " + QSysInfo::kernelType() + " " + QSysInfo::kernelVersion());
        SaveLog();
    }

    platform::DialogRequest request;
    request.Kind = QStringLiteral("ReportWindow");
    request.Text = ReportText();
    request.Caption = windowTitle();
    request.Type = kind;
    if (!m_lastLog.isEmpty())
        request.Data.insert("LogFile", m_lastLog);
    request.Window = this;
    return platform::RunModal(request, [this]() -> platform::DialogAnswer { return exec(); })
        .Result;
}

void TfrmMsgDlgLst::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        reject();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        ToggleSupportLines();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmMsgDlgLst::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F1) {
            keyPressEvent(static_cast<QKeyEvent *>(event));
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && watched == reNums->viewport()) {
        ToggleSupportLines();
    }
    return QDialog::eventFilter(watched, event);
}
