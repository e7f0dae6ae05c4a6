#include "clsVelaSettings.h"

#include "framework/clsEZXException.h"

#include "platform/SqlConnection.h"
#include "platform/SqlQuery.h"

#include <QFileInfo>

TVelaSettings *VelaSettings = nullptr;

namespace {

const QString kGlobalClass = QStringLiteral("GLOBAL");
const QString kMenuClass = QStringLiteral("MENUVERSIONS");

// What SysData holds for an empty text (written by TSysDataItem::Update).
const QString kNulMarker = QString(QChar(0));

constexpr int kLogoPartLength = 50; // the width of Value and of Value2

// FindOrAdd of every item of defs under cls, in order, keeping each reference.
template<size_t N>
void TakeItems(TSysData &data, const QString &cls, const std::array<TVelaSettingDef, N> &defs,
               std::array<TSysDataItem *, N> &refs)
{
    for (size_t i = 0; i < N; ++i)
        refs[i] = data.FindOrAdd(cls, QLatin1String(defs[i].Item), QLatin1String(defs[i].Default));
}

template<size_t N> int IndexOfItem(const std::array<TVelaSettingDef, N> &defs, const QString &item)
{
    for (size_t i = 0; i < N; ++i)
        if (item == QLatin1String(defs[i].Item))
            return int(i);
    return -1;
}

EZXException NotLoaded(const char *className)
{
    const QString name = QLatin1String(className);
    return EZXException(name + QStringLiteral(" has not been loaded"),
                        name + QStringLiteral(".Populate"));
}

QString WithoutNulMarker(const QString &text)
{
    return text == kNulMarker ? QString() : text;
}

bool IsBlank(QChar c)
{
    // The setters trim characters up to and including the blank.
    return c.unicode() <= 32;
}

QString TrimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Picklist columns 0..3 and the value each adds to the stored number.
constexpr std::array<int, 4> kPicklistValues {1, 2, 4, 16};

} // namespace

// ---- TVelaGlobalSettings ----

TVelaGlobalSettings::TVelaGlobalSettings()
    : TSysData(&CreateItemOf<TSysDataItem>)
{ }

TSysDataItem *TVelaGlobalSettings::ItemFor(const QString &item, const QString &defaultValue)
{
    return FindOrAdd(kGlobalClass, item, defaultValue);
}

void TVelaGlobalSettings::Populate()
{
    // The load may replace every item: no reference may outlive that.
    m_items.fill(nullptr);
    Populate(kGlobalClass);
    TakeItems(*this, kGlobalClass, kVelaGlobalItems, m_items);
    PopulateIPAddresses();
}

void TVelaGlobalSettings::ClearItems()
{
    TSysData::ClearItems();
    m_items.fill(nullptr);
}

TSysDataItem *TVelaGlobalSettings::Setting(const QString &item) const
{
    const int index = IndexOfItem(kVelaGlobalItems, item);
    return index < 0 ? nullptr : m_items[size_t(index)];
}

TSysDataItem &TVelaGlobalSettings::Required(TVelaGlobalItem item) const
{
    TSysDataItem *found = Setting(item);
    if (!found)
        throw NotLoaded("TVelaGlobalSettings");
    return *found;
}

QString TVelaGlobalSettings::BusBranch() const
{
    return Required(TVelaGlobalItem::BusBranch).AsString();
}

void TVelaGlobalSettings::SetBusBranch(const QString &value)
{
    Required(TVelaGlobalItem::BusBranch).SetAsString(value);
}

bool TVelaGlobalSettings::UseTradingDay() const
{
    return Required(TVelaGlobalItem::UseTradingDay).AsBoolean();
}

void TVelaGlobalSettings::SetUseTradingDay(bool value)
{
    Required(TVelaGlobalItem::UseTradingDay).SetAsBoolean(value);
}

bool TVelaGlobalSettings::EnablePicklist() const
{
    return Required(TVelaGlobalItem::EnPicklist).AsBoolean();
}

void TVelaGlobalSettings::SetEnablePicklist(bool value)
{
    Required(TVelaGlobalItem::EnPicklist).SetAsBoolean(value);
}

bool TVelaGlobalSettings::NoLockIfInvOutstanding() const
{
    return Required(TVelaGlobalItem::NoLockIfInvOutstanding).AsBoolean();
}

void TVelaGlobalSettings::SetNoLockIfInvOutstanding(bool value)
{
    Required(TVelaGlobalItem::NoLockIfInvOutstanding).SetAsBoolean(value);
}

bool TVelaGlobalSettings::NoLockIfTillsOpen() const
{
    return Required(TVelaGlobalItem::NoLockIfTillsOpen).AsBoolean();
}

