#pragma once

// The plain SQL runner on the program's one connection: statements built as text, and
// stored procedures. Main thread only.

#include "platform/SqlQuery.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class TGenericDB
{
public:
    // connection is not owned and must outlive this object.
    explicit TGenericDB(platform::SqlConnection *connection);
    virtual ~TGenericDB() = default;
    TGenericDB(const TGenericDB &) = delete;
    TGenericDB &operator=(const TGenericDB &) = delete;

    platform::SqlConnection *Connection() const { return m_connection; }
    // Callers read result rows here after OpenSQL. Several callers share it: whatever one
    // leaves open stays open until the next OpenSQL, ExecSQL(lines) or ExecStoredProc.
    platform::SqlQuery &Query() { return m_query; }

    // Closes Query, sets its SQL to text and opens it. Throws platform::DbError.
    void OpenSQL(const QString &text,
                 platform::CursorLocation cursorLocation = platform::CursorLocation::Client);
    // Runs text as one statement on the connection (Query is left as it is); returns the
    // rows affected. Throws platform::DbError.
    int ExecSQL(const QString &text);
    // Runs the lines on Query (closed first, server-side cursor while it runs, its cursor
    // location restored afterwards); returns the rows affected. Throws platform::DbError.
    int ExecSQL(const QStringList &lines);

    // Runs "EXEC " + procName + " " + the arguments joined by "," (no arguments: the text
    // ends in the blank). Arguments by kind: bool 0/1; integers in decimal; double with a
    // '.' decimal point (up to 15 significant digits); platform::Currency (as
    // QVariant::fromValue) with a '.' and up to four decimals; a null QVariant as NULL;
    // anything else as a string literal with embedded single quotes doubled.
    // On failure shows "Failed to execute the stored procedure [...]" as an error message
    // (OK button) and returns false; true otherwise.
    bool ExecStoredProc(const QString &procName, const QVariantList &args,
                        platform::CursorLocation cursorLocation = platform::CursorLocation::Client);

    // The text of one argument as ExecStoredProc writes it.
    static QString ProcArgumentText(const QVariant &arg);

private:
    platform::SqlConnection *m_connection; // not owned
    platform::SqlQuery m_query;
};

// The process-wide runner on the data module's connection: null until the start-up creates
// it, then kept for the rest of the run.
extern TGenericDB *GenericDB;
