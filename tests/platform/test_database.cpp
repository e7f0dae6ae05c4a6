#include "TestDatabase.h"

#include "platform/ConnectionString.h"
#include "platform/DbError.h"
#include "platform/DbSchema.h"
#include "platform/SqlQuery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform;
using testsupport::TestDatabase;

namespace {

class SqliteLayer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.Exec("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT COLLATE NOCASE, "
                "Qty REAL, Flag INTEGER NOT NULL DEFAULT 0, Price REAL, At TEXT, Note TEXT)");
    }
    TestDatabase db;
};

TEST_F(SqliteLayer, QueryReadsTypedFieldsByNameIgnoringCase)
{
    db.Exec("INSERT INTO T (Name, Qty, Flag, Price, At, Note) VALUES "
            "('Burger', 2, 1, 12.34565, '2026-12-11 10:05:00.000', NULL)");
    SqlQuery q(&db.Connection());
    q.SQL() << "SELECT *" << "FROM T";
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName("name").AsString(), "Burger");
    EXPECT_EQ(q.FieldByName("QTY").AsInteger(), 2);
    EXPECT_DOUBLE_EQ(q.FieldByName("Qty").AsFloat(), 2.0);
    EXPECT_TRUE(q.FieldByName("Flag").AsBoolean());
    EXPECT_EQ(q.FieldByName("Price").AsCurrency(), Currency::FromRaw(123456));
    EXPECT_EQ(q.FieldByName("At").AsDateTime(), QDateTime(QDate(2026, 12, 11), QTime(10, 5)));
    EXPECT_TRUE(q.FieldByName("Note").IsNull());
    EXPECT_EQ(q.FieldByName("Note").AsString(), "");
    EXPECT_EQ(q.FieldByName("Note").AsInteger(), 0);
    EXPECT_FALSE(q.FieldByName("Note").AsBoolean());
    EXPECT_FALSE(q.FieldByName("Note").AsDateTime().isValid());
    EXPECT_THROW(q.FieldByName("Missing"), DbError);
}

TEST_F(SqliteLayer, TextThatIsNotANumberRaisesConversionError)
{
    db.Exec("INSERT INTO T (Name) VALUES ('abc')");
    SqlQuery q(&db.Connection());
    q.SetSQL("SELECT Name FROM T");
    q.Open();
    EXPECT_THROW(q.FieldByName("Name").AsInteger(), ConvertError);
    EXPECT_THROW(q.FieldByName("Name").AsFloat(), ConvertError);
    EXPECT_THROW(q.FieldByName("Name").AsDateTime(), ConvertError);
}

TEST_F(SqliteLayer, ClientRowsetMovesAndRemembersRows)
{
    for (int i = 1; i <= 5; ++i)
        db.Exec(QString("INSERT INTO T (Name) VALUES ('n%1')").arg(i));
    SqlQuery q(&db.Connection());
    q.SetSQL("SELECT Name FROM T ORDER BY ID");
    q.Open();
    EXPECT_EQ(q.RecordCount(), 5);
    EXPECT_TRUE(q.Bof());
    QStringList seen;
    for (q.First(); !q.Eof(); q.Next())
        seen << q.FieldByName("Name").AsString();
    EXPECT_EQ(seen, (QStringList{"n1", "n2", "n3", "n4", "n5"}));
    EXPECT_THROW(q.FieldByName("Name"), DbError); // past the end
    q.Last();
    EXPECT_EQ(q.FieldByName("Name").AsString(), "n5");
    EXPECT_EQ(q.RecNo(), 5);
    q.MoveTo(2);
    EXPECT_EQ(q.FieldByName("Name").AsString(), "n3");
    q.Prior();
    EXPECT_EQ(q.FieldByName("Name").AsString(), "n2");
    EXPECT_THROW(q.MoveTo(5), DbError);

    q.SetSQL("SELECT Name FROM T WHERE 1 = 0");
    q.Open();
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.Eof());
}

