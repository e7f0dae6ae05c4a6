#include "cls_Printers.h"

#include "platform/DialogSeam.h"

// ---- texts ----

QString printertext::Trim(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= u' ')
        ++first;
    while (last > first && text.at(last - 1).unicode() <= u' ')
        --last;
    return text.mid(first, last - first);
}

QString printertext::Stored(const QString &text)
{
    const QString trimmed = Trim(text);
    return trimmed.isEmpty() ? QString(QChar(0)) : trimmed;
}

// ---- T_PrintersItem ----

T_PrintersItem::T_PrintersItem(TRootCollection *collection)
    : TCollectionDBItem(collection)
{
    ResetFields();
}

void T_PrintersItem::ResetFields()
{
    m_category = 0;
    m_footerHeight = 0;
    m_model = 0;
    m_name = QStringLiteral("New Printer") + QString::number(Index());
    m_pageLength = 26;
    m_pageWidth = 0;
    m_printersID = -1;
    m_type = 0;
    m_printLateVoucher = false;
    m_extendedProductionSlip = false;
}

void T_PrintersItem::Clear()
{
    ResetFields();
    TCollectionDBItem::Clear();
}

void T_PrintersItem::CopyFrom(const TRootCollectionItem &)
{
    platform::MessageBox(QStringLiteral("T_PrintersItem.Clone not implemented yet"));
}

bool T_PrintersItem::Populate(platform::SqlQuery *dataSet)
{
    if (!TCollectionDBItem::Populate(dataSet))
        return false;
    m_category = std::uint8_t(dataSet->FieldByName(u"Category").AsInteger());
    m_footerHeight = dataSet->FieldByName(u"FooterHeight").AsInteger();
    m_model = dataSet->FieldByName(u"Model").AsInteger();
    m_name = printertext::Trim(dataSet->FieldByName(u"Name").AsString());
    m_pageLength = dataSet->FieldByName(u"PageLength").AsInteger();
    m_pageWidth = dataSet->FieldByName(u"PageWidth").AsInteger();
    m_printersID = dataSet->FieldByName(u"PrintersID").AsInteger();
    m_type = dataSet->FieldByName(u"Type").AsInteger();
    m_printLateVoucher = dataSet->FieldByName(u"PrintLateVoucher").AsBoolean();
    m_extendedProductionSlip = dataSet->FieldByName(u"ExtendedProductionSlip").AsBoolean();
    SetModified(false);
    return true;
}

void T_PrintersItem::LoadByID(int printersID)
{
    SetEmpty(true);
    PopulateFromSQL({QStringLiteral("SELECT * FROM Printers WHERE PrintersID = ")
                     + QString::number(printersID)});
}

int T_PrintersItem::Update()
{
    m_name = printertext::Trim(m_name);
    const bool insert = m_printersID < 1;
    platform::SqlCommand &cmd = AdoCommand();
    if (insert) {
        cmd.SetCommandText(QStringLiteral(
            "INSERT INTO Printers (Category,FooterHeight,Model,Name,PageLength,PageWidth,Type, "
            "PrintLateVoucher, ExtendedProductionSlip) VALUES "
            "(:Category,:FooterHeight,:Model,:Name,:PageLength,:PageWidth,:Type, "
            ":PrintLateVoucher, :ExtendedProductionSlip) SELECT :IDField = @@Identity"));
        cmd.SetOutput(QStringLiteral("IDField"));
    } else {
        cmd.SetCommandText(
            QStringLiteral(
                "UPDATE Printers SET Category     = :Category,FooterHeight = :FooterHeight,"
                "Model        = :Model,Name         = :Name,PageLength   = :PageLength,"
                "PageWidth    = :PageWidth,PrintLateVoucher = :PrintLateVoucher,"
                "Type         = :Type, ExtendedProductionSlip = :ExtendedProductionSlip "
                "WHERE PrintersID = ")
            + QString::number(m_printersID));
    }
    cmd.SetParam(QStringLiteral("Category"), int(m_category));
    cmd.SetParam(QStringLiteral("FooterHeight"), m_footerHeight);
    cmd.SetParam(QStringLiteral("Model"), m_model);
    cmd.SetParam(QStringLiteral("Name"), printertext::Stored(m_name));
    cmd.SetParam(QStringLiteral("PageLength"), m_pageLength);
    cmd.SetParam(QStringLiteral("PageWidth"), m_pageWidth);
    cmd.SetParam(QStringLiteral("Type"), m_type);
    cmd.SetParam(QStringLiteral("PrintLateVoucher"), m_printLateVoucher);
    cmd.SetParam(QStringLiteral("ExtendedProductionSlip"), m_extendedProductionSlip);
    const int rows = TCollectionDBItem::Update();
    if (insert && rows > 0)
        m_printersID = cmd.ParamValue(QStringLiteral("IDField")).toInt();
    return rows;
}

int T_PrintersItem::Delete()
{
    AdoCommand().SetCommandText(QStringLiteral("DELETE FROM PRINTERS WHERE PrintersID = ")
                                + QString::number(m_printersID));
    return TCollectionDBItem::Delete();
}

namespace {

template<class T> void Store(T &field, const T &value, TRootCollectionItem &item)
{
    if (field == value)
        return;
    field = value;
    item.SetModified(true);
}

} // namespace

void T_PrintersItem::SetCategory(std::uint8_t value)
{
    Store(m_category, value, *this);
}
void T_PrintersItem::SetFooterHeight(int value)
{
    Store(m_footerHeight, value, *this);
}
void T_PrintersItem::SetModel(int value)
{
    Store(m_model, value, *this);
}
void T_PrintersItem::SetPageLength(int value)
{
    Store(m_pageLength, value, *this);
}
void T_PrintersItem::SetPageWidth(int value)
{
    Store(m_pageWidth, value, *this);
}
void T_PrintersItem::SetType(int value)
{
    Store(m_type, value, *this);
}
void T_PrintersItem::SetPrintLateVoucher(bool value)
{
    Store(m_printLateVoucher, value, *this);
}
void T_PrintersItem::SetExtendedProductionSlip(bool value)
{
    Store(m_extendedProductionSlip, value, *this);
}

void T_PrintersItem::SetName(const QString &value)
{
    if (value == m_name)
        return;
    m_name = printertext::Trim(value);
    SetModified(true);
}

// ---- T_Printers ----

T_Printers::T_Printers(TItemClass itemClass)
    : TCollectionDB(itemClass)
{ }

void T_Printers::LoadAll()
{
    platform::SqlQuery &query = AdoQuery();
    query.Close();
    query.SetSQL(QStringLiteral("SELECT * FROM Printers ORDER BY Name Asc"));
    query.Open();
    if (!query.IsEmpty())
        Populate(&query);
}

void T_Printers::DeleteAt(int index)
{
    Items(index)->Delete();
    TRootCollection::Delete(index);
}

// ---- T_PrintersList ----

void T_PrintersList::Assign(const T_PrintersList &other)
{
    if (&other == this)
        return;
    clear();
    for (T_PrintersItem *item : other)
        append(item);
}
