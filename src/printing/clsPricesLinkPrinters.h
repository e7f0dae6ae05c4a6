#pragma once

// On which printers each product is printed (rows of PricesLinkPrinters; fkPricesID holds
// the product's Prices.Recipe). Main thread only; database errors are not caught here.

#include "framework/clsCollectionDB.h"

#include <QString>

class TPricesLinkPrintersItem : public TCollectionDBItem
{
public:
    explicit TPricesLinkPrintersItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TPricesLinkPrintersItem"); }

    void Clear() override;
    bool Populate(platform::SqlQuery *dataSet) override;
    // INSERT (key < 1, the new key read back) or UPDATE by key; returns the rows affected.
    int Update() override;
    // Deletes the row by key; the item stays. Throws EZXException for a link never stored.
    int Delete() override;

    int PricesLinkPrintersID() const { return m_pricesLinkPrintersID; } // below 1: not stored
    void SetPricesLinkPrintersID(int value) { m_pricesLinkPrintersID = value; }
    int fkPricesID() const { return m_fkPricesID; }
    void SetfkPricesID(int value);
    int fkPrintersID() const { return m_fkPrintersID; }
    void SetfkPrintersID(int value);

private:
    int m_pricesLinkPrintersID = -1;
    int m_fkPricesID = -1;
    int m_fkPrintersID = -1;
};

class TPricesLinkPrinters : public TCollectionDB
{
public:
    explicit TPricesLinkPrinters(TItemClass itemClass = &CreateItemOf<TPricesLinkPrintersItem>);

    TPricesLinkPrintersItem *Items(int index) const
    {
        return static_cast<TPricesLinkPrintersItem *>(TCollectionDB::Items(index));
    }
    TPricesLinkPrintersItem *Add() override
    {
        return static_cast<TPricesLinkPrintersItem *>(TCollectionDB::Add());
    }

    // Every link, by product then printer; an empty table leaves the collection as it was.
    void LoadAll();
    // The links of the products on the invoice's line items; none leaves the collection as
    // it was.
    virtual void LoadForInvoice(int invoiceNum);
    // Index of the link of product pricesID to printer printersID. Expects the order of
    // LoadAll. Throws EZXException "Cannot find the printer in the PriceLinkPrinters table."
    // when there is none.
    int Locate(int pricesID, int printersID) const;

protected:
    // Runs lines on AdoQuery() and loads the collection only when rows came back.
    void PopulateWhenRows(const QStringList &lines);
};
