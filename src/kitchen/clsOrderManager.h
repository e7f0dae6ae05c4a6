#pragma once

// The list of every order the monitor holds (waiting and prepared together, in the order
// they were fetched) and the controller of the order grid: which orders of the current
// view are shown and where, which one is selected, and what the kitchen does to the
// selection (move, expand, mark done or undone, assign to an employee).
//
// Failures of SelectNext, SelectPrevious, ToggleStatus and Clear are shown in one error
// message each and end the operation where it got to; the other operations let errors
// pass to their caller.
//
// Main thread only; every operation runs to its end before the next event is handled.

#include "kitchen/clsDisplayInvoices.h"

#include <QString>

#include <functional>
#include <vector>

// The orders drawn on the grid now, in the order they were placed, and which of them is
// selected. Does not own the orders.
class TDisplayList
{
public:
    int Count() const { return int(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    int ItemIndex() const { return m_itemIndex; } // the selected position; -1 for none

    void Add(TDisplayInvoice *order) { m_items.push_back(order); }
    int IndexOf(const TDisplayInvoice *order) const;
    // Empties the list; ItemIndex -1.
    void Clear();
    // The selected order; null when none.
    TDisplayInvoice *Current() const { return ItemAt(m_itemIndex); }
    // The order at index; null when index is outside the list.
    TDisplayInvoice *ItemAt(int index) const;

    // Draws the selected order unselected (highlight 0).
    void UnselectCurrent();
    // Draws the selected order selected.
    void SelectCurrent();
    // Selects the order at index (the last one when index is beyond the list); nothing
    // for a negative index or an empty list.
    void Select(int index);
    // Move the selection one on or back, wrapping around; nothing when none is selected.
    void Next();
    void Previous();
    // Unselects and collapses the selected order and takes it out of the list; the order
    // now at that position (or the last) becomes selected.
    void RemoveCurrent();

private:
    bool CurrentInRange() const { return m_itemIndex >= 0 && m_itemIndex < Count(); }

    std::vector<TDisplayInvoice *> m_items;
    int m_itemIndex = -1;
};

// Identifies an employee, by password or fingerprint as the till is set up. reason is
// shown to the employee; invoicePassword asks for the invoice password instead of the
// normal one. Returns the employee number, or an empty text when nobody was identified
// (the implementation reports its own failures).
class TEmployeeIdentification
{
public:
    virtual ~TEmployeeIdentification() = default;
    virtual QString PromptForEmployee(const QString &reason, bool invoicePassword) = 0;
};

// Clocks an employee in when not clocked in yet, with whatever dialogs that takes.
// Returns 1 when the employee was clocked in now, 4 when already clocked in, anything
// else (0) when not clocked in (the implementation reports its own failures).
class TEmployeeClockIn
{
public:
    virtual ~TEmployeeClockIn() = default;
    virtual int ClockInEmployee(const QString &empNum, bool confirmPassword) = 0;
};

// The employees' colours and the record of who makes which order.
class TInvoiceMakers
{
public:
    virtual ~TInvoiceMakers() = default;
    // The employee's colour; 0 when the employee is unknown.
    virtual TColor GetEmployeeColour(const QString &empNum) = 0;
    // Records empNum as the maker of the invoice, replacing any earlier maker.
    virtual void SaveInvoiceMaker(int invoiceNum, const QString &empNum) = 0;
};

class TOrderManager : public TDisplayInvoices
{
public:
    explicit TOrderManager(TItemClass itemClass = &CreateItemOf<TDisplayInvoice>);

    const TDisplayList &Displayed() const { return m_displayed; }
    TDisplayList &Displayed() { return m_displayed; }

    TOrderStatus CurrentView() const { return m_currentView; }
    // A different view is laid out at once.
    void SetCurrentView(TOrderStatus value);

    // The order grid; not owned, must outlive its use here.
    TStringAlignGrid *StringGrid() const { return m_stringGrid; }
    void SetStringGrid(TStringAlignGrid *grid) { m_stringGrid = grid; }

    bool DisplaySize() const { return m_displaySize; }
    // Given to every order; the displayed ones are redrawn.
    void SetDisplaySize(bool value);
    bool DisplayInvoiceNum() const { return m_displayInvoiceNum; }
    // Headers show the invoice number (true) or the order number; the displayed orders
    // are redrawn.
    void SetDisplayInvoiceNum(bool value);
    // At least one waiting order found no room in the last layout.
    bool WaitingOrdersQueued() const { return m_waitingOrdersQueued; }
    // Assigning loads the employee's colour and stores the maker.
    void SetUseEmployeeColours(bool value) { m_useEmployeeColours = value; }

    // Told whenever the selection is set or moved.
    std::function<void(TDisplayInvoice *)> OnOrderSelect;

    // Where the next order placed in the current layout starts.
    TGridCoord NextCell() const { return m_nextCell; }
    // The order last selected by clicking; 0 until then. It keeps the selection colours
    // in every layout of the waiting view.
    int ClickedInvoiceNum() const { return m_clickedInvoiceNum; }

    // What assigning needs. Not owned; null until the staff functions are installed, and
    // AssignEmployee then says that assigning is not available.
    void SetEmployeeIdentification(TEmployeeIdentification *value) { m_identification = value; }
    void SetEmployeeClockIn(TEmployeeClockIn *value) { m_clockIn = value; }
    void SetInvoiceMakers(TInvoiceMakers *value) { m_invoiceMakers = value; }

    // Every cell: no text, background clWindow, no object. Nothing without a grid.
    void ClearGrid();
    // Lays out the current view anew: the waiting view from the oldest order, the
    // prepared view from startIndex (-1: the newest) down to the oldest. Keeps the
    // selection's position in the list. Nothing when no order is held.
    void DisplayFrom(int startIndex);
    // Places and draws the order at index during a layout.
    void DisplayAt(int index);
    // A new order at the end, numbered as DisplayInvoiceNum says and drawing into the grid.
    TDisplayInvoice *AddDisplayInvoice();
    // Places the newest order after the last one shown, when it belongs to the current
    // view and nothing is queued.
    void InvoiceAdded();
    // Position in Displayed of the first order with that number; -1 when none.
    int IndexInDisplayed(int invoiceNum) const;
    // Marks the order overrung and redraws it in place when it is on the grid now. An order
    // of the current view that found no room keeps its mark for the layout that places it.
    void MarkOverrung(int invoiceNum);
    void ToggleExpand();
    void SelectNext();
    void SelectPrevious();
    // Select the order in the neighbouring column, same row, wrapping around.
    void MoveLeft();
    void MoveRight();
    // Selects the order in the grid's current cell (the one clicked).
    void SelectClicked();
    // Prepared view: the next page of older orders (after the oldest: the newest again).
    void PageDown();
    // Marks the selected order prepared (waiting view) or not prepared (prepared view)
    // and lays out again. Writes nothing to the database.
    void ToggleStatus();
    // Assigns the selected order to an identified, clocked-in employee.
    void AssignEmployee();
    // Destroys every order and clears the grid.
    void Clear() override;
    // Draws every displayed order again, in place.
    void RedrawDisplayed();
    void NotifySelect();

private:
    bool InCurrentView(const TDisplayInvoice &order) const
    {
        return order.Prepared() == (m_currentView == osPrepared);
    }
    // The collection index of the first displayed order; -1 when none is displayed.
    int FirstDisplayedIndex() const;
    void MoveSideways(int step);

    TDisplayList m_displayed;
    TOrderStatus m_currentView = osWaiting;
    TStringAlignGrid *m_stringGrid = nullptr;
    bool m_displaySize = false;
    bool m_displayInvoiceNum = true;
    bool m_waitingOrdersQueued = false;
    bool m_useEmployeeColours = false;
    TGridCoord m_nextCell;
    int m_clickedInvoiceNum = 0;
    TEmployeeIdentification *m_identification = nullptr;
    TEmployeeClockIn *m_clockIn = nullptr;
    TInvoiceMakers *m_invoiceMakers = nullptr;
};
