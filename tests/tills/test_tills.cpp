// Till identity: the machine facts, the Tills records, GetTillID with the till list window
// and the setup dialog driven through the dialog seam.

#include "../support/TestDatabase.h"

#include "tills/FTillIDSelect.h"
#include "tills/FTillIDSetup.h"
#include "tills/clsTills.h"
#include "tills/modTillID.h"

#include "framework/modMsgDlgs.h"

#include "platform/Colors.h"
#include "platform/DialogSeam.h"
#include "platform/SqlQuery.h"
#include "platform/SystemInfo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

const QString kNoText = QString(QChar(0));

TEST(DriveSerial, TextIsTheHexDigitsSplitAfterTheFourth)
{
    struct Case
    {
        const char *name;
        quint32 serial;
        const char *text;
    };
    const Case cases[] = {
        {"eight digits", 0x1A2B3C4D, "1A2B-3C4D"},
        {"leading zero dropped, second half shorter", 0x0A2B3C4D, "A2B3-C4D"},
        {"all digits set", 0xFFFFFFFF, "FFFF-FFFF"},
        {"lower-case never", 0xabcdef12, "ABCD-EF12"},
        {"zero is unreadable", 0, "0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DriveSerialText(c.serial), QString::fromLatin1(c.text)) << c.name;
}

TEST(DriveSerial, OnlyDriveCOfThisMachineCanBeRead)
{
    const QString thisMachine = DriveSerialText(platform::VolumeSerial(QStringLiteral("C")));
    EXPECT_EQ(GetDriveSerial(QStringLiteral("C")), thisMachine);
    EXPECT_EQ(GetDriveSerial(QStringLiteral("C"), platform::ComputerName().toLower()), thisMachine);
    EXPECT_EQ(GetDriveSerial(QStringLiteral("D")), "0");
    EXPECT_EQ(
        GetDriveSerial(QStringLiteral("C"), platform::ComputerName() + QStringLiteral("-OTHER")),
        "0");
    EXPECT_EQ(GetComputerNameText(), platform::ComputerName());
    EXPECT_EQ(GetLogonName(), platform::LogonName());
}

class Tills : public ::testing::Test
{
protected:
    void AddTill(int tillID, const QString &computer,
                 const QString &serial = QStringLiteral("1A2B-3C4D"),
                 const QString &login = QStringLiteral("cook"))
    {
        platform::SqlCommand cmd(&db.Connection());
        cmd.SetCommandText(
            QStringLiteral("INSERT INTO Tills (TillID, [Computer Name], [HD Serial], [Login Name]) "
                           "VALUES (:TillID, :Name, :Serial, :Login)"));
        cmd.SetParam(QStringLiteral("TillID"), tillID);
        cmd.SetParam(QStringLiteral("Name"), computer);
        cmd.SetParam(QStringLiteral("Serial"), serial);
        cmd.SetParam(QStringLiteral("Login"), login);
        cmd.Execute();
    }
    // "TillID:Computer Name" of every row, by till number.
    QStringList Rows()
    {
        platform::SqlQuery q(&db.Connection());
        q.SetSQL(
            QStringLiteral("SELECT TillID, [Computer Name] FROM Tills ORDER BY TillID, TillsID"));
        q.Open();
        QStringList rows;
        for (; !q.Eof(); q.Next())
            rows << q.Field(0).AsString() + ":" + q.Field(1).AsString();
        return rows;
    }
    // This machine's name with every letter's case flipped, so only a case-blind match finds it.
    static QString FlippedCaseName()
    {
        QString name = platform::ComputerName();
        for (QChar &ch : name)
            ch = ch.isUpper() ? ch.toLower() : ch.toUpper();
        return name;
    }
    static void SelectRow(TfrmTillIDSelect &frm, int row) { frm.grid->selectRow(row); }

    testsupport::TempRegistry registry;
    testsupport::TestDatabase db;
    platform::ScriptedResponder dialogs;
};

TEST_F(Tills, ItemClearsToNoTextAndStoresBlankTextsAsNoText)
{
    TTillsItem item;
    item.Clear();
    EXPECT_EQ(item.ComputerName(), kNoText);
    EXPECT_EQ(item.HDSerial(), kNoText);
    EXPECT_EQ(item.LoginName(), kNoText);
    EXPECT_EQ(item.TillID(), -1);
    EXPECT_EQ(item.TillsID(), -1);
    EXPECT_FALSE(item.Modified());

    item.SetComputerName(QStringLiteral("  "));
    EXPECT_EQ(item.ComputerName(), kNoText);
    EXPECT_TRUE(item.Modified());
    item.SetModified(false);
    item.SetComputerName(kNoText);
    EXPECT_FALSE(item.Modified());
    item.SetComputerName(QStringLiteral(" BAR-PC "));
    EXPECT_EQ(item.ComputerName(), " BAR-PC ");
    EXPECT_TRUE(item.Modified());

    TTillsItem copy;
    copy.CopyFrom(item);
    EXPECT_EQ(copy.ComputerName(), " BAR-PC ");
    EXPECT_EQ(copy.TillID(), -1);
    EXPECT_TRUE(copy.Modified());
}

TEST_F(Tills, ItemAndCollectionLoadRowsByNumber)
{
    AddTill(5, QStringLiteral("five"));
    AddTill(2, QStringLiteral("two"), QStringLiteral(""), QStringLiteral("ann"));

    TTillsItem item;
    item.SetAdoConnection(&db.Connection());
    ASSERT_TRUE(item.LoadByTillID(2));
    EXPECT_EQ(item.TillID(), 2);
    EXPECT_EQ(item.TillsID(), 2);
    EXPECT_EQ(item.ComputerName(), "two");
    EXPECT_EQ(item.HDSerial(), kNoText);
    EXPECT_EQ(item.LoginName(), "ann");
    EXPECT_FALSE(item.Modified());
    EXPECT_FALSE(item.LoadByTillID(9));
    EXPECT_EQ(item.TillID(), -1);

    TTills tills;
    tills.SetAdoConnection(&db.Connection());
    ASSERT_EQ(tills.LoadAll(), 2);
    EXPECT_EQ(tills.Items(0)->TillID(), 2);
    EXPECT_EQ(tills.Items(1)->ComputerName(), "five");

    db.Exec(QStringLiteral("DELETE FROM Tills"));
    EXPECT_EQ(tills.LoadAll(), 0);
    EXPECT_EQ(tills.Count(), 2) << "an empty result leaves the collection as it was";
}

TEST_F(Tills, KnownMachineIsFoundIgnoringCaseWithoutAWindow)
{
    AddTill(1, QStringLiteral("other-pc"));
    AddTill(4, FlippedCaseName());
    EXPECT_EQ(GetTillID(&db.Connection()), 4);
    EXPECT_TRUE(dialogs.Requests().isEmpty());

    TfrmTillIDSelect frm(&db.Connection());
    frm.ThisComputerName = QStringLiteral("OTHER-PC");
    frm.DoRefresh();
    EXPECT_EQ(frm.ThisTill.TillID(), 1);
    EXPECT_EQ(frm.pnlTop->Caption(), "1");
    EXPECT_EQ(frm.pnlTop->Color(), clBtnFace);
}

TEST_F(Tills, UnknownMachineRegistersThroughTheListAndTheSetupDialog)
{
    const QString serial = GetDriveSerial(QStringLiteral("C"));
    if (serial == QLatin1String("0"))
        GTEST_SKIP() << "the root filesystem of this machine has no readable serial";

    dialogs.SetHandler([&](const platform::DialogRequest &r) -> platform::DialogAnswer {
        if (r.Kind == QLatin1String("TillList")) {
            auto *frm = qobject_cast<TfrmTillIDSelect *>(r.Window.data());
            EXPECT_EQ(r.Caption, "Vela Till ID's");
            EXPECT_EQ(frm->pnlTop->Caption(), "Not Set");
            EXPECT_EQ(frm->pnlTop->Color(), clRed);
            EXPECT_FALSE(frm->btnOK->isEnabled());
            EXPECT_TRUE(frm->NavButton(QStringLiteral("Edit"))->isHidden());
            frm->NavButton(QStringLiteral("Insert"))->click();
            EXPECT_EQ(frm->pnlTop->Caption(), "1");
            EXPECT_EQ(frm->pnlTop->Color(), clBtnFace);
            EXPECT_TRUE(frm->btnOK->isEnabled());
            return platform::mrOk;
        }
        if (r.Kind == QLatin1String("TillSetup")) {
            auto *setup = qobject_cast<TfrmTillIDSetup *>(r.Window.data());
            EXPECT_EQ(setup->spin->value(), 1);
            EXPECT_EQ(setup->lblComputerName->text(), platform::ComputerName().toUpper());
            setup->btnOK->click();
            EXPECT_EQ(setup->TillID(), 1);
            return setup->result();
        }
        ADD_FAILURE() << "unexpected " << r.Kind.toStdString() << ": " << r.Text.toStdString();
        return platform::mrCancel;
    });

    EXPECT_EQ(GetTillID(&db.Connection()), 1);
    EXPECT_EQ(dialogs.RequestsOfKind(QStringLiteral("TillList")).size(), 1);
    EXPECT_EQ(db.Count(QStringLiteral("Tills")), 1);
    EXPECT_EQ(db.Scalar(QStringLiteral(
                            "SELECT [Computer Name] || '|' || [HD Serial] || '|' || [Login Name] "
                            "|| '|' || TillID FROM Tills"))
                  .toString(),
              platform::ComputerName().toUpper() + "|" + serial + "|" + platform::LogonName()
                  + "|1");
}

TEST_F(Tills, LeavingTheListWithoutANumberGivesMinusOne)
{
    AddTill(3, QStringLiteral("other-pc"));
    EXPECT_EQ(GetTillID(&db.Connection()), -1); // closed: the default answer is Cancel
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].Kind, "TillList");

    dialogs.Queue(platform::mrOk); // OK on another machine's row does not make it this one's
    EXPECT_EQ(GetTillID(&db.Connection()), -1);
    EXPECT_EQ(Rows(), QStringList {"3:other-pc"});
}

