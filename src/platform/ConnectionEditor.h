#pragma once

#include <QString>

namespace platform {

// Stands in for the data-link dialog: edits a connection string as an SQL Server
// connection (server, port, database, user, password) or an SQLite file, with a
// "Test connection" button. Runs through the dialog seam (kind "ConnectionEditor";
// Text = the initial string; a scripted answer's Value is the new string).
// Returns the edited string on OK and the initial string on Cancel.
QString EditConnectionStringDialog(const QString &initial, const QString &caption = QString());

// The SQL Server form of the suite ("Provider=SQLOLEDB.1;Persist Security Info=True;...")
// built from the editor's fields; port 0 leaves the server's default port.
QString ComposeSqlServerString(const QString &server, int port, const QString &database,
                               const QString &user, const QString &password);

} // namespace platform
