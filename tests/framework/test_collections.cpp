// The collection framework, driven through a small record class on a table of its own
// with an identity key: TestRec rows belong to a list (ListID) at a position (Pos).

#include "../support/TestDatabase.h"

#include "framework/clsCollectionDB.h"
#include "framework/clsEZXException.h"

#include "platform/DbError.h"

#include <gtest/gtest.h>

#include <memory>

using platform::SqlQuery;

namespace {

class TTestRecs;

// Saves as the record classes of the suite do: INSERT with the identity read-back when
// the key is below 1, else UPDATE by key. Pos is the item's index, ListID its collection's.
class TTestRecItem : public TCollectionDBItem
{
public:
    using TCollectionDBItem::TCollectionDBItem;

    QString ClassName() const override { return QStringLiteral("TTestRecItem"); }

    int ID = 0;
    const QString &Name() const { return m_name; }
    void SetName(const QString &name)
    {
        if (name == m_name)
            return;
        m_name = name;
        SetModified(true);
    }

    void Clear() override
    {
        ID = 0;
        m_name.clear();
        TCollectionDBItem::Clear();
    }
    void CopyFrom(const TRootCollectionItem &source) override
    {
        TCollectionDBItem::CopyFrom(source);
        const auto &rec = static_cast<const TTestRecItem &>(source);
        ID = rec.ID;
        SetName(rec.Name());
    }
    bool Populate(SqlQuery *dataSet) override
    {
        if (!TCollectionDBItem::Populate(dataSet))
            return false;
        ID = dataSet->FieldByName(u"TestRecID").AsInteger();
        SetName(dataSet->FieldByName(u"Name").AsString());
        SetModified(false);
        return true;
    }
    int Update() override;
    int Delete() override
    {
        AdoCommand().SetCommandText(QStringLiteral("DELETE FROM TestRec WHERE TestRecID = ")
                                    + QString::number(ID));
        return TCollectionDBItem::Delete();
    }

private:
    QString m_name;
};

class TTestRecs : public TCollectionDB
{
public:
    explicit TTestRecs(int listID)
        : TCollectionDB(&CreateItemOf<TTestRecItem>)
        , ListID(listID)
    { }

    const int ListID;

    TTestRecItem *Items(int index) const
    {
        return static_cast<TTestRecItem *>(TCollectionDB::Items(index));
    }
    TTestRecItem *Add() override { return static_cast<TTestRecItem *>(TCollectionDB::Add()); }

    int LoadList()
    {
        return PopulateFromSQL({QStringLiteral("SELECT * FROM TestRec"),
                                QStringLiteral("WHERE ListID = ") + QString::number(ListID),
                                QStringLiteral("ORDER BY Pos")});
    }
    QStringList Names() const
    {
        QStringList names;
        for (int i = 0; i < Count(); ++i)
            names << Items(i)->Name();
        return names;
    }
};

int TTestRecItem::Update()
{
    const bool insert = ID < 1;
    platform::SqlCommand &cmd = AdoCommand();
    if (insert) {
        cmd.SetCommandText(
            QStringLiteral("INSERT INTO TestRec (ListID, Pos, Name) VALUES (:ListID, :Pos, :Name)"
                           " SELECT :IDField = @@Identity"));
        cmd.SetOutput(QStringLiteral("IDField"));
    } else {
        cmd.SetCommandText(
            QStringLiteral("UPDATE TestRec SET ListID = :ListID, Pos = :Pos, Name = :Name "
                           "WHERE TestRecID = ")
            + QString::number(ID));
    }
    const auto *list = dynamic_cast<const TTestRecs *>(Collection());
    cmd.SetParam(QStringLiteral("ListID"), list ? list->ListID : 0);
    cmd.SetParam(QStringLiteral("Pos"), Index());
    cmd.SetParam(QStringLiteral("Name"), m_name);
    const int rows = TCollectionDBItem::Update();
    if (insert && rows > 0)
        ID = cmd.ParamValue(QStringLiteral("IDField")).toInt();
    return rows;
}

class Collections : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.Exec(
            "CREATE TABLE TestRec (TestRecID INTEGER PRIMARY KEY AUTOINCREMENT, ListID INTEGER, "
            "Pos INTEGER, Name TEXT CHECK (Name <> 'refused'))");
        db.Exec(
            "INSERT INTO TestRec (ListID, Pos, Name) VALUES (1, 0, 'A'), (1, 1, 'B'), (1, 2, 'C'), "
            "(2, 0, 'X'), (2, 1, 'Y')");
        list1.SetAdoConnection(&db.Connection());
        list2.SetAdoConnection(&db.Connection());
    }

    // "name:pos" of a list's rows in the table, by position.
    QStringList Rows(int listID)
    {
        SqlQuery q(&db.Connection());
        q.SetSQL("SELECT Name, Pos FROM TestRec WHERE ListID = " + QString::number(listID)
                 + " ORDER BY Pos");
        q.Open();
        QStringList rows;
        for (; !q.Eof(); q.Next())
            rows << q.FieldByName(u"Name").AsString() + ":" + q.FieldByName(u"Pos").AsString();
        return rows;
    }

    testsupport::TestDatabase db;
    TTestRecs list1 {1};
    TTestRecs list2 {2};
};

