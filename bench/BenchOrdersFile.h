#pragma once

// Writes a benchmark's order history straight through the sqlite3 C API (a loader, not
// the layer under test): shifts, invoices, line items and makers, in one transaction.
// Throws std::runtime_error with SQLite's text on any failure.

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>

#include <sqlite3.h>

#include <stdexcept>

class BenchOrdersFile
{
public:
    static void Check(int rc, sqlite3 *db, int expected = SQLITE_OK)
    {
        if (rc != expected)
            throw std::runtime_error(sqlite3_errmsg(db));
    }

    explicit BenchOrdersFile(const QString &file)
    {
        Check(sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr), m_db);
        Exec("BEGIN");
        Prepare(m_shift, "INSERT INTO Tillpost (ShiftNum, TillID, [Date]) VALUES (?, ?, ?)");
        Prepare(m_invoice,
                "INSERT INTO Invoices (InvoiceNum, OrderNum, Prepared, ShiftNum, Cashier, [Date], Status) "
                "VALUES (?, ?, ?, ?, 'Cashier', ?, ?)");
        Prepare(m_line,
                "INSERT INTO LineItem (InvoiceNum, LineNum, Code, Quantity, [Size], ItemDesc, [Date]) "
                "VALUES (?, ?, ?, ?, ?, ?, ?)");
        Prepare(m_maker, "INSERT INTO GYStaffLinkInvoices (fkEmpNum, fkInvoiceNum) VALUES ('7', ?)");
    }
    ~BenchOrdersFile()
    {
        for (sqlite3_stmt *stmt : {m_shift, m_invoice, m_line, m_maker})
            sqlite3_finalize(stmt);
        sqlite3_close_v2(m_db);
    }
    BenchOrdersFile(const BenchOrdersFile &) = delete;
    BenchOrdersFile &operator=(const BenchOrdersFile &) = delete;

    static QByteArray Text(const QDateTime &when)
    {
        return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toUtf8();
    }

    void Exec(const QByteArray &sql) { Check(sqlite3_exec(m_db, sql.constData(), nullptr, nullptr, nullptr), m_db); }

    // One shift per till per day, days before now's date up to today, opened at 06:00.
    // Returns the last shift number.
    int AddShifts(int tills, int days, const QDateTime &now)
    {
        int shiftNum = 0;
        for (int day = days; day >= 0; --day)
            for (int till = 1; till <= tills; ++till) {
                sqlite3_bind_int(m_shift, 1, ++shiftNum);
                sqlite3_bind_int(m_shift, 2, till);
                Bind(m_shift, 3, Text(QDateTime(now.date().addDays(-day), QTime(6, 0))));
                Step(m_shift);
            }
        return shiftNum;
    }
    void AddInvoice(int invoiceNum, int orderNum, bool prepared, int shiftNum, const QByteArray &date, int status)
    {
        sqlite3_bind_int(m_invoice, 1, invoiceNum);
        sqlite3_bind_int(m_invoice, 2, orderNum);
        sqlite3_bind_int(m_invoice, 3, prepared ? 1 : 0);
        sqlite3_bind_int(m_invoice, 4, shiftNum);
        Bind(m_invoice, 5, date);
        sqlite3_bind_int(m_invoice, 6, status);
        Step(m_invoice);
    }
    // Line lineNum of product P<product>: quantity 1 or 2, "LARGE" on two lines of three.
    void AddLine(int invoiceNum, int lineNum, int product, const QByteArray &date)
    {
        sqlite3_bind_int(m_line, 1, invoiceNum);
        sqlite3_bind_int(m_line, 2, lineNum);
        Bind(m_line, 3, QString("P%1").arg(product).toUtf8());
        sqlite3_bind_double(m_line, 4, 1 + lineNum % 2);
        Bind(m_line, 5, lineNum % 3 ? QByteArray("LARGE") : QByteArray());
        Bind(m_line, 6, QString("Product %1 with extra cheese").arg(product).toUtf8());
        Bind(m_line, 7, date);
        Step(m_line);
    }
    void AddMaker(int invoiceNum)
    {
        sqlite3_bind_int(m_maker, 1, invoiceNum);
        Step(m_maker);
    }
    void CommitAndAnalyze() { Exec("COMMIT; ANALYZE"); }

private:
    void Prepare(sqlite3_stmt *&stmt, const char *sql) { Check(sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr), m_db); }
    static void Bind(sqlite3_stmt *stmt, int index, const QByteArray &value)
    {
        sqlite3_bind_text(stmt, index, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    void Step(sqlite3_stmt *stmt)
    {
        Check(sqlite3_step(stmt), m_db, SQLITE_DONE);
        sqlite3_reset(stmt);
    }

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_shift = nullptr;
    sqlite3_stmt *m_invoice = nullptr;
    sqlite3_stmt *m_line = nullptr;
    sqlite3_stmt *m_maker = nullptr;
};
