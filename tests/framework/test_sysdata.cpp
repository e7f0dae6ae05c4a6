#include "../support/TestDatabase.h"

#include "framework/clsEZXException.h"
#include "framework/clsGenericDB.h"
#include "framework/clsSysData.h"

#include "platform/DbError.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

namespace {

class SysData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        runner = std::make_unique<TGenericDB>(&db.Connection());
        GenericDB = runner.get();
        settings.SetAdoConnection(&db.Connection());
    }
    void TearDown() override { GenericDB = nullptr; }

    QVariant Stored(const QString &column, const QString &cls, const QString &item)
    {
        platform::SqlQuery q(&db.Connection());
        q.SetSQL("SELECT " + column + " FROM SysData WHERE Class = :C AND Item = :I");
        q.SetParam("C", cls);
        q.SetParam("I", item);
        q.Open();
        return q.Eof() ? QVariant() : q.Field(0).Value();
    }

    testsupport::TestDatabase db;
    std::unique_ptr<TGenericDB> runner;
    TSysData settings;
};

TEST_F(SysData, FindOrAddInsertsAMissingItemExactlyOnce)
{
    db.Exec("INSERT INTO SysData VALUES ('GLOBAL', 'DAY START', '05:00', '')");
    ASSERT_EQ(settings.Populate("GLOBAL"), 1);

    TSysDataItem *vat = settings.FindOrAdd("GLOBAL", "VAT RATE", "14");
    EXPECT_EQ(vat->Value(), "14");
    EXPECT_TRUE(vat->NewRecord());
    EXPECT_TRUE(vat->Modified());
    EXPECT_EQ(db.Count("SysData", "Item = 'VAT RATE'"), 0); // not before the save
    EXPECT_EQ(settings.FindOrAdd("GLOBAL", "VAT RATE", "99"), vat);

    EXPECT_EQ(settings.Update(), 1);
    EXPECT_EQ(db.Count("SysData", "Item = 'VAT RATE'"), 1);
    EXPECT_EQ(Stored("Value", "GLOBAL", "VAT RATE").toString(), "14");
    EXPECT_EQ(settings.NewCount() + settings.ModifiedCount(), 0);

    db.Exec("UPDATE SysData SET Value = 'behind' WHERE Item = 'VAT RATE'");
    EXPECT_EQ(settings.Update(), 0);
    EXPECT_EQ(Stored("Value", "GLOBAL", "VAT RATE").toString(), "behind");

    // A changed existing item updates its row in place.
    settings.FindOrAdd("GLOBAL", "DAY START", "")->SetValue("06:00");
    EXPECT_EQ(settings.Update(), 1);
    EXPECT_EQ(Stored("Value", "GLOBAL", "DAY START").toString(), "06:00");
    EXPECT_EQ(db.Count("SysData"), 2);
}

TEST_F(SysData, FindOrAddComparesLetterCase)
{
    db.Exec("INSERT INTO SysData VALUES ('7', 'GY FILTER', '0', '')");
    settings.Populate("7");
    TSysDataItem *lower = settings.FindOrAdd("7", "gy filter", "1");
    EXPECT_EQ(settings.Count(), 2);
    EXPECT_NE(lower, settings.Items(0));
    EXPECT_TRUE(lower->NewRecord());
}

TEST_F(SysData, SettersTrimAndMarkModifiedOnlyOnAChange)
{
    TSysDataItem *item = settings.Add();
    item->SetValue(" 5 ");
    EXPECT_EQ(item->Value(), "5");
    EXPECT_TRUE(item->Modified());
    item->SetModified(false);

    item->SetValue("5");
    EXPECT_FALSE(item->Modified());
    EXPECT_EQ(settings.ModifiedCount(), 0);

    item->SetClass(QString("\t7") + QChar(0));
    EXPECT_EQ(item->Class(), "7");
    EXPECT_EQ(settings.ModifiedCount(), 1);
}

