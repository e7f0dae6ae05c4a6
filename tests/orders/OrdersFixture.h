#pragma once

// A fresh database with a pinned clock and a few-line way to write orders, shifts,
// products with their printer links, and line items.

#include "orders/clsDbManager.h"

#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class OrdersFixture : public ::testing::Test
{
protected:
    OrdersFixture() { Manager.SetClock([this] { return Now; }); }

    static QString Text(const QDateTime &when) { return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")); }

    void Invoice(int invoiceNum, const QDateTime &date, int orderNum = 1, int status = 0, int shiftNum = 0,
                 int prepared = 0)
    {
        Db.Exec(QStringLiteral("INSERT INTO Invoices (InvoiceNum, OrderNum, Prepared, ShiftNum, Cashier, [Date], Status) "
                               "VALUES (%1, %2, %3, %4, 'Ann', '%5', %6)")
                    .arg(invoiceNum).arg(orderNum).arg(prepared).arg(shiftNum).arg(Text(date)).arg(status));
    }
    void Shift(int shiftNum, int tillID, const QDateTime &opened)
    {
        Db.Exec(QStringLiteral("INSERT INTO Tillpost (ShiftNum, TillID, [Date]) VALUES (%1, %2, '%3')")
                    .arg(shiftNum).arg(tillID).arg(Text(opened)));
    }
    // printerCategory < 0: no printer link.
    void Product(int recipe, const QString &code, int printerCategory, const QString &bkPrint = QString(),
                 int reportGroup = 0)
    {
        Db.Exec(QStringLiteral("INSERT INTO Prices (Recipe, Code, BKPrint, fkReportGroupID) VALUES (%1, '%2', '%3', %4)")
                    .arg(recipe).arg(code, bkPrint).arg(reportGroup));
        if (printerCategory >= 0) {
            Db.Exec(QStringLiteral("INSERT INTO Printers (Category) VALUES (%1)").arg(printerCategory));
            Db.Exec(QStringLiteral("INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) "
                                   "VALUES (%1, last_insert_rowid())").arg(recipe));
        }
    }
    void Line(int invoiceNum, int lineNum, const QString &code, const QString &desc = QString())
    {
        Db.Exec(QStringLiteral("INSERT INTO LineItem (InvoiceNum, LineNum, Code, ItemDesc) VALUES (%1, %2, '%3', '%4')")
                    .arg(invoiceNum).arg(lineNum).arg(code, desc.isEmpty() ? code : desc));
    }

    // One column of every row of a query, from the first row; the cursor is left at the end.
    static std::vector<int> IntColumn(platform::SqlQuery &query, const char *column)
    {
        std::vector<int> values;
        for (query.First(); !query.Eof(); query.Next())
            values.push_back(query.FieldByName(QLatin1StringView(column)).AsInteger());
        return values;
    }
    static QStringList StringColumn(platform::SqlQuery &query, const char *column)
    {
        QStringList values;
        for (query.First(); !query.Eof(); query.Next())
            values << query.FieldByName(QLatin1StringView(column)).AsString();
        return values;
    }

    testsupport::TestDatabase Db;
    // 11:30:20 today: the window starts at 08:30:00.000.
    QDateTime Now{QDate(2026, 12, 11), QTime(11, 30, 20)};
    TDbManager Manager{&Db.Connection()};
};
