#include "TillSimulator.h"

#include "platform/DbError.h"
#include "platform/SqlQuery.h"

#include <algorithm>
#include <map>

namespace demo {

using platform::Currency;
using platform::DbError;
using platform::SqlCommand;
using platform::SqlQuery;

namespace {

// Names and codes as stored: trimmed, and without the code-0 character the suite writes
// for an empty text.
QString Clean(const QString &text)
{
    QString s = text;
    s.remove(QChar(0));
    return s.trimmed();
}

QString ErrorText(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return db->Message();
    if (const auto *convert = dynamic_cast<const platform::ConvertError *>(&e))
        return convert->Message();
    return QString::fromUtf8(e.what());
}

QString Plural(int n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

} // namespace

Currency OrderLine::LineTotal() const
{
    return Currency::FromRaw(item.price.Raw() * quantity);
}

Currency PlannedOrder::Total() const
{
    Currency total;
    for (const OrderLine &line : lines)
        total = total + line.LineTotal();
    return total;
}

int PlannedOrder::Products() const
{
    return int(std::count_if(lines.begin(), lines.end(),
                             [](const OrderLine &l) { return !l.item.modifier; }));
}

int PlannedOrder::Modifiers() const
{
    return int(lines.size()) - Products();
}

TillSimulator::TillSimulator(platform::SqlConnection *connection, quint32 seed)
    : m_connection(connection)
    , m_random(seed)
{ }

// The engine's raw output is the same everywhere for a seed; the standard distributions
// are not, so the draws are made here.
int TillSimulator::Between(int low, int high)
{
    if (high <= low)
        return low;
    return low + int(m_random() % quint32(high - low + 1));
}

bool TillSimulator::Chance(int percent)
{
    return Between(0, 99) < percent;
}

int TillSimulator::PickWeighted(const std::vector<int> &weights)
{
    int sum = 0;
    for (int w : weights)
        sum += w;
    int draw = Between(0, sum - 1);
    for (size_t i = 0; i < weights.size(); ++i) {
        if (draw < weights[i])
            return int(i);
        draw -= weights[i];
    }
    return int(weights.size()) - 1;
}

void TillSimulator::LoadShop()
{
    m_menu.clear();
    m_codes.clear();
    m_sizesOfCode.clear();
    m_codeStation.clear();
    m_tills.clear();
    m_waiters.clear();
    m_printers.clear();
    m_otherStations.clear();
    m_mainStation = 0;

    SqlQuery q(m_connection);
    q.SetSQL(QStringLiteral(
        "SELECT PrintersID, Name FROM Printers WHERE Category = 1 ORDER BY PrintersID"));
    q.Open();
    for (q.First(); !q.Eof(); q.Next())
        m_printers.emplace_back(q.FieldByName(u"PrintersID").AsInteger(),
                                Clean(q.FieldByName(u"Name").AsString()));

    // A product's station is the first production printer it is linked to.
    std::map<int, int> stationOfRecipe;
    q.SetSQL(QStringLiteral("SELECT fkPricesID, fkPrintersID FROM PricesLinkPrinters ORDER BY "
                            "fkPricesID, fkPrintersID"));
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        const int printer = q.FieldByName(u"fkPrintersID").AsInteger();
        const bool production
            = std::any_of(m_printers.begin(), m_printers.end(),
                          [printer](const auto &p) { return p.first == printer; });
        if (production)
            stationOfRecipe.emplace(q.FieldByName(u"fkPricesID").AsInteger(), printer);
    }

    q.SetSQL(QStringList {
        QStringLiteral(
            "SELECT Prices.Recipe, Prices.Code, Prices.Description, Prices.[Size], Prices.Price,"),
        QStringLiteral(" Prices.BKPrint, Prices.IsChild, Prices.fkReportGroupID, "
                       "CatMenu.Description AS Category"),
        QStringLiteral("FROM Prices LEFT JOIN CatMenu ON CatMenu.CatMenuCode = Prices.CatMenuCode"),
        QStringLiteral("ORDER BY Prices.Recipe"),
    });
    q.Open();
    std::map<QString, int> codeIndex; // upper-case code -> index into m_codes
    for (q.First(); !q.Eof(); q.Next()) {
        MenuItem item;
        item.recipe = q.FieldByName(u"Recipe").AsInteger();
        item.code = Clean(q.FieldByName(u"Code").AsString());
        if (item.code.isEmpty())
            continue;
        item.description = Clean(q.FieldByName(u"Description").AsString());
        if (item.description.isEmpty())
            item.description = item.code;
        item.size = Clean(q.FieldByName(u"Size").AsString());
        item.price = q.FieldByName(u"Price").AsCurrency();
        item.reportGroup = q.FieldByName(u"fkReportGroupID").AsInteger();
        const auto station = stationOfRecipe.find(item.recipe);
        if (station != stationOfRecipe.end())
            item.station = station->second;
        else if (!Clean(q.FieldByName(u"BKPrint").AsString()).isEmpty())
            item.station = MenuItem::kBackKitchen;
        else
            item.station = MenuItem::kNoStation;
        // The same test the labels use to fold an extra into its product.
        const QString category = q.FieldByName(u"Category").AsString().trimmed().toUpper();
        item.modifier = category == QLatin1String("EXTRA") || category == QLatin1String("NONE")
            || q.FieldByName(u"IsChild").AsBoolean();
        m_menu.push_back(item);
        if (item.modifier)
            continue;
        const QString key = item.code.toUpper();
        auto it = codeIndex.find(key);
        if (it == codeIndex.end()) {
            it = codeIndex.emplace(key, int(m_codes.size())).first;
            m_codes.push_back(item.code);
            m_sizesOfCode.emplace_back();
            m_codeStation.push_back(item.station);
        }
        m_sizesOfCode[size_t(it->second)].push_back(int(m_menu.size()) - 1);
    }
    if (m_codes.empty())
        throw DbError(
            QStringLiteral("The shop has nothing to sell: table Prices holds no product."));

