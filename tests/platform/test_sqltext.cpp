#include "TestDatabase.h"
#include "platform/DbError.h"
#include "platform/SqlText.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

struct RewriteCase
{
    const char *name;
    const char *in;
    const char *out;
};

const RewriteCase kRewrites[] = {
    {"isnull", "SELECT IsNull(tillpost.tillid,0) AS TillID FROM t",
     "SELECT ifnull(tillpost.tillid,0) AS TillID FROM t"},
    {"isnull_spacing_and_case", "select ISNULL (a, 0)", "select ifnull(a, 0)"},
    {"isnull_in_literal_untouched", "SELECT 'IsNull(x)' FROM t", "SELECT 'IsNull(x)' FROM t"},
    {"column_named_isnullable_untouched", "SELECT IsNullable FROM t", "SELECT IsNullable FROM t"},
    {"getdate", "UPDATE invoices SET prepared = 1, TimeStampCooked = GetDate() WHERE invoicenum = 5",
     "UPDATE invoices SET prepared = 1, TimeStampCooked = strftime('%Y-%m-%d %H:%M:%f','now','localtime') "
     "WHERE invoicenum = 5"},
    {"getdate_in_literal_untouched", "INSERT INTO t VALUES ('GetDate()')", "INSERT INTO t VALUES ('GetDate()')"},
    {"getdate_in_bracket_untouched", "SELECT [GetDate()] FROM t", "SELECT [GetDate()] FROM t"},
    {"top_statement", "SELECT TOP 1 Employee.* FROM Employee ORDER BY InDateTime DESC",
     "SELECT Employee.* FROM Employee ORDER BY InDateTime DESC LIMIT 1"},
    {"top_subquery", "SELECT * FROM e WHERE NOT EXISTS (SELECT TOP 1 NULL FROM Attend ORDER BY InvoiceLink DESC) AND x=1",
     "SELECT * FROM e WHERE NOT EXISTS (SELECT NULL FROM Attend ORDER BY InvoiceLink DESC LIMIT 1) AND x=1"},
    {"top_distinct_multiline", "SELECT DISTINCT TOP 5 a\nFROM t\nORDER BY a\n",
     "SELECT DISTINCT a\nFROM t\nORDER BY a LIMIT 5\n"},
    {"top_with_paren_inside", "SELECT TOP 2 ifnull(a,0) FROM t WHERE b IN (1,2)",
     "SELECT ifnull(a,0) FROM t WHERE b IN (1,2) LIMIT 2"},
    {"top_in_literal_untouched", "SELECT 'SELECT TOP 1 x' FROM t", "SELECT 'SELECT TOP 1 x' FROM t"},
    {"quote_escape_inside_literal", "SELECT 'it''s GetDate()' , GetDate()",
     "SELECT 'it''s GetDate()' , strftime('%Y-%m-%d %H:%M:%f','now','localtime')"},
};

void PrintTo(const RewriteCase &c, std::ostream *os)
{
    *os << c.name;
}

class RewriteTest : public ::testing::TestWithParam<RewriteCase>
{};

TEST_P(RewriteTest, RewritesOnlyOutsideLiterals)
{
    EXPECT_EQ(sqltext::RewriteForSqlite(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(Dialect, RewriteTest, ::testing::ValuesIn(kRewrites),
                         [](const auto &tpi) { return std::string(tpi.param.name); });

TEST(Dialect, EmptyInListIsRejectedLikeSqlServer)
{
    EXPECT_THROW(sqltext::RewriteForSqlite("SELECT * FROM t WHERE TillID IN ( )"), DbError);
    EXPECT_NO_THROW(sqltext::RewriteForSqlite("SELECT * FROM t WHERE x = 'IN ()'"));
}

TEST(Dialect, ParameterNamesSkipLiteralsAndRepeat)
{
    const QString sql = "SELECT * FROM t WHERE a=:A AND b = ':B' AND c=:A AND d='10:05' AND [e:F]=:Last";
    EXPECT_EQ(sqltext::ParameterNames(sql), (QStringList{"A", "A", "Last"}));
    QStringList names;
    EXPECT_EQ(sqltext::ToPositional(sql, &names),
              "SELECT * FROM t WHERE a=? AND b = ':B' AND c=? AND d='10:05' AND [e:F]=?");
    EXPECT_EQ(names, (QStringList{"A", "A", "Last"}));
}

TEST(Dialect, QuoteDoublesSingleQuotes)
{
    EXPECT_EQ(sqltext::Quote("O'Brien"), "'O''Brien'");
    EXPECT_EQ(sqltext::Quote(""), "''");
}

TEST(Dialect, AnalyseRecognisesStatementShapes)
{
    const auto upsert = sqltext::Analyse(
        "IF NOT EXISTS (SELECT NULL FROM SysData WHERE Class=:SClass AND Item=:SItem) INSERT INTO SysData "
        "(Class, Item, Value, Value2) VALUES(:IClass,:IItem,:IValue,:IValue2) ELSE UPDATE SysData SET Value = "
        ":UValue,Value2 = :UValue2 WHERE Class=:UClass AND Item=:UItem");
    EXPECT_EQ(upsert.kind, sqltext::Plan::Upsert);
    EXPECT_EQ(upsert.existsSql, "SELECT NULL FROM SysData WHERE Class=:SClass AND Item=:SItem");
    EXPECT_EQ(upsert.insertSql, "INSERT INTO SysData (Class, Item, Value, Value2) VALUES(:IClass,:IItem,:IValue,:IValue2)");
    EXPECT_EQ(upsert.updateSql, "UPDATE SysData SET Value = :UValue,Value2 = :UValue2 WHERE Class=:UClass AND Item=:UItem");

    const auto identity = sqltext::Analyse(
        "INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (:fkPricesID, :fkPrintersID) SELECT :IDField = @@Identity");
    EXPECT_EQ(identity.kind, sqltext::Plan::IdentityInsert);
    EXPECT_EQ(identity.sql, "INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (:fkPricesID, :fkPrintersID)");
    EXPECT_EQ(identity.identityParam, "IDField");

    const auto exec = sqltext::Analyse("EXEC p 5,'a,b',1,'it''s',2.5");
    EXPECT_EQ(exec.kind, sqltext::Plan::Exec);
    EXPECT_EQ(exec.procName, "p");
    ASSERT_EQ(exec.procArgs.size(), 5);
    EXPECT_EQ(exec.procArgs[0].toLongLong(), 5);
    EXPECT_EQ(exec.procArgs[1].toString(), "a,b");
    EXPECT_EQ(exec.procArgs[3].toString(), "it's");
    EXPECT_DOUBLE_EQ(exec.procArgs[4].toDouble(), 2.5);
    EXPECT_TRUE(sqltext::Analyse("EXEC p ").procArgs.isEmpty());

    // The words inside a literal do not make a statement something else.
    EXPECT_EQ(sqltext::Analyse("INSERT INTO t VALUES ('x SELECT :a = @@Identity')").kind, sqltext::Plan::Plain);
    EXPECT_EQ(sqltext::Analyse("SELECT 'EXEC p' FROM t").kind, sqltext::Plan::Plain);
}

} // namespace
