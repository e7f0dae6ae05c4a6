#pragma once

// The demo's stand-in for the suite's tills: writes realistic orders into the shop's
// database, as the tills do, so that the kitchen monitor has something to show.
//
// An order is one Invoices row and its LineItem rows, written in one transaction: a
// failure (a locked database, say) leaves nothing behind, and the same order is tried
// again at the next tick. Now and then a till voids one of its earlier orders a few ticks
// later (Invoices.Status 1), after the monitor has had time to show it.
//
// All choices come from one pseudo-random sequence started from the seed, so the same
// seed on the same shop gives the same orders. Main thread only; every call blocks until
// the database has answered.

#include "platform/Currency.h"
#include "platform/SqlConnection.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <random>
#include <vector>

namespace demo {

// One price row a till sells: one size of a product, or a modifier.
struct MenuItem
{
    int recipe = 0;
    QString code;
    QString description; // what the till prints as the line's ItemDesc (without the size)
    QString size; // "" for a product sold in one size
    platform::Currency price;
    int reportGroup = 0;
    // Where the kitchen staff see it: the lowest production printer (Printers.Category 1)
    // it is linked to; kBackKitchen when only its back-kitchen text (BKPrint) sends it to
    // the kitchen; kNoStation when no station makes it (a gift voucher).
    int station = 0;
    // An extra or a "no ..." (menu category EXTRA or NONE, or a child product): sold
    // only right after the product it changes.
    bool modifier = false;

    static constexpr int kBackKitchen = 0;
    static constexpr int kNoStation = -1;
};

struct OrderLine
{
    MenuItem item;
    int quantity = 1;
    platform::Currency LineTotal() const;
};

struct PlannedOrder
{
    int tillID = 0;
    QString cashier; // Employee.EmpNum of the waiter; "" when the shop has none
    int onlyStation = 0; // > 0: every product goes to this printer alone (a round for the bar)
    std::vector<OrderLine> lines; // products in till order, each followed by its modifiers

    platform::Currency Total() const; // sum of price times quantity over all lines
    int Products() const; // lines that are not modifiers
    int Modifiers() const;
};

struct SimulatorEvent
{
    enum Kind { OrderWritten, OrderVoided, WriteFailed };
    Kind kind = OrderWritten;
    int tick = 0; // the Tick call (1, 2, ...) that produced it
    int tillID = 0;
    int invoiceNum = 0; // OrderWritten, OrderVoided
    int orderNum = 0; // OrderWritten, OrderVoided
    PlannedOrder order; // OrderWritten, and for WriteFailed the order that waits
    QString error; // WriteFailed: the database's text
};

class TillSimulator
{
public:
    // How often the rarer things happen, in percent.
    struct Odds
    {
        int voidOrder = 8; // an order written now is voided a few ticks later
        int stationOnly = 15; // an order for one of the other stations only (e.g. drinks)
        int modifiers = 35; // a product that can take extras gets one or two
        int voidAfterMinTicks = 3;
        int voidAfterMaxTicks = 6;
    };

    // The connection is not owned and must outlive the simulator.
    TillSimulator(platform::SqlConnection *connection, quint32 seed);

    Odds &GetOdds() { return m_odds; }

    // Reads the shop: its products with their stations, tills, waiters and production
    // printers. Throws DbError on a database error, or when the shop has no till or
    // nothing to sell.
    void LoadShop();

    // One tick of the tills: the voids that are due, then one new order (the one that
    // failed last time, if any). Stops at the first failure, which it reports as a
    // WriteFailed event; nothing of a failed step stays in the database. `now` is the
    // date and time written into the rows (the tills' clock).
    std::vector<SimulatorEvent> Tick(const QDateTime &now);

    // The next order as a till would ring it up; draws from the random sequence.
    PlannedOrder PlanOrder();

    const std::vector<MenuItem> &Menu() const { return m_menu; }
    const std::vector<int> &Tills() const { return m_tills; }
    // The production printer's name ("Bar"), or "" for an unknown one.
    QString StationName(int printerID) const;
    // The station most products go to (the kitchen): never the target of a
    // station-only order.
    int MainStation() const { return m_mainStation; }

    // One line of text per event, e.g. "till 2: order 17, 3 items, total 24.50".
    QString Describe(const SimulatorEvent &event) const;

private:
    struct PendingVoid
    {
        int invoiceNum = 0;
        int orderNum = 0;
        int tillID = 0;
        int dueTick = 0;
    };

    int Between(int low, int high); // both included
    bool Chance(int percent);
    int PickWeighted(const std::vector<int> &weights);

    int CurrentShift(int tillID, const QDateTime &now);
    void WriteOrder(const PlannedOrder &order, const QDateTime &now, int *invoiceNum,
                    int *orderNum);
    bool VoidOrder(int invoiceNum);
    void DropFailedTransaction();

    platform::SqlConnection *m_connection; // not owned
    std::mt19937 m_random;
    Odds m_odds;

    std::vector<MenuItem> m_menu;
    std::vector<QString> m_codes; // products (not modifiers), by code
    std::vector<std::vector<int>> m_sizesOfCode; // indexes into m_menu per code
    std::vector<int> m_codeStation; // the station of each code
    std::vector<int> m_tills;
    std::vector<QString> m_waiters;
    std::vector<std::pair<int, QString>> m_printers; // production printers: id, name
    int m_mainStation = 0;
    std::vector<int> m_otherStations;

    int m_tick = 0;
    std::optional<PlannedOrder> m_waiting; // planned, not written yet
    std::vector<PendingVoid> m_voids;
};

} // namespace demo
