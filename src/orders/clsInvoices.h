#pragma once

// Orders (rows of Invoices) as the kitchen monitor holds them, and the day numbers the
// suite computes times with.
//
// Only what the monitor reads is kept: invoice and order numbers, till, order time,
// prepared and overrung flags, the VAT rate handed to the line items, and the line items.
// The point-of-sale content of an invoice (customer and table links, due/cooked/driver
// times, discounts, delivery charge, totals, VAT and net amounts, tenders and change,
// driver, cashier, staff meals, comments, head count, closed-table and paid-online flags)
// and its calculations are not held here: the tills write and compute them, and this
// program never saves an invoice. Update and Delete therefore throw instead of sending
// anything.
//
// Main thread only.

#include "clsLineitems.h"

#include <QDateTime>
#include <QString>

#include <memory>

// Day numbers: days since 1899-12-30 00:00 local time, the fraction being the time of day
// (for days before that date the fraction still counts forward from midnight, so -1.25 is
// 1899-12-29 06:00). An invalid QDateTime stands for day 0.
double DateTimeToDays(const QDateTime &value);
QDateTime DaysToDateTime(double days);
// The time of day of a day number as "hh:nn" (hours 00-23, minutes), e.g. 68 minutes
// (0.04722...) gives "01:08" and 25 hours gives "01:00"; rounded to the nearest millisecond.
QString FormatHourMinute(double days);

class TInvoice : public TCollectionDBItem
{
public:
    explicit TInvoice(TRootCollection *collection = nullptr);
    ~TInvoice() override; // frees Lineitems and its items

    QString ClassName() const override { return QStringLiteral("TInvoice"); }

    // Inherited Clear, then the numbers 0, Date invalid, both flags false, no line items.
    void Clear() override;
    // Flags, fields and copies of the line items.
    void CopyFrom(const TRootCollectionItem &source) override;
    // Reads the columns of the current row that it has: InvoiceNum, OrderNum, Date (or the
    // order query's "time"), Prepared (true when its text is "1"), Status (overrung when
    // above 0) and the order query's TillID. NULL reads as 0 / invalid date / false.
    // Leaves Modified false.
    bool Populate(platform::SqlQuery *dataSet) override;
    // Also the line items' connection.
    void SetAdoConnection(platform::SqlConnection *connection) override;
    // Throw EZXException: invoices are written by the tills only.
    int Update() override;
    int Delete() override;

    int InvoiceNum() const { return m_invoiceNum; }
    virtual void SetInvoiceNum(int value); // also every line item already held
    int OrderNum() const { return m_orderNum; }
    void SetOrderNum(int value) { m_orderNum = value; }
    int TillID() const { return m_tillID; } // 0 when the order belongs to no till shift
    void SetTillID(int value) { m_tillID = value; }
    const QDateTime &Date() const { return m_date; } // local time; invalid = none
    virtual void SetDate(const QDateTime &value); // also every line item already held
    bool Prepared() const { return m_prepared; }
    virtual void SetPrepared(bool value);
    bool Overrung() const { return m_overrung; }
    virtual void SetOverrung(bool value);

    // Owned by the invoice; never null.
    TLineitem *Lineitems() const { return m_lineitems.get(); }

    // How long ago the order was taken: now minus Date, in days (a day fraction for orders
    // of the last day). Format it with FormatHourMinute.
    double ElapsedTime(const QDateTime &now = QDateTime::currentDateTime()) const;

    // The VAT rate (percent) this invoice was created with, given to its line items.
    double VatRate() const { return m_vatRate; }

    // The shop's "VAT RATE" that new invoices take. The shared suite settings set it once
    // loaded; until then it is 0.
    static void SetDefaultVatRate(double percent);
    static double DefaultVatRate();

private:
    int m_invoiceNum = 0;
    int m_orderNum = 0;
    int m_tillID = 0;
    QDateTime m_date;
    bool m_prepared = false;
    bool m_overrung = false;
    double m_vatRate = 0;
    std::unique_ptr<TLineitem> m_lineitems;
};

// A collection of orders; owns them. The base of the kitchen's order list.
class TInvoices : public TCollectionDB
{
public:
    explicit TInvoices(TItemClass itemClass = &CreateItemOf<TInvoice>);

    TInvoice *Items(int index) const { return static_cast<TInvoice *>(TCollectionDB::Items(index)); }
    TInvoice *Add() override;

    // Index of the first item (from 0) with that invoice number; -1 when there is none.
    int IndexOfInvoiceNum(int invoiceNum) const;
};
