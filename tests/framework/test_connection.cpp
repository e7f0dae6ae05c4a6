#include "TestDatabase.h"

#include "framework/clsEZXException.h"
#include "framework/clsZxAdoConnection.h"
#include "platform/DbError.h"
#include "platform/DbSchema.h"
#include "platform/DialogSeam.h"
#include "platform/Registry.h"
#include "platform/SqlConnection.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using platform::DialogAnswer;
using platform::DialogRequest;
using platform::Registry;
using platform::RegistryRoot;

namespace {

const RegistryRoot LM = RegistryRoot::LocalMachine;
const QString VelaKey = QStringLiteral("\\Software\\Zentrix\\Vela");
const QString StringValue = QStringLiteral("Msde-ConnectionString");
const QString FailedValue = QStringLiteral("Msde-Failed");

const QString FirstRunText
    = QStringLiteral("Use the following window to specify a connection string for [Vela:Msde]");
const QString LastAttemptFailedText
    = QStringLiteral("The last attempt to connect to [Vela:Msde] failed\r\r"
                     "Use the next window to verify the connection settings are correct");

TConnectionDefaults SqlServerDefaults()
{
    TConnectionDefaults d;
    d.ConnectionType = 0;
    d.UserID = QStringLiteral("vela");
    d.Password = QStringLiteral("pos");
    d.InitialCatalog = QStringLiteral("VelaData");
    d.DataSource = QStringLiteral("192.168.1.10");
    return d;
}

const QString SqlServerDefaultString
    = QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=vela;Password=pos;"
                     "Initial Catalog=VelaData;Data Source=192.168.1.10;");

// A keeper set up as the start-up sets it up, on a fresh registry folder and database,
// with every dialog answered by a script: messages with OK, the connection editor by
// `editorAnswer` (Cancel when unset).
class ConnectionTest : public ::testing::Test
{
protected:
    ConnectionTest()
    {
        dialogs.SetHandler([this](const DialogRequest &r) -> DialogAnswer {
            if (r.Kind == QLatin1String("MsgDlg"))
                return platform::mrOk;
            if (r.Kind == QLatin1String("ConnectionEditor") && editorAnswer)
                return DialogAnswer(platform::mrOk, *editorAnswer);
            return platform::mrCancel;
        });
        SetUpKeeper(keeper);
    }

    static void SetUpKeeper(TZXAdoConnection &k)
    {
        k.ComposeConnectionString(SqlServerDefaults());
        k.SetApplicationKey(QStringLiteral("Vela"));
        k.ConnectionName = QStringLiteral("Msde");
    }

    QString BadString() const
    {
        return platform::SqliteConnectionString(dir.filePath(QStringLiteral("missing/none.db")));
    }
    std::optional<QString> Stored() { return reg.ReadString(LM, VelaKey, StringValue); }
    std::optional<qint32> Failed() { return reg.ReadInteger(LM, VelaKey, FailedValue); }
    QStringList Shown() const
    {
        QStringList kinds;
        for (const DialogRequest &r : dialogs.Requests())
            kinds << r.Kind;
        return kinds;
    }

    testsupport::TempRegistry tempRegistry;
    testsupport::TestDatabase db;
    QTemporaryDir dir;
    platform::ScriptedResponder dialogs;
    std::optional<QString> editorAnswer;
    Registry reg;
    TZXAdoConnection keeper;
    platform::SqlConnection con;
};

