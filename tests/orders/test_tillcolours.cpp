// Till colours from SysData, employee colours and the invoice maker, on a fresh database.

#include "TestDatabase.h"

#include "orders/modGalley.h"

#include "framework/clsGenericDB.h"

#include "platform/DialogSeam.h"

#include <gtest/gtest.h>

namespace {

class TillColours : public ::testing::Test
{
protected:
    void SetColour(const QString &tillClass, const QString &item, const QString &value)
    {
        Db.Exec(
            QStringLiteral("INSERT INTO SysData ([Class], Item, [Value]) VALUES ('%1', '%2', '%3')")
                .arg(tillClass, item, value));
    }
    void Till(const QString &tillID, const QString &computerName)
    {
        Db.Exec(QStringLiteral("INSERT INTO Tills (TillID, [Computer Name]) VALUES (%1, %2)")
                    .arg(tillID, computerName));
    }
    QStringList Messages() const
    {
        QStringList texts;
        for (const platform::DialogRequest &r : Dialogs.RequestsOfKind(QStringLiteral("MsgDlg"))) {
            EXPECT_EQ(r.Type, platform::mtInformation);
            EXPECT_TRUE(r.Buttons == platform::MsgDlgButtons({platform::mbOK}));
            texts << r.Text;
        }
        return texts;
    }

