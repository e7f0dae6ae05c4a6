// The "Settings For Galley" window, offscreen: its controls against the registry and
// SysData, the till and printer lists, OK and Cancel, the connection editor.

#include "../support/TestDatabase.h"

#include "kitchen/ColorBox.h"
#include "kitchen/FGYSettings.h"

#include "framework/clsGenericDB.h"
#include "platform/DialogSeam.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using platform::Registry;
using platform::RegistryRoot;

namespace {

const QString kKey = QStringLiteral("\\SOFTWARE\\MOX\\Galley");

QStringList Texts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList Ticked(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked)
            texts << list->item(i)->text();
    }
    return texts;
}

// Ticks or unticks an entry as a click on its check mark does.
void Tick(QListWidget *list, const QString &text, bool on = true)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    found[0]->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

class GYSettingsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        runner = std::make_unique<TGenericDB>(&db.Connection());
        GenericDB = runner.get();
        db.Exec("INSERT INTO Tills (TillID, [Computer Name]) VALUES (10, 'FRONT'), "
                "(1, 'KITCHEN'), (3, 'BAR')");
        db.Exec("INSERT INTO Printers (PrintersID, Name) VALUES (1, 'Kitchen'), (2, 'Bar'), "
                "(3, 'Receipt')");
        db.Exec("INSERT INTO ReportGroup (ReportGroupID, Description) VALUES (3, 'FOOD'), "
                "(5, 'DRINKS')");
        // The rows the start-up writes for till 7.
        db.Exec("INSERT INTO SysData VALUES ('7', 'GY FILTER', '0', ''), "
                "('7', 'GY FILTER IDS', '', ''), ('7', 'GY PRINTERFILTER', '0', ''), "
                "('7', 'GY PRINTERFILTER IDS', '', '')");
    }
    void TearDown() override
    {
        frm.reset();
        GenericDB = nullptr;
    }

    TfrmGYSettings &Window()
    {
        if (!frm)
            frm = std::make_unique<TfrmGYSettings>(&db.Connection(), 7);
        return *frm;
    }

    // Execute, with the user's actions run on the shown window before it is closed with
    // the given button.
    bool Run(const std::function<void(TfrmGYSettings &)> &actions, bool ok)
    {
        dialogs.SetHandler([&](const platform::DialogRequest &r) -> platform::DialogAnswer {
            if (r.Kind != QLatin1String("GalleySettings"))
                return otherDialogs ? otherDialogs(r) : platform::DialogAnswer(platform::mrCancel);
            auto *window = qobject_cast<TfrmGYSettings *>(r.Window.data());
            EXPECT_EQ(window, frm.get());
            actions(*window);
            (ok ? window->btnOK : window->btnCancel)->click();
            return window->result();
        });
        return Window().Execute();
    }

    QString SysValue(const QString &item)
    {
        return db.Scalar("SELECT Value FROM SysData WHERE Class = '7' AND Item = '" + item + "'")
            .toString();
    }
    std::optional<QString> Stored(const QString &name)
    {
        return reg.ReadString(RegistryRoot::LocalMachine, kKey, name);
    }

    testsupport::TempRegistry tempRegistry; // first: the window's component reads the folder
    testsupport::TestDatabase db;
    std::unique_ptr<TGenericDB> runner;
    platform::ScriptedResponder dialogs;
    Registry reg;
    std::unique_ptr<TfrmGYSettings> frm;
    // Answers the dialogs the window opens while Run shows it.
    std::function<platform::DialogAnswer(const platform::DialogRequest &)> otherDialogs;
};

TEST_F(GYSettingsWindow, FirstRunShowsTheDefaults)
{
    TfrmGYSettings &w = Window();
    EXPECT_EQ(w.windowTitle(), "Settings For Galley");
    EXPECT_GE(w.width(), 372);
    EXPECT_GE(w.height(), 451);
    // Creation records the program's facts under the monitor's key.
    EXPECT_TRUE(Stored("AppVersion"));
    EXPECT_TRUE(Stored("AppLastExecuted"));

    EXPECT_TRUE(w.LoadSettings());
    EXPECT_EQ(w.seCols->value(), 1);
    EXPECT_EQ(w.sePoll->value(), 5);
    EXPECT_EQ(w.seFontSize->value(), 10);
    EXPECT_TRUE(w.radOrderNo->isChecked());
    for (QCheckBox *box :
         {w.chkDisablePending, w.chkSizes, w.chkAutoPrintLabels, w.chkUseEmployeeColours,
          w.chkAutoExpand, w.chkReportGroup, w.chkFiltered, w.chkPrinterFilter})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    EXPECT_EQ(w.cboReportGroup->currentText(), "FOOD");
    for (TColorBox *box : {w.colWF, w.colWB, w.colSelect, w.colCF, w.colCB, w.colCSelect}) {
        EXPECT_EQ(box->Selected(), clBlack) << box->objectName().toStdString();
        EXPECT_EQ(box->currentText(), "Black");
    }
    EXPECT_EQ(w.ReportGroupLimit(), 0);
    EXPECT_TRUE(w.Settings() == TGalleySettings {.ReportGroup = 3});
    EXPECT_TRUE(dialogs.Requests().isEmpty());
    // Nothing is written to the registry before OK.
    EXPECT_FALSE(Stored("NoOrdersCols"));
}

