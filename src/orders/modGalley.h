#pragma once

// What the monitor knows about tills and employees beyond the orders: each till's text and
// background colour (per-till SysData items "GY TEXT COLOUR" / "GY BACK COLOUR"), an
// employee's colour (Employee.GYCOLOUR) and who makes which order (GYStaffLinkInvoices).
//
// Every operation catches its own database errors, reports them once as an information
// message (MsgDlg, OK button, button-face background) and returns what it had got so far.
// Main thread only.

#include "platform/Colors.h"

#include <QList>
#include <QString>

class TGenericDB;

struct TTillColour
{
    int TillID = 0; // the till number (Tills.TillID)
    TColor TextColour = clNone;
    TColor BackColour = clNone;
};

// The till colour list, and the colour and invoice-maker look-ups that go with it. The
// look-ups use the runner's shared query; the list and the colours use queries of their own
// on the runner's connection. The employee look-ups have the shape of the order list's
// TInvoiceMakers, so an adapter can forward to them.
class TTillColours
{
public:
    // runner is not owned and must outlive this object (the program passes GenericDB).
    explicit TTillColours(TGenericDB *runner);

    int Count() const { return int(m_items.size()); }
    const TTillColour &Items(int index) const { return m_items.at(index); }
    void Clear() { m_items.clear(); }
    // The item of that till number; null when the list has none.
    const TTillColour *FindTill(int tillID) const;

    // Appends one item per row of Tills, each with its two colours. After an error the
    // items added so far stay.
    void PopulateTillColours();

    // The colour stored for the till, or clNone when there is none. When several rows
    // match, the last one read wins; after an error, the colour found so far (or clNone).
    TColor GetTextColour(int tillID);
    TColor GetBackColour(int tillID);

    // Employee.GYCOLOUR of the employee; 0 when not found or after an error.
    TColor GetEmployeeColour(const QString &empNum);
    // Records empNum as the only maker of the invoice. The old link goes only when the new
    // one is written: after an error the invoice keeps its earlier maker.
    void SaveInvoiceMaker(int invoiceNum, const QString &empNum);
    // The recorded maker's employee number; empty when none or after an error.
    QString GetInvoiceMaker(int invoiceNum);

private:
    TColor GetTillColour(int tillID, const QString &item, const QString &what,
                         const QString &raisedIn);

    TGenericDB *m_runner; // not owned
    QList<TTillColour> m_items;
};