TEST_F(SysData, EmptyValuesAreWrittenAsTheNulMarkerAndReadBackEmpty)
{
    db.Exec("INSERT INTO SysData VALUES ('GLOBAL', 'HEADER', 'old', 'old2')");
    TSysDataItem *fresh = settings.FindOrAdd("GLOBAL", "FOOTER", "");
    settings.Populate("NOTHING"); // no rows: the new item stays
    ASSERT_EQ(settings.Count(), 1);
    settings.FindOrAdd("GLOBAL", "HEADER", ""); // its row exists: updated in place
    EXPECT_EQ(settings.Update(), 2);
    EXPECT_EQ(fresh->Value(), QString(QChar(0)));
    // The statement SQL Server receives as it stands.
    EXPECT_EQ(
        fresh->AdoCommand().CommandText(),
        "IF NOT EXISTS (SELECT NULL FROM SysData WHERE Class=:SClass AND Item=:SItem) INSERT INTO "
        "SysData (Class, Item, Value, Value2) VALUES(:IClass,:IItem,:IValue,:IValue2) ELSE UPDATE "
        "SysData SET Value = :UValue,Value2 = :UValue2 WHERE Class=:UClass AND Item=:UItem");

    for (const char *item : {"FOOTER", "HEADER"}) {
        SCOPED_TRACE(item);
        EXPECT_EQ(Stored("hex(Value) || '/' || hex(Value2)", "GLOBAL", item).toString(), "00/00");
    }
    EXPECT_EQ(db.Count("SysData"), 2);

    TSysData reloaded;
    reloaded.SetAdoConnection(&db.Connection());
    ASSERT_EQ(reloaded.Populate("GLOBAL"), 2);
    EXPECT_EQ(reloaded.Items(0)->Item(), "FOOTER"); // ordered by Item
    EXPECT_EQ(reloaded.Items(0)->Value(), "");
    EXPECT_EQ(reloaded.Items(0)->Value2(), "");
    EXPECT_EQ(reloaded.Items(0)->AsInteger(), 0);
    EXPECT_FALSE(reloaded.Items(0)->Modified());
}

