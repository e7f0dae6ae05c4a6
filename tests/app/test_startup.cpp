#include "TestDatabase.h"

#include "app/datamodVela.h"
#include "app/modStartup.h"

#include "framework/clsEZXException.h"
#include "orders/clsInvoices.h"
#include "suite/clsVelaSettings.h"
#include "tills/FTillIDSelect.h"

#include "platform/DialogSeam.h"
#include "platform/Registry.h"
#include "platform/SqlQuery.h"
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

using platform::RegistryRoot;

namespace {

const QString kKey = QStringLiteral("\\Software\\Zentrix\\Vela");

class Startup : public ::testing::Test
{
protected:
    Startup()
        : db(true)
    {}
    void TearDown() override { ShutdownStartup(); }

    void StoreConnectionString(const QString &cs)
    {
        ASSERT_TRUE(reg.WriteString(RegistryRoot::LocalMachine, kKey, "Msde-ConnectionString", cs));
    }
    void RegisterThisComputerAs(int till)
    {
        db.Exec(QString("DELETE FROM Tills WHERE TillID = %1").arg(till));
        db.Exec(QString("INSERT INTO Tills (TillID, [Computer Name], [HD Serial], [Login Name]) VALUES (%1, '%2', '0', 'x')")
                    .arg(till)
                    .arg(platform::ComputerName().toLower()));
    }
    QStringList SysDataRows(const QString &cls)
    {
        QStringList rows;
        platform::SqlQuery q(&db.Connection());
        q.SetSQL("SELECT Item, Value, Value2 FROM SysData WHERE Class = '" + cls + "' ORDER BY Item");
        q.Open();
        for (; !q.Eof(); q.Next())
            rows << q.FieldByName("Item").AsString() + "=" + q.FieldByName("Value").AsString() + "/"
                        + q.FieldByName("Value2").AsString();
        return rows;
    }

    testsupport::TempRegistry tempRegistry;
    platform::Registry reg;
    testsupport::TestDatabase db;
    platform::ScriptedResponder dialogs;
};

TEST_F(Startup, WritesTheFourMonitorDefaultsOnceAndKeepsUserChanges)
{
    StoreConnectionString(db.ConnectionString());
    RegisterThisComputerAs(7);

    const TStartupResult first = RunStartup();
    EXPECT_EQ(first.State, TStartupState::Configured);
    EXPECT_EQ(first.TillID, 7);
    EXPECT_TRUE(dialogs.Requests().isEmpty()); // a stored string that opens asks nothing
    const QStringList expected{"GY FILTER=0/", "GY FILTER IDS=/", "GY PRINTERFILTER=0/", "GY PRINTERFILTER IDS=/"};
    EXPECT_EQ(SysDataRows("7"), expected); // Class "7", not "07"
    EXPECT_EQ(reg.ReadBool(RegistryRoot::LocalMachine, kKey, "Msde-Failed"), std::optional<bool>(false));
    ShutdownStartup();

    db.Exec("UPDATE SysData SET Value = '1' WHERE Class = '7' AND Item = 'GY FILTER'");
    EXPECT_EQ(RunStartup().State, TStartupState::Configured);
    EXPECT_EQ(SysDataRows("7"),
              (QStringList{"GY FILTER=1/", "GY FILTER IDS=/", "GY PRINTERFILTER=0/", "GY PRINTERFILTER IDS=/"}));
}

TEST_F(Startup, FirstRunAsksForTheConnectionStringAndStoresItBeforeConnecting)
{
    RegisterThisComputerAs(1);
    dialogs.Queue(platform::mrOk);                                  // the information message
    dialogs.Queue(platform::DialogAnswer(platform::mrOk, db.ConnectionString())); // the editor

    EXPECT_EQ(RunStartup().State, TStartupState::Configured);
    ASSERT_EQ(dialogs.Requests().size(), 2);
    EXPECT_EQ(dialogs.Requests()[0].Text, "Use the following window to specify a connection string for [Vela:Msde]");
    EXPECT_EQ(dialogs.Requests()[0].Type, platform::mtInformation);
    EXPECT_EQ(dialogs.Requests()[1].Kind, "ConnectionEditor");
    EXPECT_EQ(dialogs.Requests()[1].Text, "Provider=SQLOLEDB.1;Persist Security Info=True;User ID=vela;Password=pos;"
                                          "Initial Catalog=Vela;Data Source=192.168.1.10;");
    EXPECT_EQ(reg.ReadString(RegistryRoot::LocalMachine, kKey, "Msde-ConnectionString"),
              std::optional<QString>(db.ConnectionString()));
}

TEST_F(Startup, UnreachableDatabaseIsReportedAndEndsSilently)
{
    const QString bad = "Provider=SQLite;Data Source=" + db.File() + ".missing";
    StoreConnectionString(bad);
    const TStartupResult r = RunStartup();
    EXPECT_EQ(r.State, TStartupState::Starting);
    EXPECT_EQ(r.ExitCode, 0);
    ASSERT_EQ(dialogs.Requests().size(), 1);
    const QString text = dialogs.Requests()[0].Text;
    EXPECT_EQ(dialogs.Requests()[0].Type, platform::mtError);
    EXPECT_TRUE(text.startsWith("Connect to the vela MSDE\rReason: ")) << text.toStdString();
    EXPECT_TRUE(text.contains("\rConnection String: " + bad + "\r\rRaised In: TdmMain.SetConnected"));
    EXPECT_EQ(reg.ReadBool(RegistryRoot::LocalMachine, kKey, "Msde-Failed"), std::optional<bool>(true));
    ShutdownStartup();

    // The next start says the last attempt failed and offers the stored string.
    dialogs.Clear();
    dialogs.Queue(platform::mrOk);
    dialogs.Queue(platform::DialogAnswer(platform::mrOk, db.ConnectionString()));
    RegisterThisComputerAs(1);
    EXPECT_EQ(RunStartup().State, TStartupState::Configured);
    ASSERT_GE(dialogs.Requests().size(), 2);
    EXPECT_EQ(dialogs.Requests()[0].Text, "The last attempt to connect to [Vela:Msde] failed\r\r"
                                          "Use the next window to verify the connection settings are correct");
    EXPECT_EQ(dialogs.Requests()[1].Text, bad);
    EXPECT_EQ(reg.ReadBool(RegistryRoot::LocalMachine, kKey, "Msde-Failed"), std::optional<bool>(false));
}

TEST_F(Startup, UnknownComputerGetsTheTillListAndCancelEndsQuietly)
{
    StoreConnectionString(db.ConnectionString());
    db.Exec("DELETE FROM Tills");
    const TStartupResult r = RunStartup(); // the till list is answered with Cancel
    EXPECT_EQ(r.State, TStartupState::Connected);
    EXPECT_EQ(r.ExitCode, 0);
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].Kind, "TillList");
    EXPECT_EQ(db.Count("SysData"), 0);
}