TEST_F(Collections, LoadedItemsAreNeitherNewNorModifiedAndUpdateSendsNothing)
{
    ASSERT_EQ(list1.LoadList(), 3);
    EXPECT_EQ(list1.Names(), (QStringList {"A", "B", "C"}));
    EXPECT_EQ(list1.NewCount(), 0);
    EXPECT_EQ(list1.ModifiedCount(), 0);
    EXPECT_FALSE(list1.AdoQuery().Active()); // the data set is closed after loading
    EXPECT_FALSE(list1.Items(0)->Empty());

    // Rows changed behind the collection's back stay as they are: nothing is written.
    db.Exec("UPDATE TestRec SET Name = 'changed' WHERE ListID = 1");
    EXPECT_EQ(list1.Update(), 0);
    EXPECT_EQ(db.Count("TestRec", "Name = 'changed'"), 3);
    EXPECT_EQ(list1.Items(1)->Update(), 0);
    EXPECT_EQ(db.Count("TestRec", "Name = 'changed'"), 3);
}

TEST_F(Collections, NewItemIsInsertedOnceAndReadsBackItsKey)
{
    list1.LoadList();
    TTestRecItem *item = list1.Add();
    EXPECT_EQ(item->AdoConnection(), &db.Connection());
    EXPECT_TRUE(item->NewRecord());
    EXPECT_FALSE(item->Modified());
    item->SetName("D1");
    item->SetName("D2");
    item->SetName("D");
    EXPECT_EQ(list1.NewCount(), 1);
    EXPECT_EQ(list1.ModifiedCount(), 1);

    EXPECT_EQ(list1.Update(), 1);
    EXPECT_EQ(list1.NewCount(), 0);
    EXPECT_EQ(list1.ModifiedCount(), 0);
    EXPECT_EQ(item->ID, 6); // after the five rows of the fixture
    EXPECT_EQ(db.Scalar("SELECT Name || ':' || Pos FROM TestRec WHERE TestRecID = 6").toString(),
              "D:3");

    EXPECT_EQ(list1.Update(), 0);
    EXPECT_EQ(db.Count("TestRec"), 6);

    // A change to a saved item is an UPDATE of its row, not another insert.
    item->SetName("E");
    EXPECT_EQ(list1.Update(), 1);
    EXPECT_EQ(db.Count("TestRec"), 6);
    EXPECT_EQ(db.Scalar("SELECT Name FROM TestRec WHERE TestRecID = 6").toString(), "E");
}

