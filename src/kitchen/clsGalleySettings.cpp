#include "clsGalleySettings.h"

#include "framework/clsEZXException.h"
#include "framework/clsGenericDB.h"
#include "framework/clsSysData.h"
#include "framework/modFormUtils.h"
#include "framework/moxAppInfo.h"

#include "platform/SqlQuery.h"
#include "platform/SqlText.h"

#include <algorithm>
#include <limits>

namespace {

const QString kNoOrdersCols = QStringLiteral("NoOrdersCols");
const QString kPollInterval = QStringLiteral("PollInterval");
const QString kFontSize = QStringLiteral("FontSize");
const QString kDisablePending = QStringLiteral("DisablePending");
const QString kPrintLabels = QStringLiteral("PrintLabels");
const QString kUseEmpColours = QStringLiteral("UseEmpColours");
const QString kEnableSizes = QStringLiteral("EnableSizes");
const QString kDisplayInvoiceNo = QStringLiteral("DisplayInvoiceNo");
const QString kAutoExpand = QStringLiteral("AutoExpand");
const QString kLimitToReportGroup = QStringLiteral("LimitToReportGroup");
const QString kReportGroup = QStringLiteral("ReportGroup");
const QString kSelectColour = QStringLiteral("SelectColour");
const QString kWaitingBackground = QStringLiteral("WaitingBackground");
const QString kWaitingFont = QStringLiteral("WaitingFont");
const QString kCompletedSelectColour = QStringLiteral("CompletedSelectColour");
const QString kCompletedBackground = QStringLiteral("CompletedBackground");
const QString kCompletedFont = QStringLiteral("CompletedFont");

// A stored number in [low, high]: the default when missing or not a number (a hand-edited
// or damaged value must not stop the monitor from starting), the nearest limit when outside.
int ReadNumber(TmoxAppInfo &appInfo, const QString &name, int defaultValue, int low, int high)
{
    const std::optional<qint64> n = ParseStoredInteger(appInfo.ReadString(name));
    if (!n)
        return defaultValue;
    return int(std::clamp<qint64>(*n, low, high));
}

void ReadColour(TmoxAppInfo &appInfo, const QString &name, TColor &colour)
{
    if (const std::optional<TColor> c = ColourFromStored(appInfo.ReadString(name)))
        colour = *c;
}

} // namespace

std::optional<qint64> ParseStoredInteger(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        negative = t[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = 10 + (c - u'a');
        else if (c >= u'A' && c <= u'F')
            digit = 10 + (c - u'A');
        if (digit < 0 || digit >= base)
            return std::nullopt;
        if (value > (std::numeric_limits<qint64>::max() - digit) / base)
            return std::nullopt;
        value = value * base + digit;
    }
    return negative ? -value : value;
}

QString ColourToStored(TColor colour)
{
    return QString::number(qint32(colour));
}

