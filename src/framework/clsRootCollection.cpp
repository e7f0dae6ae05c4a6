#include "clsRootCollection.h"

#include "clsEZXException.h"

#include <algorithm>
#include <stdexcept>

// ---- TRootCollectionItem ----

TRootCollectionItem::TRootCollectionItem(TRootCollection *collection)
    : m_collection(collection)
{
    if (m_collection)
        m_collection->Attach(this);
    SetNewRecord(true);
}

TRootCollectionItem::~TRootCollectionItem()
{
    SetNewRecord(false);
    SetTagged(false);
    // Also drop the Modified count: an item freed directly (not through Delete) must not
    // leave the collection counting a change that no longer exists.
    SetModified(false);
    if (m_collection)
        m_collection->Detach(this);
}

int TRootCollectionItem::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

QString TRootCollectionItem::GetDisplayString() const
{
    return ClassName() + QStringLiteral(".GetDisplayString not overridden");
}

void TRootCollectionItem::Clear()
{
    SetModified(false);
    SetTagged(false);
}

void TRootCollectionItem::SetModified(bool value)
{
    if (value == m_modified)
        return;
    m_modified = value;
    if (m_collection)
        m_collection->m_modifiedCount += value ? 1 : -1;
}

void TRootCollectionItem::SetNewRecord(bool value)
{
    if (value == m_newRecord)
        return;
    m_newRecord = value;
    if (m_collection)
        m_collection->m_newCount += value ? 1 : -1;
}

void TRootCollectionItem::SetTagged(bool value)
{
    if (value == m_tagged)
        return;
    m_tagged = value;
    if (!m_collection)
        return;
    auto &tagged = m_collection->m_taggedItems;
    if (value) {
        if (!tagged.contains(this))
            tagged.append(this);
    } else {
        tagged.removeAll(this);
    }
}

void TRootCollectionItem::CopyFrom(const TRootCollectionItem &source)
{
    SetModified(source.Modified());
    SetNewRecord(source.NewRecord());
    SetTagged(source.Tagged());
}

void TRootCollectionItem::ClearFlags()
{
    SetTagged(false);
    SetModified(false);
    SetNewRecord(false);
}

// ---- TRootCollection ----

TRootCollection::TRootCollection(TItemClass itemClass)
    : m_itemClass(itemClass)
{ }

TRootCollection::~TRootCollection()
{
    Clear();
}

TRootCollectionItem *TRootCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return m_items[size_t(index)];
}

int TRootCollection::IndexOf(const TRootCollectionItem *item) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), item);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

void TRootCollection::Attach(TRootCollectionItem *item)
{
    m_items.push_back(item);
}

void TRootCollection::Detach(TRootCollectionItem *item)
{
    const auto it = std::find(m_items.begin(), m_items.end(), item);
    if (it != m_items.end())
        m_items.erase(it);
    m_taggedItems.removeAll(item);
}

TRootCollectionItem *TRootCollection::CreateItem()
{
    if (!m_itemClass)
        throw EZXException(
            QStringLiteral(
                "An instance of TCollection has been instantiated without it's ItemClass set"),
            QStringLiteral("TRootCollection.Add"));
    return m_itemClass(this); // appends itself
}

void TRootCollection::ItemCreated(TRootCollectionItem *) { }

TRootCollectionItem *TRootCollection::Add()
{
    TRootCollectionItem *item = CreateItem();
    item->SetNewRecord(true);
    item->SetModified(false);
    ItemCreated(item);
    return item;
}

TRootCollectionItem *TRootCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    TRootCollectionItem *item = CreateItem();
    // The new item stands last; move it to its place.
    m_items.pop_back();
    m_items.insert(m_items.begin() + index, item);
    item->SetNewRecord(true);
    item->SetModified(false);
    ItemCreated(item);
    return item;
}

int TRootCollection::InsertCopies(const TRootCollectionItem &source)
{
    if (m_taggedItems.isEmpty()) {
        Add()->CopyFrom(source);
        return 1;
    }
    // The copies may be tagged themselves (source's flag is copied): walk the list as it
    // was when we started.
    const QList<TRootCollectionItem *> tagged = m_taggedItems;
    for (TRootCollectionItem *at : tagged)
        Insert(at->Index())->CopyFrom(source);
    return int(tagged.size());
}

void TRootCollection::AppendFrom(const TRootCollection &other)
{
    // Count fixed first, so appending a collection to itself copies it once.
    const int count = other.Count();
    for (int i = 0; i < count; ++i)
        Add()->CopyFrom(*other.Items(i));
}

void TRootCollection::ClearFlags()
{
    for (TRootCollectionItem *item : m_items) {
        item->m_modified = false;
        item->m_newRecord = false;
        item->m_tagged = false;
    }
    m_modifiedCount = 0;
    m_newCount = 0;
    m_taggedItems.clear();
}

void TRootCollection::Clear()
{
    ClearFlags();
    while (!m_items.empty())
        delete m_items.back(); // the item detaches itself
}

void TRootCollection::Delete(int index)
{
    TRootCollectionItem *item = Items(index);
    item->ClearFlags();
    delete item;
}

void TRootCollection::MarkModifiedFrom(int index)
{
    for (int i = std::max(index, 0); i < Count(); ++i)
        m_items[size_t(i)]->SetModified(true);
}
