#pragma once

#include "platform/SqlConnection.h"

#include <QTemporaryDir>

#include "QtPrinters.h"

#include <memory>

namespace testsupport {

// A fresh SQLite database built from db/schema-sqlite.sql in a temporary folder,
// with an open connection. Removed with the fixture.
class TestDatabase
{
public:
    explicit TestDatabase(bool withDemoData = false);
    platform::SqlConnection &Connection() { return *m_connection; }
    const QString &File() const { return m_file; }
    QString ConnectionString() const;
    // Runs statements for setting up a test (several allowed, separated by ';').
    void Exec(const QString &sql);
    // The first column of the first row of a query, or a null QVariant when no row.
    QVariant Scalar(const QString &sql);
    int Count(const QString &table, const QString &where = QString());

private:
    QTemporaryDir m_dir;
    QString m_file;
    std::unique_ptr<platform::SqlConnection> m_connection;
};

// A temporary registry folder set as VELA_REGISTRY_DIR for the fixture's life.
class TempRegistry
{
public:
    TempRegistry();
    ~TempRegistry();
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

} // namespace testsupport
