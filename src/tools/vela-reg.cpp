// vela-reg: reads and changes the registry store from a shell, as reg.exe does on Windows.
// Installers and support staff use it to point the kitchen monitor at a database while the
// programs run.

#include "platform/Registry.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <optional>

using platform::Registry;
using platform::RegistryLocation;
using platform::RegistryValueType;

namespace {

enum ExitCode { Success = 0, NotFound = 1, BadUsage = 2 };

const char Usage[] =
    "Usage:\n"
    "  vela-reg set KEY NAME VALUE [--bool|--int]\n"
    "  vela-reg get KEY NAME\n"
    "  vela-reg list KEY\n"
    "  vela-reg delete KEY [NAME]\n"
    "\n"
    "KEY is written as on Windows, root first, e.g.\n"
    "  'HKEY_LOCAL_MACHINE\\Software\\Zentrix\\Vela'\n"
    "Roots: HKEY_LOCAL_MACHINE (HKLM), HKEY_CURRENT_USER (HKCU), HKEY_CLASSES_ROOT (HKCR),\n"
    "HKEY_USERS (HKU), HKEY_CURRENT_CONFIG (HKCC), HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA.\n"
    "Keys and value names ignore letter case. An empty NAME ('') is the key's default value.\n"
    "\n"
    "set     stores VALUE as a string (REG_SZ); --int stores a 32-bit integer (REG_DWORD),\n"
    "        --bool stores 1 or 0 (REG_DWORD) for 1/0, true/false, yes/no. Missing keys are\n"
    "        created. Put -- before a VALUE that begins with --.\n"
    "get     prints the value and a newline; integers in decimal.\n"
    "list    prints one line per value, NAME<TAB>TYPE<TAB>VALUE, with TYPE REG_SZ or\n"
    "        REG_DWORD (a tab, carriage return or line feed inside a value is shown as\n"
    "        \\t, \\r, \\n; the default value's NAME as (Default)), then one line per\n"
    "        subkey: its name followed by a backslash.\n"
    "delete  removes the value NAME, or without NAME the key with all its values and subkeys.\n"
    "\n"
    "The store is the folder named by VELA_REGISTRY_DIR, else ~/.config/vela/registry.\n"
    "\n"
    "Exit status: 0 done; 1 the key or value does not exist, or the store could not be read\n"
    "or written; 2 wrong usage (unknown command or root, wrong number of arguments, a VALUE\n"
    "that is not a number with --int or a Boolean with --bool, a whole root to delete).\n";

void Print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

int Error(int code, const QString &message)
{
    Print(stderr, QStringLiteral("vela-reg: ") + message + QLatin1Char('\n'));
    return code;
}

int UsageError(const QString &message)
{
    return Error(BadUsage, message + QStringLiteral(" Run vela-reg --help for the usage."));
}

std::optional<bool> ParseBool(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("yes"))
        return true;
    if (t == QLatin1String("0") || t == QLatin1String("false") || t == QLatin1String("no"))
        return false;
    return std::nullopt;
}

QString ForList(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return text;
}

