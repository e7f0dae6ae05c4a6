#include "clsPricesCodeLinkPrinters.h"

#include "cls_Printers.h"

// ---- TPricesCodeLinkPrintersItem ----

TPricesCodeLinkPrintersItem::TPricesCodeLinkPrintersItem(TRootCollection *collection)
    : TPricesLinkPrintersItem(collection)
{ }

void TPricesCodeLinkPrintersItem::Clear()
{
    m_code.clear();
    m_isChild = false;
    TPricesLinkPrintersItem::Clear();
}

bool TPricesCodeLinkPrintersItem::Populate(platform::SqlQuery *dataSet)
{
    if (!TPricesLinkPrintersItem::Populate(dataSet))
        return false;
    m_code = dataSet->FieldByName(u"Code").AsString();
    m_isChild = dataSet->FieldByName(u"IsChild").AsBoolean();
    return true;
}

// ---- TPricesCodeLinkPrinters ----

TPricesCodeLinkPrinters::TPricesCodeLinkPrinters(TItemClass itemClass)
    : TPricesLinkPrinters(itemClass)
{ }

void TPricesCodeLinkPrinters::LoadAllWithCodes()
{
    Clear();
    PopulateWhenRows(
        {QStringLiteral("SELECT PricesLinkPrinters.*, Prices.Code, Prices.IsChild "
                        "FROM PricesLinkPrinters"),
         QStringLiteral("JOIN Prices on PricesLinkPrinters.fkPricesID = Prices.Recipe")});
}

void TPricesCodeLinkPrinters::LoadForInvoice(int invoiceNum)
{
    PopulateWhenRows(
        {QStringLiteral("SELECT DISTINCT PricesLinkPrinters.*, Prices.Code, "
                        "Prices.IsChild FROM PricesLinkPrinters JOIN"),
         QStringLiteral("Prices ON PricesLinkPrinters.fkPricesID = Prices.Recipe JOIN"),
         QStringLiteral("Lineitem ON Lineitem.Code = Prices.Code JOIN"),
         QStringLiteral("Invoices ON Invoices.InvoiceNum = Lineitem.InvoiceNum"),
         QStringLiteral("WHERE Invoices.InvoiceNum = ") + QString::number(invoiceNum)});
}

TPricesCodeLinkPrintersItem *TPricesCodeLinkPrinters::FindByCode(const QString &code,
                                                                 int printersID,
                                                                 bool childOnAnyPrinter) const
{
    const QString wanted = printertext::Trim(code).toUpper();
    for (int i = 0; i < Count(); ++i) {
        TPricesCodeLinkPrintersItem *item = Items(i);
        if (printertext::Trim(item->Code()).toUpper() != wanted)
            continue;
        if (childOnAnyPrinter && item->IsChild())
            return item;
        if (printersID == 0 || item->fkPrintersID() == printersID)
            return item;
    }
    return nullptr;
}
