#include "moxAppInfo.h"

#include "modFormUtils.h"

#include "platform/SystemInfo.h"

#include <QDate>
#include <QTime>

#include <exception>

using platform::RegistryRoot;
using platform::RegistryValueType;

TmoxAppInfo::TmoxAppInfo(QObject *owner)
    : QObject(owner)
{ }

void TmoxAppInfo::SetHKey(TRegKeys value)
{
    m_hKey = value >= LOCAL_MACHINE && value <= DYN_DATA ? value : LOCAL_MACHINE;
}

platform::RegistryRoot TmoxAppInfo::Root() const
{
    switch (m_hKey) {
    case CURRENT_USER:
        return RegistryRoot::CurrentUser;
    case CLASSES_ROOT:
        return RegistryRoot::ClassesRoot;
    case USERS:
        return RegistryRoot::Users;
    case PERFORMANCE_DATA:
        return RegistryRoot::PerformanceData;
    case CURRENT_CONFIG:
        return RegistryRoot::CurrentConfig;
    case DYN_DATA:
        return RegistryRoot::DynData;
    case LOCAL_MACHINE:
        break;
    }
    return RegistryRoot::LocalMachine;
}

bool TmoxAppInfo::OpenKey()
{
    if (m_registry.OpenKey(Root(), m_key, true))
        return true;
    ReportError();
    return false;
}

void TmoxAppInfo::ReportError()
{
    if (m_onError)
        m_onError(this,
                  QStringLiteral("Cannot open key ") + m_key + QStringLiteral(" for reading"));
}

bool TmoxAppInfo::ReadBool(const QString &name)
{
    if (!OpenKey())
        return false;
    return m_registry.ReadBool(Root(), m_key, name).value_or(false);
}

QString TmoxAppInfo::ReadString(const QString &name)
{
    if (!OpenKey())
        return QStringLiteral("Cannot open key ") + name;
    if (m_registry.ValueType(Root(), m_key, name) != RegistryValueType::String)
        return QString();
    return m_registry.ReadString(Root(), m_key, name).value_or(QString());
}

int TmoxAppInfo::ReadInteger(const QString &name, int defaultValue)
{
    if (!OpenKey())
        return defaultValue;
    const std::optional<RegistryValueType> type = m_registry.ValueType(Root(), m_key, name);
    if (type == RegistryValueType::Integer)
        return m_registry.ReadInteger(Root(), m_key, name).value_or(defaultValue);
    if (type != RegistryValueType::String)
        return defaultValue;
    const QString text = m_registry.ReadString(Root(), m_key, name).value_or(QString()).trimmed();
    bool ok = false;
    const int value = text.toInt(&ok);
    if (ok)
        return value;
    // Colours with the top bit set may have been written unsigned.
    const uint unsignedValue = text.toUInt(&ok);
    return ok ? int(unsignedValue) : defaultValue;
}

bool TmoxAppInfo::WriteBool(const QString &name, bool value)
{
    if (!OpenKey())
        return false;
    if (m_registry.WriteBool(Root(), m_key, name, value))
        return true;
    ReportError();
    return false;
}

bool TmoxAppInfo::WriteString(const QString &name, const QString &value)
{
    if (!OpenKey())
        return false;
    if (m_registry.WriteString(Root(), m_key, name, value))
        return true;
    ReportError();
    return false;
}

bool TmoxAppInfo::WriteInteger(const QString &name, int value)
{
    return WriteString(name, QString::number(value));
}

void TmoxAppInfo::WriteAppInfo()
{
    const QString program = platform::ProgramPath();
    WriteString(QStringLiteral("AppVersion"), GetFileVersion(program));
    WriteString(QStringLiteral("AppPath"), program);
    WriteString(QStringLiteral("DriveSerial (C:)"), GetDriveSerial(QStringLiteral("C")));
    WriteString(QStringLiteral("AppLastExecuted"),
                QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(" at ")
                    + QTime::currentTime().toString(QStringLiteral("hh:mm")));
}

QString TmoxAppInfo::GetFileVersion(const QString &fileName)
{
    TFileVersion version;
    try {
        version.ReadVersion(fileName);
    } catch (const std::exception &) {
        return FormatFileVersion(0, 0); // a missing file has no version information either
    }
    if (version.Major < 0)
        return FormatFileVersion(0, 0);
    return FormatFileVersion(quint32(version.Major) << 16 | quint32(version.Minor),
                             quint32(version.Release) << 16 | quint32(version.Build));
}

QString TmoxAppInfo::GetDriveSerial(const QString &drive)
{
    return FormatDriveSerial(platform::VolumeSerial(drive));
}

QString TmoxAppInfo::FormatFileVersion(quint32 versionMS, quint32 versionLS)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(versionMS >> 16)
        .arg(versionMS & 0xFFFF)
        .arg(versionLS >> 16)
        .arg(versionLS & 0xFFFF);
}

QString TmoxAppInfo::FormatDriveSerial(quint32 serial)
{
    const QString hex = QString::number(serial, 16).toUpper();
    return hex.left(4) + QLatin1Char('-') + hex.mid(4, 4);
}
