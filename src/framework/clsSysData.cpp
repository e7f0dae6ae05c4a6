#include "clsSysData.h"

#include "clsEZXException.h"
#include "clsGenericDB.h"

#include "platform/DbError.h"
#include "platform/SqlText.h"

#include <QLocale>

namespace {

// Blanks and control characters off both ends (QString::trimmed keeps a NUL).
QString TrimText(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

// The text of a column up to its first NUL: the one-character NUL marker is "empty".
QString TextUpToNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString NotValid(const QString &text, const char *kind)
{
    return QLatin1Char('\'') + text + QStringLiteral("' is not a valid ") + QLatin1String(kind);
}

void SetText(TSysDataItem &item, QString &field, const QString &text)
{
    if (text == field)
        return;
    field = TrimText(text);
    item.SetModified(true);
}

} // namespace

// ---- TSysDataItem ----

TSysDataItem::TSysDataItem(TRootCollection *collection)
    : TCollectionDBItem(collection)
{ }

void TSysDataItem::Clear()
{
    TCollectionDBItem::Clear();
    m_class.clear();
    m_item.clear();
    m_value.clear();
    m_value2.clear();
}

bool TSysDataItem::Populate(platform::SqlQuery *dataSet)
{
    if (!TCollectionDBItem::Populate(dataSet))
        return false;
    m_value = TextUpToNul(dataSet->FieldByName(u"Value").AsString());
    m_class = TextUpToNul(dataSet->FieldByName(u"Class").AsString());
    m_value2 = TextUpToNul(dataSet->FieldByName(u"Value2").AsString());
    m_item = TextUpToNul(dataSet->FieldByName(u"Item").AsString());
    return true;
}

int TSysDataItem::Update()
{
    if (!Modified() && !NewRecord())
        return 0;
    if (m_class.isEmpty())
        throw EZXException(QStringLiteral("TSysDataItem.Class not set"),
                           QStringLiteral("TSysDataItem.Update"));
    if (m_item.isEmpty())
        throw EZXException(QStringLiteral("TSysDataItem.Item not set"),
                           QStringLiteral("TSysDataItem.Update"));

    platform::SqlCommand &command = AdoCommand();
    command.SetCommandText(QStringLiteral(
        "IF NOT EXISTS (SELECT NULL FROM SysData WHERE Class=:SClass AND Item=:SItem) "
        "INSERT INTO SysData (Class, Item, Value, Value2) VALUES(:IClass,:IItem,:IValue,:IValue2) "
        "ELSE UPDATE SysData SET Value = :UValue,Value2 = :UValue2 WHERE Class=:UClass AND "
        "Item=:UItem"));
    // Empty texts are stored as the one-character NUL text, which every reader of the
    // suite takes for empty.
    if (m_value.isEmpty())
        m_value = QString(QChar(0));
    if (m_value2.isEmpty())
        m_value2 = QString(QChar(0));
    command.SetParam(QStringLiteral("SClass"), m_class);
    command.SetParam(QStringLiteral("SItem"), m_item);
    command.SetParam(QStringLiteral("UClass"), m_class);
    command.SetParam(QStringLiteral("UItem"), m_item);
    command.SetParam(QStringLiteral("UValue"), m_value);
    command.SetParam(QStringLiteral("UValue2"), m_value2);
    command.SetParam(QStringLiteral("IClass"), m_class);
    command.SetParam(QStringLiteral("IItem"), m_item);
    command.SetParam(QStringLiteral("IValue"), m_value);
    command.SetParam(QStringLiteral("IValue2"), m_value2);
    return TCollectionDBItem::Update();
}

void TSysDataItem::SetClass(const QString &text)
{
    SetText(*this, m_class, text);
}

void TSysDataItem::SetItem(const QString &text)
{
    SetText(*this, m_item, text);
}

void TSysDataItem::SetValue(const QString &text)
{
    SetText(*this, m_value, text);
}

void TSysDataItem::SetValue2(const QString &text)
{
    SetText(*this, m_value2, text);
}

bool TSysDataItem::AsBoolean()
{
    if (m_value.isEmpty())
        m_value = QStringLiteral("0");
    const QChar first = m_value[0];
    return QStringLiteral("1TYty").contains(first);
}

void TSysDataItem::SetAsBoolean(bool value)
{
    SetValue(value ? QStringLiteral("1") : QStringLiteral("0"));
}

int TSysDataItem::AsInteger()
{
    if (m_value.isEmpty())
        m_value = QStringLiteral("0");
    bool ok = false;
    const int n = TrimText(m_value).toInt(&ok, 10);
    if (!ok)
        throw platform::ConvertError(NotValid(m_value, "integer value"));
    return n;
}

void TSysDataItem::SetAsInteger(int value)
{
    SetValue(QString::number(value));
}

double TSysDataItem::AsFloat()
{
    if (m_value.isEmpty())
        m_value = QStringLiteral("0");
    const QString text = TrimText(m_value);
    // The machine's own decimal separator first (never its thousands separator, which
    // would read "1.500" as 1500 on a German machine), then a '.'.
    QLocale local = QLocale::system();
    local.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double d = local.toDouble(text, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        d = c.toDouble(text, &ok);
    }
    if (!ok)
        throw platform::ConvertError(NotValid(m_value, "floating point value"));
    return d;
}

void TSysDataItem::SetAsFloat(double value)
{
    SetValue(QString::number(value, 'g', 15));
}

platform::Currency TSysDataItem::AsCurrency()
{
    return platform::Currency::FromDouble(AsFloat());
}

void TSysDataItem::SetAsCurrency(platform::Currency value)
{
    SetValue(QString::number(value.ToDouble(), 'g', 15));
}

QTime TSysDataItem::AsTime()
{
    if (m_value.isEmpty())
        m_value = QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
    const QString text = TrimText(m_value);
    for (const char *format : {"h:mm:ss", "h:mm", "h:mm:ss.zzz"}) {
        const QTime t = QTime::fromString(text, QLatin1String(format));
        if (t.isValid())
            return t;
    }
    const QDateTime dt = platform::ParseDbDateTime(text);
    if (dt.isValid())
        return dt.time();
    throw platform::ConvertError(NotValid(m_value, "date and time"));
}

void TSysDataItem::SetAsTime(const QTime &value)
{
    SetValue(value.toString(QStringLiteral("hh:mm:ss")));
}

// ---- TSysData ----

TSysData::TSysData(TItemClass itemClass)
    : TCollectionDB(itemClass)
{ }

TSysDataItem *TSysData::Add()
{
    return static_cast<TSysDataItem *>(TCollectionDB::Add());
}

TSysDataItem *TSysData::FindOrAdd(const QString &cls, const QString &item,
                                  const QString &defaultValue)
{
    for (int i = 0; i < Count(); ++i) {
        TSysDataItem *found = Items(i);
        if (found->Class() == cls && found->Item() == item)
            return found;
    }
    TSysDataItem *added = Add();
    added->SetClass(cls);
    added->SetItem(item);
    added->SetValue(defaultValue);
    return added;
}

int TSysData::Populate(const QString &cls)
{
    platform::SqlQuery &query = AdoQuery();
    query.Close();
    query.SetSQL(QStringList {QStringLiteral("SELECT * FROM SysData"),
                              QStringLiteral("WHERE Class = ") + platform::sqltext::Quote(cls),
                              QStringLiteral("ORDER BY Item ASC, Value ASC, Value2 ASC")});
    query.Open();
    if (query.RecordCount() == 0)
        return 0;
    return Populate(&query);
}

// ---- WriteSysData ----

void WriteSysData(const QString &cls, const QString &item, const QString &value, bool overwrite,
                  const QString &value2)
{
    if (!GenericDB)
        throw EZXException(QStringLiteral("The SQL runner GenericDB has not been created"),
                           QStringLiteral("WriteSysData"));
    using platform::sqltext::Quote;
    const QString where = QStringLiteral(" WHERE ITEM = ") + Quote(item)
        + QStringLiteral(" AND CLASS = ") + Quote(cls);

    GenericDB->OpenSQL(QStringLiteral("SELECT * FROM SYSDATA  WHERE ITEM =") + Quote(item)
                           + QStringLiteral(" AND CLASS = ") + Quote(cls),
                       platform::CursorLocation::Client);
    const bool exists = GenericDB->Query().RecordCount() > 0;
    GenericDB->Query().Close();
    if (!exists) {
        GenericDB->ExecSQL(
            QStringLiteral("INSERT INTO SYSDATA (CLASS, ITEM, VALUE, VALUE2) VALUES(") + Quote(cls)
            + QLatin1Char(',') + Quote(item) + QLatin1Char(',') + Quote(value) + QLatin1Char(',')
            + Quote(value2) + QStringLiteral(");"));
    } else if (overwrite) {
        GenericDB->ExecSQL(QStringLiteral("UPDATE SYSDATA SET VALUE = ") + Quote(value) + where);
        GenericDB->ExecSQL(QStringLiteral("UPDATE SYSDATA SET VALUE2 = ") + Quote(value2) + where);
    }
}
