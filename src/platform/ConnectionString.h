#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace platform {

// The parts of an OLE DB / ODBC connection string ("Key=Value;Key2=Value2").
// Keys compare without regard to case; values may be quoted ("...") or braced ({...}).
class ConnectionString
{
public:
    ConnectionString() = default;
    explicit ConnectionString(const QString &text);

    bool Has(const QString &key) const;
    QString Value(const QString &key) const; // empty when absent
    const QList<QPair<QString, QString>> &Pairs() const { return m_pairs; }

    // Writes a value for an OLE DB string: between double quotes (inner ones doubled) when
    // it holds ';', starts with a quote or brace, or has blanks at its ends, which would
    // otherwise cut it short or be trimmed away when read back; else as it is.
    static QString QuoteValue(const QString &value);
    // Braces a value for an ODBC string when it holds characters that would end it.
    static QString OdbcValue(const QString &value);

private:
    QList<QPair<QString, QString>> m_pairs;
};

// Where a connection string leads.
struct ConnectionTarget
{
    enum Kind { Sqlite, Odbc };
    Kind kind = Sqlite;
    QString sqliteFile;      // Kind Sqlite
    QString odbcString;      // Kind Odbc: the string handed to the ODBC driver manager
    bool sqliteDialect = false; // the database behind it speaks SQLite, not T-SQL
};

// Translates the suite's connection strings:
//   Provider=SQLite;Data Source=<file>
//   Provider=SQLOLEDB.1;...;Initial Catalog=<db>;Data Source=<server>[,port];User ID=..;Password=..
//   DRIVER=...;... (a plain ODBC string)
// Throws DbError for an empty string or one whose provider this platform cannot serve.
ConnectionTarget ResolveConnectionString(const QString &text);

} // namespace platform
