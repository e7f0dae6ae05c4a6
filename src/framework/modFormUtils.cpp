#include "modFormUtils.h"

#include "modMsgDlgs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <stdexcept>

#ifndef VELA_VERSION
#error "VELA_VERSION comes from the build (vela_platform's compile definitions)"
#endif

void CenterOnMonitor(int monitorIndex, QWidget *form)
{
    const int index = monitorIndex % 128;
    const QList<QScreen *> screens = QGuiApplication::screens(); // the primary one first
    if (index < 0 || index >= screens.size()) {
        MsgDlg(QStringLiteral("Invalid monitor"), mtInformation, {mbOK});
        return;
    }
    const QRect monitor = screens.at(index)->geometry();
    const QSize size = form->frameGeometry().size();
    form->move(monitor.left() + (monitor.width() - size.width()) / 2,
               monitor.top() + (monitor.height() - size.height()) / 2);
}

QString TrimControls(QStringView text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= u' ')
        ++start;
    while (end > start && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(start, end - start).toString();
}

void SplitCommaList(QStringList &list, const QString &text)
{
    list.clear();
    auto addPiece = [&list](QStringView piece) {
        const QString trimmed = TrimControls(piece);
        if (!trimmed.isEmpty())
            list.append(trimmed);
    };

    qsizetype pieceStart = 0;
    int quotes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            ++quotes;
        } else if (c == u',' && quotes != 1) {
            addPiece(QStringView(text).mid(pieceStart, i - pieceStart));
            pieceStart = i + 1;
            quotes = 0;
        }
    }
    addPiece(QStringView(text).mid(pieceStart));
}

QString AddTrailingBackslash(const QString &path)
{
    if (path.endsWith(u'/') || path.endsWith(u'\\'))
        return path;
    return path + u'/';
}

void TFileVersion::ReadVersion(const QString &fileName)
{
    FileName = fileName;
    const QFileInfo info(fileName);
    if (!info.exists())
        throw std::runtime_error(("File " + fileName + " does not exist").toStdString());

    Major = Minor = Release = Build = -1;
    VersionText = QStringLiteral("?.?.?.?");

    // Linux programs carry no version resource; only our own file knows its version, from
    // the build.
    if (!QCoreApplication::instance())
        return;
    const QFileInfo self(QCoreApplication::applicationFilePath());
    if (info.canonicalFilePath() != self.canonicalFilePath())
        return;

    const QStringList parts = QStringLiteral(VELA_VERSION).split(u'.');
    int numbers[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        numbers[i] = parts[i].toInt() & 0xFFFF; // each part is a 16-bit half of the version
    Major = numbers[0];
    Minor = numbers[1];
    Release = numbers[2];
    Build = numbers[3];
    VersionText = QStringLiteral("%1.%2.%3.%4").arg(Major).arg(Minor).arg(Release).arg(Build);
}
