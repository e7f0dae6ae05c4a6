#pragma once

// The kitchen monitor's own settings, without any window: the display values kept in the
// registry (HKEY_LOCAL_MACHINE "\SOFTWARE\MOX\Galley", through TmoxAppInfo), the report
// groups a cook can limit the items to, and the till and printer filters kept per till in
// SysData. The settings window (FGYSettings) shows and edits these; the main window can
// read them with these classes alone.
//
// Main thread only.

#include "platform/Colors.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class TmoxAppInfo;
namespace platform {
class SqlConnection;
}

// A number as the run-time's StrToInt reads it: optional blanks around it, an optional
// sign, then decimal digits, or hexadecimal digits after "$" or "0x". nullopt for anything
// else (empty text included). The result is not range-checked beyond 64 bits.
std::optional<qint64> ParseStoredInteger(const QString &text);

// A colour as stored: the TColor's 32 bits written as a signed decimal number (system
// colours are negative: clBtnFace is "-2147483633"), the form existing installations hold.
QString ColourToStored(TColor colour);
// Reads that form back; also takes the unsigned decimal and "$" hexadecimal forms. nullopt
// for text that is not a number in the 32-bit range.
std::optional<TColor> ColourFromStored(const QString &text);

// The display settings of the monitor, one member per stored value.
struct TGalleySettings
{
    // The registry key and the application name the values live under.
    static const QString RegistryKey; // "\SOFTWARE\MOX\Galley"
    static const QString AppName; // "Galley"
    // Points appInfo at that key (HKEY_LOCAL_MACHINE).
    static void ConfigureAppInfo(TmoxAppInfo &appInfo);

    // Limits of the numbers, as the settings window's boxes have them.
    static constexpr int kMinCols = 1, kMaxCols = 8;
    static constexpr int kMinPoll = 5, kMaxPoll = 60; // seconds
    static constexpr int kMinFontSize = 0, kMaxFontSize = 50; // points

    int NoOrdersCols = 1; // columns of the order grid, both views
    int PollInterval = 5; // seconds between polls
    int FontSize = 10; // points of the order text; the grid's rows are FontSize + 20 pixels
    bool DisablePending = false; // read and shown only; never written, used by nothing
    bool PrintLabels = false; // print item labels without asking when an order is done
    bool UseEmpColours = false; // "Assign (7)" and the employee colours
    bool EnableSizes = false; // stored only: item lines always show sizes
    bool DisplayInvoiceNo = false; // order headers show the invoice number, else the order number
    bool AutoExpand = false; // every order drawn expanded (read at start)
    bool LimitToReportGroup = false; // item lines only of one report group
    int ReportGroup = -1; // the chosen group's ReportGroupID; negative: the first group
    TColor SelectColour = clBlack; // waiting orders: selected background
    TColor WaitingBackground = clBlack;
    TColor WaitingFont = clBlack;
    TColor CompletedSelectColour = clBlack; // prepared orders: selected background
    TColor CompletedBackground = clBlack;
    TColor CompletedFont = clBlack;

    // Reads every value. Numbers: a missing, empty or unconvertible value gives its default
    // (1, 5, 10; ReportGroup -1), a number outside its box's limits the nearest limit.
    // Flags: missing is false. Colours: only a stored, convertible value replaces the
    // member, so a colour never stored keeps what the member held. Never throws.
    void Load(TmoxAppInfo &appInfo);
    static TGalleySettings Read(TmoxAppInfo &appInfo); // Load into a default object

    // Writes every value but DisablePending; ReportGroup only when it is not negative (no
    // group chosen). False when a write failed (appInfo's OnError has been told).
    bool Save(TmoxAppInfo &appInfo) const;

    bool operator==(const TGalleySettings &) const = default;
};

// One row of table REPORTGROUP.
struct TReportGroupItem
{
    int ReportGroupID = 0;
    QString Description;
};

// The report groups, in the order the table gives them.
class TReportGroups
{
public:
    int Count() const { return int(m_items.size()); }
    const TReportGroupItem &Items(int index) const { return m_items.at(size_t(index)); }
    void Clear() { m_items.clear(); }

    // Appends one item per row of "SELECT * FROM REPORTGROUP", run on a query of its own on
    // connection (not owned). Returns the number appended; rows appended before a failure
    // stay. Throws platform::DbError.
    int Populate(platform::SqlConnection *connection);

    // Position of the first group with that ID; -1 when none.
    int IndexOfReportGroup(int reportGroupID) const;
    // The group a stored ReportGroup chooses: a negative value the first group (when there
    // is one), another the group with that ID; -1 when none is chosen.
    int IndexForStored(int storedReportGroup) const;

private:
    std::vector<TReportGroupItem> m_items;
};

// The ReportGroupID that limits the item lines: the chosen group's when
// LimitToReportGroup is on and a group is chosen, else 0 (every group).
int ReportGroupLimit(const TGalleySettings &settings, const TReportGroups &groups);

// The till and printer filters of one till, kept in SysData under Class = the till number.
// Reads run on GenericDB's shared query; writes go through WriteSysData with overwriting
// on, at once. Database errors (platform::DbError, or EZXException when GenericDB has not
// been created) reach the caller; the members keep what they held before the failing read.
class TGalleyFilters
{
public:
    static const QString TillFilterItem; // "GY FILTER": "1" or "0"
    static const QString TillFilterIDsItem; // "GY FILTER IDS": till numbers, comma-separated
    static const QString PrinterFilterItem; // "GY PRINTERFILTER": "1" or "0"
    static const QString PrinterFilterIDsItem; // "GY PRINTERFILTER IDS": PrintersIDs

    explicit TGalleyFilters(int tillID = 0)
        : m_tillID(tillID)
    { }

    int TillID() const { return m_tillID; }
    void SetTillID(int tillID) { m_tillID = tillID; }
    QString TillClass() const { return QString::number(m_tillID); } // SysData's Class

    bool TillFilterEnabled = false;
    QStringList TillFilterIDs; // till numbers as decimal texts; "0": orders of no till
    bool PrinterFilterEnabled = false;
    QStringList PrinterFilterIDs; // PrintersIDs as decimal texts, in the order they are tried
    // PrinterFilterIDs as numbers, skipping any that are not.
    QList<int> PrinterFilterIDNumbers() const;

    // The Value of one of this till's items: "" when there is no row.
    QString ReadItem(const QString &item) const;
    // The lists are split at commas (SplitCommaList); a flag is on when its value is a
    // number other than 0 (a value that is not a number counts as off).
    void LoadTillFilterIDs();
    void LoadTillFilterFlag();
    void LoadPrinterFilterIDs();
    void LoadPrinterFilterFlag();
    void LoadAll(); // all four

    // Sets the flag and stores it ("1" / "0").
    void StoreTillFilterFlag(bool enabled);
    void StorePrinterFilterFlag(bool enabled);
    // Adds the ID (chosen) or removes it, sorts the list as texts ("10" before "2") and
    // stores it, joined by commas.
    void SetTillFilterID(const QString &id, bool chosen);
    void SetPrinterFilterID(const QString &id, bool chosen);
    // Replaces the list, keeping the order given, and stores it.
    void StoreTillFilterIDs(const QStringList &ids);
    void StorePrinterFilterIDs(const QStringList &ids);

    // Flag values as read: non-zero number is on.
    static bool FlagFromStored(const QString &value);

private:
    void Store(const QString &item, const QString &value) const;

    int m_tillID;
};