    testsupport::TestDatabase Db;
    TGenericDB Runner {&Db.Connection()};
    TTillColours Colours {&Runner};
    platform::ScriptedResponder Dialogs {platform::DialogAnswer(platform::mrOk)};
};

TEST_F(TillColours, PopulateGivesEveryTillItsColoursOrNone)
{
    Till("1", "'KITCHEN'");
    Till("2", "''"); // a till whose computer name was never filled in is still a till
    Till("3", "NULL");
    SetColour("1", "GY TEXT COLOUR", "255");
    SetColour("1", "GY BACK COLOUR", "65280");
    SetColour("3", "GY BACK COLOUR", "-2147483633"); // clBtnFace as SQL Server's int holds it
    SetColour("GLOBAL", "GY OTHER", "x");

    Colours.PopulateTillColours();

    ASSERT_EQ(Colours.Count(), 3);
    EXPECT_EQ(Colours.Items(0).TillID, 1);
    EXPECT_EQ(Colours.Items(0).TextColour, clRed);
    EXPECT_EQ(Colours.Items(0).BackColour, clLime);
    EXPECT_EQ(Colours.Items(1).TillID, 2);
    EXPECT_EQ(Colours.Items(1).TextColour, clNone);
    EXPECT_EQ(Colours.Items(1).BackColour, clNone);
    EXPECT_EQ(Colours.Items(2).TextColour, clNone);
    EXPECT_EQ(Colours.Items(2).BackColour, clBtnFace);
    ASSERT_NE(Colours.FindTill(3), nullptr);
    EXPECT_EQ(Colours.FindTill(4), nullptr);
    EXPECT_TRUE(Messages().isEmpty());

    // Appends: a second fill does not replace the first.
    Colours.PopulateTillColours();
    EXPECT_EQ(Colours.Count(), 6);
}

TEST_F(TillColours, PopulateKeepsTheTillsReadBeforeABadRow)
{
    Till("1", "'A'");
    Till("'x'", "'B'"); // not a number
    Till("3", "'C'");

    Colours.PopulateTillColours();

    ASSERT_EQ(Colours.Count(), 1);
    EXPECT_EQ(Colours.Items(0).TillID, 1);
    EXPECT_EQ(
        Messages(),
        QStringList {QStringLiteral("Could load the till text colours\rReason: 'x' is not a valid "
                                    "integer value\rRaised in PopulateTillColours;")});
}

TEST_F(TillColours, PopulateWithoutTheTableReportsAndAddsNothing)
{
    Db.Exec(QStringLiteral("DROP TABLE Tills"));
    Colours.PopulateTillColours();
    EXPECT_EQ(Colours.Count(), 0);
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(
        Messages()[0].startsWith(QStringLiteral("Could load the till text colours\rReason: ")));
    EXPECT_TRUE(Messages()[0].endsWith(QStringLiteral("\rRaised in PopulateTillColours;")));
}

struct ColourRowsCase
{
    const char *name;
    // (Class, Value) rows of the item, in insertion order
    std::vector<std::pair<const char *, const char *>> rows;
    TColor expected;
    const char *reason; // nullptr: no message
};

void PrintTo(const ColourRowsCase &c, std::ostream *os)
{
    *os << c.name;
}

class TillColourRows : public TillColours, public ::testing::WithParamInterface<ColourRowsCase>
{
};

// Till 5's background and text colour look-ups over the same rows.
TEST_P(TillColourRows, LastMatchWinsAndABadRowKeepsWhatWasFound)
{
    const ColourRowsCase &c = GetParam();
    for (const auto &[cls, value] : c.rows) {
        SetColour(QString::fromLatin1(cls), QStringLiteral("GY BACK COLOUR"),
                  QString::fromLatin1(value));
        SetColour(QString::fromLatin1(cls), QStringLiteral("GY TEXT COLOUR"),
                  QString::fromLatin1(value));
    }

    EXPECT_EQ(Colours.GetBackColour(5), c.expected);
    EXPECT_EQ(Colours.GetTextColour(5), c.expected);

    if (!c.reason) {
        EXPECT_TRUE(Messages().isEmpty());
        return;
    }
    const QString reason = QString::fromLatin1(c.reason);
    EXPECT_EQ(
        Messages(),
        (QStringList {QStringLiteral("Could not fetch the background colour for Till #5\rReason: ")
                          + reason + QStringLiteral("\rRaised in GetBackColour"),
                      QStringLiteral("Could not fetch the text colour for Till #5\rReason: ")
                          + reason + QStringLiteral("\rRaised in GetTextColour")}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TillColourRows,
    ::testing::Values(
        ColourRowsCase {"NoRowForTheTill", {{"4", "255"}, {"15", "255"}}, clNone, nullptr},
        ColourRowsCase {"OneMatch", {{"4", "1"}, {"5", "16711680"}, {"6", "2"}}, clBlue, nullptr},
        ColourRowsCase {"LastOfTwoMatchesWins", {{"5", "255"}, {"05", "65280"}}, clLime, nullptr},
        ColourRowsCase {"ClassNotANumberAfterAMatch",
                        {{"5", "255"}, {"GLOBAL", "1"}, {"05", "65280"}},
                        clRed,
                        "'GLOBAL' is not a valid integer value"},
        ColourRowsCase {"ValueNotANumberAfterAMatch",
                        {{"5", "65280"}, {"6", "3"}, {"05", "red"}},
                        clLime,
                        "'red' is not a valid integer value"},
        ColourRowsCase {"BadRowBeforeAnyMatch",
                        {{"abc", "1"}, {"5", "255"}},
                        clNone,
                        "'abc' is not a valid integer value"}),
    [](const ::testing::TestParamInfo<ColourRowsCase> &row) { return row.param.name; });

TEST_F(TillColours, EmployeeColourByNumberEvenWithAQuote)
{
    Db.Exec(QStringLiteral("INSERT INTO Employee (EmpNum, GYColour) VALUES ('7', 255), "
                           "('O''Neil', 65280), ('8', NULL)"));
    EXPECT_EQ(Colours.GetEmployeeColour(QStringLiteral("7")), clRed);
    EXPECT_EQ(Colours.GetEmployeeColour(QStringLiteral("O'Neil")), clLime);
    EXPECT_EQ(Colours.GetEmployeeColour(QStringLiteral("8")), 0u);
    EXPECT_EQ(Colours.GetEmployeeColour(QStringLiteral("99")), 0u);
    EXPECT_EQ(Colours.GetEmployeeColour(QStringLiteral("x' OR '1'='1")), 0u);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_FALSE(Runner.Query().Active());
}

TEST_F(TillColours, EmployeeColourErrorShowsTheErrorTextAndGivesZero)
{
    Db.Exec(QStringLiteral("INSERT INTO Employee (EmpNum, GYColour) VALUES ('7', 'blue')"));
    EXPECT_EQ(Colours.GetEmployeeColour(QStringLiteral("7")), 0u);
    EXPECT_EQ(Messages(), QStringList {QStringLiteral("'blue' is not a valid integer value")});
}

TEST_F(TillColours, InvoiceMakerIsReplacedAndSurvivesANewReader)
{
    EXPECT_EQ(Colours.GetInvoiceMaker(10), QString()); // never assigned

    Colours.SaveInvoiceMaker(10, QStringLiteral("7"));
    Colours.SaveInvoiceMaker(11, QStringLiteral("8"));
    Colours.SaveInvoiceMaker(10, QStringLiteral("D'Arcy"));

    EXPECT_EQ(Db.Count(QStringLiteral("GYStaffLinkInvoices"), QStringLiteral("fkInvoiceNum = 10")),
              1);
    TTillColours afterRestart(&Runner);
    EXPECT_EQ(afterRestart.GetInvoiceMaker(10), QStringLiteral("D'Arcy"));
    EXPECT_EQ(afterRestart.GetInvoiceMaker(11), QStringLiteral("8"));
    EXPECT_TRUE(Messages().isEmpty());
}

TEST_F(TillColours, FailedInsertKeepsTheEarlierMaker)
{
    Colours.SaveInvoiceMaker(10, QStringLiteral("7"));
    Db.Exec(QStringLiteral(
        "CREATE TRIGGER RefuseMaker BEFORE INSERT ON GYStaffLinkInvoices "
        "WHEN NEW.fkEmpNum = 'BAD' BEGIN SELECT RAISE(ABORT, 'maker refused'); END"));

    Colours.SaveInvoiceMaker(10, QStringLiteral("BAD"));

    EXPECT_EQ(Colours.GetInvoiceMaker(10), QStringLiteral("7"));
    EXPECT_EQ(Db.Count(QStringLiteral("GYStaffLinkInvoices")), 1);
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].startsWith(
        QStringLiteral("Could not insert the Invoice maker's details.\rReason: ")));
    EXPECT_TRUE(Messages()[0].contains(QStringLiteral("maker refused")));
    EXPECT_TRUE(
        Messages()[0].endsWith(QStringLiteral("\rRaised in [modEmployee] SaveInvoiceMaker")));
    EXPECT_FALSE(Db.Connection().InTransaction());

    // The connection is usable again afterwards.
    Colours.SaveInvoiceMaker(10, QStringLiteral("9"));
    EXPECT_EQ(Colours.GetInvoiceMaker(10), QStringLiteral("9"));
}

TEST_F(TillColours, InvoiceMakerReadErrorGivesEmpty)
{
    Db.Exec(QStringLiteral("DROP TABLE GYStaffLinkInvoices"));
    EXPECT_EQ(Colours.GetInvoiceMaker(10), QString());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].startsWith(
        QStringLiteral("Could not retrieve the Invoice maker's details.\rReason: ")));
    EXPECT_TRUE(
        Messages()[0].endsWith(QStringLiteral("\rRaised in [modEmployee] GetInvoiceMaker")));
}

} // namespace
