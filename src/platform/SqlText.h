#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// Text-level tools for SQL statements: a literal-aware scanner and the translation of the
// suite's T-SQL statements for the embedded database. Pure functions: no connection needed.
namespace platform::sqltext {

// A copy of `sql` of the same length in which everything inside string literals ('...'),
// quoted identifiers ("..." and [...]) and comments is replaced by filler characters.
// Patterns matched on the mask can never hit text inside a literal, and positions found
// on the mask are positions in the original text.
QString Mask(const QString &sql);

// `:Name` placeholders in order of appearance (a name may repeat), outside literals.
QStringList ParameterNames(const QString &sql);

// Replaces every `:Name` placeholder by `?`; `names` receives the names in order.
QString ToPositional(const QString &sql, QStringList *names);

// Writes a text as an SQL string literal, doubling embedded single quotes.
QString Quote(const QString &text);

// Token rewrites for the embedded database: IsNull( -> ifnull(, GetDate() -> the local
// time in the canonical text form, SELECT [DISTINCT] TOP n ... -> ... LIMIT n of the same
// (sub)query. Throws DbError for an empty IN () list, which SQL Server rejects but SQLite
// would silently accept.
QString RewriteForSqlite(const QString &sql);

// How a statement must be run on the embedded database.
struct Plan
{
    enum Kind {
        Plain,          // run `sql` as it is
        Upsert,         // IF NOT EXISTS (existsSql) insertSql ELSE updateSql
        IdentityInsert, // run `sql`; put the new row's id into output parameter `identityParam`
        Exec            // call the registered procedure `procName` with `procArgs`
    };
    Kind kind = Plain;
    QString sql;
    QString existsSql;
    QString insertSql;
    QString updateSql;
    QString identityParam;
    QString procName;
    QVariantList procArgs;
};

// Recognises the statement shapes above; `sql` members are not yet token-rewritten.
Plan Analyse(const QString &sql);

// Splits "INSERT ... SELECT :Id = @@Identity" into the insert and the parameter name.
// Returns false when the text has no such trailer.
bool SplitIdentityTrailer(const QString &sql, QString *insert, QString *param);

} // namespace platform::sqltext