TEST_F(Tills, SetupProposesTheHighestPlusOneUpToTen)
{
    struct Case
    {
        const char *name;
        QList<int> tills;
        int proposed;
    };
    const Case cases[] = {
        {"none", {}, 1},
        {"a gap is not filled", {1, 2, 5}, 6},
        {"ten registered", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db.Exec(QStringLiteral("DELETE FROM Tills"));
        for (int t : c.tills)
            AddTill(t, QStringLiteral("pc") + QString::number(t));
        TfrmTillIDSetup setup;
        setup.SetAdoConnection(&db.Connection());
        setup.FormShow();
        EXPECT_EQ(setup.spin->value(), c.proposed);
    }
}

TEST_F(Tills, SetupRefusesANumberAlreadyRegistered)
{
    for (int t = 1; t <= 10; ++t)
        AddTill(t, QStringLiteral("pc") + QString::number(t));
    TfrmTillIDSetup setup;
    setup.SetAdoConnection(&db.Connection());
    setup.FormShow();
    dialogs.Clear();
    setup.btnOK->setEnabled(true); // whatever this machine's serial, OK is what is tried here
    setup.btnOK->click();
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].Text,
              "The Till ID 10 has already been registered by...\rComputer: PC10");
    EXPECT_EQ(dialogs.Requests()[0].Type, platform::mtInformation);
    EXPECT_EQ(setup.TillID(), 0);
    EXPECT_NE(setup.result(), int(platform::mrOk));

    setup.spin->setValue(3);
    db.Exec(QStringLiteral("DELETE FROM Tills WHERE TillID = 3"));
    setup.btnOK->click();
    EXPECT_EQ(setup.TillID(), 3);
    EXPECT_EQ(setup.result(), int(platform::mrOk));
}

