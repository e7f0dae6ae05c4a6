#include "SqlConnection.h"

#include "ConnectionString.h"
#include "DbError.h"
#include "SqlBackend.h"
#include "SqlText.h"

namespace platform {

void RegisterEmbeddedProcedures(SqlConnection &connection); // EmbeddedProcedures.cpp

QVariant ToVariant(const DbCell &cell)
{
    switch (cell.index()) {
    case 1: return std::get<qlonglong>(cell);
    case 2: return std::get<double>(cell);
    case 3: return std::get<QString>(cell);
    case 4: return std::get<QVariant>(cell);
    default: return QVariant();
    }
}

DbCell ToCell(const QVariant &value)
{
    if (value.isNull())
        return std::monostate();
    switch (value.typeId()) {
    case QMetaType::QString: return value.toString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    default: return value;
    }
}

namespace {

// Compares a column name with an ASCII name given as bytes (callers pass literals).
bool AsciiEqual(const QString &column, const unsigned char *bytes, qsizetype n, bool ignoreCase)
{
    if (column.size() != n)
        return false;
    const QChar *chars = column.constData();
    for (qsizetype i = 0; i < n; ++i) {
        unsigned c = chars[i].unicode();
        const unsigned b = bytes[i];
        if (c == b)
            continue;
        if (!ignoreCase || c >= 0x80)
            return false;
        if (c - 'A' < 26u)
            c += 32;
        if (c != (b - 'A' < 26u ? b + 32 : b))
            return false;
    }
    return true;
}

} // namespace

int Rowset::ColumnIndex(QAnyStringView name) const
{
    // Reading a rowset asks for the same few names row after row, mostly spelt as the
    // columns are declared and given as ASCII literals: remember where recent names were
    // found (checked again, so a reused address cannot mislead), then try an exact match,
    // then one that ignores letter case.
    const unsigned char *bytes = nullptr;
    qsizetype n = 0;
    name.visit([&](auto view) {
        if constexpr (!std::is_same_v<decltype(view), QStringView>) {
            bytes = reinterpret_cast<const unsigned char *>(view.data());
            n = view.size();
        }
    });
    for (qsizetype i = 0; bytes && i < n; ++i)
        if (bytes[i] >= 0x80)
            bytes = nullptr;
    if (bytes) {
        for (const Memo &m : m_memo)
            if (m.data == bytes && m.index < columns.size() && AsciiEqual(columns[m.index], bytes, n, true))
                return m.index;
        for (int pass = 0; pass < 2; ++pass)
            for (int i = 0; i < columns.size(); ++i)
                if (AsciiEqual(columns[i], bytes, n, pass == 1)) {
                    m_memo[m_nextMemo] = Memo{bytes, i};
                    m_nextMemo = (m_nextMemo + 1) % int(m_memo.size());
                    return i;
                }
        return -1;
    }
    for (int i = 0; i < columns.size(); ++i)
        if (QAnyStringView::equal(columns[i], name))
            return i;
    for (int i = 0; i < columns.size(); ++i)
        if (QAnyStringView::compare(columns[i], name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

// A statement as the embedded database runs it: its shape, and each SQL part rewritten.
struct SqlConnection::Translation
{
    sqltext::Plan plan;
};

SqlConnection::SqlConnection()
    : m_translations(std::make_unique<std::map<QString, Translation>>())
{}
SqlConnection::~SqlConnection() = default;

const SqlConnection::Translation &SqlConnection::Translate(const QString &sql)
{
    auto it = m_translations->find(sql);
    if (it != m_translations->end())
        return it->second;
    Translation t;
    t.plan = sqltext::Analyse(sql);
    switch (t.plan.kind) {
    case sqltext::Plan::Plain:
    case sqltext::Plan::IdentityInsert:
        t.plan.sql = sqltext::RewriteForSqlite(t.plan.sql);
        break;
    case sqltext::Plan::Upsert:
        t.plan.existsSql = sqltext::RewriteForSqlite(t.plan.existsSql);
        t.plan.insertSql = sqltext::RewriteForSqlite(t.plan.insertSql);
        t.plan.updateSql = sqltext::RewriteForSqlite(t.plan.updateSql);
        break;
    case sqltext::Plan::Exec:
        break;
    }
    // Texts built with values in them (one per invoice number) would grow this without
    // bound; a kitchen runs all day.
    if (m_translations->size() > 512)
        m_translations->clear();
    return m_translations->emplace(sql, std::move(t)).first->second;
}

void SqlConnection::Open(const QString &connectionString)
{
    m_connectionString = connectionString;
    Open();
}

void SqlConnection::Open()
{
    Close();
    const ConnectionTarget target = ResolveConnectionString(m_connectionString);
    m_dialect = target.sqliteDialect ? SqlDialect::Sqlite : SqlDialect::TSql;
    if (target.kind == ConnectionTarget::Sqlite)
        m_backend = OpenSqliteBackend(target.sqliteFile);
    else
        m_backend = OpenOdbcBackend(target.odbcString, target.sqliteDialect);
    m_procedures.clear();
    if (m_dialect == SqlDialect::Sqlite)
        RegisterEmbeddedProcedures(*this);
}

void SqlConnection::Close()
{
    if (m_backend)
        m_backend->Close();
    m_backend.reset();
    m_transactionDepth = 0;
    m_rollbackOnly = false;
}

bool SqlConnection::Connected() const
{
    return m_backend && m_backend->IsOpen();
}

int SqlConnection::Execute(const QString &sql)
{
    SqlParams none;
    return Run(sql, none, nullptr);
}

QVariant SqlConnection::ForBinding(const QVariant &value) const
{
    // The embedded database keeps dates as canonical text; a bound QDateTime would be
    // written with a 'T' and sort wrongly against the statements' bounds.
    if (m_dialect == SqlDialect::Sqlite) {
        if (value.typeId() == QMetaType::QDateTime)
            return DateText(value.toDateTime());
        if (value.typeId() == QMetaType::QDate)
            return DateText(value.toDate().startOfDay());
    }
    return value;
}

int SqlConnection::Run(const QString &sql, SqlParams &params, Rowset *rows)
{
    if (!Connected())
        throw DbError(QStringLiteral("The database connection is not open."));
    ++m_statementCount;

    SqlParams bound = params;
    for (auto &p : bound)
        p.value = ForBinding(p.value);

    auto setOutput = [&](const QString &name, const QVariant &value) {
        for (auto &p : params)
            if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
                p.value = value;
                return;
            }
        params.push_back({name, value, true});
    };

    if (m_dialect == SqlDialect::TSql) {
        QString insert, param;
        if (sqltext::SplitIdentityTrailer(sql, &insert, &param)) {
            // Qt's ODBC driver cannot return an output parameter bound inside a batch:
            // read the new key as a result instead.
            Rowset r;
            const QString batch = QStringLiteral("SET NOCOUNT ON;\n") + insert
                                  + QStringLiteral(";\nSELECT CAST(@@ROWCOUNT AS INT) AS RowsAffected, "
                                                   "CAST(SCOPE_IDENTITY() AS INT) AS NewID");
            m_backend->Run(batch, bound, &r);
            const int affected = r.rowCount > 0 ? r.Value(0, 0).toInt() : 0;
            if (affected > 0)
                setOutput(param, r.Value(0, 1));
            return affected;
        }
        return m_backend->Run(sql, bound, rows);
    }

    // A copy: a procedure run below may translate other statements and grow the map.
    const sqltext::Plan plan = Translate(sql).plan;
    switch (plan.kind) {
    case sqltext::Plan::Plain:
        return m_backend->Run(plan.sql, bound, rows);
    case sqltext::Plan::IdentityInsert: {
        const int affected = m_backend->Run(plan.sql, bound, rows);
        // last_insert_rowid is not reset by a statement that inserted nothing.
        if (affected > 0)
            setOutput(plan.identityParam, qlonglong(m_backend->LastInsertId()));
        return affected;
    }
    case sqltext::Plan::Upsert: {
        Transaction tx(*this);
        Rowset found;
        m_backend->Run(plan.existsSql, bound, &found);
        const int affected = m_backend->Run(found.rowCount == 0 ? plan.insertSql : plan.updateSql, bound, nullptr);
        tx.Commit();
        return affected;
    }
    case sqltext::Plan::Exec: {
        const auto it = m_procedures.find(plan.procName.toLower());
        if (it == m_procedures.end())
            throw DbError(QStringLiteral("Could not find stored procedure '") + plan.procName + QStringLiteral("'."));
        Transaction tx(*this);
        it->second(*this, plan.procArgs);
        tx.Commit();
        return -1; // as SQL Server reports for a procedure without row counts
    }
    }
    return 0;
}

void SqlConnection::RegisterProcedure(const QString &name, Procedure procedure)
{
    m_procedures[name.toLower()] = std::move(procedure);
}

QString SqlConnection::DateText(const QDateTime &when) const
{
    return when.toString(m_dialect == SqlDialect::Sqlite ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")
                                                         : QStringLiteral("yyyyMMdd HH:mm:ss.zzz"));
}

QString SqlConnection::DateLiteral(const QDateTime &when) const
{
    return QLatin1Char('\'') + DateText(when) + QLatin1Char('\'');
}

void SqlConnection::BeginTransaction()
{
    if (!Connected())
        throw DbError(QStringLiteral("The database connection is not open."));
    if (m_transactionDepth == 0) {
        SqlParams none;
        m_backend->Run(m_dialect == SqlDialect::Sqlite ? QStringLiteral("BEGIN IMMEDIATE")
                                                       : QStringLiteral("BEGIN TRANSACTION"),
                       none, nullptr);
        m_rollbackOnly = false;
    }
    ++m_transactionDepth;
}

void SqlConnection::Commit()
{
    if (m_transactionDepth == 0)
        throw DbError(QStringLiteral("Commit without a transaction."));
    if (m_transactionDepth > 1) {
        --m_transactionDepth;
        return;
    }
    SqlParams none;
    const bool rollback = m_rollbackOnly;
    m_transactionDepth = 0;
    m_rollbackOnly = false;
    if (rollback) {
        m_backend->Run(m_dialect == SqlDialect::Sqlite ? QStringLiteral("ROLLBACK")
                                                       : QStringLiteral("ROLLBACK TRANSACTION"),
                       none, nullptr);
        throw DbError(QStringLiteral("The transaction was rolled back by an inner failure."));
    }
    try {
        m_backend->Run(m_dialect == SqlDialect::Sqlite ? QStringLiteral("COMMIT")
                                                       : QStringLiteral("COMMIT TRANSACTION"),
                       none, nullptr);
    } catch (const DbError &) {
        // A refused COMMIT (SQLite: busy) leaves the database's transaction open while
        // the depth says none: end it, so the next statement does not run inside it.
        try {
            m_backend->Run(m_dialect == SqlDialect::Sqlite
                               ? QStringLiteral("ROLLBACK")
                               : QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION"),
                           none, nullptr);
        } catch (const DbError &) {
            // Nothing open any more: the COMMIT's own error is the one to report.
        }
        throw;
    }
}

void SqlConnection::Rollback()
{
    if (m_transactionDepth == 0)
        return;
    if (m_transactionDepth > 1) {
        --m_transactionDepth;
        m_rollbackOnly = true;
        return;
    }
    m_transactionDepth = 0;
    m_rollbackOnly = false;
    if (Connected()) {
        SqlParams none;
        m_backend->Run(m_dialect == SqlDialect::Sqlite ? QStringLiteral("ROLLBACK")
                                                       : QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION"),
                       none, nullptr);
    }
}

Transaction::Transaction(SqlConnection &connection)
    : m_connection(connection)
{
    m_connection.BeginTransaction();
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            m_connection.Rollback();
        } catch (...) {
            // A failed rollback leaves nothing to undo: the connection dropped the work.
        }
    }
}

void Transaction::Commit()
{
    m_done = true;
    m_connection.Commit();
}

QDateTime ParseDbDateTime(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay();
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::LongLong
        || value.typeId() == QMetaType::Int) {
        // A day number with a fraction, counted from 1899-12-30.
        const double days = value.toDouble();
        const QDateTime base(QDate(1899, 12, 30), QTime(0, 0));
        return base.addMSecs(qint64(days * 86400000.0 + (days >= 0 ? 0.5 : -0.5)));
    }
    const QString text = value.toString().trimmed();
    static const char *const formats[] = {
        "yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd",
        "yyyyMMdd HH:mm:ss.zzz",   "yyyyMMdd HH:mm:ss",   "yyyyMMdd HH:mm",   "yyyyMMdd",
        "yyyy-MM-ddTHH:mm:ss.zzz", "yyyy-MM-ddTHH:mm:ss",
    };
    for (const char *f : formats) {
        const QDateTime dt = QDateTime::fromString(text, QLatin1String(f));
        if (dt.isValid())
            return dt;
    }
    // SQLite's %f gives milliseconds; other writers may give fewer or more digits.
    QDateTime iso = QDateTime::fromString(text, Qt::ISODateWithMs);
    return iso;
}

} // namespace platform