TEST_F(Collections, FailedSaveKeepsTheFlagsForTheNextUpdate)
{
    TTestRecItem *item = list1.Add();
    item->SetName("refused");
    EXPECT_THROW(list1.Update(), platform::DbError);
    EXPECT_TRUE(item->NewRecord());
    EXPECT_TRUE(item->Modified());
    EXPECT_EQ(list1.NewCount(), 1);

    item->SetName("accepted");
    EXPECT_EQ(list1.Update(), 1);
    EXPECT_EQ(db.Count("TestRec", "Name = 'accepted'"), 1);
}

TEST_F(Collections, PopulateOfAnEmptyResultEmptiesTheCollection)
{
    list1.LoadList();
    list1.Add();
    db.Exec("DELETE FROM TestRec");
    EXPECT_EQ(list1.LoadList(), 0);
    EXPECT_EQ(list1.Count(), 0);
    EXPECT_EQ(list1.NewCount(), 0);

    // An item loaded from nothing is cleared and empty.
    TTestRecItem single;
    single.SetAdoConnection(&db.Connection());
    single.ID = 9;
    EXPECT_FALSE(single.PopulateFromSQL({"SELECT * FROM TestRec"}));
    EXPECT_TRUE(single.Empty());
    EXPECT_EQ(single.ID, 0);
    EXPECT_FALSE(single.NewRecord());
}

TEST_F(Collections, PopulateRefusesMissingItemClassOrDataSet)
{
    SqlQuery q(&db.Connection());
    q.SetSQL("SELECT * FROM TestRec");
    q.Open();

    TCollectionDB noClass(nullptr);
    try {
        noClass.Populate(&q);
        FAIL() << "no exception";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(),
                  "An instance of TCollection has been instantiated without it's ItemClass set");
    }
    try {
        list1.Populate(nullptr);
        FAIL() << "no exception";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(), "Cannot call TCollectionDB.Populate with a nil DataSet parameter");
    }
}

TEST_F(Collections, CountersFollowTheFlags)
{
    list1.LoadList();
    TTestRecItem *b = list1.Items(1);

    b->SetModified(true);
    b->SetModified(true);
    EXPECT_EQ(list1.ModifiedCount(), 1);
    b->SetModified(false);
    b->SetModified(false);
    EXPECT_EQ(list1.ModifiedCount(), 0);

    // Deleting a modified item from the collection lowers the count and leaves its row.
    b->SetName("B2");
    EXPECT_EQ(list1.ModifiedCount(), 1);
    list1.Delete(1);
    EXPECT_EQ(list1.ModifiedCount(), 0);
    EXPECT_EQ(list1.Names(), (QStringList {"A", "C"}));
    EXPECT_EQ(Rows(1), (QStringList {"A:0", "B:1", "C:2"}));

    // Freeing an item directly removes it and its counts too.
    TTestRecItem *added = list1.Add();
    added->SetName("N");
    added->SetTagged(true);
    delete added;
    EXPECT_EQ(list1.Count(), 2);
    EXPECT_EQ(list1.NewCount(), 0);
    EXPECT_EQ(list1.ModifiedCount(), 0);
    EXPECT_TRUE(list1.TaggedItems().isEmpty());

    // Clearing an item: data gone, empty, no flags.
    list1.Items(0)->SetName("A2");
    list1.Items(0)->SetEmpty(true);
    EXPECT_EQ(list1.Items(0)->Name(), "");
    EXPECT_EQ(list1.ModifiedCount(), 0);
}

TEST_F(Collections, TaggedItemsKeepTaggingOrderWithoutDuplicates)
{
    list1.LoadList();
    TTestRecItem *a = list1.Items(0);
    TTestRecItem *c = list1.Items(2);
    c->SetTagged(true);
    a->SetTagged(true);
    c->SetTagged(true);
    EXPECT_EQ(list1.TaggedItems(), (QList<TRootCollectionItem *> {c, a}));
    list1.Items(1)->SetTagged(false); // untagged already: nothing changes
    EXPECT_EQ(list1.TaggedItems().size(), 2);
    c->SetTagged(false);
    EXPECT_EQ(list1.TaggedItems(), (QList<TRootCollectionItem *> {a}));

    list1.ClearFlags();
    EXPECT_TRUE(list1.TaggedItems().isEmpty());
    EXPECT_FALSE(a->Tagged());
}

