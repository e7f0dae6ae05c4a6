#pragma once

// Which printers each till uses (rows of TillsLinkPrinters): through which Windows device,
// how many copies, which report layout. Database errors are not caught here. Main thread
// only.

#include "framework/clsCollectionDB.h"

#include <QString>

class TTillsLinkPrintersItem : public TCollectionDBItem
{
public:
    explicit TTillsLinkPrintersItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TTillsLinkPrintersItem"); }

    void Clear() override;
    // Copies nothing: shows "TTillsLinkPrintersItem.Clone not implemented" in a message box.
    void CopyFrom(const TRootCollectionItem &source) override;
    bool Populate(platform::SqlQuery *dataSet) override;
    // 0 unless modified or new; else INSERT (key < 1, the new key read back) or UPDATE by
    // key, and the rows affected.
    int Update() override;
    // Deletes the row when the link was stored, then frees the item (which leaves its
    // collection): the caller must not touch it again, and it must have been made with new.
    // When the DELETE fails the error passes on and the item stays. Returns the rows
    // affected (0 for a link never stored).
    int Delete() override;

    int TillsLinkPrintersID() const { return m_tillsLinkPrintersID; } // below 1: not stored
    void SetTillsLinkPrintersID(int value) { m_tillsLinkPrintersID = value; }
    int Copies() const { return m_copies; }
    void SetCopies(int value);
    const QString &Device() const { return m_device; } // held trimmed
    void SetDevice(const QString &value);
    bool DirectToPort() const { return m_directToPort; }
    void SetDirectToPort(bool value);
    int fkPrintersID() const { return m_fkPrintersID; }
    void SetfkPrintersID(int value);
    int fkTillsID() const { return m_fkTillsID; } // Tills.TillsID, not the till number
    void SetfkTillsID(int value);
    const QString &ReportFileName() const { return m_reportFileName; }
    void SetReportFileName(const QString &value);
    // These two mark the item modified on every call.
    bool PrintKitchenTotals() const { return m_printKitchenTotals; }
    void SetPrintKitchenTotals(bool value);
    bool PrintLinePrices() const { return m_printLinePrices; }
    void SetPrintLinePrices(bool value);

private:
    void ResetFields();

    int m_tillsLinkPrintersID = -1;
    int m_copies = 1;
    QString m_device;
    bool m_directToPort = false;
    int m_fkPrintersID = -1;
    int m_fkTillsID = -1;
    QString m_reportFileName;
    bool m_printKitchenTotals = false;
    bool m_printLinePrices = false;
};

class TTillsLinkPrinters : public TCollectionDB
{
public:
    explicit TTillsLinkPrinters(TItemClass itemClass = &CreateItemOf<TTillsLinkPrintersItem>);

    TTillsLinkPrintersItem *Items(int index) const
    {
        return static_cast<TTillsLinkPrintersItem *>(TCollectionDB::Items(index));
    }
    TTillsLinkPrintersItem *Add() override
    {
        return static_cast<TTillsLinkPrintersItem *>(TCollectionDB::Add());
    }

    // The framework's populate; returns 0.
    int Populate(platform::SqlQuery *dataSet) override;
    // Exactly the links of the till with that number (empty when it has none).
    void LoadForTill(int tillID);
    // Index of the first link to the printer; -1 when none.
    int IndexOfPrinter(int printersID) const;
    // Deletes every till's links to the printer from the table; the items here stay.
    int DeletePrinterLinks(int printersID);
    // Deletes every stored link's row and frees every item (a link frees itself when
    // deleted, so the framework's walk would skip every other one).
    int DeleteAll() override;
};
