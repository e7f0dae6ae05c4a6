#include "kitchen/clsOrderManager.h"

#include "framework/clsEZXException.h"
#include "framework/modMsgDlgs.h"

#include <algorithm>

namespace {

void ShowFailure(const QString &what, const std::exception &e, const QString &raisedIn)
{
    ErrorDlg(what + QStringLiteral("\rReason: ") + ExceptionMessage(e)
             + QStringLiteral("\r\rException Raised In: ") + raisedIn);
}

} // namespace

// ---- TDisplayList ----

int TDisplayList::IndexOf(const TDisplayInvoice *order) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), order);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

void TDisplayList::Clear()
{
    m_items.clear();
    m_itemIndex = -1;
}

TDisplayInvoice *TDisplayList::ItemAt(int index) const
{
    return index >= 0 && index < Count() ? m_items[std::size_t(index)] : nullptr;
}

void TDisplayList::UnselectCurrent()
{
    if (!CurrentInRange())
        return;
    TDisplayInvoice *order = Current();
    order->SetSelected(false);
    order->Draw(0);
}

void TDisplayList::SelectCurrent()
{
    if (!CurrentInRange())
        return;
    TDisplayInvoice *order = Current();
    order->SetSelected(true);
    order->Draw(order->InvoiceNum());
}

void TDisplayList::Select(int index)
{
    if (index < 0 || IsEmpty())
        return;
    UnselectCurrent();
    m_itemIndex = std::min(index, Count() - 1);
    SelectCurrent();
}

void TDisplayList::Next()
{
    if (!CurrentInRange())
        return;
    UnselectCurrent();
    m_itemIndex = m_itemIndex + 1 < Count() ? m_itemIndex + 1 : 0;
    SelectCurrent();
}

void TDisplayList::Previous()
{
    if (!CurrentInRange())
        return;
    UnselectCurrent();
    m_itemIndex = m_itemIndex > 0 ? m_itemIndex - 1 : Count() - 1;
    SelectCurrent();
}

void TDisplayList::RemoveCurrent()
{
    if (!CurrentInRange())
        return;
    TDisplayInvoice *order = Current();
    order->SetSelected(false);
    order->SetExpanded(false);
    m_items.erase(m_items.begin() + m_itemIndex);
    if (IsEmpty()) {
        m_itemIndex = -1;
        return;
    }
    m_itemIndex = std::min(m_itemIndex, Count() - 1);
    SelectCurrent();
}

// ---- TOrderManager ----

TOrderManager::TOrderManager(TItemClass itemClass)
    : TDisplayInvoices(itemClass)
{ }

void TOrderManager::ClearGrid()
{
    if (!m_stringGrid)
        return;
    TStringAlignGrid &grid = *m_stringGrid;
    for (int c = 0; c < grid.ColCount(); ++c) {
        for (int r = 0; r < grid.RowCount(); ++r) {
            grid.SetCells(c, r, QString());
            grid.SetCellColor(c, r, clWindow);
            grid.SetObjects(c, r, nullptr);
        }
    }
}

void TOrderManager::DisplayFrom(int startIndex)
{
    if (Count() == 0)
        return; // the grid keeps what it shows

    ClearGrid();
    const int remembered = m_displayed.ItemIndex();
    m_displayed.Clear();
    m_nextCell = {0, 0};
    m_waitingOrdersQueued = false;

    // The selection keeps its position in the list (clamped to the last displayed order),
    // also when placing an order failed.
    const auto reselect = [this, remembered] {
        if (m_displayed.IsEmpty())
            return;
        m_displayed.Select(remembered == -1 ? 0 : remembered);
        NotifySelect();
    };
    try {
        if (m_currentView == osWaiting) {
            // Always from the oldest order.
            for (int i = 0; i < Count(); ++i)
                DisplayAt(i);
        } else {
            if (startIndex < 0 || startIndex >= Count())
                startIndex = Count() - 1;
            for (int i = startIndex; i >= 0; --i)
                DisplayAt(i);
        }
    } catch (...) {
        reselect();
        throw;
    }
    reselect();
}

