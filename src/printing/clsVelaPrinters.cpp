#include "clsVelaPrinters.h"

#include "framework/modMsgDlgs.h"

// ---- TVelaPrintersItem ----

TVelaPrintersItem::TVelaPrintersItem(TRootCollection *collection)
    : TTillsLinkPrintersItem(collection)
{ }

void TVelaPrintersItem::Clear()
{
    TTillsLinkPrintersItem::Clear();
    m_printerItem.Clear();
}

void TVelaPrintersItem::SetAdoConnection(platform::SqlConnection *connection)
{
    TTillsLinkPrintersItem::SetAdoConnection(connection);
    m_printerItem.SetAdoConnection(connection);
}

void TVelaPrintersItem::CopyFrom(const TRootCollectionItem &)
{
    InfoDlg(QStringLiteral("TVelaPrintersItem.Clone not implemented"));
}

bool TVelaPrintersItem::Populate(platform::SqlQuery *dataSet)
{
    if (!TTillsLinkPrintersItem::Populate(dataSet))
        return false;
    m_printerItem.LoadByID(fkPrintersID());
    return true;
}

// ---- TVelaPrinters ----

TVelaPrinters::TVelaPrinters(TItemClass itemClass)
    : TTillsLinkPrinters(itemClass)
{ }