TEST_F(GYSettingsWindow, StoredValuesReachTheControlsAndOkWritesThemBack)
{
    TGalleySettings stored;
    stored.NoOrdersCols = 3;
    stored.PollInterval = 15;
    stored.FontSize = 22;
    stored.PrintLabels = true;
    stored.EnableSizes = true;
    stored.DisplayInvoiceNo = true;
    stored.LimitToReportGroup = true;
    stored.ReportGroup = 5;
    stored.WaitingBackground = clBtnFace;
    stored.WaitingFont = 0x123456; // not in the list: kept as it is
    stored.CompletedFont = clRed;
    TmoxAppInfo appInfo;
    TGalleySettings::ConfigureAppInfo(appInfo);
    ASSERT_TRUE(stored.Save(appInfo));

    TfrmGYSettings &w = Window();
    w.LoadSettings();
    EXPECT_EQ(w.seCols->value(), 3);
    EXPECT_EQ(w.sePoll->value(), 15);
    EXPECT_TRUE(w.radInvoiceNo->isChecked());
    EXPECT_EQ(w.cboReportGroup->currentText(), "DRINKS");
    EXPECT_EQ(w.ReportGroupLimit(), 5);
    EXPECT_EQ(w.colWB->currentText(), "BtnFace");
    EXPECT_EQ(w.colWF->Selected(), TColor(0x123456));
    EXPECT_TRUE(w.Settings() == stored);

    // OK writes the edits; Cancel would have left the registry alone.
    ASSERT_TRUE(Run(
        [](TfrmGYSettings &f) {
            f.seCols->setValue(6);
            f.radOrderNo->setChecked(true);
            f.chkUseEmployeeColours->setChecked(true);
            f.cboReportGroup->setCurrentIndex(0);
            f.colCSelect->SetSelected(clLime);
        },
        true));
    TGalleySettings expected = stored;
    expected.NoOrdersCols = 6;
    expected.DisplayInvoiceNo = false;
    expected.UseEmpColours = true;
    expected.ReportGroup = 3;
    expected.CompletedSelectColour = clLime;
    EXPECT_TRUE(TGalleySettings::Read(appInfo) == expected);
    EXPECT_TRUE(w.Settings() == expected);
}

TEST_F(GYSettingsWindow, CancelKeepsTheEditsOnScreenButNotInTheRegistry)
{
    TfrmGYSettings &w = Window();
    w.LoadSettings();
    EXPECT_FALSE(Run([](TfrmGYSettings &f) { f.sePoll->setValue(30); }, false));
    EXPECT_FALSE(Stored("PollInterval"));
    EXPECT_EQ(w.Settings().PollInterval, 30); // the monitor uses it until it ends
}

TEST_F(GYSettingsWindow, StoredGroupThatIsGoneLeavesNoneChosen)
{
    reg.WriteString(RegistryRoot::LocalMachine, kKey, "ReportGroup", "99");
    reg.WriteBool(RegistryRoot::LocalMachine, kKey, "LimitToReportGroup", true);
    reg.WriteString(RegistryRoot::LocalMachine, kKey, "FontSize", "huge");
    TfrmGYSettings &w = Window();
    w.LoadSettings();
    EXPECT_EQ(w.cboReportGroup->currentIndex(), -1);
    EXPECT_EQ(w.ReportGroupLimit(), 0); // every group shown
    EXPECT_EQ(w.seFontSize->value(), 10);

    ASSERT_TRUE(Run([](TfrmGYSettings &) {}, true));
    EXPECT_EQ(Stored("ReportGroup"), "99");

    // Loading twice lists each group once.
    w.LoadSettings();
    EXPECT_EQ(w.cboReportGroup->count(), 2);
}

TEST_F(GYSettingsWindow, ReportGroupsThatCannotBeReadAreReported)
{
    db.Exec("DROP TABLE ReportGroup");
    TfrmGYSettings &w = Window();
    EXPECT_TRUE(w.LoadSettings());
    ASSERT_EQ(dialogs.Requests().size(), 1);
    const platform::DialogRequest &msg = dialogs.Requests()[0];
    EXPECT_EQ(msg.Kind, "MsgDlg");
    EXPECT_EQ(msg.Type, platform::mtInformation);
    EXPECT_TRUE(msg.Text.startsWith("Could not load list of Report Groups\rReason: "));
    EXPECT_TRUE(msg.Text.endsWith("\rRaised in TfrmGYSettings.PopulatecboReportGroup"));
    EXPECT_EQ(w.cboReportGroup->count(), 0);
}

