#pragma once

#include "SqlConnection.h"

namespace platform {

// A driver behind SqlConnection. Statements arrive already translated for the database.
class SqlBackend
{
public:
    virtual ~SqlBackend() = default;
    virtual bool IsOpen() const = 0;
    virtual void Close() = 0;
    // Runs the text (one statement or several); binds `params` by name, ignoring case;
    // the first statement that returns columns fills `rows`. Returns rows affected.
    virtual int Run(const QString &sql, const SqlParams &params, Rowset *rows) = 0;
    virtual qint64 LastInsertId() = 0;
};

std::unique_ptr<SqlBackend> OpenSqliteBackend(const QString &file);
std::unique_ptr<SqlBackend> OpenOdbcBackend(const QString &odbcString, bool sqliteDialect);

} // namespace platform
