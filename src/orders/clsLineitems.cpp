#include "clsLineitems.h"

#include "framework/clsEZXException.h"

// ---- TLineitemItem ----

TLineitemItem::TLineitemItem(TRootCollection *collection)
    : TCollectionDBItem(collection)
{ }

void TLineitemItem::Clear()
{
    TCollectionDBItem::Clear();
    m_quantity = 0;
    m_size.clear();
    m_itemDesc.clear();
    m_code.clear();
    m_lineNum = 0;
    m_invoiceNum = 0;
    m_date = QDateTime();
    m_vatRate = 0;
}

void TLineitemItem::CopyFrom(const TRootCollectionItem &source)
{
    TCollectionDBItem::CopyFrom(source);
    if (const auto *other = dynamic_cast<const TLineitemItem *>(&source)) {
        m_quantity = other->m_quantity;
        m_size = other->m_size;
        m_itemDesc = other->m_itemDesc;
        m_code = other->m_code;
        m_lineNum = other->m_lineNum;
        m_invoiceNum = other->m_invoiceNum;
        m_date = other->m_date;
        m_vatRate = other->m_vatRate;
    }
}

bool TLineitemItem::Populate(platform::SqlQuery *dataSet)
{
    if (!TCollectionDBItem::Populate(dataSet))
        return false;
    const auto has = [dataSet](const char *name) { return dataSet->HasField(QLatin1StringView(name)); };
    if (has("InvoiceNum"))
        m_invoiceNum = dataSet->FieldByName(u"InvoiceNum").AsInteger();
    if (has("LineNum"))
        m_lineNum = dataSet->FieldByName(u"LineNum").AsInteger();
    if (has("Code"))
        m_code = dataSet->FieldByName(u"Code").AsString();
    if (has("Quantity"))
        m_quantity = dataSet->FieldByName(u"Quantity").AsFloat();
    if (has("Size"))
        m_size = dataSet->FieldByName(u"Size").AsString();
    if (has("ItemDesc"))
        m_itemDesc = dataSet->FieldByName(u"ItemDesc").AsString();
    if (has("Date"))
        m_date = dataSet->FieldByName(u"Date").AsDateTime();
    SetModified(false);
    return true;
}

int TLineitemItem::Update()
{
    throw EZXException(QStringLiteral("Line items are written by the tills; this program does not save them"),
                       QStringLiteral("TLineitemItem.Update"));
}

int TLineitemItem::Delete()
{
    throw EZXException(QStringLiteral("Line items are written by the tills; this program does not delete them"),
                       QStringLiteral("TLineitemItem.Delete"));
}

void TLineitemItem::SetQuantity(double value)
{
    m_quantity = value;
}

// ---- TLineitem ----

TLineitem::TLineitem(TItemClass itemClass)
    : TCollectionDB(itemClass)
{ }

TLineitemItem *TLineitem::Add()
{
    return static_cast<TLineitemItem *>(TCollectionDB::Add());
}

int TLineitem::Populate(platform::SqlQuery *dataSet)
{
    if (!dataSet)
        throw EZXException(QStringLiteral("Cannot call TLineitem.Populate with a nil DataSet parameter"),
                           QStringLiteral("TLineitem.Populate"));
    return TCollectionDB::Populate(dataSet);
}

void TLineitem::ItemCreated(TRootCollectionItem *item)
{
    TCollectionDB::ItemCreated(item);
    if (auto *line = dynamic_cast<TLineitemItem *>(item))
        line->SetVatRate(m_vatRate);
}
