#pragma once

// An owned, ordered collection of items that keep three flags (Modified, NewRecord,
// Tagged), with counts of the first two and the list of tagged items kept by the
// collection. The base of every record collection (clsCollectionDB).
//
// Ownership works like QObject's parent: an item constructed for a collection is appended
// to it and owned by it (create it with new, or with the collection's Add/Insert; never on
// the stack); deleting an item removes it from its collection. An item constructed without
// a collection belongs to whoever made it.
//
// Invariant: ModifiedCount() is the number of items with Modified set, NewCount() the
// number with NewRecord set, and TaggedItems() holds exactly the tagged items in the order
// they were tagged. The setters keep it; only ClearFlags of the collection resets wholesale.
//
// Main thread only.

#include <QList>
#include <QString>

#include <vector>

class TRootCollection;
class TRootCollectionItem;

// The "item class" of a collection: makes a new item for (and thereby appended to) the
// collection. CreateItemOf<TSysDataItem> is the usual value.
using TItemClass = TRootCollectionItem *(*)(TRootCollection *collection);

template<class TItem> TRootCollectionItem *CreateItemOf(TRootCollection *collection)
{
    return new TItem(collection);
}

class TRootCollectionItem
{
public:
    // With a collection: appended to it and owned by it, NewRecord set (and counted).
    explicit TRootCollectionItem(TRootCollection *collection = nullptr);
    // Untags, drops its counts and leaves its collection.
    virtual ~TRootCollectionItem();
    TRootCollectionItem(const TRootCollectionItem &) = delete;
    TRootCollectionItem &operator=(const TRootCollectionItem &) = delete;

    TRootCollection *Collection() const { return m_collection; }
    int Index() const; // position in the collection; -1 without one

    bool Modified() const { return m_modified; }
    bool NewRecord() const { return m_newRecord; }
    bool Tagged() const { return m_tagged; }

    // The record class's name, e.g. "TTillsItem"; every derived class returns its own.
    virtual QString ClassName() const { return QStringLiteral("TRootCollectionItem"); }

    virtual QString GetDisplayString() const; // ClassName() + ".GetDisplayString not overridden"
    virtual void Clear(); // derived classes reset their fields, then call this
    virtual void SetModified(bool value);
    virtual void SetNewRecord(bool value);
    virtual void SetTagged(bool value);
    virtual void CopyFrom(const TRootCollectionItem &source); // the three flags, via the setters
    virtual void ClearFlags();

private:
    friend class TRootCollection;

    TRootCollection *m_collection;
    bool m_modified = false;
    bool m_newRecord = false;
    bool m_tagged = false;
};

class TRootCollection
{
public:
    explicit TRootCollection(TItemClass itemClass);
    virtual ~TRootCollection(); // frees the items
    TRootCollection(const TRootCollection &) = delete;
    TRootCollection &operator=(const TRootCollection &) = delete;

    TItemClass ItemClass() const { return m_itemClass; }
    int Count() const { return int(m_items.size()); }
    // Throws std::out_of_range for an index outside 0 .. Count() - 1.
    TRootCollectionItem *Items(int index) const;
    int IndexOf(const TRootCollectionItem *item) const; // -1 when not an item of this

    int ModifiedCount() const { return m_modifiedCount; }
    int NewCount() const { return m_newCount; }
    const QList<TRootCollectionItem *> &TaggedItems() const { return m_taggedItems; }

    // Holds back change notifications while above 0; nested calls count.
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate() { --m_updateCount; }
    int UpdateCount() const { return m_updateCount; }

    // A new item at the end: NewRecord set, Modified clear. Throws EZXException when the
    // collection has no item class.
    virtual TRootCollectionItem *Add();
    // One copy of source (Add + CopyFrom) when nothing is tagged; otherwise one copy inserted
    // at the position of each tagged item, in tagging order. Returns the number of copies.
    virtual int InsertCopies(const TRootCollectionItem &source);
    virtual void AppendFrom(const TRootCollection &other); // Add + CopyFrom of each item
    // Every flag of every item false, counts 0, nothing tagged; no per-item counting.
    virtual void ClearFlags();

    void Clear(); // ClearFlags, then frees every item
    void Delete(int index); // ClearFlags on the item, then frees it
    // Like Add, placed at index (0 .. Count()); throws std::out_of_range otherwise.
    TRootCollectionItem *Insert(int index);
    void MarkModifiedFrom(int index); // SetModified(true) from index to the last item

protected:
    // Called for every item that Add or Insert made, before it is returned.
    virtual void ItemCreated(TRootCollectionItem *item);
    TRootCollectionItem *CreateItem();

private:
    friend class TRootCollectionItem;
    void Attach(TRootCollectionItem *item);
    void Detach(TRootCollectionItem *item);

    TItemClass m_itemClass;
    std::vector<TRootCollectionItem *> m_items; // owned
    QList<TRootCollectionItem *> m_taggedItems; // not owned
    int m_modifiedCount = 0;
    int m_newCount = 0;
    int m_updateCount = 0;
};