    // The kitchen is the station most products go to; the others (the bar) now and then
    // get an order of their own.
    std::map<int, int> codesPerStation;
    for (int station : m_codeStation)
        if (station > 0)
            ++codesPerStation[station];
    int most = 0;
    for (const auto &[station, count] : codesPerStation)
        if (count > most) {
            most = count;
            m_mainStation = station;
        }
    for (const auto &entry : codesPerStation)
        if (entry.first != m_mainStation)
            m_otherStations.push_back(entry.first);

    q.SetSQL(QStringLiteral("SELECT TillID FROM Tills WHERE TillID > 0 ORDER BY TillID"));
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
        const int till = q.FieldByName(u"TillID").AsInteger();
        if (std::find(m_tills.begin(), m_tills.end(), till) == m_tills.end())
            m_tills.push_back(till);
    }
    if (m_tills.empty())
        throw DbError(QStringLiteral("The shop has no till: table Tills is empty."));

    for (const char *where : {"Active <> 0 AND Waiter <> 0", "Active <> 0"}) {
        q.SetSQL(QStringLiteral("SELECT EmpNum FROM Employee WHERE ") + QLatin1String(where)
                 + QStringLiteral(" ORDER BY EmpNum"));
        q.Open();
        for (q.First(); !q.Eof(); q.Next())
            m_waiters.push_back(Clean(q.FieldByName(u"EmpNum").AsString()));
        if (!m_waiters.empty())
            break;
    }
}

QString TillSimulator::StationName(int printerID) const
{
    for (const auto &[id, name] : m_printers)
        if (id == printerID)
            return name;
    return QString();
}

PlannedOrder TillSimulator::PlanOrder()
{
    PlannedOrder order;
    if (m_codes.empty() || m_tills.empty())
        return order;
    order.tillID = m_tills[size_t(Between(0, int(m_tills.size()) - 1))];
    if (!m_waiters.empty())
        order.cashier = m_waiters[size_t(Between(0, int(m_waiters.size()) - 1))];

    std::vector<int> candidates; // indexes into m_codes
    std::vector<int> weights;
    if (!m_otherStations.empty() && Chance(m_odds.stationOnly)) {
        order.onlyStation = m_otherStations[size_t(Between(0, int(m_otherStations.size()) - 1))];
        for (size_t c = 0; c < m_codes.size(); ++c)
            if (m_codeStation[c] == order.onlyStation) {
                candidates.push_back(int(c));
                weights.push_back(1);
            }
    } else {
        // What no station makes (a voucher) is sold, but seldom.
        for (size_t c = 0; c < m_codes.size(); ++c) {
            candidates.push_back(int(c));
            weights.push_back(m_codeStation[c] == MenuItem::kNoStation ? 1 : 4);
        }
    }

    const int products = 1 + PickWeighted({25, 25, 20, 13, 10, 7});
    for (int p = 0; p < products; ++p) {
        const std::vector<int> &sizes
            = m_sizesOfCode[size_t(candidates[size_t(PickWeighted(weights))])];
        const MenuItem &item = m_menu[size_t(sizes[size_t(Between(0, int(sizes.size()) - 1))])];
        const int quantity = 1 + PickWeighted({60, 30, 10});
        order.lines.push_back(OrderLine {item, quantity});

        // Extras that belong with it: made at the same station, in the same report group.
        std::vector<int> extras;
        if (item.station != MenuItem::kNoStation)
            for (size_t m = 0; m < m_menu.size(); ++m)
                if (m_menu[m].modifier && m_menu[m].station == item.station
                    && m_menu[m].reportGroup == item.reportGroup)
                    extras.push_back(int(m));
        if (extras.empty() || !Chance(m_odds.modifiers))
            continue;
        const int count = std::min(int(extras.size()), Between(1, 2));
        for (int e = 0; e < count; ++e) {
            const int pick = Between(0, int(extras.size()) - 1);
            order.lines.push_back(OrderLine {m_menu[size_t(extras[size_t(pick)])], quantity});
            extras.erase(extras.begin() + pick);
        }
    }
    return order;
}