std::optional<TColor> ColourFromStored(const QString &text)
{
    const std::optional<qint64> n = ParseStoredInteger(text);
    if (!n || *n < std::numeric_limits<qint32>::min() || *n > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return TColor(quint32(*n));
}

// ---------------------------------------------------------------------------------------

const QString TGalleySettings::RegistryKey = QStringLiteral("\\SOFTWARE\\MOX\\Galley");
const QString TGalleySettings::AppName = QStringLiteral("Galley");

void TGalleySettings::ConfigureAppInfo(TmoxAppInfo &appInfo)
{
    appInfo.SetHKey(LOCAL_MACHINE);
    appInfo.SetKey(RegistryKey);
    appInfo.SetAppName(AppName);
}

void TGalleySettings::Load(TmoxAppInfo &appInfo)
{
    const TGalleySettings defaults;
    NoOrdersCols = ReadNumber(appInfo, kNoOrdersCols, defaults.NoOrdersCols, kMinCols, kMaxCols);
    PollInterval = ReadNumber(appInfo, kPollInterval, defaults.PollInterval, kMinPoll, kMaxPoll);
    FontSize = ReadNumber(appInfo, kFontSize, defaults.FontSize, kMinFontSize, kMaxFontSize);
    DisablePending = appInfo.ReadBool(kDisablePending);
    PrintLabels = appInfo.ReadBool(kPrintLabels);
    UseEmpColours = appInfo.ReadBool(kUseEmpColours);
    EnableSizes = appInfo.ReadBool(kEnableSizes);
    DisplayInvoiceNo = appInfo.ReadBool(kDisplayInvoiceNo);
    AutoExpand = appInfo.ReadBool(kAutoExpand);
    LimitToReportGroup = appInfo.ReadBool(kLimitToReportGroup);
    ReportGroup = ReadNumber(appInfo, kReportGroup, -1, std::numeric_limits<int>::min(),
                             std::numeric_limits<int>::max());
    ReadColour(appInfo, kSelectColour, SelectColour);
    ReadColour(appInfo, kWaitingBackground, WaitingBackground);
    ReadColour(appInfo, kWaitingFont, WaitingFont);
    ReadColour(appInfo, kCompletedSelectColour, CompletedSelectColour);
    ReadColour(appInfo, kCompletedBackground, CompletedBackground);
    ReadColour(appInfo, kCompletedFont, CompletedFont);
}

TGalleySettings TGalleySettings::Read(TmoxAppInfo &appInfo)
{
    TGalleySettings settings;
    settings.Load(appInfo);
    return settings;
}

bool TGalleySettings::Save(TmoxAppInfo &appInfo) const
{
    bool ok = true;
    auto number = [&](const QString &name, int value) {
        ok = appInfo.WriteString(name, QString::number(value)) && ok;
    };
    auto flag = [&](const QString &name, bool value) {
        ok = appInfo.WriteBool(name, value) && ok;
    };
    auto colour = [&](const QString &name, TColor value) {
        ok = appInfo.WriteString(name, ColourToStored(value)) && ok;
    };
    flag(kEnableSizes, EnableSizes);
    number(kNoOrdersCols, NoOrdersCols);
    number(kPollInterval, PollInterval);
    flag(kDisplayInvoiceNo, DisplayInvoiceNo);
    flag(kAutoExpand, AutoExpand);
    flag(kLimitToReportGroup, LimitToReportGroup);
    if (ReportGroup >= 0)
        number(kReportGroup, ReportGroup);
    number(kFontSize, FontSize);
    colour(kSelectColour, SelectColour);
    colour(kWaitingBackground, WaitingBackground);
    colour(kWaitingFont, WaitingFont);
    colour(kCompletedSelectColour, CompletedSelectColour);
    colour(kCompletedBackground, CompletedBackground);
    colour(kCompletedFont, CompletedFont);
    flag(kPrintLabels, PrintLabels);
    flag(kUseEmpColours, UseEmpColours);
    return ok;
}

// ---------------------------------------------------------------------------------------

int TReportGroups::Populate(platform::SqlConnection *connection)
{
    platform::SqlQuery q(connection);
    q.SetSQL(QStringLiteral("SELECT * FROM REPORTGROUP"));
    q.Open();
    int added = 0;
    for (q.First(); !q.Eof(); q.Next()) {
        TReportGroupItem item;
        item.ReportGroupID = q.FieldByName(u"ReportGroupID").AsInteger();
        item.Description = q.FieldByName(u"Description").AsString();
        m_items.push_back(std::move(item));
        ++added;
    }
    q.Close();
    return added;
}

int TReportGroups::IndexOfReportGroup(int reportGroupID) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_items[size_t(i)].ReportGroupID == reportGroupID)
            return i;
    }
    return -1;
}

int TReportGroups::IndexForStored(int storedReportGroup) const
{
    if (storedReportGroup < 0)
        return Count() > 0 ? 0 : -1;
    return IndexOfReportGroup(storedReportGroup);
}

int ReportGroupLimit(const TGalleySettings &settings, const TReportGroups &groups)
{
    if (!settings.LimitToReportGroup)
        return 0;
    const int index = groups.IndexForStored(settings.ReportGroup);
    return index < 0 ? 0 : groups.Items(index).ReportGroupID;
}

// ---------------------------------------------------------------------------------------