void TVelaGlobalSettings::SetNoLockIfTillsOpen(bool value)
{
    Required(TVelaGlobalItem::NoLockIfTillsOpen).SetAsBoolean(value);
}

bool TVelaGlobalSettings::NoLockIfDriversUncashed() const
{
    return Required(TVelaGlobalItem::NoLockIfDriversUncashed).AsBoolean();
}

void TVelaGlobalSettings::SetNoLockIfDriversUncashed(bool value)
{
    Required(TVelaGlobalItem::NoLockIfDriversUncashed).SetAsBoolean(value);
}

TPicklistColumns TVelaGlobalSettings::PicklistColumns() const
{
    const int stored = Required(TVelaGlobalItem::PicklistColumns).AsInteger();
    TPicklistColumns columns;
    for (int column = 0; column < int(kPicklistValues.size()); ++column)
        if (stored & kPicklistValues[size_t(column)])
            columns.insert(column);
    return columns;
}

void TVelaGlobalSettings::SetPicklistColumns(const TPicklistColumns &columns)
{
    int stored = 0;
    for (int column : columns)
        if (column >= 0 && column < int(kPicklistValues.size()))
            stored += kPicklistValues[size_t(column)];
    Required(TVelaGlobalItem::PicklistColumns).SetAsInteger(stored);
}

bool TVelaGlobalSettings::PopulateIPAddresses()
{
    try {
        platform::SqlQuery query(AdoConnection());
        query.SetSQL(QStringLiteral("SELECT * FROM IPADDRESS"));
        query.Open();
        if (!query.IsEmpty()) {
            QStringList addresses;
            for (query.First(); !query.Eof(); query.Next())
                addresses.append(query.FieldByName(u"Address").AsString());
            m_ipAddresses = addresses;
        }
        return true;
    } catch (const std::exception &e) {
        MsgDlg(QStringLiteral("Could not load the list of IP addresses.") + QLatin1Char('\r')
                   + QStringLiteral("Reason: ") + ExceptionMessage(e) + QLatin1Char('\r')
                   + QStringLiteral("Raised in TVelaGlobalSettings.PopulateIPAddresses"),
               mtInformation, {mbOK});
        return false;
    }
}

bool TVelaGlobalSettings::SaveIPAddresses()
{
    try {
        if (!AdoConnection())
            throw EZXException(QStringLiteral("No database connection"),
                               QStringLiteral("TVelaGlobalSettings.SaveIPAddresses"));
        // Delete and inserts together: a failure on any address must not leave the shop
        // with part of its list, or none. The addresses are typed by the user: bound, never
        // pasted into the statement.
        platform::Transaction transaction(*AdoConnection());
        platform::SqlCommand command(AdoConnection());
        command.SetCommandText(QStringLiteral("DELETE FROM IPADDRESS"));
        command.Execute();
        command.SetCommandText(QStringList {QStringLiteral("INSERT INTO IPADDRESS"),
                                            QStringLiteral("(ADDRESS)"),
                                            QStringLiteral("VALUES(:Address);")});
        for (const QString &address : std::as_const(m_ipAddresses)) {
            // A null text would be bound as NULL; the list means an empty address.
            command.SetParam(QStringLiteral("Address"),
                             address.isNull() ? QStringLiteral("") : address);
            command.Execute();
        }
        transaction.Commit();
        return true;
    } catch (const std::exception &e) {
        MsgDlg(QStringLiteral("Could not save the IP addresses. Reason: ") + ExceptionMessage(e)
                   + QLatin1Char('\r')
                   + QStringLiteral("Raised in TVelaGlobalSettings.SaveIPAddresses"),
               mtInformation, {mbOK});
        return false;
    }
}

// ---- TVelaLocalSettings ----

TVelaLocalSettings::TVelaLocalSettings()
    : TSysData(&CreateItemOf<TSysDataItem>)
{ }

void TVelaLocalSettings::Populate(int till)
{
    m_tillRecord.LoadByTillID(till);
    if (m_tillRecord.TillID() <= 0)
        throw EZXException(QStringLiteral("Cannot call TVelaLocalSettings.Populate without setting "
                                          "TVelaLocalSettings.Till"),
                           QStringLiteral("TVelaLocalSettings.Populate"));

    const QString cls = QString::number(till);
    m_items.fill(nullptr);
    Populate(cls);
    TakeItems(*this, cls, kVelaLocalItems, m_items);
    m_till = till;

    // A logo that is no longer there is not shown, and the setting says so from now on.
    TSysDataItem &displayLogo = Required(TVelaLocalItem::DisplayLogo);
    if (displayLogo.AsBoolean() && !LogoFileExists(LogoPath()))
        displayLogo.SetAsBoolean(false);

    m_tillPrinters.LoadForTill(till);
}

