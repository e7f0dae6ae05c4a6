#pragma once

// The shop's printer definitions (rows of Printers) and the plain list of printers that a
// line item is routed to. Database errors (platform::DbError) are not caught here; they
// reach the caller. Main thread only.

#include "framework/clsCollectionDB.h"

#include <QList>
#include <QString>

#include <cstdint>

// Texts of the routing tables: an empty name or device is stored as one character of code
// 0 (an empty text is not accepted by every column), and trimmed away again on loading.
namespace printertext {
// Removes leading and trailing characters with codes up to and including the blank.
QString Trim(const QString &text);
// The text as it is written: trimmed, and the code-0 marker when that leaves nothing.
QString Stored(const QString &text);
} // namespace printertext

class T_PrintersItem : public TCollectionDBItem
{
public:
    explicit T_PrintersItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("T_PrintersItem"); }

    // Fields to their defaults; Name becomes "New Printer" + the item's index (-1 without
    // a collection).
    void Clear() override;
    // Copies nothing: shows "T_PrintersItem.Clone not implemented yet" in a message box.
    void CopyFrom(const TRootCollectionItem &source) override;
    bool Populate(platform::SqlQuery *dataSet) override;
    // INSERT (key < 1, the new key read back) or UPDATE by key; returns the rows affected.
    int Update() override;
    // Deletes the row by key; the item stays.
    int Delete() override;

    // Empties and clears the item, then loads the printer with that key (stays cleared
    // when there is none).
    void LoadByID(int printersID);

    int PrintersID() const { return m_printersID; } // below 1: not stored yet
    void SetPrintersID(int value) { m_printersID = value; }
    std::uint8_t Category() const { return m_category; } // 0 invoice, 1 production, 2 card
    void SetCategory(std::uint8_t value);
    int FooterHeight() const { return m_footerHeight; }
    void SetFooterHeight(int value);
    int Model() const { return m_model; }
    void SetModel(int value);
    const QString &Name() const { return m_name; } // held trimmed
    void SetName(const QString &value);
    int PageLength() const { return m_pageLength; }
    void SetPageLength(int value);
    int PageWidth() const { return m_pageWidth; }
    void SetPageWidth(int value);
    int Type() const { return m_type; }
    void SetType(int value);
    bool PrintLateVoucher() const { return m_printLateVoucher; }
    void SetPrintLateVoucher(bool value);
    bool ExtendedProductionSlip() const { return m_extendedProductionSlip; }
    void SetExtendedProductionSlip(bool value);

private:
    void ResetFields();

    int m_printersID = -1;
    std::uint8_t m_category = 0;
    int m_footerHeight = 0;
    int m_model = 0;
    QString m_name;
    int m_pageLength = 26;
    int m_pageWidth = 0;
    int m_type = 0;
    bool m_printLateVoucher = false;
    bool m_extendedProductionSlip = false;
};

class T_Printers : public TCollectionDB
{
public:
    explicit T_Printers(TItemClass itemClass = &CreateItemOf<T_PrintersItem>);

    T_PrintersItem *Items(int index) const
    {
        return static_cast<T_PrintersItem *>(TCollectionDB::Items(index));
    }
    T_PrintersItem *Add() override { return static_cast<T_PrintersItem *>(TCollectionDB::Add()); }

    // Every printer in name order; an empty table leaves the collection as it was.
    void LoadAll();
    // Deletes the row of the item at index, then frees the item.
    void DeleteAt(int index);
};

// Printers a line item is routed to. Does not own them: they belong to their collection,
// which must outlive the list's use.
class T_PrintersList : public QList<T_PrintersItem *>
{
public:
    // Becomes a copy of other, in other's order.
    void Assign(const T_PrintersList &other);
};
