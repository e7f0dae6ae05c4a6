#include "TestDatabase.h"

#include "platform/ConnectionEditor.h"
#include "platform/ConnectionString.h"
#include "platform/DbSchema.h"
#include "platform/DialogSeam.h"
#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(SystemInfo, MachineAndProgramFacts)
{
    const QString name = ComputerName();
    EXPECT_FALSE(name.isEmpty());
    EXPECT_FALSE(name.contains(QLatin1Char('.'))) << name.toStdString();
    EXPECT_FALSE(LogonName().isEmpty());
    EXPECT_EQ(ProgramVersion(), QStringLiteral(VELA_VERSION));
    EXPECT_EQ(ProgramPath(), QCoreApplication::applicationFilePath());
    EXPECT_TRUE(QFileInfo(ProgramPath()).isExecutable());
}

TEST(SystemInfo, DriveCIsTheRootVolumeAndStable)
{
    const quint32 serial = RootVolumeSerial();
    EXPECT_EQ(RootVolumeSerial(), serial);
    for (const char *c : {"C", "c", "C:", "c:\\", " C:/ "})
        EXPECT_EQ(VolumeSerial(QString::fromLatin1(c)), serial) << c;
    for (const char *other : {"D", "A:", "", "CC"})
        EXPECT_EQ(VolumeSerial(QString::fromLatin1(other)), 0u) << other;
}

TEST(SystemInfo, SerialFromUuid)
{
    const struct
    {
        const char *uuid;
        std::optional<quint32> serial;
    } cases[] = {
        {"1a2b3c4d-5e6f-7081-92a3-b4c5d6e7f809", 0x1A2B3C4D}, // ext4, btrfs, xfs
        {"1A2B-3C4D", 0x1A2B3C4D}, // FAT: the serial Windows shows
        {"0a2b3c4d", 0x0A2B3C4D},
        {"12-34-56-78-zz", 0x12345678}, // only the first eight digits count
        {"1A2B-3C4", std::nullopt},
        {"1a2b3c4g-0000", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SerialFromUuid(QString::fromLatin1(c.uuid)), c.serial) << c.uuid;
}

// A fake /dev/disk/by-uuid: links named after UUIDs pointing at stand-in device files.
TEST(SystemInfo, RootSerialFromMountTableAndUuidLinks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("dev")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("by-uuid")));
    for (const char *device : {"sda1", "sda2", "sdb 1"}) {
        QFile f(dir.filePath(QStringLiteral("dev/") + QLatin1String(device)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const auto link = [&](const char *uuid, const char *device) {
        ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("dev/") + QLatin1String(device)),
                                dir.filePath(QStringLiteral("by-uuid/") + QLatin1String(uuid))));
    };
    link("dead-beef", "sda1");
    link("1a2b3c4d-5e6f-7081-92a3-b4c5d6e7f809", "sda2");
    link("0badcafe-0000-0000-0000-000000000000", "sdb 1");
    const QString uuids = dir.filePath(QStringLiteral("by-uuid"));
    const QString dev = dir.filePath(QStringLiteral("dev/"));

    const auto mountLine = [&](const char *mountPoint, const QString &source) {
        return QStringLiteral("25 1 8:2 / %1 rw,relatime shared:1 - ext4 %2 rw\n")
            .arg(QLatin1String(mountPoint), source);
    };
    const struct
    {
        const char *what;
        QString mountInfo;
        std::optional<quint32> serial;
    } cases[] = {
        {"root on sda2", mountLine("/boot", dev + "sda1") + mountLine("/", dev + "sda2"),
         0x1A2B3C4D},
        {"the last mount on / wins", mountLine("/", dev + "sda2") + mountLine("/", dev + "sda1"),
         0xDEADBEEF},
        {"escaped blank in the source", mountLine("/", dev + "sdb\\0401"), 0x0BADCAFE},
        {"no root mount", mountLine("/boot", dev + "sda1"), std::nullopt},
        {"root on a device without a link", mountLine("/", QStringLiteral("overlay")),
         std::nullopt},
        {"empty table", QString(), std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RootSerialFromUuidLinks(c.mountInfo, uuids), c.serial) << c.what;
}

TEST(ConnectionEditor, ComposeSqlServerString)
{
    const struct
    {
        const char *what;
        QString server;
        int port;
        QString password;
        QString expected;
    } cases[] = {
        {"plain", "10.0.0.5", 0, "pos",
         "Provider=SQLOLEDB.1;Persist Security Info=True;User ID=vela;Password=pos;"
         "Initial Catalog=Vela;Data Source=10.0.0.5;"},
        {"port", "db.local", 1433, "pos",
         "Provider=SQLOLEDB.1;Persist Security Info=True;User ID=vela;Password=pos;"
         "Initial Catalog=Vela;Data Source=db.local,1433;"},
        {"password with a semicolon", "db", 0, "a;b\"c",
         "Provider=SQLOLEDB.1;Persist Security Info=True;User ID=vela;Password=\"a;b\"\"c\";"
         "Initial Catalog=Vela;Data Source=db;"},
        {"password with blanks at its ends", "db", 0, " pw ",
         "Provider=SQLOLEDB.1;Persist Security Info=True;User ID=vela;Password=\" pw \";"
         "Initial Catalog=Vela;Data Source=db;"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString s = ComposeSqlServerString(c.server, c.port, QStringLiteral("Vela"),
                                                 QStringLiteral("vela"), c.password);
        EXPECT_EQ(s, c.expected);
        // Whatever the password holds, it reads back whole.
        const ConnectionString parts(s);
        EXPECT_EQ(parts.Value(QStringLiteral("Password")), c.password);
        EXPECT_EQ(parts.Value(QStringLiteral("Initial Catalog")), QStringLiteral("Vela"));
    }
}

template<typename T> T *Field(QWidget &dialog, const char *name)
{
    T *w = dialog.findChild<T *>(QLatin1String(name));
    EXPECT_TRUE(w) << name;
    return w;
}

void Retype(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text); // as typed: the editor tracks user edits
}

