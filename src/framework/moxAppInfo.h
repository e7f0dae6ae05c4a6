#pragma once

#include "platform/Registry.h"

#include <QObject>
#include <QString>

#include <functional>

// The registry roots the component can use, in this order. Based on int so that any
// number can be handed to SetHKey, which maps the unknown ones.
enum TRegKeys : int {
    LOCAL_MACHINE,
    CURRENT_USER,
    CLASSES_ROOT,
    USERS,
    PERFORMANCE_DATA,
    CURRENT_CONFIG,
    DYN_DATA,
};

// Keeps an application's machine-level settings as named values under one registry key
// (HKey + Key), and records facts about the program (WriteAppInfo).
//
// Every read and write opens Key, creating it when missing. When it cannot be opened (or a
// write fails), OnError, when set, receives "Cannot open key " + Key + " for reading" and
// the call gives its failure value. A value of another type than the one asked for reads
// as that failure value too. Nothing here throws. Main thread only.
class TmoxAppInfo : public QObject
{
    Q_OBJECT

public:
    using TErrorEvent = std::function<void(QObject *sender, const QString &message)>;

    // The registry store is the one VELA_REGISTRY_DIR names at construction.
    explicit TmoxAppInfo(QObject *owner = nullptr);

    TRegKeys HKey() const { return m_hKey; }
    void SetHKey(TRegKeys value); // a value outside the enumeration selects LOCAL_MACHINE
    platform::RegistryRoot Root() const;
    QString Key() const { return m_key; }
    void SetKey(const QString &value) { m_key = value; }
    QString AppName() const { return m_appName; }
    void SetAppName(const QString &value) { m_appName = value; }
    const TErrorEvent &OnError() const { return m_onError; }
    void SetOnError(TErrorEvent handler) { m_onError = std::move(handler); }
    bool SilentShutdown() const { return m_silentShutdown; }
    void SetSilentShutdown(bool value) { m_silentShutdown = value; }

    // A missing value, or one that is not a 32-bit number, gives false.
    bool ReadBool(const QString &name);
    // A missing value, or a number value, gives "". A key that cannot be opened gives
    // "Cannot open key " + name.
    QString ReadString(const QString &name);
    // A 32-bit number value, or a text value holding a decimal number (the monitor stores
    // its numbers as decimal texts); anything else, or nothing, gives defaultValue.
    int ReadInteger(const QString &name, int defaultValue);

    // True when written. Booleans are stored as the 32-bit numbers 0 and 1; integers as
    // decimal texts, the form ReadInteger and the monitor's stored settings share.
    bool WriteBool(const QString &name, bool value);
    bool WriteString(const QString &name, const QString &value);
    bool WriteInteger(const QString &name, int value);

    // Writes "AppVersion", "AppPath", "DriveSerial (C:)" and "AppLastExecuted"
    // ("yyyymmdd at hh:mm", local time).
    void WriteAppInfo();

    // "major.minor.release.build" of a program file; "0.0.0.0" for a file without version
    // information or one that cannot be read.
    QString GetFileVersion(const QString &fileName);
    // The serial of Drive + ":\" as FormatDriveSerial writes it; an unreadable volume, "0-".
    QString GetDriveSerial(const QString &drive);

    // The four numbers held in the two 32-bit halves of a file version: major and minor in
    // the high and low 16 bits of the most significant half, release and build in the
    // least significant half.
    static QString FormatFileVersion(quint32 versionMS, quint32 versionLS);
    // Upper-case hexadecimal without leading zeros, characters 1-4, "-", characters 5-8:
    // 0x1A2B3C4D gives "1A2B-3C4D", 0x0A2B3C4D "A2B3-C4D", 0 "0-".
    static QString FormatDriveSerial(quint32 serial);

private:
    bool OpenKey();
    void ReportError();

    TRegKeys m_hKey = LOCAL_MACHINE;
    QString m_key = QStringLiteral("\\SOFTWARE\\Zentrix");
    QString m_appName = QStringLiteral("App Name Here");
    TErrorEvent m_onError;
    bool m_silentShutdown = false;
    platform::Registry m_registry;
};
