// The monitor's settings without the window: registry values with their defaults and
// conversions, report groups, and the till and printer filters in SysData.

#include "../support/TestDatabase.h"

#include "kitchen/clsGalleySettings.h"

#include "framework/clsGenericDB.h"
#include "framework/moxAppInfo.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <memory>

using platform::Registry;
using platform::RegistryRoot;
using platform::RegistryValueType;

namespace {

const QString kKey = QStringLiteral("\\SOFTWARE\\MOX\\Galley");

class GalleyRegistry : public ::testing::Test
{
protected:
    GalleyRegistry() { TGalleySettings::ConfigureAppInfo(appInfo); }

    std::optional<QString> Stored(const QString &name)
    {
        return reg.ReadString(RegistryRoot::LocalMachine, kKey, name);
    }

    testsupport::TempRegistry tempRegistry; // before the component: it reads the folder once
    TmoxAppInfo appInfo;
    Registry reg;
};

TEST_F(GalleyRegistry, FirstRunGivesTheDefaults)
{
    const TGalleySettings s = TGalleySettings::Read(appInfo);
    EXPECT_EQ(s.NoOrdersCols, 1);
    EXPECT_EQ(s.PollInterval, 5);
    EXPECT_EQ(s.FontSize, 10);
    EXPECT_FALSE(s.DisablePending || s.PrintLabels || s.UseEmpColours || s.EnableSizes
                 || s.DisplayInvoiceNo || s.AutoExpand || s.LimitToReportGroup);
    EXPECT_EQ(s.ReportGroup, -1); // the first group
    for (TColor c : {s.SelectColour, s.WaitingBackground, s.WaitingFont, s.CompletedSelectColour,
                     s.CompletedBackground, s.CompletedFont})
        EXPECT_EQ(c, clBlack);
    EXPECT_TRUE(s == TGalleySettings());
}

TEST_F(GalleyRegistry, EveryValueSurvivesTheRoundTripInItsStoredForm)
{
    TGalleySettings s;
    s.NoOrdersCols = 4;
    s.PollInterval = 35;
    s.FontSize = 18;
    s.PrintLabels = true;
    s.UseEmpColours = true;
    s.EnableSizes = true;
    s.DisplayInvoiceNo = true;
    s.AutoExpand = true;
    s.LimitToReportGroup = true;
    s.ReportGroup = 5;
    s.SelectColour = clYellow;
    s.WaitingBackground = clBtnFace; // a system colour
    s.WaitingFont = 0x123456; // a colour no list names
    s.CompletedSelectColour = clAqua;
    s.CompletedBackground = clGreen;
    s.CompletedFont = clWhite;
    ASSERT_TRUE(s.Save(appInfo));

    EXPECT_TRUE(TGalleySettings::Read(appInfo) == s);

    // Numbers and colours as decimal texts (a system colour is negative, as the suite's
    // other programs write it), flags as 0/1 numbers; DisablePending is never written.
    EXPECT_EQ(Stored("NoOrdersCols"), "4");
    EXPECT_EQ(Stored("ReportGroup"), "5");
    EXPECT_EQ(Stored("WaitingBackground"), "-2147483633"); // 0x8000000F
    EXPECT_EQ(Stored("WaitingFont"), QString::number(0x123456));
    EXPECT_EQ(reg.ValueType(RegistryRoot::LocalMachine, kKey, "NoOrdersCols"),
              RegistryValueType::String);
    EXPECT_EQ(reg.ValueType(RegistryRoot::LocalMachine, kKey, "AutoExpand"),
              RegistryValueType::Integer);
    EXPECT_FALSE(Stored("DisablePending"));

    // DisablePending is read although never written.
    reg.WriteBool(RegistryRoot::LocalMachine, kKey, "DisablePending", true);
    EXPECT_TRUE(TGalleySettings::Read(appInfo).DisablePending);

    // No group chosen: the stored group stays as it was.
    s.ReportGroup = -1;
    ASSERT_TRUE(s.Save(appInfo));
    EXPECT_EQ(Stored("ReportGroup"), "5");
}

TEST_F(GalleyRegistry, StoredTextThatIsNotANumberFallsBackToTheDefault)
{
    struct Case
    {
        const char *name;
        const char *value;
        const char *stored;
        int TGalleySettings::*member;
        int expected;
    };
    const Case cases[] = {
        {"columns: letters", "NoOrdersCols", "three", &TGalleySettings::NoOrdersCols, 1},
        {"columns: empty", "NoOrdersCols", "", &TGalleySettings::NoOrdersCols, 1},
        {"columns: above the box", "NoOrdersCols", "12", &TGalleySettings::NoOrdersCols, 8},
        {"columns: below the box", "NoOrdersCols", "0", &TGalleySettings::NoOrdersCols, 1},
        {"poll: trailing letters", "PollInterval", "20s", &TGalleySettings::PollInterval, 5},
        {"poll: blanks around", "PollInterval", " 20 ", &TGalleySettings::PollInterval, 20},
        {"poll: below the box", "PollInterval", "2", &TGalleySettings::PollInterval, 5},
        {"font: decimal point", "FontSize", "12.5", &TGalleySettings::FontSize, 10},
        {"font: hexadecimal", "FontSize", "$10", &TGalleySettings::FontSize, 16},
        {"font: too large for 64 bits", "FontSize", "99999999999999999999",
         &TGalleySettings::FontSize, 10},
        {"report group: letters", "ReportGroup", "DRINKS", &TGalleySettings::ReportGroup, -1},
        {"report group: a number", "ReportGroup", "7", &TGalleySettings::ReportGroup, 7},
    };
    for (const Case &c : cases) {
        reg.DeleteKey(RegistryRoot::LocalMachine, kKey);
        reg.WriteString(RegistryRoot::LocalMachine, kKey, c.value, c.stored);
        const TGalleySettings s = TGalleySettings::Read(appInfo);
        EXPECT_EQ(s.*c.member, c.expected) << c.name;
    }

    // A colour that does not convert leaves the colour as it was; one that does replaces it.
    reg.DeleteKey(RegistryRoot::LocalMachine, kKey);
    reg.WriteString(RegistryRoot::LocalMachine, kKey, "WaitingFont", "red");
    reg.WriteString(RegistryRoot::LocalMachine, kKey, "WaitingBackground", "$FF");
    reg.WriteString(RegistryRoot::LocalMachine, kKey, "CompletedFont", "2147483663");
    TGalleySettings s;
    s.WaitingFont = clNavy;
    s.Load(appInfo);
    EXPECT_EQ(s.WaitingFont, clNavy);
    EXPECT_EQ(s.WaitingBackground, clRed);
    EXPECT_EQ(s.CompletedFont, clBtnFace); // the unsigned form of a system colour
}

TEST(StoredNumbers, ReadAsTheRunTimeReadsThem)
{
    struct Case
    {
        const char *text;
        std::optional<qint64> value;
    };
    const Case cases[] = {
        {"42", 42},
        {" 42 ", 42},
        {"+7", 7},
        {"-16777201", -16777201},
        {"$1F", 31},
        {"0x1f", 31},
        {"-$10", -16},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"12a", std::nullopt},
        {"1 2", std::nullopt},
        {"٣", std::nullopt}, // a digit of another script
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseStoredInteger(QString::fromUtf8(c.text)), c.value) << c.text;

