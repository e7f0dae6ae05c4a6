#include "clsTillsLinkPrinters.h"

#include "cls_Printers.h"

#include "platform/DialogSeam.h"

// ---- TTillsLinkPrintersItem ----

TTillsLinkPrintersItem::TTillsLinkPrintersItem(TRootCollection *collection)
    : TCollectionDBItem(collection)
{ }

void TTillsLinkPrintersItem::ResetFields()
{
    m_copies = 1;
    m_device.clear();
    m_directToPort = false;
    m_fkPrintersID = -1;
    m_fkTillsID = -1;
    m_reportFileName.clear();
    m_tillsLinkPrintersID = -1;
    m_printKitchenTotals = false;
    m_printLinePrices = false;
}

void TTillsLinkPrintersItem::Clear()
{
    ResetFields();
    TCollectionDBItem::Clear();
}

void TTillsLinkPrintersItem::CopyFrom(const TRootCollectionItem &)
{
    platform::MessageBox(QStringLiteral("TTillsLinkPrintersItem.Clone not implemented"));
}

bool TTillsLinkPrintersItem::Populate(platform::SqlQuery *dataSet)
{
    if (!TCollectionDBItem::Populate(dataSet))
        return false;
    m_copies = dataSet->FieldByName(u"Copies").AsInteger();
    m_device = printertext::Trim(dataSet->FieldByName(u"Device").AsString());
    m_directToPort = dataSet->FieldByName(u"DirectToPort").AsBoolean();
    m_fkPrintersID = dataSet->FieldByName(u"fkPrintersID").AsInteger();
    m_fkTillsID = dataSet->FieldByName(u"fkTillsID").AsInteger();
    m_reportFileName = printertext::Trim(dataSet->FieldByName(u"ReportFileName").AsString());
    m_tillsLinkPrintersID = dataSet->FieldByName(u"TillsLinkPrintersID").AsInteger();
    m_printKitchenTotals = dataSet->FieldByName(u"PrintKitchenTotals").AsBoolean();
    m_printLinePrices = dataSet->FieldByName(u"PrintLinePrices").AsBoolean();
    SetModified(false);
    return true;
}

int TTillsLinkPrintersItem::Update()
{
    if (!Modified() && !NewRecord())
        return 0;
    m_device = printertext::Trim(m_device);
    const bool insert = m_tillsLinkPrintersID < 1;
    platform::SqlCommand &cmd = AdoCommand();
    if (insert) {
        cmd.SetCommandText(QStringLiteral(
            "INSERT INTO TillsLinkPrinters (Copies,Device,DirectToPort,fkPrintersID,fkTillsID,"
            "ReportFileName,PrintLinePrices,PrintKitchenTotals) VALUES (:Copies,:Device,"
            ":DirectToPort,:fkPrintersID,:fkTillsID,:ReportFileName,:PrintLinePrices,"
            ":PrintKitchenTotals) SELECT :IDField = @@Identity"));
        cmd.SetOutput(QStringLiteral("IDField"));
    } else {
        cmd.SetCommandText(
            QStringLiteral(
                "UPDATE TillsLinkPrinters SET Copies       = :Copies,Device       = :Device,"
                "DirectToPort = :DirectToPort,fkPrintersID = :fkPrintersID,"
                "fkTillsID    = :fkTillsID,ReportFileName = :ReportFileName, "
                "PrintLinePrices = :PrintLinePrices, PrintKitchenTotals = :PrintKitchenTotals "
                "WHERE TillsLinkPrintersID = ")
            + QString::number(m_tillsLinkPrintersID));
    }
    cmd.SetParam(QStringLiteral("Copies"), m_copies);
    cmd.SetParam(QStringLiteral("Device"), printertext::Stored(m_device));
    cmd.SetParam(QStringLiteral("DirectToPort"), m_directToPort);
    cmd.SetParam(QStringLiteral("fkPrintersID"), m_fkPrintersID);
    cmd.SetParam(QStringLiteral("fkTillsID"), m_fkTillsID);
    cmd.SetParam(QStringLiteral("ReportFileName"), m_reportFileName);
    cmd.SetParam(QStringLiteral("PrintLinePrices"), m_printLinePrices);
    cmd.SetParam(QStringLiteral("PrintKitchenTotals"), m_printKitchenTotals);
    const int rows = TCollectionDBItem::Update();
    if (insert && rows > 0)
        m_tillsLinkPrintersID = cmd.ParamValue(QStringLiteral("IDField")).toInt();
    ClearFlags();
    return rows;
}

int TTillsLinkPrintersItem::Delete()
{
    int rows = 0;
    if (m_tillsLinkPrintersID >= 1) {
        AdoCommand().SetCommandText(
            QStringLiteral("DELETE FROM TillsLinkPrinters WHERE TillsLinkPrintersID = ")
            + QString::number(m_tillsLinkPrintersID));
        rows = TCollectionDBItem::Delete();
    }
    delete this;
    return rows;
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

void TTillsLinkPrintersItem::SetCopies(int value)
{
    Store(m_copies, value, *this);
}
void TTillsLinkPrintersItem::SetDevice(const QString &value)
{
    Store(m_device, value, *this);
}
void TTillsLinkPrintersItem::SetDirectToPort(bool value)
{
    Store(m_directToPort, value, *this);
}
void TTillsLinkPrintersItem::SetfkPrintersID(int value)
{
    Store(m_fkPrintersID, value, *this);
}
void TTillsLinkPrintersItem::SetfkTillsID(int value)
{
    Store(m_fkTillsID, value, *this);
}
void TTillsLinkPrintersItem::SetReportFileName(const QString &value)
{
    Store(m_reportFileName, value, *this);
}

void TTillsLinkPrintersItem::SetPrintKitchenTotals(bool value)
{
    m_printKitchenTotals = value;
    SetModified(true);
}

void TTillsLinkPrintersItem::SetPrintLinePrices(bool value)
{
    m_printLinePrices = value;
    SetModified(true);
}

// ---- TTillsLinkPrinters ----

TTillsLinkPrinters::TTillsLinkPrinters(TItemClass itemClass)
    : TCollectionDB(itemClass)
{ }

int TTillsLinkPrinters::Populate(platform::SqlQuery *dataSet)
{
    TCollectionDB::Populate(dataSet);
    return 0;
}

void TTillsLinkPrinters::LoadForTill(int tillID)
{
    platform::SqlQuery &query = AdoQuery();
    query.Close();
    query.SetSQL(QStringList {
        QStringLiteral("SELECT TillsLinkPrinters.* FROM TillsLinkPrinters JOIN Tills ON"),
        QStringLiteral("fkTillsID = TillsID"),
        QStringLiteral("WHERE Tills.TillID = ") + QString::number(tillID)});
    query.Open();
    Populate(&query);
}

int TTillsLinkPrinters::IndexOfPrinter(int printersID) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->fkPrintersID() == printersID)
            return i;
    return -1;
}

int TTillsLinkPrinters::DeletePrinterLinks(int printersID)
{
    AdoCommand().SetCommandText(
        QStringLiteral("DELETE FROM TillsLinkPrinters WHERE fkPrintersID = ")
        + QString::number(printersID));
    return ExecuteCommand();
}

int TTillsLinkPrinters::DeleteAll()
{
    int rows = 0;
    while (Count() > 0)
        rows += Items(Count() - 1)->Delete();
    return rows;
}
