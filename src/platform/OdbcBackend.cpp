// SQL Server (and any other ODBC source) through Qt's ODBC driver and unixODBC.
#include "DbError.h"
#include "SqlBackend.h"
#include "SqlText.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace platform {

namespace {

QString ErrorText(const QSqlError &e)
{
    QString text = e.databaseText().trimmed();
    const QString driver = e.driverText().trimmed();
    if (text.isEmpty())
        text = driver;
    else if (!driver.isEmpty() && !text.contains(driver))
        text = driver + QStringLiteral(": ") + text;
    return text.isEmpty() ? QStringLiteral("Unknown ODBC error") : text;
}

class OdbcBackend final : public SqlBackend
{
public:
    OdbcBackend(const QString &odbcString, bool sqliteDialect)
        : m_sqliteDialect(sqliteDialect)
    {
        static QAtomicInt counter;
        m_name = QStringLiteral("vela-odbc-%1").arg(counter.fetchAndAddRelaxed(1));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_name);
        if (!db.isValid()) {
            QSqlDatabase::removeDatabase(m_name);
            throw DbError(QStringLiteral("The ODBC driver for Qt (QODBC) is not installed."));
        }
        db.setDatabaseName(odbcString);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                                 .arg(SqlConnection::kLoginTimeoutSeconds));
        if (!db.open()) {
            const QString message = ErrorText(db.lastError());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw DbError(message);
        }
    }

    ~OdbcBackend() override { Close(); }

    bool IsOpen() const override
    {
        return !m_name.isEmpty() && QSqlDatabase::database(m_name, false).isOpen();
    }

    void Close() override
    {
        if (m_name.isEmpty())
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
        m_name.clear();
    }

    int Run(const QString &sql, const SqlParams &params, Rowset *rows) override
    {
        if (!IsOpen())
            throw DbError(QStringLiteral("The connection is closed."));
        if (rows)
            rows->Clear();
        QStringList names;
        const QString positional = sqltext::ToPositional(sql, &names);
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        q.setForwardOnly(true);
        if (!q.prepare(positional))
            throw DbError(ErrorText(q.lastError()));
        for (const QString &name : names) {
            QVariant value;
            for (const auto &p : params)
                if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
                    value = p.value;
                    break;
                }
            q.addBindValue(value);
        }
        if (!q.exec())
            throw DbError(ErrorText(q.lastError()));
        int affected = q.numRowsAffected();
        // The first result that has columns is the rowset (a batch may start with counts).
        do {
            if (q.isSelect()) {
                if (rows) {
                    const QSqlRecord rec = q.record();
                    const int columns = rec.count();
                    for (int c = 0; c < columns; ++c)
                        rows->columns << rec.fieldName(c);
                    while (q.next()) {
                        for (int c = 0; c < columns; ++c)
                            rows->cells.push_back(ToCell(q.value(c)));
                        ++rows->rowCount;
                    }
                }
                break;
            }
        } while (q.nextResult());
        if (q.lastError().isValid())
            throw DbError(ErrorText(q.lastError()));
        return affected < 0 ? 0 : affected;
    }

    qint64 LastInsertId() override
    {
        SqlParams none;
        Rowset r;
        Run(m_sqliteDialect ? QStringLiteral("SELECT last_insert_rowid()")
                            : QStringLiteral("SELECT CAST(SCOPE_IDENTITY() AS INT)"),
            none, &r);
        return r.rowCount > 0 ? r.Value(0, 0).toLongLong() : 0;
    }

private:
    QString m_name;
    bool m_sqliteDialect;
};

} // namespace

std::unique_ptr<SqlBackend> OpenOdbcBackend(const QString &odbcString, bool sqliteDialect)
{
    return std::make_unique<OdbcBackend>(odbcString, sqliteDialect);
}

} // namespace platform