void TVelaLocalSettings::ClearItems()
{
    TSysData::ClearItems();
    m_items.fill(nullptr);
    m_tillPrinters.Clear();
}

void TVelaLocalSettings::SetAdoConnection(platform::SqlConnection *connection)
{
    TSysData::SetAdoConnection(connection);
    m_tillPrinters.SetAdoConnection(connection);
    m_tillRecord.SetAdoConnection(connection);
}

TSysDataItem *TVelaLocalSettings::Setting(const QString &item) const
{
    const int index = IndexOfItem(kVelaLocalItems, item);
    return index < 0 ? nullptr : m_items[size_t(index)];
}

TSysDataItem &TVelaLocalSettings::Required(TVelaLocalItem item) const
{
    TSysDataItem *found = Setting(item);
    if (!found)
        throw NotLoaded("TVelaLocalSettings");
    return *found;
}

int TVelaLocalSettings::FormLookValue() const
{
    if (m_backOffice)
        return int(flKeyboard);
    return Required(TVelaLocalItem::FormLook).AsInteger();
}

TFormLook TVelaLocalSettings::FormLook() const
{
    const int value = FormLookValue();
    if (value < int(flKeyboard) || value > int(flNormal))
        return flNormal;
    return TFormLook(value);
}

void TVelaLocalSettings::SetFormLook(TFormLook value)
{
    Required(TVelaLocalItem::FormLook).SetAsInteger(int(value));
}

int TVelaLocalSettings::OpeningForm() const
{
    return Required(TVelaLocalItem::OpeningForm).AsInteger();
}

void TVelaLocalSettings::SetOpeningForm(int value)
{
    Required(TVelaLocalItem::OpeningForm).SetAsInteger(value);
}

bool TVelaLocalSettings::UseFingerprint() const
{
    return Required(m_backOffice ? TVelaLocalItem::GenUseFingerprintBO
                                 : TVelaLocalItem::GenUseFingerprint)
        .AsBoolean();
}

QString TVelaLocalSettings::LogoPath() const
{
    const TSysDataItem &item = Required(TVelaLocalItem::LogoPath);
    return WithoutNulMarker(item.Value()) + WithoutNulMarker(item.Value2());
}

void TVelaLocalSettings::SetLogoPath(const QString &path)
{
    TSysDataItem &item = Required(TVelaLocalItem::LogoPath);
    const QString text = TrimBlanks(path).left(2 * kLogoPartLength);
    if (text.size() <= kLogoPartLength) {
        item.SetValue(text);
        item.SetValue2(QString());
        return;
    }
    // Each part is stored trimmed: a blank on either side of the split would be lost
    // ("My Pictures" read back as "MyPictures"), so split before the word instead.
    qsizetype split = kLogoPartLength;
    while (split > 1 && (IsBlank(text[split - 1]) || IsBlank(text[split])))
        --split;
    if (split <= 1)
        split = kLogoPartLength;
    item.SetValue(text.left(split));
    item.SetValue2(text.mid(split, kLogoPartLength));
}

bool TVelaLocalSettings::LogoFileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    QString local = path;
#ifndef Q_OS_WIN
    // The path is shared with the Windows tills and written their way.
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
    return QFileInfo(local).isFile();
}

// ---- TVelaMenuUpdateSettings ----

TVelaMenuUpdateSettings::TVelaMenuUpdateSettings()
    : TSysData(&CreateItemOf<TSysDataItem>)
{ }

TSysDataItem *TVelaMenuUpdateSettings::ItemFor(const QString &item, const QString &defaultValue)
{
    return FindOrAdd(kMenuClass, item, defaultValue);
}

void TVelaMenuUpdateSettings::Populate()
{
    m_items.fill(nullptr);
    Populate(kMenuClass);
    TakeItems(*this, kMenuClass, kVelaMenuItems, m_items);
}

void TVelaMenuUpdateSettings::ClearItems()
{
    TSysData::ClearItems();
    m_items.fill(nullptr);
}

// ---- TVelaSettings ----

TVelaSettings::TVelaSettings()
    : m_global(std::make_unique<TVelaGlobalSettings>())
    , m_local(std::make_unique<TVelaLocalSettings>())
    , m_menuUpdate(std::make_unique<TVelaMenuUpdateSettings>())
    , m_printers(std::make_unique<T_Printers>())
{ }

TVelaSettings::~TVelaSettings() = default;

void TVelaSettings::SetConnection(platform::SqlConnection *connection)
{
    m_connection = connection;
    m_local->SetAdoConnection(connection);
    m_global->SetAdoConnection(connection);
    m_menuUpdate->SetAdoConnection(connection);
    m_printers->SetAdoConnection(connection);
}