TEST(ConnectionEditor, FieldsLoadFromTheStringAndMakeTheResult)
{
    const QString initial
        = ComposeSqlServerString(QStringLiteral("10.0.0.5"), 1433, QStringLiteral("Vela"),
                                 QStringLiteral("vela"), QStringLiteral("pos"));
    ConnectionEditorDialog dialog(initial);
    EXPECT_TRUE(Field<QRadioButton>(dialog, "radSqlServer")->isChecked());
    EXPECT_EQ(Field<QLineEdit>(dialog, "txtServer")->text(), QStringLiteral("10.0.0.5"));
    EXPECT_EQ(Field<QSpinBox>(dialog, "sePort")->value(), 1433);
    EXPECT_EQ(Field<QLineEdit>(dialog, "txtDatabase")->text(), QStringLiteral("Vela"));
    EXPECT_EQ(Field<QLineEdit>(dialog, "txtUser")->text(), QStringLiteral("vela"));
    EXPECT_EQ(Field<QLineEdit>(dialog, "txtPassword")->text(), QStringLiteral("pos"));
    EXPECT_EQ(dialog.Result(), initial);

    Retype(Field<QLineEdit>(dialog, "txtServer"), QStringLiteral("kitchen-db"));
    Field<QSpinBox>(dialog, "sePort")->setValue(0);
    Retype(Field<QLineEdit>(dialog, "txtPassword"), QStringLiteral("s;cret"));
    EXPECT_EQ(dialog.Result(),
              ComposeSqlServerString(QStringLiteral("kitchen-db"), 0, QStringLiteral("Vela"),
                                     QStringLiteral("vela"), QStringLiteral("s;cret")));

    Field<QRadioButton>(dialog, "radSqlite")->click();
    Retype(Field<QLineEdit>(dialog, "txtFile"), QStringLiteral("/srv/vela/kitchen.db"));
    EXPECT_EQ(dialog.Result(), SqliteConnectionString(QStringLiteral("/srv/vela/kitchen.db")));

    ConnectionEditorDialog sqlite(SqliteConnectionString(QStringLiteral("/tmp/a.db")));
    EXPECT_TRUE(Field<QRadioButton>(sqlite, "radSqlite")->isChecked());
    EXPECT_EQ(Field<QLineEdit>(sqlite, "txtFile")->text(), QStringLiteral("/tmp/a.db"));
    EXPECT_EQ(sqlite.Result(), SqliteConnectionString(QStringLiteral("/tmp/a.db")));
}

TEST(ConnectionEditor, AStringOfAnotherProviderIsKeptUnlessEdited)
{
    const QString odbc
        = QStringLiteral("Provider=MSDASQL.1;Persist Security Info=True;User ID=vela;"
                         "Data Source=shop;Extended Properties=\"DSN=shop\"");
    ConnectionEditorDialog dialog(odbc);
    EXPECT_EQ(dialog.Result(), odbc);
    Retype(Field<QLineEdit>(dialog, "txtServer"), QStringLiteral("db"));
    EXPECT_TRUE(dialog.Result().startsWith(QLatin1String("Provider=SQLOLEDB.1;")))
        << dialog.Result().toStdString();
}

// What the keeper sees through the seam: the answer's string on OK, the initial string on
// Cancel or when OK brings no string.
TEST(ConnectionEditor, OkGivesTheAnswerAndCancelTheInitialString)
{
    const QString initial = SqliteConnectionString(QStringLiteral("/srv/vela/kitchen.db"));
    const QString edited = SqliteConnectionString(QStringLiteral("/srv/vela/new.db"));
    const struct
    {
        const char *what;
        DialogAnswer answer;
        QString expected;
    } cases[] = {
        {"OK with a new string", DialogAnswer(mrOk, edited), edited},
        {"Cancel", DialogAnswer(mrCancel, edited), initial},
        {"OK without a string", DialogAnswer(mrOk), initial},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedResponder dialogs;
        dialogs.Queue(c.answer);
        EXPECT_EQ(EditConnectionStringDialog(initial, QStringLiteral("Galley database")),
                  c.expected);
        ASSERT_EQ(dialogs.Requests().size(), 1);
        EXPECT_EQ(dialogs.Last().Kind, QStringLiteral("ConnectionEditor"));
        EXPECT_EQ(dialogs.Last().Text, initial);
        EXPECT_EQ(dialogs.Last().Caption, QStringLiteral("Galley database"));
    }
}

} // namespace
