#include "clsCollectionDB.h"

#include "clsEZXException.h"

#include <stdexcept>

// ---- TCollectionDBItem ----

TCollectionDBItem::TCollectionDBItem(TRootCollection *collection)
    : TRootCollectionItem(collection)
{ }

void TCollectionDBItem::Clear()
{
    TRootCollectionItem::Clear();
    SetModified(false);
    SetNewRecord(false);
    m_empty = true;
}

void TCollectionDBItem::CopyFrom(const TRootCollectionItem &source)
{
    TRootCollectionItem::CopyFrom(source);
    if (const auto *db = dynamic_cast<const TCollectionDBItem *>(&source)) {
        m_empty = db->Empty();
        // A source without a connection (a standalone template) must not cut the copy off
        // from the database it is to be saved to.
        if (db->AdoConnection())
            SetAdoConnection(db->AdoConnection());
    }
}

void TCollectionDBItem::SetEmpty(bool value)
{
    m_empty = value;
    if (value)
        Clear();
}

bool TCollectionDBItem::Populate(platform::SqlQuery *dataSet)
{
    SetEmpty(!dataSet || dataSet->IsEmpty());
    return !m_empty;
}

bool TCollectionDBItem::PopulateFromSQL(const QStringList &lines)
{
    m_query.Close();
    m_query.SQL().clear();
    m_query.SetSQL(lines);
    m_query.Open();
    return Populate(&m_query);
}

void TCollectionDBItem::SetAdoConnection(platform::SqlConnection *connection)
{
    m_connection = connection;
    m_query.SetConnection(connection);
    m_command.SetConnection(connection);
}

int TCollectionDBItem::Delete()
{
    return m_command.Execute();
}

int TCollectionDBItem::Update()
{
    if (!Modified() && !NewRecord())
        return 0;
    const int rows = m_command.Execute();
    ClearFlags();
    return rows;
}

// ---- TCollectionDB ----

TCollectionDB::TCollectionDB(TItemClass itemClass)
    : TRootCollection(itemClass)
{ }

TCollectionDB::~TCollectionDB()
{
    m_connection = nullptr;
    TCollectionDB::Clear();
}

TCollectionDBItem *TCollectionDB::Add()
{
    return static_cast<TCollectionDBItem *>(TRootCollection::Add());
}

void TCollectionDB::ItemCreated(TRootCollectionItem *item)
{
    static_cast<TCollectionDBItem *>(item)->SetAdoConnection(m_connection);
}

void TCollectionDB::SetAdoConnection(platform::SqlConnection *connection)
{
    m_connection = connection;
    m_query.SetConnection(connection);
    m_command.SetConnection(connection);
    struct UpdateGuard
    {
        TCollectionDB &c;
        explicit UpdateGuard(TCollectionDB &collection)
            : c(collection)
        {
            c.BeginUpdate();
        }
        ~UpdateGuard() { c.EndUpdate(); }
    } guard(*this);
    for (int i = 0; i < Count(); ++i)
        Items(i)->SetAdoConnection(connection);
}

int TCollectionDB::Populate(platform::SqlQuery *dataSet)
{
    if (!ItemClass())
        throw EZXException(
            QStringLiteral(
                "An instance of TCollection has been instantiated without it's ItemClass set"),
            QStringLiteral("TCollectionDB.Populate"));
    if (!dataSet)
        throw EZXException(
            QStringLiteral("Cannot call TCollectionDB.Populate with a nil DataSet parameter"),
            QStringLiteral("TCollectionDB.Populate"));
    Clear();
    if (dataSet->IsEmpty())
        return 0;
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next()) {
        TCollectionDBItem *item = Add();
        item->Populate(dataSet);
        item->SetNewRecord(false);
    }
    dataSet->Close();
    return Count();
}

int TCollectionDB::PopulateFromSQL(const QStringList &lines)
{
    m_query.Close();
    m_query.SQL().clear();
    m_query.SetSQL(lines);
    m_query.Open();
    return Populate(&m_query);
}

void TCollectionDB::Clear()
{
    TRootCollection::Clear();
}

int TCollectionDB::DeleteAll()
{
    int rows = 0;
    for (int i = 0; i < Count(); ++i)
        rows += Items(i)->Delete();
    return rows;
}

TCollectionDBItem *TCollectionDB::MoveItem(TCollectionDBItem *item, TCollectionDB *target,
                                           int index)
{
    if (!item || item->Collection() != this || !target)
        throw std::invalid_argument(
            "TCollectionDB.MoveItem: the item is not one of this collection's");
    if (index < 0 || index > target->Count())
        index = target->Count();
    TCollectionDBItem *copy = target->Insert(index);
    target->MarkModifiedFrom(index + 1);
    copy->CopyFrom(*item);
    copy->SetNewRecord(true);
    const int from = item->Index();
    MarkModifiedFrom(from);
    Delete(from);
    Update();
    if (target != this)
        target->Update();
    return copy;
}

int TCollectionDB::Update()
{
    if (ModifiedCount() == 0 && NewCount() == 0)
        return 0;
    int rows = 0;
    for (int i = 0; i < Count(); ++i)
        rows += Items(i)->Update();
    return rows;
}

void TCollectionDB::ClearItems()
{
    for (int i = 0; i < Count(); ++i)
        Items(i)->Clear();
}

int TCollectionDB::ExecuteCommand()
{
    if (m_command.CommandText().isEmpty())
        return 0;
    if (!m_connection)
        throw EZXException(
            QStringLiteral("Cannot execute a TCollectionDB.AdoCommand query without setting "
                           "TCollectionDB.AdoConnection"),
            QStringLiteral("TCollectionDB.ExecuteCommand"));
    return m_command.Execute();
}