TEST_F(GYSettingsWindow, TillAndPrinterListsComeFromTheDatabase)
{
    db.Exec("UPDATE SysData SET Value = '10,0' WHERE Item = 'GY FILTER IDS'");
    db.Exec("UPDATE SysData SET Value = '1' WHERE Item = 'GY FILTER'");
    db.Exec("UPDATE SysData SET Value = '2' WHERE Item = 'GY PRINTERFILTER IDS'");
    TfrmGYSettings &w = Window();
    EXPECT_TRUE(w.TillFilterEnabled());
    EXPECT_TRUE(w.chkFiltered->isChecked());
    EXPECT_TRUE(w.lstTillIDs->isEnabled());
    EXPECT_FALSE(w.lstPrinters->isEnabled());

    bool shown = false;
    Run(
        [&](TfrmGYSettings &f) {
            shown = true;
            EXPECT_EQ(f.pgMain->currentWidget(), f.tabSettings);
            EXPECT_EQ(Texts(f.lstTillIDs),
                      (QStringList {"Unassigned Orders", "1 - KITCHEN", "3 - BAR", "10 - FRONT"}));
            EXPECT_EQ(Ticked(f.lstTillIDs), (QStringList {"Unassigned Orders", "10 - FRONT"}));
            EXPECT_EQ(Texts(f.lstPrinters), (QStringList {"Bar", "Kitchen", "Receipt"}));
            EXPECT_EQ(Ticked(f.lstPrinters), QStringList {"Bar"});
        },
        false);
    EXPECT_TRUE(shown);

    // Tills and printers added since are listed at the next showing.
    db.Exec("INSERT INTO Tills (TillID, [Computer Name]) VALUES (2, 'PASS')");
    db.Exec("INSERT INTO Printers (PrintersID, Name) VALUES (4, 'Apron')");
    w.FormShow();
    EXPECT_EQ(Texts(w.lstTillIDs).at(2), "2 - PASS");
    EXPECT_EQ(Texts(w.lstPrinters).at(0), "Apron");
}

TEST_F(GYSettingsWindow, FilterClicksAreStoredAtOnceAndSurviveCancel)
{
    TfrmGYSettings &w = Window();
    EXPECT_FALSE(Run(
        [this](TfrmGYSettings &f) {
            f.chkFiltered->click();
            EXPECT_EQ(SysValue("GY FILTER"), "1");
            EXPECT_TRUE(f.lstTillIDs->isEnabled());

            Tick(f.lstTillIDs, "3 - BAR");
            EXPECT_EQ(SysValue("GY FILTER IDS"), "3");
            Tick(f.lstTillIDs, "10 - FRONT");
            EXPECT_EQ(SysValue("GY FILTER IDS"), "10,3"); // sorted as texts
            Tick(f.lstTillIDs, "3 - BAR", false);
            EXPECT_EQ(SysValue("GY FILTER IDS"), "10");
            Tick(f.lstTillIDs, "3 - BAR");
            EXPECT_EQ(SysValue("GY FILTER IDS"), "10,3");

            f.chkPrinterFilter->click();
            Tick(f.lstPrinters, "Receipt");
            EXPECT_EQ(SysValue("GY PRINTERFILTER"), "1");
            EXPECT_EQ(SysValue("GY PRINTERFILTER IDS"), "3");
        },
        false));
    EXPECT_TRUE(w.TillFilterEnabled());
    EXPECT_EQ(w.TillFilterIDs(), (QStringList {"10", "3"}));
    EXPECT_EQ(SysValue("GY FILTER"), "1");
    EXPECT_EQ(SysValue("GY FILTER IDS"), "10,3");
    EXPECT_EQ(w.Filters().PrinterFilterIDNumbers(), QList<int> {3});

    // Switching the filter off again stores "0" and disables the list.
    w.chkFiltered->click();
    EXPECT_EQ(SysValue("GY FILTER"), "0");
    EXPECT_FALSE(w.lstTillIDs->isEnabled());
    EXPECT_EQ(db.Count("SysData"), 4);
}

