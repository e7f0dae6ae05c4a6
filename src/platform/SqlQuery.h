#pragma once

#include "SqlConnection.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace platform {

// One column of the current row of a query. Typed reads follow the run-time's rules:
// NULL reads as "", 0, 0.0, false or an invalid date; text that is not a number throws
// ConvertError.
class SqlField
{
public:
    SqlField(const Rowset *rows, int row, int column)
        : m_rows(rows), m_row(row), m_column(column)
    {}
    bool IsNull() const;
    QVariant Value() const;
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    Currency AsCurrency() const;
    bool AsBoolean() const;
    QDateTime AsDateTime() const;
    QString FieldName() const;

private:
    const Rowset *m_rows;
    int m_row;
    int m_column;
};

enum class CursorLocation { Server, Client };

// A query whose SQL is a list of lines, opened into a client-side rowset: record count,
// moves and field reads cost no round trip. Stands in for ADO's query. Not owning the
// connection. Failures throw DbError.
class SqlQuery
{
public:
    explicit SqlQuery(SqlConnection *connection = nullptr)
        : m_connection(connection)
    {}

    void SetConnection(SqlConnection *connection) { m_connection = connection; }
    SqlConnection *Connection() const { return m_connection; }

    QStringList &SQL() { return m_sql; } // the lines, joined by line breaks when run
    const QStringList &SQL() const { return m_sql; }
    void SetSQL(const QString &text) { m_sql = QStringList{text}; }
    void SetSQL(const QStringList &lines) { m_sql = lines; }
    QString Text() const { return m_sql.join(QLatin1Char('\n')); }

    // Named parameters (":Name") bound when the query runs.
    void SetParam(const QString &name, const QVariant &value);
    void ClearParams() { m_params.clear(); }

    // Kept for callers that choose one; both locations fetch the whole result.
    void SetCursorLocation(CursorLocation location) { m_cursorLocation = location; }
    CursorLocation GetCursorLocation() const { return m_cursorLocation; }

    void Open();   // runs the SQL and stands on the first row
    int ExecSQL(); // runs the SQL as a command; returns rows affected
    void Close();
    bool Active() const { return m_active; }

    int RecordCount() const { return m_active ? m_rows.rowCount : 0; }
    bool IsEmpty() const { return RecordCount() == 0; }
    bool Eof() const { return !m_active || m_row >= m_rows.rowCount; }
    bool Bof() const { return !m_active || m_atBof; }
    void First();
    void Next();
    void Prior();
    void Last();
    int RecNo() const { return m_row + 1; } // 1-based, as the callers count
    void MoveTo(int row);                    // 0-based; a remembered position
    int Position() const { return m_row; }

    int FieldCount() const { return int(m_rows.columns.size()); }
    QString FieldName(int index) const { return m_rows.columns.value(index); }
    bool HasField(QAnyStringView name) const { return m_rows.ColumnIndex(name) >= 0; }
    SqlField FieldByName(QAnyStringView name) const; // throws DbError when absent
    SqlField Field(int index) const;

private:
    void RequireRow() const;

    SqlConnection *m_connection;
    QStringList m_sql;
    SqlParams m_params;
    CursorLocation m_cursorLocation = CursorLocation::Client;
    Rowset m_rows;
    int m_row = 0;
    bool m_atBof = true;
    bool m_active = false;
};

// A statement with named parameters (":Name"), typed values and at most one integer
// output parameter; returns rows affected. Stands in for ADO's command.
class SqlCommand
{
public:
    explicit SqlCommand(SqlConnection *connection = nullptr)
        : m_connection(connection)
    {}

    void SetConnection(SqlConnection *connection) { m_connection = connection; }
    SqlConnection *Connection() const { return m_connection; }

    // Setting the text parses its parameters; values of parameters that keep their name
    // are kept.
    void SetCommandText(const QString &text);
    void SetCommandText(const QStringList &lines) { SetCommandText(lines.join(QLatin1Char('\n'))); }
    const QString &CommandText() const { return m_text; }

    bool HasParam(const QString &name) const;
    // Throws DbError when the text has no such parameter.
    void SetParam(const QString &name, const QVariant &value);
    void SetCurrencyParam(const QString &name, Currency value) { SetParam(name, value.ToDouble()); }
    void SetOutput(const QString &name);        // an integer output parameter
    QVariant ParamValue(const QString &name) const; // after Execute: the output value

    int Execute(); // rows affected; throws DbError

private:
    SqlParam *Find(const QString &name);
    const SqlParam *Find(const QString &name) const;

    SqlConnection *m_connection;
    QString m_text;
    SqlParams m_params;
};

} // namespace platform
