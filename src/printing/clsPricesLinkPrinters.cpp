#include "clsPricesLinkPrinters.h"

#include "framework/clsEZXException.h"

// ---- TPricesLinkPrintersItem ----

TPricesLinkPrintersItem::TPricesLinkPrintersItem(TRootCollection *collection)
    : TCollectionDBItem(collection)
{ }

void TPricesLinkPrintersItem::Clear()
{
    m_fkPricesID = -1;
    m_fkPrintersID = -1;
    m_pricesLinkPrintersID = -1;
    TCollectionDBItem::Clear();
}

bool TPricesLinkPrintersItem::Populate(platform::SqlQuery *dataSet)
{
    if (!TCollectionDBItem::Populate(dataSet))
        return false;
    m_fkPricesID = dataSet->FieldByName(u"fkPricesID").AsInteger();
    m_fkPrintersID = dataSet->FieldByName(u"fkPrintersID").AsInteger();
    m_pricesLinkPrintersID = dataSet->FieldByName(u"PricesLinkPrintersID").AsInteger();
    SetModified(false);
    return true;
}

int TPricesLinkPrintersItem::Update()
{
    const bool insert = m_pricesLinkPrintersID < 1;
    platform::SqlCommand &cmd = AdoCommand();
    if (insert) {
        cmd.SetCommandText(QStringLiteral(
            "INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (:fkPricesID, "
            ":fkPrintersID) SELECT :IDField = @@Identity"));
        cmd.SetOutput(QStringLiteral("IDField"));
    } else {
        cmd.SetCommandText(
            QStringLiteral("UPDATE PricesLinkPrinters SET fkPricesID = :fkPricesID, "
                           "fkPrintersID = :fkPrintersID WHERE PricesLinkPrintersID = ")
            + QString::number(m_pricesLinkPrintersID));
    }
    cmd.SetParam(QStringLiteral("fkPricesID"), m_fkPricesID);
    cmd.SetParam(QStringLiteral("fkPrintersID"), m_fkPrintersID);
    const int rows = TCollectionDBItem::Update();
    if (insert && rows > 0)
        m_pricesLinkPrintersID = cmd.ParamValue(QStringLiteral("IDField")).toInt();
    return rows;
}

int TPricesLinkPrintersItem::Delete()
{
    if (m_pricesLinkPrintersID <= 0)
        throw EZXException(
            QStringLiteral("Cannot delete when the "
                           "TPricesLinkPrintersID.PricesLinkPrintersID has not been set"),
            QStringLiteral("TPricesLinkPrintersItem.Delete"));
    AdoCommand().SetCommandText(
        QStringLiteral("DELETE FROM PricesLinkPrinters WHERE PricesLinkPrintersID = ")
        + QString::number(m_pricesLinkPrintersID));
    return TCollectionDBItem::Delete();
}

void TPricesLinkPrintersItem::SetfkPricesID(int value)
{
    if (value == m_fkPricesID)
        return;
    m_fkPricesID = value;
    SetModified(true);
}

void TPricesLinkPrintersItem::SetfkPrintersID(int value)
{
    if (value == m_fkPrintersID)
        return;
    m_fkPrintersID = value;
    SetModified(true);
}

// ---- TPricesLinkPrinters ----

TPricesLinkPrinters::TPricesLinkPrinters(TItemClass itemClass)
    : TCollectionDB(itemClass)
{ }

void TPricesLinkPrinters::PopulateWhenRows(const QStringList &lines)
{
    platform::SqlQuery &query = AdoQuery();
    query.Close();
    query.SetSQL(lines);
    query.Open();
    if (!query.IsEmpty())
        Populate(&query);
}

void TPricesLinkPrinters::LoadAll()
{
    PopulateWhenRows({QStringLiteral("SELECT * FROM PricesLinkPrinters"),
                      QStringLiteral("ORDER BY fkPricesID ASC, fkPrintersID ASC")});
}

void TPricesLinkPrinters::LoadForInvoice(int invoiceNum)
{
    PopulateWhenRows(
        {QStringLiteral("SELECT DISTINCT PricesLinkPrinters.* FROM PricesLinkPrinters JOIN"),
         QStringLiteral("Prices ON PricesLinkPrinters.fkPricesID = Prices.Recipe JOIN"),
         QStringLiteral("Lineitem ON Lineitem.Code = Prices.Code JOIN"),
         QStringLiteral("Invoices ON Invoices.InvoiceNum = Lineitem.InvoiceNum"),
         QStringLiteral("WHERE Invoices.InvoiceNum = ") + QString::number(invoiceNum)});
}

int TPricesLinkPrinters::Locate(int pricesID, int printersID) const
{
    int i = 0;
    while (i < Count() && Items(i)->fkPricesID() != pricesID)
        ++i;
    for (; i < Count() && Items(i)->fkPricesID() == pricesID; ++i)
        if (Items(i)->fkPrintersID() == printersID)
            return i;
    throw EZXException(QStringLiteral("Cannot find the printer in the PriceLinkPrinters table."),
                       QStringLiteral("TPricesLinkPrinters.Locate"));
}
