#pragma once

#include <QString>

namespace platform {

class SqlConnection;

// The embedded schema and demo data (db/ in the source tree, compiled in as resources).
QString SchemaSqlite();
QString SchemaMssql();
QString DemoDataSqlite();

// Creates a new SQLite database file with the schema (replacing nothing: throws DbError
// when the file exists). With `withDemoData` the demo shop's rows are added.
void CreateSqliteDatabase(const QString &file, bool withDemoData = false);

// The connection string for an SQLite file: "Provider=SQLite;Data Source=<file>".
QString SqliteConnectionString(const QString &file);

} // namespace platform