const QString TGalleyFilters::TillFilterItem = QStringLiteral("GY FILTER");
const QString TGalleyFilters::TillFilterIDsItem = QStringLiteral("GY FILTER IDS");
const QString TGalleyFilters::PrinterFilterItem = QStringLiteral("GY PRINTERFILTER");
const QString TGalleyFilters::PrinterFilterIDsItem = QStringLiteral("GY PRINTERFILTER IDS");

QList<int> TGalleyFilters::PrinterFilterIDNumbers() const
{
    QList<int> ids;
    for (const QString &text : PrinterFilterIDs) {
        bool ok = false;
        const int id = text.toInt(&ok);
        if (ok)
            ids.append(id);
    }
    return ids;
}

QString TGalleyFilters::ReadItem(const QString &item) const
{
    if (!GenericDB)
        throw EZXException(QStringLiteral("The SQL runner GenericDB has not been created"),
                           QStringLiteral("TGalleyFilters.ReadItem"));
    using platform::sqltext::Quote;
    GenericDB->OpenSQL(QStringLiteral("SELECT [Value] FROM [Sysdata] WHERE [Class] = ")
                       + Quote(TillClass()) + QStringLiteral("  AND [Item] = ") + Quote(item)
                       + QStringLiteral(" "));
    platform::SqlQuery &q = GenericDB->Query();
    return q.Eof() ? QString() : q.FieldByName(u"Value").AsString();
}

bool TGalleyFilters::FlagFromStored(const QString &value)
{
    const std::optional<qint64> n = ParseStoredInteger(TrimControls(value));
    return n && *n != 0;
}

void TGalleyFilters::LoadTillFilterIDs()
{
    SplitCommaList(TillFilterIDs, ReadItem(TillFilterIDsItem));
}

void TGalleyFilters::LoadTillFilterFlag()
{
    TillFilterEnabled = FlagFromStored(ReadItem(TillFilterItem));
}

void TGalleyFilters::LoadPrinterFilterIDs()
{
    SplitCommaList(PrinterFilterIDs, ReadItem(PrinterFilterIDsItem));
}

void TGalleyFilters::LoadPrinterFilterFlag()
{
    PrinterFilterEnabled = FlagFromStored(ReadItem(PrinterFilterItem));
}

void TGalleyFilters::LoadAll()
{
    LoadTillFilterIDs();
    LoadTillFilterFlag();
    LoadPrinterFilterIDs();
    LoadPrinterFilterFlag();
}

void TGalleyFilters::Store(const QString &item, const QString &value) const
{
    WriteSysData(TillClass(), item, value, true, QString());
}

void TGalleyFilters::StoreTillFilterFlag(bool enabled)
{
    Store(TillFilterItem, enabled ? QStringLiteral("1") : QStringLiteral("0"));
    TillFilterEnabled = enabled;
}

void TGalleyFilters::StorePrinterFilterFlag(bool enabled)
{
    Store(PrinterFilterItem, enabled ? QStringLiteral("1") : QStringLiteral("0"));
    PrinterFilterEnabled = enabled;
}

namespace {

void SetMember(QStringList &list, const QString &id, bool chosen)
{
    if (chosen) {
        if (!list.contains(id))
            list.append(id);
    } else {
        list.removeAll(id);
    }
    list.sort();
}

} // namespace

void TGalleyFilters::SetTillFilterID(const QString &id, bool chosen)
{
    SetMember(TillFilterIDs, id, chosen);
    Store(TillFilterIDsItem, TillFilterIDs.join(QLatin1Char(',')));
}

void TGalleyFilters::SetPrinterFilterID(const QString &id, bool chosen)
{
    SetMember(PrinterFilterIDs, id, chosen);
    Store(PrinterFilterIDsItem, PrinterFilterIDs.join(QLatin1Char(',')));
}

void TGalleyFilters::StoreTillFilterIDs(const QStringList &ids)
{
    TillFilterIDs = ids;
    Store(TillFilterIDsItem, TillFilterIDs.join(QLatin1Char(',')));
}

void TGalleyFilters::StorePrinterFilterIDs(const QStringList &ids)
{
    PrinterFilterIDs = ids;
    Store(PrinterFilterIDsItem, PrinterFilterIDs.join(QLatin1Char(',')));
}
