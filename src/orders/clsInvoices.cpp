#include "clsInvoices.h"

#include "framework/clsEZXException.h"

#include <cmath>

namespace {

constexpr qint64 kMSecsPerDay = 86400000;

QDate DayZero()
{
    return QDate(1899, 12, 30);
}

double s_defaultVatRate = 0;

} // namespace

double DateTimeToDays(const QDateTime &value)
{
    if (!value.isValid())
        return 0;
    const double day = double(DayZero().daysTo(value.date()));
    const double fraction = double(value.time().msecsSinceStartOfDay()) / double(kMSecsPerDay);
    return day >= 0 ? day + fraction : day - fraction;
}

QDateTime DaysToDateTime(double days)
{
    double whole = std::trunc(days);
    qint64 msecs = std::llround(std::fabs(days - whole) * double(kMSecsPerDay));
    if (msecs >= kMSecsPerDay) { // rounding reached the next midnight
        msecs -= kMSecsPerDay;
        whole += days >= 0 ? 1 : -1;
    }
    return QDateTime(DayZero().addDays(qint64(whole)), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

QString FormatHourMinute(double days)
{
    const double fraction = std::fabs(days - std::trunc(days));
    const qint64 msecs = std::llround(fraction * double(kMSecsPerDay)) % kMSecsPerDay;
    const qint64 minutes = msecs / 60000;
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// ---- TInvoice ----

TInvoice::TInvoice(TRootCollection *collection)
    : TCollectionDBItem(collection)
    , m_vatRate(s_defaultVatRate)
    , m_lineitems(std::make_unique<TLineitem>(&CreateItemOf<TLineitemItem>))
{
    m_lineitems->SetVatRate(m_vatRate);
}

TInvoice::~TInvoice() = default;

void TInvoice::Clear()
{
    TCollectionDBItem::Clear();
    m_invoiceNum = 0;
    m_orderNum = 0;
    m_tillID = 0;
    m_date = QDateTime();
    m_prepared = false;
    m_overrung = false;
    m_lineitems->Clear();
}

void TInvoice::CopyFrom(const TRootCollectionItem &source)
{
    TCollectionDBItem::CopyFrom(source);
    const auto *other = dynamic_cast<const TInvoice *>(&source);
    if (!other || other == this)
        return;
    m_invoiceNum = other->m_invoiceNum;
    m_orderNum = other->m_orderNum;
    m_tillID = other->m_tillID;
    m_date = other->m_date;
    m_prepared = other->m_prepared;
    m_overrung = other->m_overrung;
    m_vatRate = other->m_vatRate;
    m_lineitems->Clear();
    m_lineitems->SetVatRate(m_vatRate);
    m_lineitems->AppendFrom(*other->m_lineitems);
}

bool TInvoice::Populate(platform::SqlQuery *dataSet)
{
    if (!TCollectionDBItem::Populate(dataSet))
        return false;
    const auto has = [dataSet](const char *name) { return dataSet->HasField(QLatin1StringView(name)); };
    if (has("InvoiceNum"))
        SetInvoiceNum(dataSet->FieldByName(u"InvoiceNum").AsInteger());
    if (has("OrderNum"))
        m_orderNum = dataSet->FieldByName(u"OrderNum").AsInteger();
    if (has("TillID"))
        m_tillID = dataSet->FieldByName(u"TillID").AsInteger();
    if (has("Date"))
        SetDate(dataSet->FieldByName(u"Date").AsDateTime());
    else if (has("time"))
        SetDate(dataSet->FieldByName(u"time").AsDateTime());
    if (has("Prepared"))
        m_prepared = dataSet->FieldByName(u"Prepared").AsString() == QLatin1String("1");
    if (has("Status"))
        m_overrung = dataSet->FieldByName(u"Status").AsInteger() > 0;
    SetModified(false);
    return true;
}

void TInvoice::SetAdoConnection(platform::SqlConnection *connection)
{
    TCollectionDBItem::SetAdoConnection(connection);
    m_lineitems->SetAdoConnection(connection);
}

int TInvoice::Update()
{
    throw EZXException(QStringLiteral("Invoices are written by the tills; this program does not save them"),
                       QStringLiteral("TInvoice.Update"));
}

int TInvoice::Delete()
{
    throw EZXException(QStringLiteral("Invoices are written by the tills; this program does not delete them"),
                       QStringLiteral("TInvoice.Delete"));
}

void TInvoice::SetInvoiceNum(int value)
{
    m_invoiceNum = value;
    for (int i = 0; i < m_lineitems->Count(); ++i)
        m_lineitems->Items(i)->SetInvoiceNum(value);
}

void TInvoice::SetDate(const QDateTime &value)
{
    m_date = value;
    for (int i = 0; i < m_lineitems->Count(); ++i)
        m_lineitems->Items(i)->SetDate(value);
}

void TInvoice::SetPrepared(bool value)
{
    m_prepared = value;
}

void TInvoice::SetOverrung(bool value)
{
    m_overrung = value;
}

double TInvoice::ElapsedTime(const QDateTime &now) const
{
    return DateTimeToDays(now) - DateTimeToDays(m_date);
}

void TInvoice::SetDefaultVatRate(double percent)
{
    s_defaultVatRate = percent;
}

double TInvoice::DefaultVatRate()
{
    return s_defaultVatRate;
}

// ---- TInvoices ----

TInvoices::TInvoices(TItemClass itemClass)
    : TCollectionDB(itemClass)
{ }

TInvoice *TInvoices::Add()
{
    return static_cast<TInvoice *>(TCollectionDB::Add());
}

int TInvoices::IndexOfInvoiceNum(int invoiceNum) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->InvoiceNum() == invoiceNum)
            return i;
    return -1;
}