TEST_F(SqliteLayer, CommandBindsRepeatedAndCaseInsensitiveNames)
{
    SqlCommand cmd(&db.Connection());
    cmd.SetCommandText("INSERT INTO T (Name, Note, Qty) VALUES (:Name, :name, :Qty)");
    cmd.SetParam("NAME", QString("O'Brien \u00e9\u00e8 ; -- x"));
    cmd.SetParam("qty", 2.5);
    EXPECT_EQ(cmd.Execute(), 1);
    SqlQuery q(&db.Connection());
    q.SetSQL("SELECT Name, Note, Qty FROM T");
    q.Open();
    EXPECT_EQ(q.FieldByName("Name").AsString(), QString("O'Brien \u00e9\u00e8 ; -- x"));
    EXPECT_EQ(q.FieldByName("Note").AsString(), QString("O'Brien \u00e9\u00e8 ; -- x"));
    EXPECT_THROW(cmd.SetParam("Nope", 1), DbError);
}

TEST_F(SqliteLayer, BoundDatesUseTheCanonicalTextForm)
{
    SqlCommand cmd(&db.Connection());
    cmd.SetCommandText("INSERT INTO T (At) VALUES (:At)");
    cmd.SetParam("At", QDateTime(QDate(2026, 1, 5), QTime(5, 0)));
    cmd.Execute();
    EXPECT_EQ(db.Scalar("SELECT At FROM T").toString(), "2026-01-05 05:00:00.000");
    EXPECT_EQ(db.Connection().DateLiteral(QDateTime(QDate(2026, 1, 5), QTime(5, 0, 7, 9))),
              "'2026-01-05 05:00:07.009'");
    // Inclusive at the minute: a row at exactly the bound is found, one a second earlier not.
    db.Exec("INSERT INTO T (At) VALUES ('2026-01-05 04:59:59.999')");
    const QString bound = db.Connection().DateLiteral(QDateTime(QDate(2026, 1, 5), QTime(5, 0)));
    EXPECT_EQ(db.Count("T", "At >= " + bound), 1);
    EXPECT_EQ(db.Count("T", "At > " + bound), 0);
}

TEST_F(SqliteLayer, DialectRewritesRunOnTheEmbeddedDatabase)
{
    db.Exec("INSERT INTO T (Name, Qty) VALUES ('a', NULL), ('IsNull(', 3)");
    EXPECT_EQ(db.Scalar("SELECT IsNull(Qty,7) FROM T WHERE Name = 'a'").toInt(), 7);
    EXPECT_EQ(db.Scalar("SELECT TOP 1 Name FROM T ORDER BY ID DESC").toString(), "IsNull(");
    db.Exec("UPDATE T SET At = GetDate() WHERE Name = 'a'");
    const QDateTime at = ParseDbDateTime(db.Scalar("SELECT At FROM T WHERE Name = 'a'"));
    EXPECT_LT(qAbs(at.secsTo(QDateTime::currentDateTime())), 5);
    EXPECT_THROW(db.Exec("SELECT * FROM T WHERE ID IN ()"), DbError);
}

TEST_F(SqliteLayer, IdentityReadBackAndUpsert)
{
    SqlCommand cmd(&db.Connection());
    cmd.SetCommandText("INSERT INTO T (Name) VALUES (:Name) SELECT :IDField = @@Identity");
    cmd.SetOutput("IDField");
    cmd.SetParam("Name", "first");
    EXPECT_EQ(cmd.Execute(), 1);
    EXPECT_EQ(cmd.ParamValue("IDField").toInt(), 1);
    cmd.SetParam("Name", "second");
    cmd.Execute();
    EXPECT_EQ(cmd.ParamValue("IDField").toInt(), 2);

    // An insert that inserts nothing gives no stale key.
    cmd.SetCommandText("INSERT INTO T (Name) SELECT Name FROM T WHERE 1 = 0 SELECT :IDField = @@Identity");
    cmd.SetOutput("IDField");
    EXPECT_EQ(cmd.Execute(), 0);
    EXPECT_TRUE(cmd.ParamValue("IDField").isNull());

    db.Exec("CREATE TABLE KV (K TEXT COLLATE NOCASE UNIQUE, V TEXT)");
    SqlCommand up(&db.Connection());
    up.SetCommandText("IF NOT EXISTS (SELECT NULL FROM KV WHERE K=:SK) INSERT INTO KV (K, V) VALUES(:IK,:IV) "
                      "ELSE UPDATE KV SET V = :UV WHERE K=:UK");
    auto run = [&](const QString &k, const QString &v) {
        for (const char *n : {"SK", "IK", "UK"})
            up.SetParam(n, k);
        for (const char *n : {"IV", "UV"})
            up.SetParam(n, v);
        return up.Execute();
    };
    EXPECT_EQ(run("GY FILTER", "0"), 1);
    EXPECT_EQ(run("gy filter", "1"), 1); // the same row, as on a case-insensitive server
    EXPECT_EQ(db.Count("KV"), 1);
    EXPECT_EQ(db.Scalar("SELECT V FROM KV").toString(), "1");
}

