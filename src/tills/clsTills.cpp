#include "clsTills.h"

namespace {
const QString kNoText = QString(QChar(0)); // the suite's "no text" marker
}

TTillsItem::TTillsItem(TRootCollection *collection)
    : TCollectionDBItem(collection)
    , m_computerName(kNoText)
    , m_hdSerial(kNoText)
    , m_loginName(kNoText)
{ }

void TTillsItem::Clear()
{
    m_computerName = kNoText;
    m_hdSerial = kNoText;
    m_loginName = kNoText;
    m_tillID = -1;
    m_tillsID = -1;
    TCollectionDBItem::Clear();
}

void TTillsItem::CopyFrom(const TRootCollectionItem &source)
{
    TCollectionDBItem::CopyFrom(source);
    if (const auto *till = dynamic_cast<const TTillsItem *>(&source)) {
        SetComputerName(till->ComputerName());
        SetHDSerial(till->HDSerial());
        SetLoginName(till->LoginName());
        SetTillID(till->TillID());
        SetTillsID(till->TillsID());
    }
    SetModified(true);
}

bool TTillsItem::Populate(platform::SqlQuery *dataSet)
{
    if (!TCollectionDBItem::Populate(dataSet))
        return false;
    SetTillsID(dataSet->FieldByName(u"TillsID").AsInteger());
    SetTillID(dataSet->FieldByName(u"TillID").AsInteger());
    SetComputerName(dataSet->FieldByName(u"Computer Name").AsString());
    SetHDSerial(dataSet->FieldByName(u"HD Serial").AsString());
    SetLoginName(dataSet->FieldByName(u"Login Name").AsString());
    SetModified(false);
    return true;
}

bool TTillsItem::LoadByTillID(int tillID)
{
    return PopulateFromSQL(
        {QStringLiteral("SELECT * FROM Tills WHERE TillID = ") + QString::number(tillID)});
}

void TTillsItem::SetText(QString &field, const QString &value)
{
    if (value == field)
        return;
    field = value.trimmed().isEmpty() ? kNoText : value;
    SetModified(true);
}

void TTillsItem::SetComputerName(const QString &value)
{
    SetText(m_computerName, value);
}

void TTillsItem::SetHDSerial(const QString &value)
{
    SetText(m_hdSerial, value);
}

void TTillsItem::SetLoginName(const QString &value)
{
    SetText(m_loginName, value);
}

void TTillsItem::SetTillID(qint32 value)
{
    if (value == m_tillID)
        return;
    m_tillID = value;
    SetModified(true);
}

void TTillsItem::SetTillsID(qint32 value)
{
    if (value == m_tillsID)
        return;
    m_tillsID = value;
    SetModified(true);
}

TTills::TTills()
    : TCollectionDB(&CreateItemOf<TTillsItem>)
{ }

int TTills::LoadAll()
{
    platform::SqlQuery &q = AdoQuery();
    q.Close();
    q.SetSQL(
        QStringList {QStringLiteral("SELECT * FROM Tills"), QStringLiteral("ORDER BY TillID")});
    q.Open();
    if (q.IsEmpty())
        return 0;
    return Populate(&q);
}
