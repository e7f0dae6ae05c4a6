#pragma once

// Rows of the key/value table SysData (Class, Item, Value, Value2), where the suite keeps
// its shop-wide ("GLOBAL") and per-till settings, and the plain writer WriteSysData.
// A row is identified by (Class, Item). Main thread only.

#include "clsCollectionDB.h"

#include "platform/Currency.h"

#include <QString>
#include <QTime>

class TSysDataItem : public TCollectionDBItem
{
public:
    explicit TSysDataItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TSysDataItem"); }

    void Clear() override; // inherited Clear, then the four texts empty
    // Class, Item, Value and Value2 of the current row, assigned without marking the item
    // modified. A stored one-character NUL text (the "empty" marker) reads back as empty.
    bool Populate(platform::SqlQuery *dataSet) override;
    // Inserts the row, or updates Value and Value2 of the existing (Class, Item) row, in
    // one statement; nothing when neither new nor modified. An empty Value or Value2 is
    // first set to the one-character NUL text. Throws EZXException ("TSysDataItem.Class
    // not set", "TSysDataItem.Item not set") before sending anything, DbError on failure;
    // either way the item keeps its flags.
    int Update() override;

    const QString &Class() const { return m_class; }
    const QString &Item() const { return m_item; }
    const QString &Value() const { return m_value; }
    const QString &Value2() const { return m_value2; }
    // When text differs (exactly) from the current text: store it without leading and
    // trailing blanks and control characters, and mark the item modified.
    void SetClass(const QString &text);
    void SetItem(const QString &text);
    void SetValue(const QString &text);
    void SetValue2(const QString &text);

    // Typed views of Value. The reads that find Value empty first store a default there
    // ("0", or the time of day for AsTime) without marking the item modified, which is why
    // they are not const. Text that does not convert throws platform::ConvertError with the
    // run-time's message ("'abc' is not a valid integer value").
    QString AsString() const { return m_value; }
    void SetAsString(const QString &text) { SetValue(text); }
    bool AsBoolean(); // true when the first character is 1, T, Y, t or y
    void SetAsBoolean(bool value);
    int AsInteger();
    void SetAsInteger(int value);
    // Read with this machine's decimal separator or a '.'; written with a '.' so every
    // machine sharing the database reads it.
    double AsFloat();
    void SetAsFloat(double value);
    platform::Currency AsCurrency(); // AsFloat rounded to 4 decimals, halves to even
    void SetAsCurrency(platform::Currency value);
    QTime AsTime(); // the time of day of Value ("hh:mm:ss", "hh:mm" or a date and time)
    void SetAsTime(const QTime &value); // "hh:mm:ss"

private:
    QString m_class;
    QString m_item;
    QString m_value;
    QString m_value2;
};

class TSysData : public TCollectionDB
{
public:
    explicit TSysData(TItemClass itemClass = &CreateItemOf<TSysDataItem>);

    TSysDataItem *Items(int index) const
    {
        return static_cast<TSysDataItem *>(TCollectionDB::Items(index));
    }
    TSysDataItem *Add() override;

    using TCollectionDB::Populate;
    // The first item whose Class and Item equal the given texts exactly (letter case
    // counts); otherwise a new item with Class, Item and Value = defaultValue, new and
    // modified, written by the next Update. Never touches the database.
    virtual TSysDataItem *FindOrAdd(const QString &cls, const QString &item,
                                    const QString &defaultValue);
    // Loads the rows of one Class, ordered by Item, Value, Value2. When there is none the
    // collection keeps what it held. Returns the number of rows loaded. Throws DbError.
    virtual int Populate(const QString &cls);
};

// Creates the (cls, item) row with value and value2 when it is missing; when it exists,
// replaces its Value and then its Value2 only when overwrite is true. Runs through
// GenericDB (which must have been created); database errors reach the caller.
void WriteSysData(const QString &cls, const QString &item, const QString &value, bool overwrite,
                  const QString &value2 = QString());