TEST_F(Tills, DeleteAsksAndRemovesOnlyThatRowOnYes)
{
    AddTill(1, QStringLiteral("KITCHEN"));
    AddTill(2, QStringLiteral("O'BRIEN-PC"));
    AddTill(3, QStringLiteral("BAR"));
    TfrmTillIDSelect frm(&db.Connection());
    frm.ThisComputerName = QStringLiteral("o'brien-pc");
    frm.SetAllowEdit(true);
    ASSERT_TRUE(frm.DoRefresh());
    EXPECT_EQ(frm.ThisTill.TillID(), 2);

    for (int answer : {int(platform::mrNo), int(platform::mrCancel)}) {
        SelectRow(frm, 1);
        dialogs.Queue(answer);
        frm.NavButton(QStringLiteral("Delete"))->click();
        EXPECT_EQ(dialogs.Last().Text, "Delete [O'BRIEN-PC : 2]");
        EXPECT_EQ(dialogs.Last().Type, platform::mtConfirmation);
        EXPECT_EQ(Rows().size(), 3);
    }

    SelectRow(frm, 1);
    dialogs.Queue(platform::mrYes);
    frm.NavButton(QStringLiteral("Delete"))->click();
    EXPECT_EQ(Rows(), (QStringList {"1:KITCHEN", "3:BAR"}));
    EXPECT_EQ(frm.ThisTill.TillID(), -1) << "a deleted till is no longer this machine's";
    EXPECT_EQ(frm.pnlTop->Caption(), "Not Set");
}