TEST_F(Collections, DisplayStringOfAClassThatDoesNotOverrideIt)
{
    TTestRecItem item;
    EXPECT_EQ(item.GetDisplayString(), "TTestRecItem.GetDisplayString not overridden");
}

TEST_F(Collections, InsertCopiesGoesBeforeEachTaggedItemOrAtTheEnd)
{
    list1.LoadList();
    TTestRecItem source;
    source.SetName("Z");

    EXPECT_EQ(list1.InsertCopies(source), 1);
    EXPECT_EQ(list1.Names(), (QStringList {"A", "B", "C", "Z"}));
    list1.Delete(3);

    list1.Items(2)->SetTagged(true);
    list1.Items(0)->SetTagged(true);
    EXPECT_EQ(list1.InsertCopies(source), 2);
    EXPECT_EQ(list1.Names(), (QStringList {"Z", "A", "B", "Z", "C"}));
    EXPECT_EQ(list1.NewCount(), 2);
    EXPECT_EQ(list1.ModifiedCount(), 2);
    EXPECT_EQ(list1.Items(0)->AdoConnection(), &db.Connection()); // inserted items get it too

    list2.LoadList();
    list2.AppendFrom(list2);
    EXPECT_EQ(list2.Names(), (QStringList {"X", "Y", "X", "Y"}));
}

TEST_F(Collections, MoveItemCarriesTheRowToTheTargetAndRenumbersBothLists)
{
    list1.LoadList();
    list2.LoadList();
    const int bID = list1.Items(1)->ID;

    TTestRecItem *moved = static_cast<TTestRecItem *>(list1.MoveItem(list1.Items(1), &list2, 1));
    EXPECT_EQ(moved->Collection(), &list2);
    EXPECT_EQ(moved->ID, bID);
    EXPECT_EQ(list1.Names(), (QStringList {"A", "C"}));
    EXPECT_EQ(list2.Names(), (QStringList {"X", "B", "Y"}));
    EXPECT_EQ(Rows(1), (QStringList {"A:0", "C:1"}));
    EXPECT_EQ(Rows(2), (QStringList {"X:0", "B:1", "Y:2"}));
    EXPECT_EQ(db.Count("TestRec"), 5); // moved, not deleted and inserted
    EXPECT_EQ(list1.ModifiedCount() + list1.NewCount() + list2.ModifiedCount() + list2.NewCount(),
              0);

    // Within one list; an index out of range means the end.
    list1.MoveItem(list1.Items(0), &list1, -1);
    EXPECT_EQ(list1.Names(), (QStringList {"C", "A"}));
    EXPECT_EQ(Rows(1), (QStringList {"C:0", "A:1"}));
}

TEST_F(Collections, DeleteAllRemovesTheRowsAndKeepsTheItems)
{
    list1.LoadList();
    EXPECT_EQ(list1.DeleteAll(), 3);
    EXPECT_EQ(list1.Count(), 3);
    EXPECT_EQ(db.Count("TestRec", "ListID = 1"), 0);
    EXPECT_EQ(db.Count("TestRec", "ListID = 2"), 2);
}

TEST_F(Collections, ExecuteCommandNeedsAConnectionOnlyWhenThereIsAText)
{
    TTestRecs detached(1);
    EXPECT_EQ(detached.ExecuteCommand(), 0);
    detached.AdoCommand().SetCommandText("DELETE FROM TestRec");
    try {
        detached.ExecuteCommand();
        FAIL() << "no exception";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(),
                  "Cannot execute a TCollectionDB.AdoCommand query without setting "
                  "TCollectionDB.AdoConnection");
    }
    EXPECT_EQ(db.Count("TestRec"), 5);

    list1.AdoCommand().SetCommandText("UPDATE TestRec SET Pos = Pos + 10 WHERE ListID = 1");
    EXPECT_EQ(list1.ExecuteCommand(), 3);
}

} // namespace
