#pragma once

// The product-to-printer links with each product's code and child flag: what the kitchen
// monitor keeps in memory to route line items (by their code) to printers. Main thread
// only; database errors are not caught here.

#include "clsPricesLinkPrinters.h"

class TPricesCodeLinkPrintersItem : public TPricesLinkPrintersItem
{
public:
    explicit TPricesCodeLinkPrintersItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TPricesCodeLinkPrintersItem"); }

    void Clear() override;
    // The link's columns, then Prices.Code and Prices.IsChild.
    bool Populate(platform::SqlQuery *dataSet) override;

    const QString &Code() const { return m_code; }
    void SetCode(const QString &value) { m_code = value; }
    bool IsChild() const { return m_isChild; }
    void SetIsChild(bool value) { m_isChild = value; }

private:
    QString m_code;
    bool m_isChild = false;
};

class TPricesCodeLinkPrinters : public TPricesLinkPrinters
{
public:
    explicit TPricesCodeLinkPrinters(TItemClass itemClass
                                     = &CreateItemOf<TPricesCodeLinkPrintersItem>);

    TPricesCodeLinkPrintersItem *Items(int index) const
    {
        return static_cast<TPricesCodeLinkPrintersItem *>(TPricesLinkPrinters::Items(index));
    }
    TPricesCodeLinkPrintersItem *Add() override
    {
        return static_cast<TPricesCodeLinkPrintersItem *>(TPricesLinkPrinters::Add());
    }

    // Exactly every link with its product's code (empty when there are none).
    void LoadAllWithCodes();
    // As the base's, with codes.
    void LoadForInvoice(int invoiceNum) override;

    // The first link whose code equals code (both trimmed, letter case ignored) and that
    // routes it to printersID (0: any printer). With childOnAnyPrinter a child product's
    // first link counts for every printer. Null when none.
    TPricesCodeLinkPrintersItem *FindByCode(const QString &code, int printersID,
                                            bool childOnAnyPrinter) const;
};