int TillSimulator::CurrentShift(int tillID, const QDateTime &now)
{
    const QDateTime dayStart(now.date(), QTime(0, 0));
    SqlQuery q(m_connection);
    q.SetSQL(QStringLiteral(
        "SELECT ShiftNum, [Date] FROM Tillpost WHERE TillID = :TillID AND TILLISACTIVE <> 0 "
        "ORDER BY ShiftNum DESC"));
    q.SetParam(QStringLiteral("TillID"), tillID);
    q.Open();
    if (!q.IsEmpty()) {
        const QDateTime opened = q.FieldByName(u"Date").AsDateTime();
        if (opened.isValid() && opened >= dayStart)
            return q.FieldByName(u"ShiftNum").AsInteger();
    }

    // A till works in shifts of one day: close the old one, open today's. The monitor's
    // till filter only passes shifts opened since yesterday.
    SqlCommand close(m_connection);
    close.SetCommandText(QStringLiteral(
        "UPDATE Tillpost SET TILLISACTIVE = 0 WHERE TillID = :TillID AND TILLISACTIVE <> 0"));
    close.SetParam(QStringLiteral("TillID"), tillID);
    close.Execute();
    SqlCommand open(m_connection);
    open.SetCommandText(QStringLiteral(
        "INSERT INTO Tillpost (TillID, [Date], TILLISACTIVE) VALUES (:TillID, :Date, 1) "
        "SELECT :IDField = @@Identity"));
    open.SetParam(QStringLiteral("TillID"), tillID);
    open.SetParam(QStringLiteral("Date"), m_connection->DateText(now));
    open.SetOutput(QStringLiteral("IDField"));
    if (open.Execute() < 1)
        throw DbError(QStringLiteral("The till's shift was not stored."));
    return open.ParamValue(QStringLiteral("IDField")).toInt();
}

void TillSimulator::WriteOrder(const PlannedOrder &order, const QDateTime &now, int *invoiceNum,
                               int *orderNum)
{
    platform::Transaction tx(*m_connection);
    const int shift = CurrentShift(order.tillID, now);
    const QString date = m_connection->DateText(now);

    // Order numbers count the shop's orders of the day.
    SqlQuery last(m_connection);
    last.SetSQL(QStringLiteral(
        "SELECT IsNull(MAX(OrderNum), 0) AS LastOrder FROM Invoices WHERE [Date] >= :DayStart"));
    last.SetParam(QStringLiteral("DayStart"),
                  m_connection->DateText(QDateTime(now.date(), QTime(0, 0))));
    last.Open();
    const int number = last.FieldByName(u"LastOrder").AsInteger() + 1;

    SqlCommand invoice(m_connection);
    invoice.SetCommandText(QStringLiteral(
        "INSERT INTO Invoices (OrderNum, Prepared, ShiftNum, Cashier, [Date], Status) "
        "VALUES (:OrderNum, 0, :ShiftNum, :Cashier, :Date, 0) SELECT :IDField = @@Identity"));
    invoice.SetParam(QStringLiteral("OrderNum"), number);
    invoice.SetParam(QStringLiteral("ShiftNum"), shift);
    invoice.SetParam(QStringLiteral("Cashier"),
                     order.cashier.isEmpty() ? QVariant() : QVariant(order.cashier));
    invoice.SetParam(QStringLiteral("Date"), date);
    invoice.SetOutput(QStringLiteral("IDField"));
    if (invoice.Execute() < 1)
        throw DbError(QStringLiteral("The order was not stored."));
    const int invoiceNumber = invoice.ParamValue(QStringLiteral("IDField")).toInt();

    SqlCommand line(m_connection);
    line.SetCommandText(QStringLiteral(
        "INSERT INTO LineItem (InvoiceNum, LineNum, Code, Quantity, [Size], ItemDesc, [Date], Tag, "
        "Price) "
        "VALUES (:InvoiceNum, :LineNum, :Code, :Quantity, :Size, :ItemDesc, :Date, '', :Price)"));
    int lineNum = 0;
    for (const OrderLine &l : order.lines) {
        line.SetParam(QStringLiteral("InvoiceNum"), invoiceNumber);
        line.SetParam(QStringLiteral("LineNum"), ++lineNum);
        line.SetParam(QStringLiteral("Code"), l.item.code);
        line.SetParam(QStringLiteral("Quantity"), double(l.quantity));
        line.SetParam(QStringLiteral("Size"), l.item.size);
        line.SetParam(QStringLiteral("ItemDesc"), l.item.description);
        line.SetParam(QStringLiteral("Date"), date);
        line.SetCurrencyParam(QStringLiteral("Price"), l.item.price);
        line.Execute();
    }
    tx.Commit();
    *invoiceNum = invoiceNumber;
    *orderNum = number;
}

