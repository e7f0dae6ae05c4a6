#include "TestDatabase.h"

#include "platform/DbSchema.h"
#include "platform/SqlQuery.h"

namespace testsupport {

TestDatabase::TestDatabase(bool withDemoData)
{
    m_file = m_dir.filePath(QStringLiteral("vela-test.db"));
    platform::CreateSqliteDatabase(m_file, withDemoData);
    m_connection = std::make_unique<platform::SqlConnection>();
    m_connection->Open(ConnectionString());
}

QString TestDatabase::ConnectionString() const
{
    return platform::SqliteConnectionString(m_file);
}

void TestDatabase::Exec(const QString &sql)
{
    m_connection->Execute(sql);
}

QVariant TestDatabase::Scalar(const QString &sql)
{
    platform::SqlQuery q(m_connection.get());
    q.SetSQL(sql);
    q.Open();
    if (q.IsEmpty())
        return {};
    return q.Field(0).Value();
}

int TestDatabase::Count(const QString &table, const QString &where)
{
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    return Scalar(sql).toInt();
}

TempRegistry::TempRegistry()
    : m_previous(qgetenv("VELA_REGISTRY_DIR"))
    , m_hadPrevious(qEnvironmentVariableIsSet("VELA_REGISTRY_DIR"))
{
    qputenv("VELA_REGISTRY_DIR", m_dir.path().toLocal8Bit());
}

TempRegistry::~TempRegistry()
{
    if (m_hadPrevious)
        qputenv("VELA_REGISTRY_DIR", m_previous);
    else
        qunsetenv("VELA_REGISTRY_DIR");
}

} // namespace testsupport
