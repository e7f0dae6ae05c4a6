// The database layer against the sqlite3 C API: open a query of 1,000 rows and read five
// columns of each.
#include "TestDatabase.h"

#include "platform/SqlQuery.h"

#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

const char *const kSql = "SELECT LineItemID, InvoiceNum, Code, ItemDesc, Quantity FROM LineItem ORDER BY LineItemID";

testsupport::TestDatabase &Database()
{
    static testsupport::TestDatabase *db = [] {
        auto *d = new testsupport::TestDatabase();
        d->Exec("BEGIN");
        for (int i = 0; i < 1000; ++i)
            d->Exec(QString("INSERT INTO LineItem (InvoiceNum, Code, ItemDesc, Quantity, [Size], LineNum) "
                            "VALUES (%1, 'BURG%2', 'Cheese burger with extra bacon %2', %3, 'Large', %2)")
                        .arg(i / 5 + 1)
                        .arg(i % 40)
                        .arg(1 + i % 3));
        d->Exec("COMMIT");
        return d;
    }();
    return *db;
}

void BM_QueryLayer(benchmark::State &state)
{
    auto &db = Database();
    platform::SqlQuery q(&db.Connection());
    q.SetSQL(kSql);
    for (auto _ : state) {
        q.Open();
        qint64 sum = 0;
        for (q.First(); !q.Eof(); q.Next()) {
            sum += q.FieldByName("LineItemID").AsInteger();
            sum += q.FieldByName("InvoiceNum").AsInteger();
            sum += q.FieldByName("Code").AsString().size();
            sum += q.FieldByName("ItemDesc").AsString().size();
            sum += qint64(q.FieldByName("Quantity").AsFloat());
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_QueryLayer)->Unit(benchmark::kMicrosecond);

void BM_QueryRawSqlite(benchmark::State &state)
{
    auto &db = Database();
    sqlite3 *raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(db.File()).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(raw, kSql, -1, &stmt, nullptr);
        qint64 sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            sum += sqlite3_column_int(stmt, 0);
            sum += sqlite3_column_int(stmt, 1);
            // The caller needs its own copy of a text; a QString is what the program uses.
            sum += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 2)),
                                     sqlite3_column_bytes(stmt, 2)).size();
            sum += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3)),
                                     sqlite3_column_bytes(stmt, 3)).size();
            sum += qint64(sqlite3_column_double(stmt, 4));
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close_v2(raw);
}
BENCHMARK(BM_QueryRawSqlite)->Unit(benchmark::kMicrosecond);

} // namespace
