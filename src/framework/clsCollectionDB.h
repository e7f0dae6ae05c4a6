#pragma once

// Collections mirrored on database tables. A record class derives its collection from
// TCollectionDB and its row from TCollectionDBItem, and supplies the SQL: a derived item's
// Update sets AdoCommand()'s text and parameters (an INSERT ending in
// " SELECT :IDField = @@Identity" with IDField an output parameter when its key is below 1,
// else an UPDATE ... WHERE key = <key>) and then calls TCollectionDBItem::Update; its
// Delete sets "DELETE FROM <table> WHERE <key> = <key>" and calls TCollectionDBItem::Delete;
// its Populate calls TCollectionDBItem::Populate and, when that returned true, reads its
// columns from the current row and ends with SetModified(false).
//
// Connections are never owned here: they belong to whoever opened them (the data module)
// and must outlive the records that use them. Database errors (platform::DbError) are not
// caught anywhere in the framework; an item whose command failed keeps its flags and is
// written again by the next Update. Main thread only.

#include "clsRootCollection.h"

#include "platform/SqlQuery.h"

#include <QStringList>

class TCollectionDBItem : public TRootCollectionItem
{
public:
    explicit TCollectionDBItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TCollectionDBItem"); }

    // Inherited Clear, then Modified and NewRecord false and Empty true.
    void Clear() override;
    // Inherited flags, then Empty and the connection of source (when it is a DB item with
    // a connection).
    void CopyFrom(const TRootCollectionItem &source) override;

    // Loads the current row of dataSet; false (and the item cleared) when there is none.
    virtual bool Populate(platform::SqlQuery *dataSet);
    // Runs lines on AdoQuery() and loads its first row.
    virtual bool PopulateFromSQL(const QStringList &lines);
    virtual void SetAdoConnection(platform::SqlConnection *connection);
    // Runs AdoCommand() as it stands; returns the rows affected.
    virtual int Delete();
    // When Modified or NewRecord: runs AdoCommand(), clears the flags, returns the rows
    // affected. Otherwise 0, and nothing is sent.
    virtual int Update();

    bool Empty() const { return m_empty; }
    void SetEmpty(bool value); // true also clears the item

    platform::SqlConnection *AdoConnection() const { return m_connection; }
    platform::SqlCommand &AdoCommand() { return m_command; }
    platform::SqlQuery &AdoQuery() { return m_query; }

private:
    platform::SqlConnection *m_connection = nullptr; // not owned
    platform::SqlCommand m_command;
    platform::SqlQuery m_query;
    bool m_empty = true;
};

class TCollectionDB : public TRootCollection
{
public:
    explicit TCollectionDB(TItemClass itemClass);
    ~TCollectionDB() override;

    TCollectionDBItem *Items(int index) const
    {
        return static_cast<TCollectionDBItem *>(TRootCollection::Items(index));
    }
    TCollectionDBItem *Insert(int index)
    {
        return static_cast<TCollectionDBItem *>(TRootCollection::Insert(index));
    }

    // New items (Add, Insert, copies) get the collection's connection.
    TCollectionDBItem *Add() override;

    // Stores the connection and gives it to the query, the command and every item.
    virtual void SetAdoConnection(platform::SqlConnection *connection);
    // Empties the collection and loads one item per row of dataSet, none of them new;
    // closes dataSet (an empty one is left open) and returns the number loaded. Throws
    // EZXException without an item class or without a dataSet.
    virtual int Populate(platform::SqlQuery *dataSet);
    // Runs lines on AdoQuery() and loads the collection from it.
    virtual int PopulateFromSQL(const QStringList &lines);
    virtual void Clear(); // the root collection's Clear
    // Runs every item's Delete (the rows go, the items stay); returns the rows affected.
    virtual int DeleteAll();
    // Moves item (of this collection) to target at index (Count of target when out of
    // range): a copy is inserted there, marked new, the items after it in target and from
    // item's place here are marked modified, item is removed from this collection without
    // a DELETE, and both collections are saved. Returns the copy.
    virtual TCollectionDBItem *MoveItem(TCollectionDBItem *item, TCollectionDB *target, int index);
    // 0 at once when nothing is new or modified; else the sum of every item's Update.
    virtual int Update();
    virtual void ClearItems(); // Clear of every item; the items stay

    // Runs AdoCommand() as a free statement for the whole table; 0 without running when
    // its text is empty. Throws EZXException when there is a text but no connection.
    int ExecuteCommand();

    platform::SqlConnection *AdoConnection() const { return m_connection; }
    platform::SqlCommand &AdoCommand() { return m_command; }
    platform::SqlQuery &AdoQuery() { return m_query; }

protected:
    void ItemCreated(TRootCollectionItem *item) override;

private:
    platform::SqlConnection *m_connection = nullptr; // not owned
    platform::SqlCommand m_command;
    platform::SqlQuery m_query;
};
