#pragma once

#include "Currency.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <variant>
#include <vector>

namespace platform {

class SqlBackend;

// One named parameter of a statement (":Name"). Names compare without regard to case.
struct SqlParam
{
    QString name;
    QVariant value; // null QVariant = SQL NULL; QDateTime is written by the date helper
    bool output = false;
};
using SqlParams = std::vector<SqlParam>;

// One value of a result row. The common kinds are held directly (reading a rowset is on
// every poll's path); anything else a driver returns (dates, Booleans, blobs) as a QVariant.
using DbCell = std::variant<std::monostate, qlonglong, double, QString, QVariant>;
QVariant ToVariant(const DbCell &cell);
DbCell ToCell(const QVariant &value);

// Rows of a result, all in memory (a client-side rowset).
struct Rowset
{
    QStringList columns;
    std::vector<DbCell> cells; // row-major: row * columns.size() + column
    int rowCount = 0;

    int ColumnIndex(QAnyStringView name) const; // -1 when absent; ignores letter case
    const DbCell &Cell(int row, int column) const { return cells[size_t(row) * size_t(columns.size()) + size_t(column)]; }
    QVariant Value(int row, int column) const { return ToVariant(Cell(row, column)); }
    void Clear() { columns.clear(); cells.clear(); rowCount = 0; }

private:
    struct Memo
    {
        const void *data = nullptr;
        int index = 0;
    };
    mutable std::array<Memo, 8> m_memo{};
    mutable int m_nextMemo = 0;
};

enum class SqlDialect { Sqlite, TSql };

// The one connection to the suite's database (stands in for ADO's connection).
// Opened from a connection string; see ResolveConnectionString for the forms.
// Statements are written in the suite's T-SQL; on the embedded database they are
// translated so callers see no difference. Every failure throws DbError with the
// driver's text; nothing here shows a window. Main thread only.
class SqlConnection
{
public:
    SqlConnection();
    ~SqlConnection();
    SqlConnection(const SqlConnection &) = delete;
    SqlConnection &operator=(const SqlConnection &) = delete;

    // Login timeout for servers, in seconds: a server that accepts and never answers
    // fails within this time instead of freezing the kitchen screen.
    static constexpr int kLoginTimeoutSeconds = 5;

    void SetConnectionString(const QString &text) { m_connectionString = text; }
    const QString &ConnectionString() const { return m_connectionString; }
    void Open();                          // with ConnectionString()
    void Open(const QString &connectionString);
    void Close();
    bool Connected() const;
    SqlDialect Dialect() const { return m_dialect; }

    // Plain execution of a text or of a list of lines (joined by line breaks).
    // Returns the rows affected.
    int Execute(const QString &sql);
    int Execute(const QStringList &lines) { return Execute(lines.join(QLatin1Char('\n'))); }

    // Runs one statement with parameters; fills `rows` (when given) from the first
    // statement that returns columns; writes output parameters back into `params`.
    int Run(const QString &sql, SqlParams &params, Rowset *rows);

    // Statements run through this connection since it was created (queries, commands and
    // plain texts alike, one per Run; transaction control not counted). For benchmarks and
    // tests that hold an operation to the statements it is meant to send.
    qint64 StatementCount() const { return m_statementCount; }

    // Date literals: the form each database reads without regard to its language
    // settings. Sqlite: 2026-12-11 10:05:00.000; SQL Server: 20261211 10:05:00.000.
    QString DateText(const QDateTime &when) const;
    QString DateLiteral(const QDateTime &when) const; // the text between single quotes

    // Transactions nest: only the outermost begins and commits. A rollback at any depth
    // makes the whole transaction roll back.
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return m_transactionDepth > 0; }

    // Stored procedures of the embedded database, called by "EXEC name args".
    using Procedure = std::function<void(SqlConnection &, const QVariantList &args)>;
    void RegisterProcedure(const QString &name, Procedure procedure);

private:
    struct Translation;
    const Translation &Translate(const QString &sql);
    QVariant ForBinding(const QVariant &value) const;

    QString m_connectionString;
    std::unique_ptr<SqlBackend> m_backend;
    SqlDialect m_dialect = SqlDialect::Sqlite;
    int m_transactionDepth = 0;
    qint64 m_statementCount = 0;
    bool m_rollbackOnly = false;
    std::map<QString, Procedure> m_procedures; // key: lower-case name
    // Statements repeat (every poll runs the same texts): their translation is kept.
    std::unique_ptr<std::map<QString, Translation>> m_translations;
};

// Rolls back unless Commit() was called (RAII for writes that must happen together).
class Transaction
{
public:
    explicit Transaction(SqlConnection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void Commit();

private:
    SqlConnection &m_connection;
    bool m_done = false;
};

// Reading dates: accepts the canonical text, the SQL Server form, ISO with 'T', a
// QDateTime and NULL (an invalid QDateTime).
QDateTime ParseDbDateTime(const QVariant &value);

} // namespace platform
