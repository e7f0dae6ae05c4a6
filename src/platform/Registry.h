#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <optional>
#include <vector>

namespace platform {

// The registry roots, in the order the settings component numbers them.
enum class RegistryRoot {
    LocalMachine,
    CurrentUser,
    ClassesRoot,
    Users,
    PerformanceData,
    CurrentConfig,
    DynData,
};

// REG_SZ and REG_DWORD; Booleans are stored as Integer 0 or 1.
enum class RegistryValueType { String, Integer };

// A key written as on Windows, root first: "HKEY_LOCAL_MACHINE\Software\Zentrix".
struct RegistryLocation
{
    RegistryRoot root = RegistryRoot::LocalMachine;
    QString key; // below the root, without leading backslash; empty for the root itself
};

// Named values under keys, kept per machine in a folder of files (one per root) in place
// of the Windows registry.
//
// Keys are paths like "\Software\Zentrix\Vela" (leading backslash optional, empty parts
// ignored). Keys and value names compare without regard to case; the spelling first
// written is kept. The empty value name is the key's default value.
//
// Every operation re-reads the root's file (parsing it again only when its bytes changed),
// so a value another process wrote is seen at the next call. Every write locks the file
// against other writers, re-reads it, and replaces it atomically; a crash never leaves a
// half-written store.
//
// Not thread-safe: one object per thread (the program uses it from the main thread only).
// Failures never throw: they return false / std::nullopt / an empty list and leave a
// one-line explanation in LastError().
class Registry
{
public:
    // The folder named by VELA_REGISTRY_DIR when set, else "vela/registry" under the
    // user's configuration folder.
    static QString DefaultFolder();

    Registry();
    explicit Registry(const QString &folder);

    QString Folder() const { return m_folder; }
    // The file holding one root's keys (it need not exist yet).
    QString FilePath(RegistryRoot root) const;

    // "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER", ...
    static QString RootName(RegistryRoot root);
    // The long names and HKLM, HKCU, HKCR, HKU, HKCC; any letter case.
    static std::optional<RegistryRoot> RootFromName(const QString &name);
    // Splits "HKLM\Software\Zentrix" into root and key; nullopt for an unknown root.
    static std::optional<RegistryLocation> ParseLocation(const QString &text);
    // "HKEY_LOCAL_MACHINE\Software\Zentrix", in the stored spelling when the key exists.
    QString DisplayName(RegistryRoot root, const QString &key);

    // Without create: true when the key exists. With create: true when the key exists or
    // has been created with its missing parents; false when the store cannot be read or
    // written (e.g. the folder is read-only) or a key name holds a control character.
    // An existing key opens also in a store that cannot be written; writes then fail.
    bool OpenKey(RegistryRoot root, const QString &key, bool create);
    bool KeyExists(RegistryRoot root, const QString &key);
    bool ValueExists(RegistryRoot root, const QString &key, const QString &name);
    std::optional<RegistryValueType> ValueType(RegistryRoot root, const QString &key,
                                               const QString &name);

    // Missing value or key: nullopt. An integer read as a string gives its decimal text.
    std::optional<QString> ReadString(RegistryRoot root, const QString &key,
                                      const QString &name);
    // Missing value or key, or a string value: nullopt (never a conversion of the text).
    std::optional<qint32> ReadInteger(RegistryRoot root, const QString &key,
                                      const QString &name);
    // An integer value, true when non-zero; otherwise as ReadInteger.
    std::optional<bool> ReadBool(RegistryRoot root, const QString &key, const QString &name);

    // Create the key (and its parents) when missing and set the value, replacing a value of
    // the same name whatever its type. False when the file could not be written.
    bool WriteString(RegistryRoot root, const QString &key, const QString &name,
                     const QString &value);
    bool WriteInteger(RegistryRoot root, const QString &key, const QString &name, qint32 value);
    bool WriteBool(RegistryRoot root, const QString &key, const QString &name, bool value);

    // False when the value / key does not exist or the file could not be written.
    // DeleteKey removes the key with its values and all its subkeys; the root itself
    // cannot be deleted.
    bool DeleteValue(RegistryRoot root, const QString &key, const QString &name);
    bool DeleteKey(RegistryRoot root, const QString &key);

    // Value names in the order first written; subkey names (one level) sorted without
    // regard to case. Empty for a missing key.
    QStringList ValueNames(RegistryRoot root, const QString &key);
    QStringList SubKeys(RegistryRoot root, const QString &key);

    // Why the last failing call failed, e.g. for a log line or the vela-reg tool.
    QString LastError() const { return m_lastError; }

private:
    struct StoredValue
    {
        QString name;
        RegistryValueType type = RegistryValueType::String;
        QString text;
        quint32 number = 0;
    };
    struct StoredKey
    {
        QString path; // stored spelling, parts joined by '\', no leading '\'
        std::vector<StoredValue> values;
    };
    // Keyed by the case-folded path, so parents sort before their children.
    using Hive = std::map<QString, StoredKey>;
    struct CachedHive
    {
        bool loaded = false;
        QByteArray bytes; // the file as last read; compared to see whether it changed
        Hive hive;
    };

    const Hive *Load(RegistryRoot root);
    bool ReadFile(RegistryRoot root, QByteArray &bytes);
    template<typename Edit>
    bool Modify(RegistryRoot root, Edit edit);
    bool Save(RegistryRoot root, const Hive &hive);

    const StoredKey *FindKey(RegistryRoot root, const QString &key);
    const StoredValue *FindValue(RegistryRoot root, const QString &key, const QString &name);
    bool Fail(const QString &message);
    bool CheckKeyName(const QStringList &parts, const QString &key);

    QString m_folder;
    QString m_lastError;
    std::array<CachedHive, 7> m_cache;
};

} // namespace platform