TEST_F(ConnectionTest, ComposesTheDefaultStringOfEachType)
{
    TConnectionDefaults d = SqlServerDefaults();
    d.Folder = QStringLiteral("C:\\Data");
    d.DatabaseFile = QStringLiteral("C:\\Data\\shop.mdb");
    const QString common = QStringLiteral("Persist Security Info=True;User ID=vela;Password=pos;"
                                          "Initial Catalog=VelaData;Data Source=192.168.1.10;");
    const struct
    {
        const char *what;
        std::uint8_t type;
        QString expected;
    } cases[] = {
        {"SQL Server", 0, QStringLiteral("Provider=SQLOLEDB.1;") + common},
        {"FoxPro tables", 1,
         QStringLiteral("Provider=MSDASQL.1;") + common
             + QStringLiteral("Extended Properties=\"Driver={Microsoft Visual FoxPro Driver};"
                              "SourceDB=C:\\Data;SourceType=DBF;Exclusive=No;BackgroundFetch=Yes;"
                              "Collate=Machine;Null=No;Deleted=Yes;\"")},
        {"Access database", 2,
         QStringLiteral("Provider=MSDASQL.1;") + common
             + QStringLiteral("DRIVER=Microsoft Access Driver (*.mdb);UID=admin;UserCommitSync=Yes;"
                              "Threads=3;SafeTransactions=0;PageTimeout=5;MaxScanRows=8;"
                              "MaxBufferSize=2048;FIL=MS Access;DriverId=25;DefaultDir=C:\\Data;"
                              "DBQ=C:\\Data\\shop.mdb;")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        d.ConnectionType = c.type;
        keeper.ComposeConnectionString(d);
        EXPECT_EQ(keeper.DefaultConnectionString, c.expected);
        EXPECT_EQ(keeper.Defaults.ConnectionType, c.type);
    }
    EXPECT_EQ(keeper.RegistryKey, VelaKey);
}

// The first run asks for a string, offers the composed default, and stores the answer
// before trying it: a bad answer is kept (and flagged) for the next start to correct.
TEST_F(ConnectionTest, FirstRunAsksAndStoresTheAnswerBeforeTheAttempt)
{
    const struct
    {
        const char *what;
        bool good;
    } cases[] = {{"a string that opens", true}, {"a string that fails", false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        reg.DeleteKey(LM, QStringLiteral("Software"));
        dialogs.Clear();
        const QString answer = c.good ? db.ConnectionString() : BadString();
        editorAnswer = answer;

        if (c.good) {
            EXPECT_TRUE(keeper.Connect(con));
            EXPECT_TRUE(con.Connected());
        } else {
            EXPECT_THROW(keeper.Connect(con), std::exception);
            EXPECT_FALSE(con.Connected());
        }

        ASSERT_EQ(Shown(), (QStringList {"MsgDlg", "ConnectionEditor"}));
        const DialogRequest &message = dialogs.Requests()[0];
        EXPECT_EQ(message.Text, FirstRunText);
        EXPECT_EQ(message.Type, platform::mtInformation);
        EXPECT_EQ(message.Buttons, platform::MsgDlgButtons {platform::mbOK});
        EXPECT_EQ(dialogs.Requests()[1].Text, SqlServerDefaultString);
        EXPECT_EQ(Stored(), answer);
        EXPECT_EQ(Failed(), c.good ? 0 : 1);
    }
}

TEST_F(ConnectionTest, CancelOnFirstRunStoresTheOfferedDefault)
{
    EXPECT_EQ(keeper.GetConnectionString(), SqlServerDefaultString);
    EXPECT_EQ(Shown(), (QStringList {"MsgDlg", "ConnectionEditor"}));
    EXPECT_EQ(Stored(), SqlServerDefaultString);
}

TEST_F(ConnectionTest, AStoredStringThatOpensShowsNoDialog)
{
    ASSERT_TRUE(reg.WriteString(LM, VelaKey, StringValue, db.ConnectionString()));
    EXPECT_TRUE(keeper.Connect(con));
    EXPECT_TRUE(con.Connected());
    EXPECT_TRUE(dialogs.Requests().isEmpty());
    EXPECT_EQ(Failed(), 0);
    // The connection works: the schema is there.
    EXPECT_NO_THROW(con.Execute(QStringLiteral("SELECT COUNT(*) FROM SysData")));
}

TEST_F(ConnectionTest, AFailedAttemptMakesTheNextStartAskToVerifyTheStoredString)
{
    ASSERT_TRUE(reg.WriteString(LM, VelaKey, StringValue, BadString()));
    EXPECT_THROW(keeper.Connect(con), platform::DbError);
    EXPECT_TRUE(dialogs.Requests().isEmpty()); // a stored string is tried without asking
    EXPECT_EQ(Failed(), 1);

    // The next start: the stored string is offered for correction.
    TZXAdoConnection nextStart;
    SetUpKeeper(nextStart);
    editorAnswer = db.ConnectionString();
    EXPECT_TRUE(nextStart.Connect(con));
    ASSERT_EQ(Shown(), (QStringList {"MsgDlg", "ConnectionEditor"}));
    EXPECT_EQ(dialogs.Requests()[0].Text, LastAttemptFailedText);
    EXPECT_EQ(dialogs.Requests()[0].Type, platform::mtInformation);
    EXPECT_EQ(dialogs.Requests()[1].Text, BadString());
    EXPECT_EQ(Stored(), db.ConnectionString());
    EXPECT_EQ(Failed(), 0);

    // And the one after that connects without a word.
    dialogs.Clear();
    EXPECT_TRUE(nextStart.Connect(con));
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

TEST_F(ConnectionTest, EditConnectionStringWritesOnlyARealChange)
{
    const QString stored = QStringLiteral("Provider=SQLite;Data Source=/srv/vela/kitchen.db");
    const struct
    {
        const char *what;
        std::optional<QString> before;
        std::optional<QString> answer; // unset: the user cancels
        bool changed;
    } cases[] = {
        {"letter case only", stored, stored.toUpper(), false},
        {"cancel", stored, std::nullopt, false},
        {"unchanged OK", stored, stored, false},
        {"another file", stored, QStringLiteral("Provider=SQLite;Data Source=/srv/vela/other.db"),
         true},
        {"nothing stored, cancel", std::nullopt, std::nullopt, false},
        {"nothing stored, a new string", std::nullopt, db.ConnectionString(), true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        reg.DeleteKey(LM, QStringLiteral("Software"));
        if (c.before) {
            ASSERT_TRUE(reg.WriteString(LM, VelaKey, StringValue, *c.before));
        }
        dialogs.Clear();
        editorAnswer = c.answer;

        EXPECT_EQ(keeper.EditConnectionString(), c.changed);
        ASSERT_EQ(Shown(), QStringList {"ConnectionEditor"});
        EXPECT_EQ(dialogs.Requests()[0].Text, c.before.value_or(SqlServerDefaultString));
        EXPECT_EQ(Stored(), c.changed ? c.answer : c.before);
    }
}

TEST_F(ConnectionTest, AnUnusableStoreFailsQuietlyExceptForTheFailedFlag)
{
    QFile plain(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    qputenv("VELA_REGISTRY_DIR",
            QFile::encodeName(dir.filePath(QStringLiteral("plain-file/registry"))));
    TZXAdoConnection broken;
    SetUpKeeper(broken);
    const QString expected
        = QStringLiteral("Failed to open the registry key \\Software\\Zentrix\\Vela");

    const auto message = [](const auto &call) -> QString {
        try {
            call();
        } catch (const EZXException &e) {
            return e.Message();
        } catch (const std::exception &e) {
            return QStringLiteral("other exception: ") + QString::fromUtf8(e.what());
        }
        return QStringLiteral("no exception");
    };
    EXPECT_EQ(message([&] { broken.SetFailed(true); }), expected);
    EXPECT_EQ(message([&] { broken.GetFailed(); }), expected);
    // Connect's own failure (no string) is replaced by the flag's.
    EXPECT_EQ(message([&] { broken.Connect(con); }), expected);

    EXPECT_EQ(broken.GetConnectionString(), QString());
    EXPECT_FALSE(broken.EditConnectionString());
    broken.WriteConnectionString(QStringLiteral("Provider=SQLite;Data Source=x.db"));
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

// The settings window asks for a restart when EditConnectionString says the string changed;
// a string that could not be stored must not say so.
TEST_F(ConnectionTest, AnEditThatCannotBeStoredIsNotReportedAsAChange)
{
    const QString stored = QStringLiteral("Provider=SQLite;Data Source=/srv/vela/kitchen.db");
    ASSERT_TRUE(reg.WriteString(LM, VelaKey, StringValue, stored));
    // The key still opens, but no writer can take the store's lock (the write gives up after
    // the store's lock timeout of a few seconds).
    ASSERT_TRUE(QDir().mkpath(reg.FilePath(LM) + QStringLiteral(".lock")));
    editorAnswer = db.ConnectionString();

    EXPECT_FALSE(keeper.EditConnectionString());
    EXPECT_EQ(Shown(), QStringList {"ConnectionEditor"});
    EXPECT_EQ(Stored(), stored);
}

} // namespace
