#include "platform/Registry.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

namespace platform {

// File format, one file per root named after it ("HKEY_LOCAL_MACHINE.ini"), in the manner
// of an exported .reg file:
//
//   [HKEY_LOCAL_MACHINE\Software\Zentrix\Vela]
//   "Msde-ConnectionString"="Provider=SQLite;Data Source=/var/lib/vela/vela.db"
//   "Msde-Failed"=dword:00000000
//   @="the key's default value"
//
// Inside quotes, backslash, double quote, line feed, carriage return and NUL are written
// \\ \" \n \r \0, so every value is one line. Every key has a section, also when it holds
// no values, so that created keys survive. Lines that cannot be read are skipped.

namespace {

constexpr int LockTimeoutMs = 5000;

struct RootNames
{
    RegistryRoot root;
    const char *name;
    const char *shortName; // nullptr: Windows has no short form
};

constexpr RootNames Roots[] = {
    {RegistryRoot::LocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {RegistryRoot::CurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {RegistryRoot::ClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {RegistryRoot::Users, "HKEY_USERS", "HKU"},
    {RegistryRoot::PerformanceData, "HKEY_PERFORMANCE_DATA", nullptr},
    {RegistryRoot::CurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
    {RegistryRoot::DynData, "HKEY_DYN_DATA", nullptr},
};

std::size_t Index(RegistryRoot root)
{
    return static_cast<std::size_t>(root);
}

QStringList SplitKey(const QString &key)
{
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

// A line break in a key name would break the section header it is written in.
bool ValidKeyParts(const QStringList &parts)
{
    for (const QString &part : parts)
        for (QChar c : part)
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                return false;
    return true;
}

QString FoldedPath(const QStringList &parts)
{
    return parts.join(QLatin1Char('\\')).toCaseFolded();
}

bool SameName(const QString &a, const QString &b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

QString Quote(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case 0: out += QLatin1String("\\0"); break;
        default: out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// Reads a quoted text starting at line[pos] == '"'; pos ends after the closing quote.
std::optional<QString> Unquote(const QString &line, qsizetype &pos)
{
    if (pos >= line.size() || line[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return out;
        }
        if (c != QLatin1Char('\\') || pos + 1 >= line.size()) {
            out += c;
            continue;
        }
        const QChar next = line[++pos];
        switch (next.unicode()) {
        case 'n': out += QLatin1Char('\n'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 't': out += QLatin1Char('\t'); break;
        case '0': out += QChar(0); break;
        case '\\':
        case '"': out += next; break;
        default: out += QLatin1Char('\\'); out += next; // a hand-written lone backslash
        }
    }
    return std::nullopt; // no closing quote
}

} // namespace

// ---- hive in memory ----------------------------------------------------------------------

namespace {

template<typename Hive, typename Key>
Key &EnsureKey(Hive &hive, const QStringList &parts)
{
    auto it = hive.find(QString());
    if (it == hive.end())
        it = hive.emplace(QString(), Key{}).first;
    QString folded;
    QString path;
    for (const QString &part : parts) {
        if (!folded.isEmpty() || !path.isEmpty()) {
            folded += QLatin1Char('\\');
            path += QLatin1Char('\\');
        }
        folded += part.toCaseFolded();
        path += part;
        it = hive.find(folded);
        if (it == hive.end())
            it = hive.emplace(folded, Key{path, {}}).first;
        else
            path = it->second.path; // keep the spelling first written
    }
    return it->second;
}

template<typename Values, typename Value>
void SetValue(Values &values, Value value)
{
    for (auto &existing : values) {
        if (SameName(existing.name, value.name)) {
            value.name = existing.name;
            existing = std::move(value);
            return;
        }
    }
    values.push_back(std::move(value));
}

} // namespace

// ---- construction and names --------------------------------------------------------------

QString Registry::DefaultFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("VELA_REGISTRY_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QLatin1String("/vela/registry");
}

Registry::Registry()
    : Registry(DefaultFolder())
{}

Registry::Registry(const QString &folder)
    : m_folder(folder)
{}

QString Registry::FilePath(RegistryRoot root) const
{
    return m_folder + QLatin1Char('/') + RootName(root) + QLatin1String(".ini");
}

QString Registry::RootName(RegistryRoot root)
{
    for (const RootNames &r : Roots)
        if (r.root == root)
            return QLatin1String(r.name);
    return QLatin1String(Roots[0].name);
}

std::optional<RegistryRoot> Registry::RootFromName(const QString &name)
{
    for (const RootNames &r : Roots) {
        if (SameName(name, QLatin1String(r.name))
            || (r.shortName && SameName(name, QLatin1String(r.shortName))))
            return r.root;
    }
    return std::nullopt;
}

std::optional<RegistryLocation> Registry::ParseLocation(const QString &text)
{
    QString rest = text;
    while (rest.startsWith(QLatin1Char('\\')))
        rest.remove(0, 1);
    const qsizetype slash = rest.indexOf(QLatin1Char('\\'));
    const auto root = RootFromName(slash < 0 ? rest : rest.left(slash));
    if (!root)
        return std::nullopt;
    return RegistryLocation{*root, slash < 0 ? QString() : SplitKey(rest.mid(slash + 1)).join(QLatin1Char('\\'))};
}

QString Registry::DisplayName(RegistryRoot root, const QString &key)
{
    const QStringList parts = SplitKey(key);
    QString path = parts.join(QLatin1Char('\\'));
    if (const StoredKey *stored = FindKey(root, key))
        path = stored->path;
    return path.isEmpty() ? RootName(root) : RootName(root) + QLatin1Char('\\') + path;
}

bool Registry::Fail(const QString &message)
{
    m_lastError = message;
    return false;
}

bool Registry::CheckKeyName(const QStringList &parts, const QString &key)
{
    if (ValidKeyParts(parts))
        return true;
    return Fail(QStringLiteral("Key \"%1\" holds a line break or other control character. "
                               "Give the key without it.")
                    .arg(key));
}

// ---- file ----------------------------------------------------------------------------------

bool Registry::ReadFile(RegistryRoot root, QByteArray &bytes)
{
    QFile file(FilePath(root));
    bytes.clear();
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists())
            return true; // nothing stored under this root yet
        return Fail(QStringLiteral("Cannot read %1: %2. Make the file readable or point "
                                   "VELA_REGISTRY_DIR at another folder.")
                        .arg(file.fileName(), file.errorString()));
    }
    bytes = file.readAll();
    return true;
}

const Registry::Hive *Registry::Load(RegistryRoot root)
{
    QByteArray bytes;
    if (!ReadFile(root, bytes))
        return nullptr;
    CachedHive &cache = m_cache[Index(root)];
    if (cache.loaded && cache.bytes == bytes)
        return &cache.hive;

    Hive hive;
    EnsureKey<Hive, StoredKey>(hive, {});
    StoredKey *current = &hive.begin()->second;
    const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (const QString &rawLine : lines) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            QStringList parts = SplitKey(line.mid(1, line.size() - 2));
            if (!parts.isEmpty() && RootFromName(parts.first()))
                parts.removeFirst();
            current = ValidKeyParts(parts) ? &EnsureKey<Hive, StoredKey>(hive, parts) : nullptr;
            continue;
        }
        if (!current)
            continue; // values of a section that could not be read
        qsizetype pos = 0;
        StoredValue value;
        if (line.startsWith(QLatin1Char('@'))) {
            pos = 1;
        } else {
            const auto name = Unquote(line, pos);
            if (!name)
                continue;
            value.name = *name;
        }
        // Spaces around '=' are a hand-editing slip, not a reason to lose the value.
        while (pos < line.size() && line[pos].isSpace())
            ++pos;
        if (pos >= line.size() || line[pos] != QLatin1Char('='))
            continue;
        ++pos;
        while (pos < line.size() && line[pos].isSpace())
            ++pos;
        static const QString dword = QStringLiteral("dword:");
        if (line.mid(pos, dword.size()).compare(dword, Qt::CaseInsensitive) == 0) {
            const QString digits = line.mid(pos + dword.size()).trimmed();
            bool ok = false;
            const uint number = digits.toUInt(&ok, 16);
            if (!ok || digits.size() > 8)
                continue;
            value.type = RegistryValueType::Integer;
            value.number = number;
        } else {
            const auto text = Unquote(line, pos);
            if (!text || pos != line.size())
                continue;
            value.type = RegistryValueType::String;
            value.text = *text;
        }
        SetValue(current->values, std::move(value));
    }
    cache.loaded = true;
    cache.bytes = std::move(bytes);
    cache.hive = std::move(hive);
    return &cache.hive;
}

bool Registry::Save(RegistryRoot root, const Hive &hive)
{
    const QString rootName = RootName(root);
    QString text = QStringLiteral("; Registry store for %1. Change it with vela-reg; "
                                  "programs running meanwhile see the change.\n")
                       .arg(rootName);
    for (const auto &[folded, key] : hive) {
        if (folded.isEmpty() && key.values.empty())
            continue;
        text += QLatin1String("\n[") + rootName;
        if (!key.path.isEmpty())
            text += QLatin1Char('\\') + key.path;
        text += QLatin1String("]\n");
        for (const StoredValue &value : key.values) {
            text += value.name.isEmpty() ? QStringLiteral("@") : Quote(value.name);
            text += QLatin1Char('=');
            if (value.type == RegistryValueType::Integer)
                text += QStringLiteral("dword:%1").arg(value.number, 8, 16, QLatin1Char('0'));
            else
                text += Quote(value.text);
            text += QLatin1Char('\n');
        }
    }
    const QByteArray bytes = text.toUtf8();

    QSaveFile file(FilePath(root));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Fail(QStringLiteral("Cannot write %1: %2. Make the folder writable or point "
                                   "VELA_REGISTRY_DIR at another folder.")
                        .arg(file.fileName(), file.errorString()));

    CachedHive &cache = m_cache[Index(root)];
    cache.loaded = true;
    cache.bytes = bytes;
    cache.hive = hive;
    return true;
}

// Runs edit on a fresh copy of the root's keys while holding the file's lock, and saves the
// result when edit reports a change. edit returns nullopt to refuse (having called Fail),
// false for nothing to save, true to save.
template<typename Edit>
bool Registry::Modify(RegistryRoot root, Edit edit)
{
    if (!QDir().mkpath(m_folder))
        return Fail(QStringLiteral("Cannot create the registry folder %1. Make its parent "
                                   "writable or point VELA_REGISTRY_DIR at another folder.")
                        .arg(m_folder));
    QLockFile lock(FilePath(root) + QLatin1String(".lock"));
    // QLockFile's own waiting doubles its pauses up to seconds; writes take milliseconds,
    // so poll briefly instead.
    QDeadlineTimer deadline(LockTimeoutMs);
    bool locked = lock.tryLock(0);
    while (!locked && lock.error() == QLockFile::LockFailedError && !deadline.hasExpired()) {
        QThread::msleep(2 + QRandomGenerator::global()->bounded(8));
        locked = lock.tryLock(0);
    }
    if (!locked) {
        if (lock.error() == QLockFile::LockFailedError)
            return Fail(QStringLiteral("%1 stayed locked by another program for %2 seconds. "
                                       "Try again when it has finished writing.")
                            .arg(FilePath(root))
                            .arg(LockTimeoutMs / 1000));
        return Fail(QStringLiteral("Cannot lock %1 for writing. Make the folder writable or "
                                   "point VELA_REGISTRY_DIR at another folder.")
                        .arg(FilePath(root)));
    }
    const Hive *current = Load(root);
    if (!current)
        return false;
    Hive hive = *current;
    const std::optional<bool> changed = edit(hive);
    if (!changed)
        return false;
    return !*changed || Save(root, hive);
}

// ---- lookups -------------------------------------------------------------------------------

const Registry::StoredKey *Registry::FindKey(RegistryRoot root, const QString &key)
{
    const QStringList parts = SplitKey(key);
    const Hive *hive = Load(root);
    if (!hive)
        return nullptr;
    const auto it = hive->find(FoldedPath(parts));
    if (it == hive->end()) {
        Fail(QStringLiteral("Key %1\\%2 does not exist; check its spelling or create it "
                            "first.")
                 .arg(RootName(root), parts.join(QLatin1Char('\\'))));
        return nullptr;
    }
    return &it->second;
}

const Registry::StoredValue *Registry::FindValue(RegistryRoot root, const QString &key,
                                                 const QString &name)
{
    const StoredKey *stored = FindKey(root, key);
    if (!stored)
        return nullptr;
    for (const StoredValue &value : stored->values)
        if (SameName(value.name, name))
            return &value;
    Fail(QStringLiteral("Value \"%1\" does not exist under %2; check the name or "
                        "write the value first.")
             .arg(name, DisplayName(root, key)));
    return nullptr;
}

bool Registry::OpenKey(RegistryRoot root, const QString &key, bool create)
{
    const QStringList parts = SplitKey(key);
    if (!CheckKeyName(parts, key))
        return false;
    if (FindKey(root, key))
        return true;
    if (!create)
        return false;
    return Modify(root, [&](Hive &hive) -> std::optional<bool> {
        const bool existed = hive.count(FoldedPath(parts)) > 0; // another writer came first
        EnsureKey<Hive, StoredKey>(hive, parts);
        return !existed;
    });
}

bool Registry::KeyExists(RegistryRoot root, const QString &key)
{
    return FindKey(root, key) != nullptr;
}

bool Registry::ValueExists(RegistryRoot root, const QString &key, const QString &name)
{
    return FindValue(root, key, name) != nullptr;
}

std::optional<RegistryValueType> Registry::ValueType(RegistryRoot root, const QString &key,
                                                     const QString &name)
{
    if (const StoredValue *value = FindValue(root, key, name))
        return value->type;
    return std::nullopt;
}

std::optional<QString> Registry::ReadString(RegistryRoot root, const QString &key,
                                            const QString &name)
{
    const StoredValue *value = FindValue(root, key, name);
    if (!value)
        return std::nullopt;
    if (value->type == RegistryValueType::Integer)
        return QString::number(static_cast<qint32>(value->number));
    return value->text;
}

std::optional<qint32> Registry::ReadInteger(RegistryRoot root, const QString &key,
                                            const QString &name)
{
    const StoredValue *value = FindValue(root, key, name);
    if (!value)
        return std::nullopt;
    if (value->type != RegistryValueType::Integer) {
        Fail(QStringLiteral("Value \"%1\" under %2 holds a string, not an integer.")
                 .arg(value->name, DisplayName(root, key)));
        return std::nullopt;
    }
    return static_cast<qint32>(value->number);
}

std::optional<bool> Registry::ReadBool(RegistryRoot root, const QString &key,
                                       const QString &name)
{
    const auto number = ReadInteger(root, key, name);
    if (!number)
        return std::nullopt;
    return *number != 0;
}

// ---- writes --------------------------------------------------------------------------------

bool Registry::WriteString(RegistryRoot root, const QString &key, const QString &name,
                           const QString &value)
{
    const QStringList parts = SplitKey(key);
    if (!CheckKeyName(parts, key))
        return false;
    return Modify(root, [&](Hive &hive) -> std::optional<bool> {
        StoredValue stored;
        stored.name = name;
        stored.type = RegistryValueType::String;
        stored.text = value;
        SetValue(EnsureKey<Hive, StoredKey>(hive, parts).values, std::move(stored));
        return true;
    });
}

bool Registry::WriteInteger(RegistryRoot root, const QString &key, const QString &name,
                            qint32 value)
{
    const QStringList parts = SplitKey(key);
    if (!CheckKeyName(parts, key))
        return false;
    return Modify(root, [&](Hive &hive) -> std::optional<bool> {
        StoredValue stored;
        stored.name = name;
        stored.type = RegistryValueType::Integer;
        stored.number = static_cast<quint32>(value);
        SetValue(EnsureKey<Hive, StoredKey>(hive, parts).values, std::move(stored));
        return true;
    });
}

bool Registry::WriteBool(RegistryRoot root, const QString &key, const QString &name, bool value)
{
    return WriteInteger(root, key, name, value ? 1 : 0);
}

bool Registry::DeleteValue(RegistryRoot root, const QString &key, const QString &name)
{
    if (!ValueExists(root, key, name))
        return false;
    return Modify(root, [&](Hive &hive) -> std::optional<bool> {
        const auto it = hive.find(FoldedPath(SplitKey(key)));
        if (it != hive.end()) {
            auto &values = it->second.values;
            for (auto value = values.begin(); value != values.end(); ++value) {
                if (SameName(value->name, name)) {
                    values.erase(value);
                    return true;
                }
            }
        }
        Fail(QStringLiteral("Value \"%1\" does not exist under %2; check the name or "
                            "write the value first.")
                 .arg(name, DisplayName(root, key)));
        return std::nullopt; // another writer deleted it first
    });
}

bool Registry::DeleteKey(RegistryRoot root, const QString &key)
{
    const QString folded = FoldedPath(SplitKey(key));
    if (folded.isEmpty())
        return Fail(QStringLiteral("%1 is a root and cannot be deleted. Delete its keys one "
                                   "by one.")
                        .arg(RootName(root)));
    if (!KeyExists(root, key))
        return false;
    return Modify(root, [&](Hive &hive) -> std::optional<bool> {
        const auto first = hive.find(folded);
        if (first == hive.end()) {
            Fail(QStringLiteral("Key %1 does not exist; check its spelling or create it first.")
                     .arg(DisplayName(root, key)));
            return std::nullopt;
        }
        hive.erase(first);
        // Children are contiguous from the prefix on, but not right after the key itself:
        // "a b" sorts between "a" and "a\b".
        const QString childPrefix = folded + QLatin1Char('\\');
        auto child = hive.lower_bound(childPrefix);
        while (child != hive.end() && child->first.startsWith(childPrefix))
            child = hive.erase(child);
        return true;
    });
}

// ---- listing -------------------------------------------------------------------------------

QStringList Registry::ValueNames(RegistryRoot root, const QString &key)
{
    QStringList names;
    if (const StoredKey *stored = FindKey(root, key))
        for (const StoredValue &value : stored->values)
            names << value.name;
    return names;
}

QStringList Registry::SubKeys(RegistryRoot root, const QString &key)
{
    QStringList names;
    const QString folded = FoldedPath(SplitKey(key));
    if (!FindKey(root, key))
        return names;
    const Hive &hive = m_cache[Index(root)].hive; // just loaded by FindKey
    const QString prefix = folded.isEmpty() ? QString() : folded + QLatin1Char('\\');
    for (auto it = hive.lower_bound(prefix); it != hive.end(); ++it) {
        if (!it->first.startsWith(prefix))
            break;
        const QString rest = it->first.mid(prefix.size());
        if (rest.isEmpty() || rest.contains(QLatin1Char('\\')))
            continue;
        names << it->second.path.section(QLatin1Char('\\'), -1);
    }
    return names;
}

} // namespace platform