int Run(const QStringList &arguments)
{
    enum class Kind { String, Integer, Boolean };
    Kind kind = Kind::String;
    bool kindGiven = false;
    QStringList words;
    bool optionsEnded = false;
    for (const QString &argument : arguments) {
        if (optionsEnded
            || (!argument.startsWith(QLatin1String("--")) && argument != QLatin1String("-h"))) {
            words << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            Print(stdout, QString::fromLatin1(Usage));
            return Success;
        } else if (argument == QLatin1String("--int") || argument == QLatin1String("--bool")) {
            if (kindGiven)
                return UsageError(QStringLiteral("--int and --bool given together; give one."));
            kindGiven = true;
            kind = argument == QLatin1String("--int") ? Kind::Integer : Kind::Boolean;
        } else {
            return UsageError(QStringLiteral("Unknown option %1.").arg(argument));
        }
    }
    if (words.isEmpty())
        return UsageError(QStringLiteral("No command given."));

    const QString command = words.takeFirst();
    struct Shape
    {
        const char *name;
        int minimum;
        int maximum;
        const char *arguments;
    };
    static const Shape Shapes[] = {
        {"set", 3, 3, "KEY NAME VALUE"},
        {"get", 2, 2, "KEY NAME"},
        {"list", 1, 1, "KEY"},
        {"delete", 1, 2, "KEY [NAME]"},
    };
    const Shape *shape = nullptr;
    for (const Shape &s : Shapes)
        if (command == QLatin1String(s.name))
            shape = &s;
    if (!shape)
        return UsageError(QStringLiteral("Unknown command \"%1\"; the commands are set, get, "
                                         "list and delete.")
                              .arg(command));
    if (words.size() < shape->minimum || words.size() > shape->maximum)
        return UsageError(QStringLiteral("%1 takes %2, but %3 argument(s) were given.")
                              .arg(command, QLatin1String(shape->arguments))
                              .arg(words.size()));
    if (kindGiven && command != QLatin1String("set"))
        return UsageError(QStringLiteral("--int and --bool belong to set only."));

    const std::optional<RegistryLocation> location = Registry::ParseLocation(words[0]);
    if (!location)
        return UsageError(QStringLiteral("\"%1\" does not begin with a registry root; begin "
                                         "KEY with HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKLM "
                                         "or HKCU, for example.")
                              .arg(words[0]));
    const auto root = location->root;
    const QString &key = location->key;
    Registry registry;

    if (command == QLatin1String("set")) {
        const QString &name = words[1];
        const QString &value = words[2];
        bool written = false;
        if (kind == Kind::Integer) {
            bool ok = false;
            const int number = value.trimmed().toInt(&ok, 10);
            if (!ok)
                return UsageError(QStringLiteral("\"%1\" is not a 32-bit integer; give a whole "
                                                 "number from -2147483648 to 2147483647.")
                                      .arg(value));
            written = registry.WriteInteger(root, key, name, number);
        } else if (kind == Kind::Boolean) {
            const auto flag = ParseBool(value);
            if (!flag)
                return UsageError(QStringLiteral("\"%1\" is not a Boolean; give 1, 0, true, "
                                                 "false, yes or no.")
                                      .arg(value));
            written = registry.WriteBool(root, key, name, *flag);
        } else {
            written = registry.WriteString(root, key, name, value);
        }
        return written ? Success : Error(NotFound, registry.LastError());
    }

    if (command == QLatin1String("get")) {
        const auto value = registry.ReadString(root, key, words[1]);
        if (!value)
            return Error(NotFound, registry.LastError());
        Print(stdout, *value + QLatin1Char('\n'));
        return Success;
    }

    if (command == QLatin1String("list")) {
        if (!registry.KeyExists(root, key))
            return Error(NotFound, registry.LastError());
        QString out;
        for (const QString &name : registry.ValueNames(root, key)) {
            const auto type = registry.ValueType(root, key, name);
            const auto value = registry.ReadString(root, key, name);
            if (!type || !value)
                continue; // deleted by another program meanwhile
            out += (name.isEmpty() ? QStringLiteral("(Default)") : ForList(name))
                   + QLatin1Char('\t')
                   + (*type == RegistryValueType::Integer ? QLatin1String("REG_DWORD")
                                                          : QLatin1String("REG_SZ"))
                   + QLatin1Char('\t') + ForList(*value) + QLatin1Char('\n');
        }
        for (const QString &subKey : registry.SubKeys(root, key))
            out += subKey + QLatin1String("\\\n");
        Print(stdout, out);
        return Success;
    }

    // delete
    const bool deleted = words.size() == 2 ? registry.DeleteValue(root, key, words[1])
                                           : registry.DeleteKey(root, key);
    if (!deleted)
        return Error(key.isEmpty() && words.size() == 1 ? BadUsage : NotFound,
                     registry.LastError());
    return Success;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return Run(arguments);
}