TEST_F(SqliteLayer, ExecDispatchesToRegisteredProcedures)
{
    QVariantList got;
    db.Connection().RegisterProcedure("p", [&](SqlConnection &, const QVariantList &args) { got = args; });
    db.Exec("EXEC p 5,'a',1");
    ASSERT_EQ(got.size(), 3);
    EXPECT_EQ(got[0].toInt(), 5);
    EXPECT_EQ(got[1].toString(), "a");
    EXPECT_EQ(got[2].toInt(), 1);
    db.Exec("EXEC p ");
    EXPECT_TRUE(got.isEmpty());
    try {
        db.Exec("EXEC no_such_proc 1");
        FAIL() << "an unknown procedure must fail";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.Message().contains("no_such_proc"));
    }
}

TEST_F(SqliteLayer, AttendTotalsProcedureCompletesTheRow)
{
    db.Exec("INSERT INTO Attend (EmpNum, InDateTime, OutDateTime, HourlyRate, KmRate, OdoStart, OdoEnd) VALUES "
            "('1', '2026-12-11 08:00:00.000', '2026-12-11 15:45:00.000', 10, 2, 100, 130)");
    const int link = db.Scalar("SELECT InvoiceLink FROM Attend").toInt();
    db.Exec(QString("EXEC job_UpdateSingleAttendTotals %1").arg(link));
    SqlQuery q(&db.Connection());
    q.SetSQL("SELECT * FROM Attend");
    q.Open();
    EXPECT_EQ(q.FieldByName("HrsWorked").AsString(), "1899-12-30 07:45:00.000");
    EXPECT_EQ(q.FieldByName("TimeWages").AsCurrency(), Currency::FromRaw(775000));
    EXPECT_DOUBLE_EQ(q.FieldByName("KmsTravlld").AsFloat(), 30.0);
    EXPECT_EQ(q.FieldByName("TravlWages").AsCurrency(), Currency::FromRaw(600000));
}

TEST_F(SqliteLayer, ErrorsCarryTheDriversText)
{
    try {
        db.Exec("SELECT * FROM NoSuchTable");
        FAIL();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.Message().contains("no such table: NoSuchTable")) << e.Message().toStdString();
    }
    // The connection stays usable after an error.
    EXPECT_EQ(db.Count("T"), 0);
}

TEST_F(SqliteLayer, TransactionRollsBackUnlessCommitted)
{
    {
        Transaction tx(db.Connection());
        db.Exec("INSERT INTO T (Name) VALUES ('lost')");
    }
    EXPECT_EQ(db.Count("T"), 0);
    {
        Transaction tx(db.Connection());
        db.Exec("INSERT INTO T (Name) VALUES ('kept')");
        tx.Commit();
    }
    EXPECT_EQ(db.Count("T"), 1);
}

// A COMMIT the database refuses (here a deferred foreign key) must not leave the
// database's transaction open behind the layer's back: the next transaction would fail.
TEST_F(SqliteLayer, RefusedCommitEndsTheTransaction)
{
    db.Exec("PRAGMA foreign_keys = ON");
    db.Exec("CREATE TABLE Parent (ID INTEGER PRIMARY KEY)");
    db.Exec("CREATE TABLE Child (ParentID INTEGER REFERENCES Parent(ID) DEFERRABLE INITIALLY DEFERRED)");
    {
        Transaction tx(db.Connection());
        db.Exec("INSERT INTO Child (ParentID) VALUES (42)");
        EXPECT_THROW(tx.Commit(), DbError);
    }
    EXPECT_EQ(db.Count("Child"), 0);
    {
        Transaction tx(db.Connection());
        db.Exec("INSERT INTO T (Name) VALUES ('kept')");
        tx.Commit();
    }
    EXPECT_EQ(db.Count("T"), 1);
}

