#include "clsDbManager.h"

#include "framework/clsEZXException.h"
#include "framework/modMsgDlgs.h"
#include "platform/DbError.h"

#include <QGuiApplication>

namespace {

// The hourglass while a statement runs; back to the default however the block is left.
class WaitCursor
{
public:
    WaitCursor()
        : m_active(qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr)
    {
        if (m_active)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_active;
};

void RequireConnection(const platform::SqlConnection *connection)
{
    if (!connection)
        throw platform::DbError(QStringLiteral("No database connection."));
}

// Without a connection the embedded database's form, so building a filter never fails.
QString DateLiteralOf(const platform::SqlConnection *connection, const QDateTime &when)
{
    if (connection)
        return connection->DateLiteral(when);
    return QLatin1Char('\'') + when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + QLatin1Char('\'');
}

void Report(const QString &what, const std::exception &e, const QString &raisedIn)
{
    ErrorDlg(what + QStringLiteral("Reason: ") + ExceptionMessage(e) + QStringLiteral("\r\r")
             + QStringLiteral("Exception Raised In: ") + raisedIn);
}

} // namespace

TDbManager::TDbManager(platform::SqlConnection *connection)
    : m_connection(connection)
    , m_invoiceQuery(connection)
    , m_lineitemQuery(connection)
    , m_statusQuery(connection)
{ }

QDateTime TDbManager::WindowBound() const
{
    // Wall-clock arithmetic, as the tills write local times: 3 hours back on the clock face,
    // then the start of that minute.
    const QDateTime now = Now();
    const QDateTime back = QDateTime(now.date(), now.time(), Qt::UTC).addSecs(-3 * 60 * 60);
    const QTime time = back.time();
    return QDateTime(back.date(), QTime(time.hour(), time.minute()));
}

QString TDbManager::WindowBoundLiteral() const
{
    RequireConnection(m_connection);
    // The full form keeps ">=" inclusive from the first millisecond of the minute on both
    // databases (a truncated text would sort after a stored value of that same minute).
    return m_connection->DateLiteral(WindowBound());
}

bool TDbManager::GetInvoices(bool resetLast, const QString &filter)
{
    WaitCursor wait;
    try {
        if (resetLast)
            m_lastInvoiceNum = 0;
        m_invoiceQuery.Close();
        QStringList sql{
            QStringLiteral("SELECT invoices.invoicenum,invoices.ordernum,invoices.prepared,"),
            QStringLiteral("invoices.shiftnum, invoices.cashier,"),
            QStringLiteral("invoices.date as time, IsNull(tillpost.tillid,0) AS TillID"),
            QStringLiteral("FROM invoices"),
            QStringLiteral("LEFT OUTER JOIN tillpost ON invoices.shiftnum = tillpost.shiftnum"),
            QStringLiteral("WHERE [Invoices].[Date] >= ") + WindowBoundLiteral() + QStringLiteral(" "),
            QStringLiteral("AND INVOICES.invoicenum > ") + QString::number(m_lastInvoiceNum),
            QStringLiteral("AND ordernum > 0"),
            QStringLiteral("AND Invoices.status = 0"),
        };
        if (!filter.isEmpty())
            sql << filter;
        sql << QStringLiteral("ORDER BY INVOICES.invoicenum ASC");
        m_invoiceQuery.SetSQL(sql);
        m_invoiceQuery.Open();
        if (m_invoiceQuery.IsEmpty())
            return false;
        m_invoiceQuery.Last();
        m_lastInvoiceNum = m_invoiceQuery.FieldByName(u"invoicenum").AsInteger();
        return true;
    } catch (const std::exception &e) {
        Report(QStringLiteral("Failed to get invoices to display on the kitchen monitor\r"), e,
               QStringLiteral("TDbManager.GetInvoices"));
        return false;
    }
}

int TDbManager::GetLineitems(int invoiceNum, int reportGroupID)
{
    try {
        RequireConnection(m_connection);
        m_lineitemQuery.Close();
        QStringList sql{
            QStringLiteral("SELECT * FROM LineItem"),
            QStringLiteral("\tWHERE LineItem.Code IN"),
            QStringLiteral("\t\t(SELECT Prices.Code FROM Prices"),
            QStringLiteral("\t\t\tLEFT JOIN PricesLinkPrinters ON Prices.Recipe = PricesLinkPrinters.fkPricesID"),
            QStringLiteral("\t\t\tLEFT JOIN Printers ON Printers.PrintersID = PricesLinkPrinters.fkPrintersID"),
            QStringLiteral("\t\t\tWHERE (Printers.Category = 1"),
            QStringLiteral("\t\t\tOR Prices.BKPrint <> '')"),
        };
        if (reportGroupID > 0)
            sql << QStringLiteral("     AND fkReportGroupID = ") + QString::number(reportGroupID);
        sql << QStringLiteral("\t\t)")
            << QStringLiteral("\tAND LineItem.Invoicenum = ") + QString::number(invoiceNum)
            // The cook reads the lines in till order, and a modifier must follow its line.
            << QStringLiteral("ORDER BY LineItem.LineNum");
        m_lineitemQuery.SetSQL(sql);
        m_lineitemQuery.Open();
        return m_lineitemQuery.RecordCount();
    } catch (const std::exception &e) {
        Report(QStringLiteral("Failed to Failed to get lineitems for invoice number ")
                   + QString::number(invoiceNum) + QStringLiteral("\r"),
               e, QStringLiteral("TDbManager.GetLineitems"));
        return -1;
    }
}

bool TDbManager::GetOverrungInvoices()
{
    WaitCursor wait;
    try {
        m_invoiceQuery.Close();
        m_invoiceQuery.SetSQL(QStringList{
            QStringLiteral("SELECT invoicenum"),
            QStringLiteral("FROM invoices"),
            QStringLiteral("WHERE Invoices.Date >= ") + WindowBoundLiteral() + QStringLiteral(" "),
            QStringLiteral("AND status <> 0"),
            QStringLiteral("ORDER BY invoicenum ASC"),
        });
        m_invoiceQuery.Open();
        return !m_invoiceQuery.IsEmpty();
    } catch (const std::exception &e) {
        Report(QStringLiteral("Failed to get overrung invoices\r"), e,
               QStringLiteral("TDbManager.GetOverrungInvoices"));
        return false;
    }
}

bool TDbManager::SetStatus(int invoiceNum, bool prepared)
{
    WaitCursor wait;
    try {
        RequireConnection(m_connection);
        m_statusQuery.Close();
        QStringList sql{QStringLiteral("UPDATE invoices"),
                        QStringLiteral("SET prepared = ") + (prepared ? QStringLiteral("1") : QStringLiteral("0"))};
        if (prepared)
            sql << QStringLiteral(", TimeStampCooked = GetDate()");
        sql << QStringLiteral("WHERE invoicenum = ") + QString::number(invoiceNum);
        m_statusQuery.SetSQL(sql);
        m_statusQuery.ExecSQL();
        return true;
    } catch (const std::exception &e) {
        Report(QStringLiteral("Failed to set the selected order status\r\r"), e,
               QStringLiteral("TDbManager.SetStatus"));
        return false;
    }
}

QString TDbManager::TillFilter(const QStringList &tillIDs) const
{
    QStringList tills;
    for (const QString &entry : tillIDs) {
        bool ok = false;
        const int till = entry.trimmed().toInt(&ok);
        if (ok)
            tills << QString::number(till);
    }
    const QDate yesterday = Now().date().addDays(-1);
    const QString shifts = QStringLiteral("[Invoices].[Shiftnum] in (SELECT [Shiftnum] FROM [Tillpost] WHERE DATE >= ")
                           + DateLiteralOf(m_connection, QDateTime(yesterday, QTime(0, 0))) + QStringLiteral(" ")
                           + QStringLiteral(" AND [TillID] IN (") + tills.join(QLatin1Char(','))
                           + QStringLiteral(") )");
    if (!tills.isEmpty() && tills.first() == QLatin1String("0"))
        return QStringLiteral("AND (") + shifts + QStringLiteral(" OR Invoices.ShiftNum = 0 ") + QStringLiteral(")");
    return QStringLiteral("AND ") + shifts;
}