void TOrderManager::DisplayAt(int index)
{
    TDisplayInvoice *order = Items(index);
    order->SetPosition(m_nextCell);
    order->SetSelected(false);
    if (!InCurrentView(*order))
        return;
    if (!order->Draw(m_clickedInvoiceNum)) {
        if (order->Queued() && !order->Prepared())
            m_waitingOrdersQueued = true;
        return; // no room, or nothing to show
    }
    m_displayed.Add(order);
    m_nextCell = order->EndPosition();
}

TDisplayInvoice *TOrderManager::AddDisplayInvoice()
{
    TDisplayInvoice *order = NewItem();
    order->SetDisplayNumber(m_displayInvoiceNum ? dnInvoiceNum : dnOrderNum);
    order->SetStringGrid(m_stringGrid);
    order->SetDisplaySize(m_displaySize);
    return order;
}

void TOrderManager::InvoiceAdded()
{
    if (Count() == 0)
        return;
    if (Count() == 1)
        m_nextCell = {0, 0};
    TDisplayInvoice *order = Items(Count() - 1);
    order->SetStringGrid(m_stringGrid);
    order->SetDisplaySize(m_displaySize);
    if (!InCurrentView(*order) || m_waitingOrdersQueued)
        return; // it appears in a later layout

    order->SetPosition(m_nextCell);
    const bool drawn = order->Draw(m_clickedInvoiceNum);
    m_waitingOrdersQueued = order->Queued();
    if (!drawn)
        return;
    m_displayed.Add(order);
    if (m_displayed.Count() == 1)
        m_displayed.Select(0);
    m_nextCell = order->EndPosition();
}

int TOrderManager::IndexInDisplayed(int invoiceNum) const
{
    for (int i = 0; i < m_displayed.Count(); ++i) {
        if (m_displayed.ItemAt(i)->InvoiceNum() == invoiceNum)
            return i;
    }
    return -1;
}

void TOrderManager::MarkOverrung(int invoiceNum)
{
    const int index = IndexOfInvoiceNum(invoiceNum);
    if (index == -1)
        return;
    TDisplayInvoice *order = Items(index);
    order->SetOverrung(true);
    // Only an order on the grid has a place of its own: a queued one still holds a stale or
    // never-set position, and drawing it there would cover the orders shown.
    if (InCurrentView(*order) && m_displayed.IndexOf(order) != -1)
        order->Draw(0);
}

int TOrderManager::FirstDisplayedIndex() const
{
    return m_displayed.IsEmpty() ? -1 : IndexOf(m_displayed.ItemAt(0));
}

void TOrderManager::ToggleExpand()
{
    TDisplayInvoice *order = m_displayed.Current();
    if (!order)
        return;
    order->SetExpanded(!order->Expanded());
    DisplayFrom(FirstDisplayedIndex());
}

void TOrderManager::SelectNext()
{
    try {
        m_displayed.Next();
        NotifySelect();
    } catch (const std::exception &e) {
        ShowFailure(QStringLiteral("Failed to select the next invoice"), e,
                    QStringLiteral("TOrderManager.SelectNext"));
    }
}

void TOrderManager::SelectPrevious()
{
    try {
        if (m_displayed.IsEmpty())
            return;
        m_displayed.Previous();
        NotifySelect();
    } catch (const std::exception &e) {
        ShowFailure(QStringLiteral("Failed to select the previous invoice"), e,
                    QStringLiteral("TOrderManager.SelectPrevious"));
    }
}

void TOrderManager::MoveSideways(int step)
{
    if (!m_stringGrid || m_stringGrid->ColCount() < 2)
        return;
    const TDisplayInvoice *selected = m_displayed.Current();
    if (!selected)
        return;
    const TGridCoord from = selected->Position();
    const int colCount = m_stringGrid->ColCount();
    const TGridCoord target {(from.Col + step + colCount) % colCount, from.Row};
    const TDisplayInvoice *order = OrderInCell(*m_stringGrid, target);
    if (!order)
        return;
    const int position = IndexInDisplayed(order->InvoiceNum());
    if (position == -1)
        return;
    m_displayed.Select(position);
    NotifySelect();
}

void TOrderManager::MoveLeft()
{
    MoveSideways(-1);
}

void TOrderManager::MoveRight()
{
    MoveSideways(1);
}