TEST_F(SqliteLayer, MultiLineStatementsAndBatches)
{
    EXPECT_EQ(db.Connection().Execute(QStringList{"INSERT INTO T (Name)", "VALUES ('a');"}), 1);
    db.Exec("INSERT INTO T (Name) VALUES ('b'); INSERT INTO T (Name) VALUES ('c');");
    EXPECT_EQ(db.Count("T"), 3);
}

TEST_F(SqliteLayer, DemoDatabaseLoadsAndMatchesTheSchema)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("demo.db");
    CreateSqliteDatabase(file, true);
    SqlConnection con;
    con.Open(SqliteConnectionString(file));
    SqlQuery q(&con);
    q.SetSQL("SELECT COUNT(*) AS N FROM Tills");
    q.Open();
    EXPECT_GE(q.FieldByName("N").AsInteger(), 3);
    EXPECT_THROW(CreateSqliteDatabase(file), DbError);
}

struct BadConnection
{
    const char *name;
    QString text; // %1 = a temporary folder
};

void PrintTo(const BadConnection &c, std::ostream *os)
{
    *os << c.name;
}

class BadConnectionTest : public ::testing::TestWithParam<BadConnection>
{};

TEST_P(BadConnectionTest, FailsWithAClearErrorAndNoCrash)
{
    QTemporaryDir dir;
    QFile junk(dir.filePath("junk.db"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    SqlConnection con;
    try {
        con.Open(QString(GetParam().text).replace("%1", dir.path()));
        FAIL() << "opened";
    } catch (const DbError &e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_FALSE(con.Connected());
    EXPECT_THROW(con.Execute("SELECT 1"), DbError);
}

INSTANTIATE_TEST_SUITE_P(
    Connection, BadConnectionTest,
    ::testing::Values(BadConnection{"empty", ""}, BadConnection{"unknown_provider", "Provider=Foo.1;Data Source=x"},
                      BadConnection{"no_provider", "Data Source=x"},
                      BadConnection{"missing_file", "Provider=SQLite;Data Source=%1/none.db"},
                      BadConnection{"directory", "Provider=SQLite;Data Source=%1"},
                      BadConnection{"not_a_database", "Provider=SQLite;Data Source=%1/junk.db"},
                      BadConnection{"access_driver",
                                    "Provider=MSDASQL.1;Persist Security Info=True;DRIVER=Microsoft Access Driver "
                                    "(*.mdb);DBQ=x.mdb;"}),
    [](const auto &tpi) { return std::string(tpi.param.name); });

TEST(ConnectionStrings, SqlServerStringBecomesAFreeTdsOdbcString)
{
    const auto t = ResolveConnectionString(
        "Provider=SQLOLEDB.1;Persist Security Info=True;User ID=vela;Password=p;w{d};Initial Catalog=Vela;"
        "Data Source=192.168.1.10,1433;");
    // "p" ends the password at ';' in an OLE DB string; braces in values are escaped for ODBC.
    EXPECT_EQ(t.kind, ConnectionTarget::Odbc);
    EXPECT_FALSE(t.sqliteDialect);
    EXPECT_EQ(t.odbcString, "DRIVER={FreeTDS};Server=192.168.1.10;Port=1433;Database=Vela;UID=vela;PWD=p;"
                            "TDS_Version=7.4;ClientCharset=UTF-8");
    const auto quoted = ResolveConnectionString("Provider=SQLOLEDB.1;User ID=u;Password=\"a;b\";Data Source=srv");
    EXPECT_TRUE(quoted.odbcString.contains("PWD={a;b}"));
    const auto odbc = ResolveConnectionString("DRIVER={SQLite3};Database=/tmp/x.db");
    EXPECT_TRUE(odbc.sqliteDialect);
    EXPECT_EQ(odbc.odbcString, "DRIVER={SQLite3};Database=/tmp/x.db");
}

} // namespace

namespace {

TEST(ConnectionStrings, SqliteFileWithSemicolonRoundTrips)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("shop;a \"b\".db");
    CreateSqliteDatabase(file);
    const QString cs = SqliteConnectionString(file);
    EXPECT_EQ(ResolveConnectionString(cs).sqliteFile, file);
    SqlConnection con;
    con.Open(cs);
    EXPECT_TRUE(con.Connected());
}

} // namespace
