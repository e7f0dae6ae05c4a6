// The ODBC path, exercised for real through the SQLite ODBC driver; a SQL Server test runs
// only when VELA_TEST_MSSQL names a server connection string.
#include "TestDatabase.h"

#include "platform/DbError.h"
#include "platform/SqlQuery.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace platform;

namespace {

TEST(OdbcLayer, SqliteThroughOdbcBindsReadsAndTranslates)
{
    testsupport::TestDatabase file;
    file.Exec("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, Qty REAL, At TEXT)");
    file.Connection().Close();

    SqlConnection con;
    try {
        con.Open("DRIVER={SQLite3};Database=" + file.File());
    } catch (const DbError &e) {
        GTEST_SKIP() << "SQLite ODBC driver not available: " << e.Message().toStdString();
    }
    EXPECT_EQ(con.Dialect(), SqlDialect::Sqlite);

    SqlCommand cmd(&con);
    cmd.SetCommandText("INSERT INTO T (Name, Qty, At) VALUES (:Name, :Qty, :At) SELECT :IDField = @@Identity");
    cmd.SetOutput("IDField");
    cmd.SetParam("name", QString("caf\u00e9 'x'"));
    cmd.SetParam("Qty", 1.5);
    cmd.SetParam("At", QDateTime(QDate(2026, 12, 11), QTime(9, 30)));
    EXPECT_EQ(cmd.Execute(), 1);
    EXPECT_EQ(cmd.ParamValue("IDField").toInt(), 1);

    SqlQuery q(&con);
    q.SQL() << "SELECT TOP 1 IsNull(Name, '') AS Name, Qty, At" << "FROM T ORDER BY ID";
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName("NAME").AsString(), QString("caf\u00e9 'x'"));
    EXPECT_DOUBLE_EQ(q.FieldByName("qty").AsFloat(), 1.5);
    EXPECT_EQ(q.FieldByName("At").AsDateTime(), QDateTime(QDate(2026, 12, 11), QTime(9, 30)));
    EXPECT_THROW(con.Execute("SELECT * FROM Nope"), DbError);
}

// A server that accepts the connection and never answers must not freeze the caller.
TEST(OdbcLayer, SilentServerFailsWithinTheLoginTimeout)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const quint16 port = server.serverPort();
    // Accept in the kernel's backlog; the test thread is busy in the blocking connect, so
    // nothing is read and nothing is answered.
    SqlConnection con;
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(con.Open(QString("Provider=SQLOLEDB.1;Persist Security Info=True;User ID=vela;Password=abc;"
                                  "Initial Catalog=Vela;Data Source=127.0.0.1,%1;")
                              .arg(port)),
                 DbError);
    EXPECT_LT(timer.elapsed(), (SqlConnection::kLoginTimeoutSeconds + 5) * 1000);
    EXPECT_FALSE(con.Connected());
}

TEST(OdbcLayer, RealSqlServerWhenConfigured)
{
    const QString cs = qEnvironmentVariable("VELA_TEST_MSSQL");
    if (cs.isEmpty())
        GTEST_SKIP() << "set VELA_TEST_MSSQL to a connection string to run against SQL Server";
    SqlConnection con;
    con.Open(cs);
    EXPECT_EQ(con.Dialect(), SqlDialect::TSql);
    con.Execute("IF OBJECT_ID('tempdb..#VelaT') IS NOT NULL DROP TABLE #VelaT");
    con.Execute("CREATE TABLE #VelaT (ID int IDENTITY(1,1) PRIMARY KEY, Name nvarchar(50), At datetime)");
    SqlCommand cmd(&con);
    cmd.SetCommandText("INSERT INTO #VelaT (Name, At) VALUES (:Name, :At) SELECT :IDField = @@Identity");
    cmd.SetOutput("IDField");
    cmd.SetParam("Name", "O'Brien");
    cmd.SetParam("At", QDateTime(QDate(2026, 1, 5), QTime(5, 0)));
    EXPECT_EQ(cmd.Execute(), 1);
    EXPECT_EQ(cmd.ParamValue("IDField").toInt(), 1);
    SqlQuery q(&con);
    q.SetSQL("SELECT Name FROM #VelaT WHERE At >= " + con.DateLiteral(QDateTime(QDate(2026, 1, 5), QTime(5, 0))));
    q.Open();
    EXPECT_EQ(q.FieldByName("Name").AsString(), "O'Brien");
}

} // namespace
