#include "platform/Registry.h"

#include "RunProgram.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using platform::Registry;
using platform::RegistryRoot;

namespace {

using Result = ProgramResult;

Result RunVelaReg(const QString &storeFolder, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELA_REGISTRY_DIR"), storeFolder);
    return RunProgram(QStringLiteral(VELA_REG_PROGRAM), environment, arguments, 10000);
}

const QString Vela = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Zentrix\\Vela");

// One store, one session of commands in order, as an installer would type them.
TEST(VelaReg, ExitCodesAndOutput)
{
    QTemporaryDir dir;
    const struct
    {
        const char *what;
        QStringList arguments;
        int exitCode;
        QString out; // exact standard output
    } steps[] = {
        {"set a string",
         {"set", Vela, "Msde-ConnectionString", "Provider=SQLite;Data Source=/srv/a b.db"}, 0, ""},
        {"set a Boolean", {"set", Vela, "Msde-Failed", "true", "--bool"}, 0, ""},
        {"set a negative integer", {"set", "HKLM\\Software\\Zentrix\\Vela", "Count", "-12", "--int"}, 0, ""},
        {"set a value beginning with --", {"set", Vela, "Dashes", "--", "--x"}, 0, ""},
        {"set a line break", {"set", Vela, "Two", "a\nb"}, 0, ""},
        {"create a subkey", {"set", Vela + "\\Sub", "", "default"}, 0, ""},
        {"get ignores case",
         {"get", "hkey_local_machine\\SOFTWARE\\zentrix\\vela", "MSDE-CONNECTIONSTRING"}, 0,
         "Provider=SQLite;Data Source=/srv/a b.db\n"},
        {"get a Boolean", {"get", Vela, "Msde-Failed"}, 0, "1\n"},
        {"get an integer", {"get", Vela, "Count"}, 0, "-12\n"},
        {"get the exact text", {"get", Vela, "Two"}, 0, "a\nb\n"},
        {"get the default value", {"get", Vela + "\\Sub", ""}, 0, "default\n"},
        {"list",
         {"list", Vela},
         0,
         "Msde-ConnectionString\tREG_SZ\tProvider=SQLite;Data Source=/srv/a b.db\n"
         "Msde-Failed\tREG_DWORD\t1\n"
         "Count\tREG_DWORD\t-12\n"
         "Dashes\tREG_SZ\t--x\n"
         "Two\tREG_SZ\ta\\nb\n"
         "Sub\\\n"},
        {"get a missing value", {"get", Vela, "Missing"}, 1, ""},
        {"get from a missing key", {"get", "HKLM\\Software\\Nope", "X"}, 1, ""},
        {"list a missing key", {"list", "HKLM\\Software\\Nope"}, 1, ""},
        {"value in the other root", {"get", "HKCU\\Software\\Zentrix\\Vela", "Count"}, 1, ""},
        {"delete a value", {"delete", Vela, "count"}, 0, ""},
        {"delete it again", {"delete", Vela, "Count"}, 1, ""},
        {"--int with a word", {"set", Vela, "N", "abc", "--int"}, 2, ""},
        {"--int out of range", {"set", Vela, "N", "2147483648", "--int"}, 2, ""},
        {"--bool with a word", {"set", Vela, "N", "maybe", "--bool"}, 2, ""},
        {"--int and --bool", {"set", Vela, "N", "1", "--int", "--bool"}, 2, ""},
        {"--int on get", {"get", Vela, "Msde-Failed", "--int"}, 2, ""},
        {"unknown option", {"list", Vela, "--all"}, 2, ""},
        {"unknown root", {"get", "HKEY_LOCAL\\Software", "X"}, 2, ""},
        {"no root", {"get", "Software\\Zentrix\\Vela", "X"}, 2, ""},
        {"too few arguments", {"get", Vela}, 2, ""},
        {"too many arguments", {"list", Vela, "x"}, 2, ""},
        {"unknown command", {"query", Vela}, 2, ""},
        {"no command", {}, 2, ""},
        {"delete a root", {"delete", "HKLM"}, 2, ""},
        {"refused commands wrote nothing", {"get", Vela, "N"}, 1, ""},
        {"delete a key", {"delete", "hklm\\software\\zentrix"}, 0, ""},
        {"deleted with its subkeys", {"get", Vela + "\\Sub", ""}, 1, ""},
        {"deleted from its parent's list", {"list", "HKLM\\Software"}, 0, ""},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.what);
        const Result result = RunVelaReg(dir.path(), step.arguments);
        EXPECT_EQ(result.exitCode, step.exitCode) << result.err.toStdString();
        EXPECT_EQ(result.out, step.out);
        if (step.exitCode == 0) {
            EXPECT_EQ(result.err, QString());
        } else {
            // One line, naming the tool.
            EXPECT_TRUE(result.err.startsWith(QLatin1String("vela-reg: "))) << result.err.toStdString();
            EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1) << result.err.toStdString();
        }
    }
}