    EXPECT_EQ(ColourFromStored(ColourToStored(clMenuBar)), clMenuBar);
    EXPECT_EQ(ColourFromStored("4294967296"), std::nullopt); // beyond 32 bits
}

class GalleyDatabase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        runner = std::make_unique<TGenericDB>(&db.Connection());
        GenericDB = runner.get();
    }
    void TearDown() override { GenericDB = nullptr; }

    QVariant Value(const QString &item, const QString &column = "Value")
    {
        return db.Scalar("SELECT " + column + " FROM SysData WHERE Class = '7' AND Item = '" + item
                         + "'");
    }

    testsupport::TestDatabase db;
    std::unique_ptr<TGenericDB> runner;
};

TEST_F(GalleyDatabase, ReportGroupChosenByTheStoredID)
{
    db.Exec("INSERT INTO ReportGroup (ReportGroupID, Description) VALUES (3, 'FOOD'), "
            "(5, 'DRINKS')");
    TReportGroups groups;
    ASSERT_EQ(groups.Populate(&db.Connection()), 2);
    EXPECT_EQ(groups.Items(1).Description, "DRINKS");

    struct Case
    {
        const char *name;
        int stored;
        bool limit;
        int index;
        int limitID;
    };
    const Case cases[] = {
        {"never stored: the first group", -1, true, 0, 3},
        {"stored group", 5, true, 1, 5},
        {"group gone: none chosen, every group shown", 9, true, -1, 0},
        {"option off: every group", 5, false, 1, 0},
    };
    for (const Case &c : cases) {
        TGalleySettings s;
        s.ReportGroup = c.stored;
        s.LimitToReportGroup = c.limit;
        EXPECT_EQ(groups.IndexForStored(c.stored), c.index) << c.name;
        EXPECT_EQ(ReportGroupLimit(s, groups), c.limitID) << c.name;
    }

    TReportGroups none;
    EXPECT_EQ(none.IndexForStored(-1), -1);
    TGalleySettings limited;
    limited.LimitToReportGroup = true;
    EXPECT_EQ(ReportGroupLimit(limited, none), 0);
}