TEST_F(Startup, LoadsTheSharedSettingsOfThisTillWithoutWritingThem)
{
    StoreConnectionString(db.ConnectionString());
    // This computer is the demo shop's till 2, which prints on three printers.
    db.Exec("UPDATE Tills SET [Computer Name] = '" + platform::ComputerName().toLower() + "' WHERE TillID = 2");
    db.Exec("INSERT INTO SysData VALUES ('GLOBAL', 'VAT RATE', '15', '')");

    ASSERT_EQ(RunStartup().State, TStartupState::Configured);
    ASSERT_NE(VelaSettings, nullptr);
    EXPECT_EQ(VelaSettings->Connection(), &dmVela->con);
    EXPECT_EQ(VelaSettings->Till(), 2);
    EXPECT_EQ(VelaSettings->Global().Count(), 108);
    EXPECT_EQ(VelaSettings->Global().Setting(TVelaGlobalItem::VatRate)->Value(), "15");
    EXPECT_EQ(VelaSettings->Local().Till(), 2);
    EXPECT_EQ(VelaSettings->Local().Count(), 82);
    EXPECT_EQ(VelaSettings->Local().Setting(TVelaLocalItem::PlabelDev)->Class(), "2");
    EXPECT_EQ(VelaSettings->Local().TillRecord().TillID(), 2);
    EXPECT_EQ(VelaSettings->Local().TillPrinters().Count(), 3);
    QStringList printers;
    for (int i = 0; i < VelaSettings->Printers().Count(); ++i)
        printers << VelaSettings->Printers().Items(i)->Name();
    EXPECT_EQ(printers, QStringList({"Bar", "Kitchen", "Label Printer (PDF)", "Receipt"}));
    EXPECT_EQ(TInvoice::DefaultVatRate(), 15.0);
    // Loading creates the missing items in memory only; the settings window saves them.
    EXPECT_EQ(db.Count("SysData", "Class = 'GLOBAL'"), 1);
    EXPECT_EQ(db.Count("SysData", "Class = '2'"), 4);

    ShutdownStartup();
    EXPECT_EQ(VelaSettings, nullptr);
    EXPECT_EQ(TInvoice::DefaultVatRate(), 0.0);
}

TEST_F(Startup, TillNumberWithoutATillsRowPassesTheSettingsErrorOut)
{
    StoreConnectionString(db.ConnectionString());
    db.Exec("DELETE FROM Tills");
    // The till list comes back with a number whose row is gone (deleted from another till).
    dialogs.SetHandler([](const platform::DialogRequest &r) {
        if (auto *list = qobject_cast<TfrmTillIDSelect *>(r.Window.data()))
            list->ThisTill.SetTillID(9);
        return platform::DialogAnswer(platform::mrOk);
    });
    try {
        RunStartup();
        ADD_FAILURE() << "no exception";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(), "Cannot call TVelaLocalSettings.Populate without setting TVelaLocalSettings.Till");
        EXPECT_EQ(e.RaisedIn(), "TVelaLocalSettings.Populate");
    }
    EXPECT_EQ(db.Count("SysData"), 0); // the monitor's defaults were not reached
}

} // namespace
