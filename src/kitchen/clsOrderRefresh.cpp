#include "clsOrderRefresh.h"

#include "kitchen/clsOrderManager.h"

#include "orders/clsDbManager.h"
#include "orders/modGalley.h"

#include "printing/clsPricesCodeLinkPrinters.h"

#include "framework/clsEZXException.h"

#include "platform/DialogSeam.h"

#include <QDateTime>

#include <vector>

namespace {

const QString ConnectionFailedText = QStringLiteral(
    "The database connection cannot be opened\r\rClick Options | Settings and make sure the "
    "connection string has been correctly setup");

void ReportRowFailure(const std::exception &e, const QString &raisedIn)
{
    platform::MessageBox(QStringLiteral("Failed to refresh invoice\rReason: ") + ExceptionMessage(e)
                             + QStringLiteral("\r\rException Raised In: ") + raisedIn,
                         platform::mtError, {platform::mbOK});
}

} // namespace

TOrderRefresh::TOrderRefresh(TOrderManager &orders, TDbManager &db,
                             TPricesCodeLinkPrinters &printerLinks, TTillColours &tillColours)
    : m_orders(orders), m_db(db), m_printerLinks(printerLinks), m_tillColours(tillColours)
{
}

bool TOrderRefresh::Connect()
{
    if (!EnsureConnected)
        return true;
    try {
        EnsureConnected();
        return true;
    } catch (const std::exception &) {
        platform::MessageBox(ConnectionFailedText, platform::mtInformation, {platform::mbOK});
        return false;
    }
}

bool TOrderRefresh::RefreshInvoices(bool reset, const TRefreshSettings &settings)
{
    if (StartFlash)
        StartFlash();
    if (!Connect())
        return false;
    if (reset)
        m_orders.Clear();

    const QString filter = settings.TillFilterEnabled ? m_db.TillFilter(settings.TillFilterIDs)
                                                      : QString();
    m_db.GetInvoices(reset, filter);
    if (m_db.LastInvoiceNum() > HighestInvoiceNum) {
        HighestInvoiceNum = m_db.LastInvoiceNum();
        if (PlaySound)
            PlaySound();
    }

    // The rows are copied before the window handles its pending events: a key handled
    // then may run statements (even a refresh) on the same query, and rows lost here
    // would never be fetched again (the high-water mark has passed them).
    struct Row
    {
        int InvoiceNum;
        int OrderNum;
        int TillID;
        bool Prepared;
        QDateTime Time;
    };
    std::vector<Row> rows;
    platform::SqlQuery &invoices = m_db.InvoiceQuery();
    try {
        if (invoices.Active()) {
            for (invoices.First(); !invoices.Eof(); invoices.Next()) {
                const platform::SqlField till = invoices.FieldByName("TillID");
                rows.push_back({invoices.FieldByName("invoicenum").AsInteger(),
                                invoices.FieldByName("ordernum").AsInteger(),
                                till.AsString().isEmpty() ? 0 : till.AsInteger(),
                                invoices.FieldByName("prepared").AsString() == QLatin1String("1"),
                                invoices.FieldByName("time").AsDateTime()});
            }
        }
        if (ProcessEvents)
            ProcessEvents();
        for (const Row &row : rows) {
            if (m_orders.IndexOfInvoiceNum(row.InvoiceNum) != -1)
                continue;
            TDisplayInvoice *order = m_orders.AddDisplayInvoice();
            order->SetInvoiceNum(row.InvoiceNum);
            order->SetOrderNum(row.OrderNum);
            order->SetTillID(row.TillID);
            order->SetTextColour(settings.WaitingText);
            order->SetBackColour(settings.WaitingBack);
            order->SetCTextColour(settings.CompletedText);
            order->SetCBackColour(settings.CompletedBack);
            order->SetSelectColour(settings.WaitingSelected);
            order->SetCSelectColour(settings.CompletedSelected);
            order->SetFontSize(settings.FontSize);
            order->SetEmpNum(m_tillColours.GetInvoiceMaker(row.InvoiceNum));
            order->SetPrepared(row.Prepared);
            order->SetSelected(false);
            order->SetDate(row.Time);
            AddOrder(row.InvoiceNum, settings);
            m_orders.InvoiceAdded();
        }
    } catch (const std::exception &e) {
        ReportRowFailure(e, QStringLiteral("TfrmMain.RefreshInvoices"));
        return false;
    }
    return true;
}

void TOrderRefresh::AddOrder(int invoiceNum, const TRefreshSettings &settings)
{
    TDisplayInvoice *order = m_orders.Items(m_orders.Count() - 1);
    const int count = m_db.GetLineitems(invoiceNum, ReportGroupID);
    if (count < 1) {
        // Nothing of it is for this kitchen (or the lines could not be read): it goes
        // straight to the prepared view with a line that says so.
        order->SetPrepared(true);
        TLineitemItem *line = order->Lineitems()->Add();
        line->SetQuantity(0);
        line->SetSize(QStringLiteral("-----"));
        line->SetItemDesc(QStringLiteral("No Items Available"));
        return;
    }
    platform::SqlQuery &lines = m_db.LineitemQuery();
    bool previousShown = false;
    for (lines.First(); !lines.Eof(); lines.Next()) {
        if (!LineShown(lines.FieldByName("Code").AsString(), previousShown, settings)) {
            previousShown = false;
            continue;
        }
        TLineitemItem *line = order->Lineitems()->Add();
        line->SetQuantity(lines.FieldByName("Quantity").AsInteger());
        line->SetSize(lines.FieldByName("Size").AsString());
        line->SetItemDesc(lines.FieldByName("ItemDesc").AsString());
        previousShown = true;
    }
}

bool TOrderRefresh::LineShown(const QString &code, bool previousShown,
                              const TRefreshSettings &settings)
{
    if (!settings.PrinterFilterEnabled)
        return true;
    for (int printerID : settings.PrinterFilterIDs) {
        if (const auto *link = m_printerLinks.FindByCode(code, printerID, true))
            // A modifier follows the line it belongs to.
            return !link->IsChild() || previousShown;
    }
    return false;
}

bool TOrderRefresh::CheckOverrungInvoices()
{
    if (!Connect())
        return false;
    if (!m_db.GetOverrungInvoices())
        return true;
    platform::SqlQuery &rows = m_db.InvoiceQuery();
    try {
        for (rows.First(); !rows.Eof(); rows.Next())
            m_orders.MarkOverrung(rows.FieldByName("invoicenum").AsInteger());
    } catch (const std::exception &e) {
        ReportRowFailure(e, QStringLiteral("TfrmMain.CheckOverrungInvoices"));
        return false;
    }
    return true;
}
