#include "DbSchema.h"

#include "ConnectionString.h"
#include "DbError.h"
#include "SqlConnection.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace platform {

namespace {

QString Resource(const QString &name)
{
    QFile f(QStringLiteral(":/db/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("The built-in file db/") + name + QStringLiteral(" is missing."));
    return QString::fromUtf8(f.readAll());
}

} // namespace

QString SchemaSqlite() { return Resource(QStringLiteral("schema-sqlite.sql")); }
QString SchemaMssql() { return Resource(QStringLiteral("schema-mssql.sql")); }
QString DemoDataSqlite() { return Resource(QStringLiteral("demo-data.sql")); }

QString SqliteConnectionString(const QString &file)
{
    return QStringLiteral("Provider=SQLite;Data Source=") + ConnectionString::QuoteValue(file);
}

void CreateSqliteDatabase(const QString &file, bool withDemoData)
{
    if (QFileInfo::exists(file))
        throw DbError(QStringLiteral("The database file \"") + file + QStringLiteral("\" already exists."));
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    sqlite3_close_v2(db);
    if (rc != SQLITE_OK)
        throw DbError(message + QStringLiteral(": \"") + file + QLatin1Char('"'));

    SqlConnection con;
    con.Open(SqliteConnectionString(file));
    Transaction tx(con);
    con.Execute(SchemaSqlite());
    if (withDemoData)
        con.Execute(DemoDataSqlite());
    tx.Commit();
}

} // namespace platform
