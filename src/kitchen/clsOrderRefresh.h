#pragma once

// The monitor's link to the tills: at every poll it fetches the orders that arrived since
// the last one, builds them with their kitchen line items (filtered by till, printer and
// report group as the monitor's settings ask), hands them to the order list, sounds the
// new-order signal, and marks the orders overrung at the till.
//
// Headless: the main window owns the pieces and passes them in; the window's timers and
// cursor stay with the window. Failures are shown in one message each (message seam) and
// the refresh stops where it got to; nothing is thrown to the caller.
//
// Main thread only.

#include "platform/Colors.h"

#include <QList>
#include <QStringList>

#include <functional>

class TOrderManager;
class TDbManager;
class TPricesCodeLinkPrinters;
class TTillColours;

// The monitor settings the refresh reads, current at each call.
struct TRefreshSettings
{
    bool TillFilterEnabled = false;
    QStringList TillFilterIDs;     // till numbers as stored; "0" first = unassigned orders
    bool PrinterFilterEnabled = false;
    QList<int> PrinterFilterIDs;   // in the order they are tried
    TColor WaitingText = clBlack;
    TColor WaitingBack = clWhite;
    TColor CompletedText = clBlack;
    TColor CompletedBack = clWhite;
    TColor WaitingSelected = clYellow;
    TColor CompletedSelected = clYellow;
    int FontSize = 12;
};

class TOrderRefresh
{
public:
    // None of the pieces is owned; all must outlive the refresh.
    TOrderRefresh(TOrderManager &orders, TDbManager &db, TPricesCodeLinkPrinters &printerLinks,
                  TTillColours &tillColours);

    // Reopens the connection when it is closed; throws when that fails. Unset: the
    // connection is taken as it is.
    std::function<void()> EnsureConnected;
    // Plays the new-order sound to its end. Unset: silent.
    std::function<void()> PlaySound;
    // Lets the window handle its pending events once (a key pressed during the refresh).
    std::function<void()> ProcessEvents;
    // Switches the "Orders Waiting" blink on.
    std::function<void()> StartFlash;

    int ReportGroupID = 0;     // 0 = every kitchen line item
    int HighestInvoiceNum = 0; // only grows during a run

    // Fetches and adds the new orders; with reset the list is emptied first and the whole
    // window is fetched again. Returns false when the connection could not be opened or a
    // row failed (the user has been told).
    bool RefreshInvoices(bool reset, const TRefreshSettings &settings);
    // Marks the held orders that were overrung at the till.
    bool CheckOverrungInvoices();

private:
    bool Connect();
    void AddOrder(int invoiceNum, const TRefreshSettings &settings);
    bool LineShown(const QString &code, bool previousShown, const TRefreshSettings &settings);

    TOrderManager &m_orders;
    TDbManager &m_db;
    TPricesCodeLinkPrinters &m_printerLinks;
    TTillColours &m_tillColours;
};
