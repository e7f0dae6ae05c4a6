#pragma once

// The line items of one order (rows of LineItem) as the kitchen monitor holds them.
//
// Only what the monitor reads is kept: quantity, size, description, the product code and
// line number, and the owning invoice's number and date. The point-of-sale content of a
// line (prices, line and cost totals, discounts, VAT amounts, modifiers, grouping, colours,
// stock location, printer list, void and upload flags) and the collection's running totals
// are not held here: the tills write and compute them, and this program never saves a
// line item. Update and Delete therefore throw instead of sending anything.
//
// Main thread only.

#include "framework/clsCollectionDB.h"

#include <QDateTime>
#include <QString>

class TLineitemItem : public TCollectionDBItem
{
public:
    explicit TLineitemItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TLineitemItem"); }

    void Clear() override; // inherited Clear, then every field 0 / empty / invalid date
    void CopyFrom(const TRootCollectionItem &source) override; // flags and every field
    // Reads InvoiceNum, LineNum, Code, Quantity, Size, ItemDesc and Date of the current row,
    // each only when the row has that column; NULL reads as 0 / empty / invalid date.
    // Leaves Modified false.
    bool Populate(platform::SqlQuery *dataSet) override;
    // Throw EZXException: line items are written by the tills only.
    int Update() override;
    int Delete() override;

    double Quantity() const { return m_quantity; } // whole numbers in practice
    virtual void SetQuantity(double value);
    const QString &Size() const { return m_size; } // may be empty
    void SetSize(const QString &value) { m_size = value; }
    const QString &ItemDesc() const { return m_itemDesc; }
    void SetItemDesc(const QString &value) { m_itemDesc = value; }
    const QString &Code() const { return m_code; } // the product code (Prices.Code)
    void SetCode(const QString &value) { m_code = value; }
    int LineNum() const { return m_lineNum; }
    void SetLineNum(int value) { m_lineNum = value; }
    // Kept equal to the owning invoice's number and date by TInvoice's setters.
    int InvoiceNum() const { return m_invoiceNum; }
    void SetInvoiceNum(int value) { m_invoiceNum = value; }
    const QDateTime &Date() const { return m_date; } // invalid = none
    void SetDate(const QDateTime &value) { m_date = value; }
    // The invoice's VAT rate (percent), taken over when the item is added to a TLineitem.
    double VatRate() const { return m_vatRate; }
    void SetVatRate(double value) { m_vatRate = value; }

private:
    double m_quantity = 0;
    QString m_size;
    QString m_itemDesc;
    QString m_code;
    int m_lineNum = 0;
    int m_invoiceNum = 0;
    QDateTime m_date;
    double m_vatRate = 0;
};

// The line items of one invoice, in the order they were added. Owns its items.
class TLineitem : public TCollectionDB
{
public:
    explicit TLineitem(TItemClass itemClass = &CreateItemOf<TLineitemItem>);

    TLineitemItem *Items(int index) const
    {
        return static_cast<TLineitemItem *>(TCollectionDB::Items(index));
    }
    TLineitemItem *Add() override; // appended; takes over VatRate()

    using TCollectionDB::Populate;
    // One item per row of dataSet. Throws EZXException "Cannot call TLineitem.Populate with
    // a nil DataSet parameter" for a null dataSet.
    int Populate(platform::SqlQuery *dataSet) override;

    // Given to every item added from now on (the invoice's VAT rate, percent).
    double VatRate() const { return m_vatRate; }
    void SetVatRate(double value) { m_vatRate = value; }

protected:
    void ItemCreated(TRootCollectionItem *item) override;

private:
    double m_vatRate = 0;
};