TEST_F(GYSettingsWindow, OkStoresTheTickedEntriesInListOrder)
{
    TfrmGYSettings &w = Window();
    ASSERT_TRUE(Run(
        [](TfrmGYSettings &f) {
            Tick(f.lstTillIDs, "3 - BAR");
            Tick(f.lstTillIDs, "Unassigned Orders");
            Tick(f.lstPrinters, "Receipt");
            Tick(f.lstPrinters, "Bar");
        },
        true));
    EXPECT_EQ(SysValue("GY FILTER IDS"), "0,3");
    EXPECT_EQ(SysValue("GY PRINTERFILTER IDS"), "2,3"); // Bar (2) stands before Receipt (3)
    EXPECT_EQ(w.TillFilterIDs(), (QStringList {"0", "3"}));
    EXPECT_EQ(db.Scalar("SELECT Value2 FROM SysData WHERE Item = 'GY FILTER IDS'").toString(), "");
}

TEST_F(GYSettingsWindow, ColourPreviewFollowsTheColourPage)
{
    TfrmGYSettings &w = Window();
    w.colWF->SetSelected(clWhite);
    w.colWB->SetSelected(clNavy);
    w.colSelect->SetSelected(clMaroon);
    w.colCF->SetSelected(clYellow);
    w.colCB->SetSelected(clGreen);
    w.colCSelect->SetSelected(clPurple);

    struct Case
    {
        int page;
        TColor text, normal, selected;
    };
    const Case cases[] = {{1, clYellow, clGreen, clPurple}, {0, clWhite, clNavy, clMaroon}};
    for (const Case &c : cases) {
        w.pgColours->setCurrentIndex(c.page);
        ASSERT_EQ(w.lblPreviewNormal.size(), 4);
        EXPECT_EQ(w.lblPreviewNormal[2]->text(), "1 SUPER DOOPER SANDWICH");
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(w.lblPreviewNormal[i]->palette().color(QPalette::Window),
                      platform::ToQColor(c.normal))
                << c.page;
            EXPECT_EQ(w.lblPreviewSelected[i]->palette().color(QPalette::Window),
                      platform::ToQColor(c.selected))
                << c.page;
            EXPECT_EQ(w.lblPreviewSelected[i]->palette().color(QPalette::WindowText),
                      platform::ToQColor(c.text))
                << c.page;
        }
    }
    // The left column takes half the colour group.
    w.pgMain->setCurrentWidget(w.tabDisplay);
    w.show();
    QApplication::processEvents();
    ASSERT_GT(w.grpColours->width(), 100);
    EXPECT_EQ(w.pnlPreviewNormal->width(), w.grpColours->width() / 2);
    w.hide();
}

TEST_F(GYSettingsWindow, ConnectionEditorChangesTheStringTheMonitorOpens)
{
    TfrmGYSettings &w = Window();
    const QString key = QStringLiteral("\\Software\\Zentrix\\Vela");
    reg.WriteString(RegistryRoot::LocalMachine, key, "Msde-ConnectionString",
                    "Provider=SQLite;Data Source=/old.db");
    int notices = 0;
    QObject::connect(&w, &TfrmGYSettings::connectionStringChanged, [&] { ++notices; });

    struct Case
    {
        const char *name;
        platform::DialogAnswer answer;
        bool changed;
        const char *stored;
    };
    const Case cases[] = {
        {"cancelled", platform::DialogAnswer(platform::mrCancel), false,
         "Provider=SQLite;Data Source=/old.db"},
        {"same string",
         platform::DialogAnswer(platform::mrOk, "Provider=SQLite;Data Source=/old.db"), false,
         "Provider=SQLite;Data Source=/old.db"},
        {"new string",
         platform::DialogAnswer(platform::mrOk, "Provider=SQLite;Data Source=/new.db"), true,
         "Provider=SQLite;Data Source=/new.db"},
    };
    for (const Case &c : cases) {
        dialogs.Clear();
        otherDialogs = [&](const platform::DialogRequest &r) -> platform::DialogAnswer {
            EXPECT_EQ(r.Kind, "ConnectionEditor") << c.name;
            EXPECT_EQ(r.Text, "Provider=SQLite;Data Source=/old.db") << c.name;
            return c.answer;
        };
        const bool changed = Run([](TfrmGYSettings &f) { f.btnEditDBConnection->click(); }, false);
        EXPECT_FALSE(changed) << c.name; // closed with Cancel
        EXPECT_EQ(w.ConnectionChanged(), c.changed) << c.name;
        EXPECT_EQ(reg.ReadString(RegistryRoot::LocalMachine, key, "Msde-ConnectionString"),
                  c.stored)
            << c.name;
        // Put the old string back for the next case.
        reg.WriteString(RegistryRoot::LocalMachine, key, "Msde-ConnectionString",
                        "Provider=SQLite;Data Source=/old.db");
    }
    EXPECT_EQ(notices, 1);
    // Each showing starts unchanged.
    w.FormShow();
    EXPECT_FALSE(w.ConnectionChanged());
    EXPECT_FALSE(reg.KeyExists(RegistryRoot::LocalMachine, "\\Software\\Zentrix\\Galley"));
}

} // namespace