TEST_F(GalleyDatabase, FiltersAreReadFromThisTillsRows)
{
    db.Exec("INSERT INTO SysData VALUES ('7', 'GY FILTER', '1', ''), "
            "('7', 'GY FILTER IDS', '0, 3,,10', ''), "
            "('8', 'GY FILTER IDS', '99', ''), "
            "('7', 'GY PRINTERFILTER IDS', '2,x,1', '')");
    TGalleyFilters filters(7);
    filters.LoadAll();
    EXPECT_TRUE(filters.TillFilterEnabled);
    EXPECT_EQ(filters.TillFilterIDs, (QStringList {"0", "3", "10"}));
    EXPECT_FALSE(filters.PrinterFilterEnabled); // no row
    EXPECT_EQ(filters.PrinterFilterIDs, (QStringList {"2", "x", "1"}));
    EXPECT_EQ(filters.PrinterFilterIDNumbers(), (QList<int> {2, 1}));

    struct Case
    {
        const char *value;
        bool on;
    };
    const Case flags[]
        = {{"1", true}, {"0", false}, {"", false}, {"2", true}, {"yes", false}, {"\x01", false}};
    for (const Case &c : flags) {
        db.Exec("UPDATE SysData SET Value = '" + QString::fromLatin1(c.value)
                + "' WHERE Item = 'GY FILTER'");
        filters.LoadTillFilterFlag();
        EXPECT_EQ(filters.TillFilterEnabled, c.on) << c.value;
    }
    // The NUL "empty" marker a record save leaves behind.
    db.Exec("UPDATE SysData SET Value = char(0) WHERE Item = 'GY FILTER'");
    filters.LoadTillFilterFlag();
    EXPECT_FALSE(filters.TillFilterEnabled);
}

TEST_F(GalleyDatabase, EveryChangeIsWrittenAtOnceOverwritingTheRow)
{
    // The rows the start-up creates, one with a stale Value2.
    db.Exec("INSERT INTO SysData VALUES ('7', 'GY FILTER', '0', 'old'), "
            "('7', 'GY FILTER IDS', '', ''), ('7', 'GY PRINTERFILTER', '0', ''), "
            "('7', 'GY PRINTERFILTER IDS', '', '')");
    TGalleyFilters filters(7);
    filters.LoadAll();

    filters.StoreTillFilterFlag(true);
    EXPECT_TRUE(filters.TillFilterEnabled);
    EXPECT_EQ(Value("GY FILTER").toString(), "1");
    EXPECT_EQ(Value("GY FILTER", "Value2").toString(), "");

    // Till numbers are kept sorted as texts.
    const struct
    {
        const char *id;
        bool chosen;
        const char *stored;
    } clicks[] = {{"3", true, "3"},     {"10", true, "10,3"},  {"2", true, "10,2,3"},
                  {"3", false, "10,2"}, {"3", true, "10,2,3"}, {"3", true, "10,2,3"}};
    for (const auto &c : clicks) {
        filters.SetTillFilterID(c.id, c.chosen);
        EXPECT_EQ(Value("GY FILTER IDS").toString(), c.stored) << c.id << (c.chosen ? "+" : "-");
    }

    // At OK the list is stored in the order given.
    filters.StoreTillFilterIDs({"0", "3"});
    EXPECT_EQ(Value("GY FILTER IDS").toString(), "0,3");

    filters.StorePrinterFilterFlag(true);
    filters.SetPrinterFilterID("4", true);
    filters.SetPrinterFilterID("1", true);
    EXPECT_EQ(Value("GY PRINTERFILTER").toString(), "1");
    EXPECT_EQ(Value("GY PRINTERFILTER IDS").toString(), "1,4");

    // Another till's filter is a row of its own, inserted when missing.
    TGalleyFilters other(8);
    other.StoreTillFilterFlag(true);
    EXPECT_EQ(db.Count("SysData", "Class = '8' AND Item = 'GY FILTER' AND Value = '1'"), 1);
    EXPECT_EQ(Value("GY FILTER").toString(), "1");
    EXPECT_EQ(db.Count("SysData"), 5);
}

TEST_F(GalleyDatabase, WithoutTheSqlRunnerReadsFailInsteadOfCrashing)
{
    GenericDB = nullptr;
    TGalleyFilters filters(7);
    EXPECT_ANY_THROW(filters.LoadTillFilterIDs());
    EXPECT_ANY_THROW(filters.StoreTillFilterFlag(true));
    EXPECT_FALSE(filters.TillFilterEnabled);
}

} // namespace
