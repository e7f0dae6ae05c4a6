#include "SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QSysInfo>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {

QString ComputerName()
{
    const QString host = QSysInfo::machineHostName();
    return host.section(QLatin1Char('.'), 0, 0);
}

QString LogonName()
{
    if (const passwd *pw = getpwuid(geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

std::optional<quint32> SerialFromUuid(const QString &uuid)
{
    quint32 serial = 0;
    int digits = 0;
    for (qsizetype i = 0; i < uuid.size() && digits < 8; ++i) {
        const char16_t c = uuid[i].unicode();
        if (c == u'-')
            continue;
        quint32 v;
        if (c >= u'0' && c <= u'9')
            v = c - u'0';
        else if (c >= u'a' && c <= u'f')
            v = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            v = c - u'A' + 10;
        else
            return std::nullopt;
        serial = (serial << 4) | v;
        ++digits;
    }
    if (digits < 8)
        return std::nullopt;
    return serial;
}

namespace {

// Undoes the octal escapes (\040 for a blank) the kernel writes into mount table fields.
QString UnescapeMountField(const QString &field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

struct RootMount
{
    unsigned major = 0;
    unsigned minor = 0;
    QString source;
};

// The last mount on "/" wins: later mounts stack over earlier ones.
std::optional<RootMount> FindRootMount(const QString &mountInfo)
{
    std::optional<RootMount> found;
    for (const QString &line : mountInfo.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // id parent major:minor root mount-point options [optional...] - type source ...
        if (f.size() < 7 || UnescapeMountField(f[4]) != QLatin1String("/"))
            continue;
        const qsizetype dash = f.indexOf(QStringLiteral("-"), 6);
        if (dash < 0 || dash + 2 >= f.size())
            continue;
        const QStringList numbers = f[2].split(QLatin1Char(':'));
        if (numbers.size() != 2)
            continue;
        RootMount m;
        m.major = numbers[0].toUInt();
        m.minor = numbers[1].toUInt();
        m.source = UnescapeMountField(f[dash + 2]);
        found = m;
    }
    return found;
}

} // namespace

std::optional<quint32> RootSerialFromUuidLinks(const QString &mountInfo, const QString &uuidFolder)
{
    const std::optional<RootMount> root = FindRootMount(mountInfo);
    if (!root)
        return std::nullopt;
    const QString sourcePath = root->source.startsWith(QLatin1Char('/'))
        ? QFileInfo(root->source).canonicalFilePath()
        : QString();
    const dev_t rootDevice = makedev(root->major, root->minor);

    const QDir folder(uuidFolder);
    for (const QFileInfo &link :
         folder.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString target = link.canonicalFilePath();
        if (target.isEmpty())
            continue;
        bool same = !sourcePath.isEmpty() && target == sourcePath;
        if (!same) {
            struct stat st;
            same = ::stat(QFile::encodeName(target).constData(), &st) == 0 && S_ISBLK(st.st_mode)
                && st.st_rdev == rootDevice;
        }
        if (same)
            if (const std::optional<quint32> serial = SerialFromUuid(link.fileName()))
                return serial;
    }
    return std::nullopt;
}

quint32 RootVolumeSerial()
{
    QFile mounts(QStringLiteral("/proc/self/mountinfo"));
    if (mounts.open(QIODevice::ReadOnly)) {
        const QString text = QString::fromLocal8Bit(mounts.readAll());
        if (const std::optional<quint32> serial
            = RootSerialFromUuidLinks(text, QStringLiteral("/dev/disk/by-uuid")))
            return *serial;
    }
    struct statvfs fs;
    if (::statvfs("/", &fs) != 0)
        return 0;
    return quint32(quint64(fs.f_fsid) & 0xFFFFFFFFu);
}

quint32 VolumeSerial(const QString &drive)
{
    QString letter = drive.trimmed();
    if (letter.endsWith(QLatin1Char('\\')) || letter.endsWith(QLatin1Char('/')))
        letter.chop(1);
    if (letter.endsWith(QLatin1Char(':')))
        letter.chop(1);
    if (letter.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0)
        return RootVolumeSerial();
    return 0;
}

QString ProgramVersion()
{
    return QStringLiteral(VELA_VERSION);
}

QString ProgramPath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

} // namespace platform
