// The embedded database through the SQLite C API: direct, so the layer costs little more
// than the library itself, and so the connection can be tuned (WAL, busy timeout).
#include "DbError.h"
#include "SqlBackend.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <list>
#include <unordered_map>

namespace platform {

namespace {

QString ErrorText(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// Prepared statements are kept by text, so a poll that repeats the same statements does
// not parse them again. Bounded, least recently used first out.
class StatementCache
{
public:
    explicit StatementCache(size_t capacity)
        : m_capacity(capacity)
    {}
    ~StatementCache() { Clear(); }

    // The cached statement for the text, marked most recently used; null when absent.
    sqlite3_stmt *Find(const QString &sql)
    {
        auto it = m_index.find(sql);
        if (it == m_index.end())
            return nullptr;
        m_order.splice(m_order.begin(), m_order, it->second);
        return it->second->second;
    }
    // Takes over a statement that is not in the cache yet.
    void Put(const QString &sql, sqlite3_stmt *stmt)
    {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        m_order.emplace_front(sql, stmt);
        m_index[sql] = m_order.begin();
        while (m_order.size() > m_capacity) {
            sqlite3_finalize(m_order.back().second);
            m_index.erase(m_order.back().first);
            m_order.pop_back();
        }
    }
    void Clear()
    {
        for (auto &e : m_order)
            sqlite3_finalize(e.second);
        m_order.clear();
        m_index.clear();
    }

private:
    using Entry = std::pair<QString, sqlite3_stmt *>;
    size_t m_capacity;
    std::list<Entry> m_order;
    std::unordered_map<QString, std::list<Entry>::iterator> m_index;
};

void Bind(sqlite3 *db, sqlite3_stmt *stmt, const SqlParams &params)
{
    const int count = sqlite3_bind_parameter_count(stmt);
    for (int i = 1; i <= count; ++i) {
        const char *raw = sqlite3_bind_parameter_name(stmt, i);
        if (!raw)
            continue;
        const QString name = QString::fromUtf8(raw + 1); // skip ':'
        const SqlParam *p = nullptr;
        for (const auto &candidate : params)
            if (candidate.name.compare(name, Qt::CaseInsensitive) == 0) {
                p = &candidate;
                break;
            }
        int rc = SQLITE_OK;
        if (!p || p->value.isNull()) {
            rc = sqlite3_bind_null(stmt, i);
        } else {
            const QVariant &v = p->value;
            switch (v.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int(stmt, i, v.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
            case QMetaType::Char:
            case QMetaType::UChar:
            case QMetaType::Long:
            case QMetaType::ULong:
                rc = sqlite3_bind_int64(stmt, i, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, i, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob64(stmt, i, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QString s = v.toString();
                rc = sqlite3_bind_text16(stmt, i, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            throw DbError(ErrorText(db));
    }
}

void ReadRow(sqlite3_stmt *stmt, int columns, std::vector<DbCell> &cells)
{
    for (int c = 0; c < columns; ++c) {
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
            cells.emplace_back(std::in_place_type<qlonglong>, sqlite3_column_int64(stmt, c));
            break;
        case SQLITE_FLOAT:
            cells.emplace_back(std::in_place_type<double>, sqlite3_column_double(stmt, c));
            break;
        case SQLITE_TEXT: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            cells.emplace_back(std::in_place_type<QString>, QString::fromUtf8(text, sqlite3_column_bytes(stmt, c)));
            break;
        }
        case SQLITE_BLOB: {
            const auto *data = static_cast<const char *>(sqlite3_column_blob(stmt, c));
            cells.emplace_back(std::in_place_type<QVariant>, QByteArray(data, sqlite3_column_bytes(stmt, c)));
            break;
        }
        default:
            cells.emplace_back();
            break;
        }
    }
}

class SqliteBackend final : public SqlBackend
{
public:
    explicit SqliteBackend(sqlite3 *db)
        : m_db(db)
        , m_cache(64)
    {}
    ~SqliteBackend() override { Close(); }

    bool IsOpen() const override { return m_db != nullptr; }

    void Close() override
    {
        m_cache.Clear();
        if (m_db) {
            sqlite3_close_v2(m_db);
            m_db = nullptr;
        }
    }

    int Run(const QString &sql, const SqlParams &params, Rowset *rows) override
    {
        if (!m_db)
            throw DbError(QStringLiteral("The connection is closed."));
        if (rows)
            rows->Clear();
        bool rowsFilled = false;
        int affected = 0;

        // Fast path: a text that is one statement may be in the cache.
        if (sqlite3_stmt *cached = m_cache.Find(sql)) {
            sqlite3_clear_bindings(cached);
            RunOne(cached, params, rows, rowsFilled, affected);
            return affected;
        }

        const QByteArray utf8 = sql.toUtf8();
        const char *tail = utf8.constData();
        const char *end = tail + utf8.size();
        bool single = true;
        bool first = true;
        while (tail < end) {
            sqlite3_stmt *stmt = nullptr;
            const char *next = nullptr;
            if (sqlite3_prepare_v2(m_db, tail, int(end - tail), &stmt, &next) != SQLITE_OK)
                throw DbError(ErrorText(m_db));
            if (!stmt) { // only blanks or comments were left
                tail = next;
                continue;
            }
            for (const char *p = next; p < end; ++p)
                if (!isspace(static_cast<unsigned char>(*p)) && *p != ';') {
                    single = false;
                    break;
                }
            try {
                RunOne(stmt, params, rows, rowsFilled, affected);
            } catch (...) {
                sqlite3_finalize(stmt);
                throw;
            }
            if (first && single)
                m_cache.Put(sql, stmt);
            else
                sqlite3_finalize(stmt);
            first = false;
            tail = next;
        }
        return affected;
    }

    qint64 LastInsertId() override { return m_db ? sqlite3_last_insert_rowid(m_db) : 0; }

private:
    void RunOne(sqlite3_stmt *stmt, const SqlParams &params, Rowset *rows, bool &rowsFilled, int &affected)
    {
        Bind(m_db, stmt, params);
        const int columns = sqlite3_column_count(stmt);
        const bool collect = rows && !rowsFilled && columns > 0;
        if (collect) {
            rows->columns.reserve(columns);
            for (int c = 0; c < columns; ++c)
                rows->columns << QString::fromUtf8(sqlite3_column_name(stmt, c));
            rowsFilled = true;
        }
        for (;;) {
            const int rc = sqlite3_step(stmt);
            if (rc == SQLITE_ROW) {
                if (collect) {
                    ReadRow(stmt, columns, rows->cells);
                    ++rows->rowCount;
                }
                continue;
            }
            if (rc == SQLITE_DONE)
                break;
            const QString message = ErrorText(m_db);
            sqlite3_reset(stmt);
            throw DbError(message);
        }
        if (columns == 0 || sqlite3_stmt_readonly(stmt) == 0)
            affected = sqlite3_changes(m_db);
        sqlite3_reset(stmt);
    }

    sqlite3 *m_db;
    StatementCache m_cache;
};

} // namespace

std::unique_ptr<SqlBackend> OpenSqliteBackend(const QString &file)
{
    const QFileInfo info(file);
    if (info.isDir())
        throw DbError(QStringLiteral("unable to open database file: \"") + file
                      + QStringLiteral("\" is a folder, not a database file"));
    if (!info.exists())
        throw DbError(QStringLiteral("unable to open database file: \"") + file
                      + QStringLiteral("\" does not exist"));

    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? ErrorText(db) : QStringLiteral("out of memory");
        sqlite3_close_v2(db);
        throw DbError(message + QStringLiteral(": \"") + file + QLatin1Char('"'));
    }
    auto backend = std::make_unique<SqliteBackend>(db);
    // Tills write while the monitor reads: WAL lets readers and one writer work at once,
    // and the busy timeout waits out a writer's lock instead of failing at once.
    sqlite3_busy_timeout(db, 5000);
    sqlite3_extended_result_codes(db, 0);
    try {
        SqlParams none;
        Rowset probe;
        backend->Run(QStringLiteral("PRAGMA journal_mode=WAL"), none, &probe);
    } catch (const DbError &e) {
        throw DbError(e.Message() + QStringLiteral(": \"") + file + QLatin1Char('"'));
    }
    return backend;
}

} // namespace platform
