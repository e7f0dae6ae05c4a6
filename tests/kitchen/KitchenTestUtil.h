#pragma once

// Orders and grid pictures for the kitchen display tests.

#include "kitchen/clsOrderManager.h"

#include "QtPrinters.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <ostream>
#include <string>
#include <vector>


namespace kitchentest {

// The colours every test order gets; all different, so a cell's colour tells which rule
// chose it.
inline constexpr TColor kText = 0x0000A1;
inline constexpr TColor kBack = 0x0000B2;
inline constexpr TColor kSelect = 0x0000C3;
inline constexpr TColor kCText = 0x00D400;
inline constexpr TColor kCBack = 0x00E500;
inline constexpr TColor kCSelect = 0x00F600;
inline constexpr TColor kEmp = 0x170000;
inline constexpr int kFontSize = 14;

// Fills an order as the refresh does: number, till 1, colours, prepared flag, taken
// minutesAgo minutes ago, and items lines "1 LARGE Item <n>".
inline void Fill(TDisplayInvoice &order, int invoiceNum, int items, bool prepared = false,
                 int minutesAgo = 5)
{
    order.SetInvoiceNum(invoiceNum);
    order.SetOrderNum(invoiceNum % 100);
    order.SetTillID(1);
    order.SetTextColour(kText);
    order.SetBackColour(kBack);
    order.SetSelectColour(kSelect);
    order.SetCTextColour(kCText);
    order.SetCBackColour(kCBack);
    order.SetCSelectColour(kCSelect);
    order.SetFontSize(kFontSize);
    order.SetPrepared(prepared);
    order.SetSelected(false);
    order.SetDate(QDateTime::currentDateTime().addSecs(-60 * minutesAgo));
    for (int i = 1; i <= items; ++i) {
        TLineitemItem *item = order.Lineitems()->Add();
        item->SetQuantity(1);
        item->SetSize(QStringLiteral("LARGE"));
        item->SetItemDesc(QStringLiteral("Item %1").arg(i));
    }
}

inline QString ItemLine(int n)
{
    return QStringLiteral("1 LARGE Item %1").arg(n);
}

// The grid as a cook sees it, one string per column, one character per row: '.' for an
// empty cell, else the letter of the order drawn there ('A' for invoice 1, 'B' for 2, ...),
// a capital on its header line and a small letter on its other lines. '?' marks a cell
// whose object is not an order of orders.
inline std::vector<std::string> Picture(const TStringAlignGrid &grid,
                                        const TDisplayInvoices &orders)
{
    std::vector<std::string> columns;
    for (int c = 0; c < grid.ColCount(); ++c) {
        std::string column;
        for (int r = 0; r < grid.RowCount(); ++r) {
            if (!grid.Objects(c, r)) {
                column += grid.Cells(c, r).isEmpty() ? '.' : '#';
                continue;
            }
            const TDisplayInvoice *order = orders.OrderInCell(grid, {c, r});
            if (!order) {
                column += '?';
                continue;
            }
            const char letter = char('a' + (order->InvoiceNum() - 1) % 26);
            const bool header = grid.Cells(c, r).endsWith(QStringLiteral(" *************"));
            column += header ? char(letter - 'a' + 'A') : letter;
        }
        columns.push_back(column);
    }
    return columns;
}

inline std::vector<int> DisplayedNumbers(const TOrderManager &manager)
{
    std::vector<int> numbers;
    for (int i = 0; i < manager.Displayed().Count(); ++i)
        numbers.push_back(manager.Displayed().ItemAt(i)->InvoiceNum());
    return numbers;
}

} // namespace kitchentest
