#pragma once

// An order as the kitchen display shows it: an invoice that writes itself, line by line,
// into consecutive cells of the order grid, in the colours of its state.
//
// The lines of an order are its header (till, number, age), its status line and one line
// per line item. They run down a column and continue at the top of the next one; the
// grid's last cell has no successor, so lines beyond it are all written into that cell.
// Which order starts where is the order list's business (clsOrderManager): it moves an
// order with SetPosition and asks it to Draw.
//
// Main thread only.

#include "orders/clsInvoices.h"
#include "platform/StringAlignGrid.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The two views of the display. An order belongs to osPrepared when its Prepared flag is
// set, else to osWaiting.
enum TOrderStatus { osWaiting, osPrepared };

// Which number an order's header shows.
enum TDisplayNumber { dnInvoiceNum, dnOrderNum };

// The colours of one kind of line: Font carries the text colour, size and style, Colour
// the background.
class TCellColors
{
public:
    TColor Colour = clBlack;
    TFont Font; // the platform's default face
};

class TDisplayInvoice : public TInvoice
{
public:
    explicit TDisplayInvoice(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TDisplayInvoice"); }

    // The number of lines when expanded: the line items + 2.
    int Rows() const { return Lineitems()->Count() + 2; }

    // The grid to draw into; not owned. Without a grid the order never fits.
    TStringAlignGrid *StringGrid() const { return m_stringGrid; }
    void SetStringGrid(TStringAlignGrid *grid) { m_stringGrid = grid; }

    bool DisplaySize() const { return m_displaySize; } // item lines show the size text
    void SetDisplaySize(bool value) { m_displaySize = value; }
    TDisplayNumber DisplayNumber() const { return m_displayNumber; }
    void SetDisplayNumber(TDisplayNumber value) { m_displayNumber = value; }
    bool Selected() const { return m_selected; }
    void SetSelected(bool value) { m_selected = value; }
    bool Expanded() const { return m_expanded; } // all lines drawn, else the header only
    void SetExpanded(bool value) { m_expanded = value; }
    bool Queued() const { return m_queued; } // the last Draw found no room
    bool AutoExpand() const { return m_autoExpand; } // expand whenever drawn
    void SetAutoExpand(bool value) { m_autoExpand = value; }

    // Waiting orders: text, background, selected background.
    TColor TextColour() const { return m_textColour; }
    void SetTextColour(TColor value);
    TColor BackColour() const { return m_backColour; }
    void SetBackColour(TColor value);
    TColor SelectColour() const { return m_selectColour; }
    void SetSelectColour(TColor value) { m_selectColour = value; }
    // Prepared (completed) orders: the same three.
    TColor CTextColour() const { return m_cTextColour; }
    void SetCTextColour(TColor value) { m_cTextColour = value; }
    TColor CBackColour() const { return m_cBackColour; }
    void SetCBackColour(TColor value) { m_cBackColour = value; }
    TColor CSelectColour() const { return m_cSelectColour; }
    void SetCSelectColour(TColor value) { m_cSelectColour = value; }
    // The colour of the employee who makes the order.
    TColor EmpColour() const { return m_empColour; }
    void SetEmpColour(TColor value) { m_empColour = value; }

    int FontSize() const { return m_fontSize; } // points
    void SetFontSize(int value) { m_fontSize = value; }
    // The maker's employee number; empty when nobody is assigned.
    const QString &EmpNum() const { return m_empNum; }
    void SetEmpNum(const QString &value) { m_empNum = value; }

    // The cell of the order's first line, and the cell after its last drawn line (where
    // the next order may start).
    TGridCoord Position() const { return m_position; }
    TGridCoord EndPosition() const { return m_endPosition; }

    TCellColors &HeaderColors() { return m_headerColors; } // header and status line
    const TCellColors &HeaderColors() const { return m_headerColors; }
    TCellColors &ItemColors() { return m_itemColors; }
    const TCellColors &ItemColors() const { return m_itemColors; }

    // The order's lines: header, status line, one per line item. The header's age is
    // measured against now.
    void BuildLines(QStringList &lines, const QDateTime &now = QDateTime::currentDateTime()) const;

    // Draws the order starting at Position. highlight is an invoice number: when it is
    // this order's, a waiting order shows in the selection colours even when not Selected.
    // Returns true when lines were written; false when the order did not fit (Queued is
    // then set) or has no line items (never drawn). EndPosition is set only when lines
    // were written.
    bool Draw(int highlight);

    // Whether the order fits at Position. spare receives the room left below the block
    // when it fits in its column, -1 when it runs on into the next column, else the number
    // of lines needed. Collapses an expanded order that has no room in the last column.
    bool Fits(int &spare);

    // Moves Position to cell. Whether the order fits there is decided when it is drawn.
    void SetPosition(TGridCoord cell);

    // Sets the fonts and backgrounds of HeaderColors and ItemColors for the order's state.
    void SetColours(int highlight);

private:
    // Whether the cell holds no order or another one (compared by invoice number).
    // Objects that are not orders of this order's collection count as no order.
    bool StartCellFree(TGridCoord cell) const;
    TGridCoord NextCell(TGridCoord cell) const;

    TStringAlignGrid *m_stringGrid = nullptr;
    bool m_displaySize = false;
    TDisplayNumber m_displayNumber = dnInvoiceNum;
    bool m_selected = false;
    bool m_expanded = false;
    bool m_queued = false;
    bool m_autoExpand = false;
    TColor m_textColour = clBlack;
    TColor m_backColour = clBlack;
    TColor m_selectColour = clBlue;
    TColor m_cTextColour = clBlack;
    TColor m_cBackColour = clBlack;
    TColor m_cSelectColour = clBlack;
    TColor m_empColour = clBlack;
    int m_fontSize = 10;
    QString m_empNum;
    TGridCoord m_position;
    TGridCoord m_endPosition;
    TCellColors m_headerColors;
    TCellColors m_itemColors;
};

// A collection of display orders; owns them. Its item class must make TDisplayInvoice
// items (the default does).
class TDisplayInvoices : public TInvoices
{
public:
    explicit TDisplayInvoices(TItemClass itemClass = &CreateItemOf<TDisplayInvoice>);

    TDisplayInvoice *Items(int index) const
    {
        return static_cast<TDisplayInvoice *>(TInvoices::Items(index));
    }
    // A new order at the end, with the collection's AutoExpand.
    TDisplayInvoice *NewItem();

    bool AutoExpand() const { return m_autoExpand; }
    // Also every order held.
    void SetAutoExpand(bool value);

    // The order drawn in a grid cell: the object of the cell when it is one of this
    // collection's orders, else null (the pointer is never followed otherwise).
    TDisplayInvoice *OrderInCell(const TStringAlignGrid &grid, TGridCoord cell) const;

protected:
    void ItemCreated(TRootCollectionItem *item) override;

private:
    bool m_autoExpand = false;
};