TEST_F(SysData, UpdateRefusesAnItemWithoutClassOrItem)
{
    struct Case
    {
        const char *name;
        const char *cls;
        const char *item;
        const char *message;
    } cases[] = {
        {"no class", "", "VAT RATE", "TSysDataItem.Class not set"},
        {"no item", "GLOBAL", "", "TSysDataItem.Item not set"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TSysData data;
        data.SetAdoConnection(&db.Connection());
        TSysDataItem *item = data.Add();
        item->SetClass(c.cls);
        item->SetItem(c.item);
        item->SetValue("1");
        try {
            data.Update();
            ADD_FAILURE() << "no exception";
        } catch (const EZXException &e) {
            EXPECT_EQ(e.Message(), c.message);
            EXPECT_EQ(e.RaisedIn(), "TSysDataItem.Update");
        }
        EXPECT_TRUE(item->NewRecord());
        EXPECT_TRUE(item->Modified());
        EXPECT_EQ(db.Count("SysData"), 0);
    }
}

TEST_F(SysData, TypedReads)
{
    struct Case
    {
        const char *value;
        bool boolean;
    } booleans[] = {{"Yes", true}, {"true", true}, {"1", true}, {"T", true},     {"y", true},
                    {"N", false},  {"0", false},   {"", false}, {"false", false}};
    for (const Case &c : booleans) {
        TSysDataItem item;
        item.SetValue(c.value);
        item.SetModified(false);
        EXPECT_EQ(item.AsBoolean(), c.boolean) << c.value;
        if (!*c.value) {
            EXPECT_EQ(item.Value(), "0"); // the default is stored...
            EXPECT_FALSE(item.Modified()); // ...without counting as a change
        }
    }

    struct IntCase
    {
        const char *value;
        int expected;
    } integers[] = {{"42", 42}, {"-7", -7}, {"", 0}, {"2147483647", 2147483647}};
    for (const IntCase &c : integers) {
        TSysDataItem item;
        item.SetValue(c.value);
        EXPECT_EQ(item.AsInteger(), c.expected) << c.value;
    }
    for (const char *bad : {"abc", "2147483648", "1.5"}) {
        TSysDataItem item;
        item.SetValue(bad);
        try {
            item.AsInteger();
            ADD_FAILURE() << bad << ": no exception";
        } catch (const platform::ConvertError &e) {
            EXPECT_EQ(e.Message(), QString("'%1' is not a valid integer value").arg(bad));
        }
    }

    struct MoneyCase
    {
        const char *value;
        qint64 raw; // 1/10000 units
    } amounts[]
        = {{"0.03125", 312}, {"0.09375", 938}, {"2.5", 25000}, {"-1.23456", -12346}, {"", 0}};
    for (const MoneyCase &c : amounts) {
        TSysDataItem item;
        item.SetValue(c.value);
        EXPECT_EQ(item.AsCurrency().Raw(), c.raw) << c.value;
    }

    TSysDataItem number;
    number.SetValue("2.5");
    EXPECT_DOUBLE_EQ(number.AsFloat(), 2.5);
    number.SetValue("abc");
    EXPECT_THROW(number.AsFloat(), platform::ConvertError);

    TSysDataItem time;
    time.SetValue("05:00");
    EXPECT_EQ(time.AsTime(), QTime(5, 0));
    time.SetValue("17:30:15");
    EXPECT_EQ(time.AsTime(), QTime(17, 30, 15));
    time.SetValue("");
    EXPECT_TRUE(time.AsTime().isValid());
    EXPECT_TRUE(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(time.Value()).hasMatch())
        << time.Value().toStdString();
    time.SetValue("soon");
    EXPECT_THROW(time.AsTime(), platform::ConvertError);
}

TEST_F(SysData, TypedWrites)
{
    TSysDataItem item;
    item.SetAsBoolean(true);
    EXPECT_EQ(item.Value(), "1");
    item.SetAsBoolean(false);
    EXPECT_EQ(item.Value(), "0");
    item.SetAsInteger(-3);
    EXPECT_EQ(item.Value(), "-3");
    item.SetAsFloat(2.5);
    EXPECT_EQ(item.Value(), "2.5");
    item.SetAsCurrency(platform::Currency::FromRaw(125000));
    EXPECT_EQ(item.Value(), "12.5");
    item.SetAsTime(QTime(7, 5, 9));
    EXPECT_EQ(item.Value(), "07:05:09");
}

TEST_F(SysData, WriteSysDataInsertsOnceAndOverwritesOnlyWhenAsked)
{
    WriteSysData("7", "GY FILTER", "0", false, "");
    EXPECT_EQ(db.Count("SysData"), 1);
    EXPECT_EQ(Stored("Value", "7", "GY FILTER").toString(), "0");
    EXPECT_EQ(Stored("hex(Value2)", "7", "GY FILTER").toString(), ""); // '' itself, not NUL or NULL
    EXPECT_FALSE(Stored("Value2", "7", "GY FILTER").isNull());

    WriteSysData("7", "GY FILTER", "1", false, "x");
    EXPECT_EQ(db.Count("SysData"), 1);
    EXPECT_EQ(Stored("Value || '/' || Value2", "7", "GY FILTER").toString(), "0/");

    WriteSysData("7", "GY FILTER", "1", true, "x");
    EXPECT_EQ(db.Count("SysData"), 1);
    EXPECT_EQ(Stored("Value || '/' || Value2", "7", "GY FILTER").toString(), "1/x");
}

TEST_F(SysData, QuotesInTextsAreStoredAsWrittenAndCannotReachOtherRows)
{
    db.Exec("INSERT INTO SysData VALUES ('7', 'OTHER', 'keep', 'keep')");
    WriteSysData("O'Brien", "it's", "a'b", false, "'");
    EXPECT_EQ(Stored("Value || '|' || Value2", "O'Brien", "it's").toString(), "a'b|'");

    WriteSysData("7", "x' OR ''='", "hijacked", true, "hijacked");
    WriteSysData("7", "x' OR ''='", "hijacked", true, "hijacked");
    EXPECT_EQ(Stored("Value", "7", "OTHER").toString(), "keep");
    EXPECT_EQ(Stored("Value", "7", "x' OR ''='").toString(), "hijacked");
    EXPECT_EQ(db.Count("SysData"), 3);

    ASSERT_EQ(settings.Populate("O'Brien"), 1);
    EXPECT_EQ(settings.Items(0)->Item(), "it's");
}

TEST_F(SysData, AwkwardTextsMakeOneIntactRowEachWay)
{
    const QString longText(200, QLatin1Char('K'));
    struct Case
    {
        const char *name;
        QString cls;
        QString item;
        QString value;
    } cases[] = {
        {"200-character class and item", longText, longText + "I", "v"},
        {"quotes", "'7'", "A ''quoted'' item", "it's"},
        {"non-ASCII", QString::fromUtf8("Caf\u00e9 \u2615"),
         QString::fromUtf8("Cr\u00e8me br\u00fbl\u00e9e"), QString::fromUtf8("\u00bd \u20ac")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db.Exec("DELETE FROM SysData");

        WriteSysData(c.cls, c.item, c.value, true, "w");
        WriteSysData(c.cls, c.item, c.value, true, "w");
        EXPECT_EQ(db.Count("SysData"), 1);
        EXPECT_EQ(Stored("Value", c.cls, c.item).toString(), c.value);

        TSysData data;
        data.SetAdoConnection(&db.Connection());
        data.FindOrAdd(c.cls, c.item + "2", c.value)->SetValue2("w2");
        EXPECT_EQ(data.Update(), 1);
        EXPECT_EQ(db.Count("SysData"), 2);
        EXPECT_EQ(Stored("Value || Value2", c.cls, c.item + "2").toString(), c.value + "w2");

        TSysData loaded;
        loaded.SetAdoConnection(&db.Connection());
        ASSERT_EQ(loaded.Populate(c.cls), 2);
        EXPECT_EQ(loaded.Items(0)->Class(), c.cls);
        EXPECT_EQ(loaded.Items(0)->Item(), c.item);
        EXPECT_EQ(loaded.Items(0)->Value(), c.value);
    }
}

TEST_F(SysData, PopulateOfAClassWithoutRowsKeepsTheCollection)
{
    db.Exec("INSERT INTO SysData VALUES ('GLOBAL', 'VAT RATE', '14', '')");
    settings.Populate("GLOBAL");
    settings.FindOrAdd("GLOBAL", "NEW ONE", "1");
    EXPECT_EQ(settings.Populate("MENUVERSIONS"), 0);
    EXPECT_EQ(settings.Count(), 2);
    EXPECT_EQ(settings.NewCount(), 1);
}

} // namespace