TEST(VelaReg, HelpPrintsTheUsage)
{
    QTemporaryDir dir;
    const Result result = RunVelaReg(dir.path(), {"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.contains(QLatin1String("vela-reg set KEY NAME VALUE [--bool|--int]")));
    EXPECT_TRUE(result.out.contains(QLatin1String("vela-reg delete KEY [NAME]")));
}

// The monitor keeps its store open all day; an installer changes a value meanwhile.
TEST(VelaReg, ARunningProgramSeesTheChange)
{
    QTemporaryDir dir;
    Registry monitor(dir.path());
    const QString key = QStringLiteral("\\Software\\Zentrix\\Vela");
    ASSERT_TRUE(monitor.WriteBool(RegistryRoot::LocalMachine, key, QStringLiteral("Msde-Failed"), true));

    ASSERT_EQ(RunVelaReg(dir.path(), {"set", Vela, "Msde-Failed", "0", "--bool"}).exitCode, 0);
    EXPECT_EQ(monitor.ReadBool(RegistryRoot::LocalMachine, key, QStringLiteral("Msde-Failed")), false);

    ASSERT_TRUE(monitor.WriteString(RegistryRoot::LocalMachine, key, QStringLiteral("Küche"),
                                    QStringLiteral("Grüße \"x\"")));
    const Result read = RunVelaReg(dir.path(), {"get", Vela, "küche"});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out, QStringLiteral("Grüße \"x\"\n"));
}

// Writers lock the file and re-read it, so values written at the same moment all survive.
TEST(VelaReg, SimultaneousWritersLoseNothing)
{
    QTemporaryDir dir;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELA_REGISTRY_DIR"), dir.path());
    const int writers = 12;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < writers; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        processes.back()->setProcessEnvironment(environment);
        processes.back()->start(QStringLiteral(VELA_REG_PROGRAM),
                                {"set", Vela, QStringLiteral("Till%1").arg(i), QString::number(i),
                                 "--int"});
    }
    for (auto &process : processes) {
        ASSERT_TRUE(process->waitForFinished(10000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    Registry store(dir.path());
    for (int i = 0; i < writers; ++i)
        EXPECT_EQ(store.ReadInteger(RegistryRoot::LocalMachine, QStringLiteral("Software\\Zentrix\\Vela"),
                                    QStringLiteral("Till%1").arg(i)),
                  i);
}

TEST(VelaReg, AnUnwritableStoreExitsWithOne)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const Result result = RunVelaReg(dir.filePath(QStringLiteral("plain-file/registry")),
                                     {"set", Vela, "Msde-Failed", "1", "--bool"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.contains(QLatin1String("VELA_REGISTRY_DIR"))) << result.err.toStdString();
    EXPECT_EQ(result.err.count(QLatin1Char('\n')), 1);
}

} // namespace
