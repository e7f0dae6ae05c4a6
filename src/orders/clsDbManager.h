#pragma once

// The kitchen monitor's statements on orders: the open orders newer than the last one
// seen, the kitchen line items of one order, the overrung orders, and marking an order
// prepared; plus the till filter that the refresh adds to the order statement.
//
// Every operation catches the errors of its own statement, shows one error message
// (ErrorDlg, i.e. the message dialog seam) and returns its failure value; nothing is
// retried. The hourglass cursor shows while the order statements run.
//
// Main thread only; each call blocks until the database has answered.

#include "platform/SqlQuery.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class TDbManager
{
public:
    using Clock = std::function<QDateTime()>;

    // The connection is not owned and must outlive the manager. LastInvoiceNum starts at 0.
    explicit TDbManager(platform::SqlConnection *connection);
    TDbManager(const TDbManager &) = delete;
    TDbManager &operator=(const TDbManager &) = delete;

    // The live orders (OrderNum > 0, Status 0) dated within the last 3 hours whose number is
    // above LastInvoiceNum (0 first when resetLast), ascending, into InvoiceQuery(), whose
    // cursor then stands on the last row. filter is one more condition line ("" = none),
    // e.g. TillFilter(). True when rows came back; LastInvoiceNum is then the highest of
    // them, otherwise it is left as it was. Failure: false after the message.
    // Columns: invoicenum, ordernum, prepared, shiftnum, cashier, time, TillID.
    bool GetInvoices(bool resetLast, const QString &filter);

    // The line items of one order that go to the kitchen (product linked to a printer of
    // category 1, or with a back-kitchen print text), limited to one report group when
    // reportGroupID > 0, in line order, into LineitemQuery() (all LineItem columns).
    // Returns the number of rows; -1 after the message on failure.
    int GetLineitems(int invoiceNum, int reportGroupID);

    // The numbers (column invoicenum) of the orders of the last 3 hours whose Status is not
    // 0, ascending, into InvoiceQuery(): this replaces the rows of the last GetInvoices.
    // Not limited by LastInvoiceNum. True when rows came back; false after the message on
    // failure.
    bool GetOverrungInvoices();

    // Writes the order's Prepared flag; setting it also stamps TimeStampCooked with the
    // database's clock, clearing it leaves the stamp alone. True when the statement ran
    // (also when no row has that number); false after the message on failure.
    bool SetStatus(int invoiceNum, bool prepared);

    // The till filter for GetInvoices: orders whose shift was opened on one of the tills
    // since yesterday's midnight; when the first till is 0 (the "Unassigned Orders" entry)
    // also orders that belong to no shift. Entries that are not integers are skipped, so
    // stored text never reaches the statement. An empty list gives "IN ()", which the
    // database rejects (GetInvoices then fails and says so). Dates in the connection's form.
    QString TillFilter(const QStringList &tillIDs) const;

    // The start of the minute 3 hours before Now(): the lower bound of the order window.
    QDateTime WindowBound() const;

    int LastInvoiceNum() const { return m_lastInvoiceNum; }
    platform::SqlConnection *Connection() const { return m_connection; }
    // Results stay readable until the next statement on the same query.
    platform::SqlQuery &InvoiceQuery() { return m_invoiceQuery; }
    platform::SqlQuery &LineitemQuery() { return m_lineitemQuery; }
    const platform::SqlQuery &StatusQuery() const { return m_statusQuery; } // SetStatus's statement

    // "Now" of the window and of the till filter: the workstation's local clock unless
    // replaced (tests pin it).
    void SetClock(Clock clock) { m_clock = clock ? std::move(clock) : Clock(&RealNow); }
    QDateTime Now() const { return m_clock(); }

private:
    static QDateTime RealNow() { return QDateTime::currentDateTime(); }
    QString WindowBoundLiteral() const;

    platform::SqlConnection *m_connection; // not owned
    int m_lastInvoiceNum = 0;
    platform::SqlQuery m_invoiceQuery;
    platform::SqlQuery m_lineitemQuery;
    platform::SqlQuery m_statusQuery;
    Clock m_clock = &RealNow;
};
