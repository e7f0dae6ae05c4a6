#pragma once

// One till's printer links, each with the definition of the printer it points to. Main
// thread only; database errors are not caught here.

#include "clsTillsLinkPrinters.h"
#include "cls_Printers.h"

class TVelaPrintersItem : public TTillsLinkPrintersItem
{
public:
    explicit TVelaPrintersItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TVelaPrintersItem"); }

    // The link's, and the printer definition's too.
    void Clear() override;
    void SetAdoConnection(platform::SqlConnection *connection) override;
    // Copies nothing: shows "TVelaPrintersItem.Clone not implemented" (InfoDlg).
    void CopyFrom(const TRootCollectionItem &source) override;
    // The link's row, then the printer it points to (one query per link).
    bool Populate(platform::SqlQuery *dataSet) override;
    // Update is the link's: the printer definition is not saved with it.

    // Owned by the item, created and freed with it.
    T_PrintersItem &PrinterItem() { return m_printerItem; }
    const T_PrintersItem &PrinterItem() const { return m_printerItem; }

private:
    T_PrintersItem m_printerItem;
};

class TVelaPrinters : public TTillsLinkPrinters
{
public:
    explicit TVelaPrinters(TItemClass itemClass = &CreateItemOf<TVelaPrintersItem>);

    TVelaPrintersItem *Items(int index) const
    {
        return static_cast<TVelaPrintersItem *>(TTillsLinkPrinters::Items(index));
    }
    TVelaPrintersItem *Add() override
    {
        return static_cast<TVelaPrintersItem *>(TTillsLinkPrinters::Add());
    }
};