bool TillSimulator::VoidOrder(int invoiceNum)
{
    // What the till changes when it overrings an order; an order voided already stays as it is.
    SqlCommand cmd(m_connection);
    cmd.SetCommandText(QStringLiteral(
        "UPDATE Invoices SET Status = 1 WHERE InvoiceNum = :InvoiceNum AND Status = 0"));
    cmd.SetParam(QStringLiteral("InvoiceNum"), invoiceNum);
    return cmd.Execute() > 0;
}

void TillSimulator::DropFailedTransaction()
{
    // A COMMIT refused by a busy database leaves the database's transaction open after the
    // layer has counted it as ended; end it, so the next tick begins afresh.
    if (m_connection->InTransaction() || !m_connection->Connected())
        return;
    try {
        m_connection->Execute(m_connection->Dialect() == platform::SqlDialect::Sqlite
                                  ? QStringLiteral("ROLLBACK")
                                  : QStringLiteral("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION"));
    } catch (const std::exception &) {
        // No transaction was open: nothing to end.
    }
}

std::vector<SimulatorEvent> TillSimulator::Tick(const QDateTime &now)
{
    std::vector<SimulatorEvent> events;
    ++m_tick;

    for (auto it = m_voids.begin(); it != m_voids.end();) {
        if (it->dueTick > m_tick) {
            ++it;
            continue;
        }
        try {
            if (VoidOrder(it->invoiceNum)) {
                SimulatorEvent e;
                e.kind = SimulatorEvent::OrderVoided;
                e.tick = m_tick;
                e.tillID = it->tillID;
                e.invoiceNum = it->invoiceNum;
                e.orderNum = it->orderNum;
                events.push_back(e);
            }
            it = m_voids.erase(it);
        } catch (const std::exception &ex) {
            DropFailedTransaction();
            SimulatorEvent e;
            e.kind = SimulatorEvent::WriteFailed;
            e.tick = m_tick;
            e.tillID = it->tillID;
            e.error = ErrorText(ex);
            events.push_back(e);
            return events;
        }
    }

    if (!m_waiting)
        m_waiting = PlanOrder();
    SimulatorEvent e;
    e.tick = m_tick;
    e.tillID = m_waiting->tillID;
    e.order = *m_waiting;
    try {
        WriteOrder(*m_waiting, now, &e.invoiceNum, &e.orderNum);
    } catch (const std::exception &ex) {
        DropFailedTransaction();
        e.kind = SimulatorEvent::WriteFailed;
        e.error = ErrorText(ex);
        events.push_back(e);
        return events;
    }
    e.kind = SimulatorEvent::OrderWritten;
    events.push_back(e);
    m_waiting.reset();
    if (Chance(m_odds.voidOrder))
        m_voids.push_back(
            PendingVoid {e.invoiceNum, e.orderNum, e.tillID,
                         m_tick + Between(m_odds.voidAfterMinTicks, m_odds.voidAfterMaxTicks)});
    return events;
}

QString TillSimulator::Describe(const SimulatorEvent &event) const
{
    const QString till = QStringLiteral("till %1: ").arg(event.tillID);
    switch (event.kind) {
    case SimulatorEvent::OrderWritten: {
        QString text = till + QStringLiteral("order %1, ").arg(event.orderNum)
            + Plural(event.order.Products(), "item", "items");
        if (const int modifiers = event.order.Modifiers())
            text += QStringLiteral(" (") + Plural(modifiers, "modifier", "modifiers")
                + QLatin1Char(')');
        text
            += QStringLiteral(", total ") + QString::number(event.order.Total().ToDouble(), 'f', 2);
        if (event.order.onlyStation > 0)
            text += QStringLiteral(", ") + StationName(event.order.onlyStation)
                + QStringLiteral(" only");
        return text + QStringLiteral(" (invoice %1)").arg(event.invoiceNum);
    }
    case SimulatorEvent::OrderVoided:
        return till
            + QStringLiteral("order %1 voided (invoice %2)")
                  .arg(event.orderNum)
                  .arg(event.invoiceNum);
    case SimulatorEvent::WriteFailed:
        return till + QStringLiteral("could not save to the database (") + event.error
            + QStringLiteral("); trying again at the next tick");
    }
    return QString();
}

} // namespace demo
