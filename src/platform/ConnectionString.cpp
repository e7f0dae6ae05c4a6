#include "ConnectionString.h"

#include "DbError.h"

namespace platform {

ConnectionString::ConnectionString(const QString &text)
{
    const int n = text.size();
    int i = 0;
    while (i < n) {
        while (i < n && (text[i].isSpace() || text[i] == QLatin1Char(';')))
            ++i;
        if (i >= n)
            break;
        const int eq = text.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const int pieceEnd = text.indexOf(QLatin1Char(';'), i);
        if (pieceEnd >= 0 && pieceEnd < eq) { // a piece without '=' carries nothing
            i = pieceEnd + 1;
            continue;
        }
        const QString key = text.mid(i, eq - i).trimmed();
        i = eq + 1;
        while (i < n && text[i] == QLatin1Char(' '))
            ++i;
        QString value;
        if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
            const QChar quote = text[i++];
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            while (i < n && text[i] != QLatin1Char(';'))
                ++i;
        } else if (i < n && text[i] == QLatin1Char('{')) {
            // ODBC braces: '}}' is a literal brace; the braces stay part of a DRIVER name.
            value += text[i++];
            while (i < n) {
                if (text[i] == QLatin1Char('}')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('}')) {
                        value += QLatin1Char('}');
                        i += 2;
                        continue;
                    }
                    value += text[i++];
                    break;
                }
                value += text[i++];
            }
            while (i < n && text[i] != QLatin1Char(';'))
                ++i;
        } else {
            const int semi = text.indexOf(QLatin1Char(';'), i);
            const int end = semi < 0 ? n : semi;
            value = text.mid(i, end - i).trimmed();
            i = end;
        }
        if (!key.isEmpty())
            m_pairs.append({key, value});
    }
}

bool ConnectionString::Has(const QString &key) const
{
    for (const auto &p : m_pairs)
        if (p.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ConnectionString::Value(const QString &key) const
{
    for (const auto &p : m_pairs)
        if (p.first.compare(key, Qt::CaseInsensitive) == 0)
            return p.second;
    return {};
}

QString ConnectionString::QuoteValue(const QString &value)
{
    if (value.isEmpty())
        return value;
    const QChar first = value.front();
    if (!value.contains(QLatin1Char(';')) && !first.isSpace() && !value.back().isSpace()
        && first != QLatin1Char('"') && first != QLatin1Char('\'') && first != QLatin1Char('{'))
        return value;
    QString v = value;
    v.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

QString ConnectionString::OdbcValue(const QString &value)
{
    if (value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('{'))
        || value.contains(QLatin1Char('}')) || value.startsWith(QLatin1Char(' '))
        || value.endsWith(QLatin1Char(' '))) {
        QString v = value;
        v.replace(QLatin1Char('}'), QStringLiteral("}}"));
        return QLatin1Char('{') + v + QLatin1Char('}');
    }
    return value;
}

namespace {

QString Unbrace(QString s)
{
    if (s.startsWith(QLatin1Char('{')) && s.endsWith(QLatin1Char('}')))
        s = s.mid(1, s.size() - 2);
    return s;
}

ConnectionTarget OdbcTarget(const QString &odbc)
{
    ConnectionTarget t;
    t.kind = ConnectionTarget::Odbc;
    t.odbcString = odbc;
    const ConnectionString parts(odbc);
    t.sqliteDialect = Unbrace(parts.Value(QStringLiteral("DRIVER"))).contains(QLatin1String("sqlite"), Qt::CaseInsensitive);
    return t;
}

} // namespace

ConnectionTarget ResolveConnectionString(const QString &text)
{
    if (text.trimmed().isEmpty())
        throw DbError(QStringLiteral("The connection string is empty."));
    const ConnectionString cs(text);
    const QString provider = cs.Value(QStringLiteral("Provider")).trimmed();

    if (provider.isEmpty()) {
        if (cs.Has(QStringLiteral("DRIVER")) || cs.Has(QStringLiteral("DSN")))
            return OdbcTarget(text);
        throw DbError(QStringLiteral("The connection string names no provider: ") + text);
    }

    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0) {
        ConnectionTarget t;
        t.kind = ConnectionTarget::Sqlite;
        t.sqliteDialect = true;
        t.sqliteFile = cs.Value(QStringLiteral("Data Source"));
        if (t.sqliteFile.isEmpty())
            t.sqliteFile = cs.Value(QStringLiteral("Database"));
        if (t.sqliteFile.isEmpty())
            throw DbError(QStringLiteral("The connection string names no database file (Data Source=...)."));
        return t;
    }

    const QString p = provider.section(QLatin1Char('.'), 0, 0).toUpper();
    if (p == QLatin1String("SQLOLEDB") || p.startsWith(QLatin1String("SQLNCLI"))
        || p == QLatin1String("MSOLEDBSQL")) {
        QString server = cs.Value(QStringLiteral("Data Source"));
        if (server.isEmpty())
            server = cs.Value(QStringLiteral("Server"));
        if (server.isEmpty())
            throw DbError(QStringLiteral("The connection string names no server (Data Source=...)."));
        QString port;
        if (const int comma = server.indexOf(QLatin1Char(',')); comma >= 0) {
            port = server.mid(comma + 1).trimmed();
            server = server.left(comma).trimmed();
        }
        QString odbc = QStringLiteral("DRIVER={FreeTDS};Server=") + ConnectionString::OdbcValue(server);
        if (!port.isEmpty())
            odbc += QStringLiteral(";Port=") + port;
        const QString db = cs.Value(QStringLiteral("Initial Catalog"));
        if (!db.isEmpty())
            odbc += QStringLiteral(";Database=") + ConnectionString::OdbcValue(db);
        odbc += QStringLiteral(";UID=") + ConnectionString::OdbcValue(cs.Value(QStringLiteral("User ID")));
        odbc += QStringLiteral(";PWD=") + ConnectionString::OdbcValue(cs.Value(QStringLiteral("Password")));
        odbc += QStringLiteral(";TDS_Version=7.4;ClientCharset=UTF-8");
        return OdbcTarget(odbc);
    }

    if (p == QLatin1String("MSDASQL")) {
        // ODBC through the OLE DB bridge: the ODBC part is in Extended Properties.
        const QString ext = cs.Value(QStringLiteral("Extended Properties"));
        const ConnectionString inner(ext);
        if (inner.Has(QStringLiteral("DRIVER")) || inner.Has(QStringLiteral("DSN"))) {
            const QString driver = Unbrace(inner.Value(QStringLiteral("DRIVER")));
            if (driver.contains(QLatin1String("FoxPro"), Qt::CaseInsensitive)
                || driver.contains(QLatin1String("Access"), Qt::CaseInsensitive))
                throw DbError(QStringLiteral("The ODBC driver \"") + driver
                              + QStringLiteral("\" exists only on Windows; use an SQL Server or SQLite connection."));
            return OdbcTarget(ext);
        }
        throw DbError(QStringLiteral("The MSDASQL connection string has no ODBC driver in Extended Properties."));
    }

    throw DbError(QStringLiteral("Provider \"") + provider
                  + QStringLiteral("\" is not supported; use SQLOLEDB.1 (SQL Server), SQLite, or an ODBC string."));
}

} // namespace platform
