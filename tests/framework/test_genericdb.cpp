#include "../support/TestDatabase.h"

#include "framework/clsGenericDB.h"

#include "platform/DbError.h"
#include "platform/DialogSeam.h"

#include <gtest/gtest.h>

namespace {

using platform::CursorLocation;

class GenericDBTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.Exec("CREATE TABLE Notes (NoteID INTEGER PRIMARY KEY AUTOINCREMENT, Txt TEXT)");
        db.Exec("INSERT INTO Notes (Txt) VALUES ('a'), ('b')");
        db.Connection().RegisterProcedure(
            "p", [this](platform::SqlConnection &, const QVariantList &args) {
                ++calls;
                received = args;
            });
    }

    testsupport::TestDatabase db;
    TGenericDB runner {&db.Connection()};
    platform::ScriptedResponder dialogs;
    int calls = 0;
    QVariantList received;
};

TEST_F(GenericDBTest, RunsTextsAndLinesAndKeepsTheCursorLocation)
{
    runner.OpenSQL("SELECT Txt FROM Notes ORDER BY NoteID", CursorLocation::Client);
    ASSERT_EQ(runner.Query().RecordCount(), 2);

    // A text runs on the connection: the open result stays readable.
    EXPECT_EQ(runner.ExecSQL("UPDATE Notes SET Txt = 'z' WHERE Txt = 'b'"), 1);
    EXPECT_TRUE(runner.Query().Active());
    EXPECT_EQ(runner.Query().FieldByName(u"Txt").AsString(), "a");

    // Lines run on the query, which is closed and gets its cursor location back.
    EXPECT_EQ(runner.ExecSQL(QStringList {"DELETE FROM Notes", "WHERE Txt = 'z'"}), 1);
    EXPECT_FALSE(runner.Query().Active());
    EXPECT_EQ(runner.Query().GetCursorLocation(), CursorLocation::Client);
    EXPECT_EQ(runner.Query().Text(), "DELETE FROM Notes\nWHERE Txt = 'z'");
    EXPECT_EQ(db.Count("Notes"), 1);

    EXPECT_THROW(runner.ExecSQL("UPDATE Nowhere SET x = 1"), platform::DbError);
    EXPECT_THROW(runner.OpenSQL("SELECT * FROM Nowhere"), platform::DbError);
    EXPECT_TRUE(dialogs.Requests().isEmpty()); // the plain runners report nothing themselves
}

TEST_F(GenericDBTest, StoredProcedureStatementAndArguments)
{
    struct Case
    {
        const char *name;
        QVariantList args;
        QString statement;
        QVariantList received;
    } cases[] = {
        {"integer, string, Boolean",
         {5, QString("a"), true},
         "EXEC p 5,'a',1",
         {5, QString("a"), 1}},
        {"no arguments", {}, "EXEC p ", {}},
        {"a quote reaches the procedure intact",
         {QString("it's")},
         "EXEC p 'it''s'",
         {QString("it's")}},
        {"float and currency with a decimal point",
         {2.5, QVariant::fromValue(platform::Currency::FromRaw(125000)),
          QVariant::fromValue(platform::Currency::FromRaw(-312))},
         "EXEC p 2.5,12.5,-0.0312",
         {2.5, 12.5, -0.0312}},
        {"large integer and false",
         {qlonglong(1) << 40, false},
         "EXEC p 1099511627776,0",
         {qlonglong(1) << 40, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        calls = 0;
        EXPECT_TRUE(runner.ExecStoredProc("p", c.args, CursorLocation::Client));
        EXPECT_EQ(runner.Query().Text(), c.statement);
        EXPECT_EQ(runner.Query().GetCursorLocation(), CursorLocation::Client);
        EXPECT_EQ(calls, 1);
        ASSERT_EQ(received.size(), c.received.size());
        for (qsizetype i = 0; i < received.size(); ++i) {
            if (c.received[i].typeId() == QMetaType::Double)
                EXPECT_DOUBLE_EQ(received[i].toDouble(), c.received[i].toDouble()) << i;
            else
                EXPECT_EQ(received[i].toString(), c.received[i].toString()) << i;
        }
    }
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

TEST_F(GenericDBTest, FailingProcedureIsReportedOnceAndReturnsFalse)
{
    db.Connection().RegisterProcedure("job_UpdateSingleAttendTotals",
                                      [](platform::SqlConnection &, const QVariantList &) {
                                          throw platform::DbError("Attendance row 12 is locked");
                                      });
    struct Case
    {
        const char *procName;
        QString reason;
    } cases[] = {
        {"job_UpdateSingleAttendTotals", "Attendance row 12 is locked"},
        {"nope", "Could not find stored procedure 'nope'."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.procName);
        dialogs.Clear();
        EXPECT_FALSE(runner.ExecStoredProc(c.procName, {12}, CursorLocation::Client));
        ASSERT_EQ(dialogs.Requests().size(), 1);
        const platform::DialogRequest &shown = dialogs.Last();
        EXPECT_EQ(shown.Kind, "MsgDlg");
        EXPECT_EQ(shown.Type, platform::mtError);
        EXPECT_EQ(shown.Buttons, (platform::MsgDlgButtons {platform::mbOK}));
        EXPECT_EQ(shown.Text,
                  "Failed to execute the stored procedure [" + QString(c.procName) + "]\rReason: "
                      + c.reason + "\r\rException Raised In: TGenericDB.ExecStoredProc");
    }
}

} // namespace