TEST_F(Tills, RowWithoutAComputerNameNeverBelongsToThisMachine)
{
    AddTill(6, QString());
    AddTill(7, kNoText);
    TfrmTillIDSelect frm(&db.Connection());
    for (const QString &name : {QString(), kNoText, platform::ComputerName()}) {
        frm.ThisComputerName = name;
        EXPECT_TRUE(frm.DoRefresh());
        EXPECT_EQ(frm.ThisTill.TillID(), -1);
        EXPECT_EQ(frm.pnlTop->Caption(), "Not Set");
        EXPECT_TRUE(frm.btnOK->isEnabled());
    }
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

TEST_F(Tills, OkLoadsTheSelectedRowAndKeysCloseTheWindow)
{
    AddTill(1, QStringLiteral("KITCHEN"));
    AddTill(2, QStringLiteral("BAR"));
    TfrmTillIDSelect frm(&db.Connection());
    frm.ThisComputerName = QStringLiteral("BAR");
    ASSERT_TRUE(frm.DoRefresh());
    SelectRow(frm, 0);
    ASSERT_TRUE(frm.DoRefresh()) << "a refresh stays on the current row";
    frm.btnOK->click();
    EXPECT_EQ(frm.SelectedTill.ComputerName(), "KITCHEN");
    EXPECT_EQ(frm.result(), int(platform::mrOk));

    struct Case
    {
        const char *name;
        int key;
        int result;
    };
    const Case cases[] = {{"Enter", Qt::Key_Return, platform::mrOk},
                          {"Escape", Qt::Key_Escape, platform::mrCancel}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.SetHandler([&](const platform::DialogRequest &r) -> platform::DialogAnswer {
            auto *window = qobject_cast<TfrmTillIDSelect *>(r.Window.data());
            window->setResult(platform::mrNone);
            QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
            QApplication::sendEvent(window->grid, &press);
            return window->result();
        });
        EXPECT_EQ(frm.Execute(), c.result == platform::mrOk);
        EXPECT_EQ(dialogs.Last().Kind, "TillList");
    }
}

TEST_F(Tills, RefreshFailureIsReportedAndGivesFalse)
{
    TfrmDbSelector selector(&db.Connection());
    EXPECT_FALSE(selector.Execute());
    ASSERT_EQ(dialogs.Requests().size(), 1);
    EXPECT_EQ(dialogs.Requests()[0].Text,
              "Failed to refresh the query\r\rReason: TfrmDbSelector.QryStrings has "
              "not been set\r\rRaised In: TfrmDbSelector.DoRefresh");
    EXPECT_EQ(dialogs.Requests()[0].Type, platform::mtError);

    selector.QryStrings = QStringList {QStringLiteral("SELECT * FROM NoSuchTable")};
    EXPECT_FALSE(selector.DoRefresh());
    EXPECT_TRUE(dialogs.Last().Text.startsWith("Failed to refresh the query\r\rReason: "));
    EXPECT_TRUE(dialogs.Last().Text.endsWith("\r\rRaised In: TfrmDbSelector.DoRefresh"));
    EXPECT_EQ(selector.ds->rowCount(), 0);

    selector.QryStrings = QStringList {QStringLiteral("SELECT * FROM Tills")};
    EXPECT_FALSE(selector.Execute()) << "nothing to pick: not shown";
    EXPECT_EQ(dialogs.Requests().size(), 2);
}

} // namespace