void TOrderManager::SelectClicked()
{
    if (!m_stringGrid)
        return;
    const TDisplayInvoice *order
        = OrderInCell(*m_stringGrid, {m_stringGrid->Col(), m_stringGrid->Row()});
    if (!order)
        return;
    m_clickedInvoiceNum = order->InvoiceNum();
    const int position = IndexInDisplayed(m_clickedInvoiceNum);
    if (position == -1)
        return;
    m_displayed.Select(position);
    NotifySelect();
}

void TOrderManager::PageDown()
{
    if (m_currentView == osWaiting || m_displayed.IsEmpty())
        return;
    // The next page starts with the next older order of this view; after the oldest one
    // (-1) it starts again with the newest. Starting at an order of the other view would
    // show an empty page from which there is no paging on.
    int start = IndexOf(m_displayed.ItemAt(m_displayed.Count() - 1)) - 1;
    while (start >= 0 && !InCurrentView(*Items(start)))
        --start;
    DisplayFrom(start);
}

void TOrderManager::ToggleStatus()
{
    try {
        TDisplayInvoice *order = m_displayed.Current();
        if (m_displayed.IsEmpty() || !order)
            return;
        order->SetPrepared(m_currentView == osWaiting);
        m_displayed.RemoveCurrent();
        // With nothing left on the grid, the orders that found no room so far get it now
        // (only clearing the grid would hide them until some other layout).
        DisplayFrom(FirstDisplayedIndex());
    } catch (const std::exception &e) {
        ShowFailure(QStringLiteral("Failed to toggle the status of the selected order"), e,
                    QStringLiteral("TOrderManager.ToggleStatus;"));
    }
}

void TOrderManager::AssignEmployee()
{
    TDisplayInvoice *order = m_displayed.Current();
    if (!order)
        return;
    if (!m_identification || !m_clockIn || (m_useEmployeeColours && !m_invoiceMakers)) {
        InfoDlg(QStringLiteral("Assigning orders to employees is not available in this version "
                               "of the kitchen monitor."));
        return;
    }

    const QString empNum
        = m_identification->PromptForEmployee(QStringLiteral("To assign this invoice"), false);
    order->SetEmpNum(empNum); // nobody identified: the order has no maker any more
    if (empNum.isEmpty())
        return;

    const int clockIn = m_clockIn->ClockInEmployee(empNum, false);
    if (clockIn != 1 && clockIn != 4)
        return;

    if (m_useEmployeeColours) {
        order->SetEmpColour(m_invoiceMakers->GetEmployeeColour(empNum));
        m_invoiceMakers->SaveInvoiceMaker(order->InvoiceNum(), empNum);
    }
    DisplayFrom(FirstDisplayedIndex());
}

void TOrderManager::Clear()
{
    try {
        m_nextCell = {0, 0};
        m_displayed.Clear();
        TDisplayInvoices::Clear();
        ClearGrid();
    } catch (const std::exception &e) {
        ShowFailure(QStringLiteral("Failed to clear all current invoices"), e,
                    QStringLiteral("TOrderManager.Clear"));
    }
}

void TOrderManager::RedrawDisplayed()
{
    for (int i = 0; i < m_displayed.Count(); ++i)
        m_displayed.ItemAt(i)->Draw(m_clickedInvoiceNum);
}

void TOrderManager::NotifySelect()
{
    if (OnOrderSelect && !m_displayed.IsEmpty() && m_displayed.Current())
        OnOrderSelect(m_displayed.Current());
}

void TOrderManager::SetCurrentView(TOrderStatus value)
{
    if (value == m_currentView)
        return;
    m_currentView = value;
    DisplayFrom(-1);
}

void TOrderManager::SetDisplaySize(bool value)
{
    m_displaySize = value;
    for (int i = 0; i < Count(); ++i)
        Items(i)->SetDisplaySize(value);
    RedrawDisplayed();
}

void TOrderManager::SetDisplayInvoiceNum(bool value)
{
    m_displayInvoiceNum = value;
    for (int i = 0; i < Count(); ++i)
        Items(i)->SetDisplayNumber(value ? dnInvoiceNum : dnOrderNum);
    RedrawDisplayed();
}
