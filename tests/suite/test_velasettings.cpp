// The suite's shared settings: the global and local item lists with their defaults, the
// logo path split over two columns, the logo check, the picklist bit mask, the till record
// and printers of the local settings, and the shop's IP-address list.

#include "TestDatabase.h"

#include "suite/clsVelaSettings.h"

#include "framework/clsEZXException.h"

#include "platform/DialogSeam.h"
#include "platform/SqlQuery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

// The items as the suite names them, in loading order.
// clang-format off
const QStringList kGlobalNames {
    "BUS BRANCH", "BUS NAME", "AUTOFILL MANUF STOCK", "AUTOFILL STOCKPCH", "BACKUPPATH1",
    "AUTOBACUPPATH1", "BACKUPPATH2", "AUTOBACKUPPATH2", "GRV FORCE PRICE UPDATE", "AUTO START TRANS",
    "DISABLEPAY", "PHONE NUM", "DIAL CODE", "VATREGNUM", "ADDRESS1", "ADDRESS2", "CITY", "AREACODE",
    "CONTACT", "ENABLECUSTOMERS", "CLI DEVICE", "STORE MSG", "NO PRNT COLLECT ON PAY",
    "INVOICE EDITING", "ROUNDING", "DELIV MSG", "DRVDELCHG", "GEN INV PASSWORD",
    "GEN FORCE PWD CHANGE", "GEN OR CASHIER PWD", "SAVE CC INFO", "EXCL EXT LOC SALES",
    "EN PICKLIST", "USE TRADING DAY", "USE STOCKTAKE TIMES", "VATEXCLREPORTS",
    "ROYALTYEXCLDELIVCHG", "AutoManStockCalc", "FCInverseOfGP", "NO LOCK IF INV OUTSANDING",
    "NO LOCK IF TILLS OPEN", "NO LOCK IF DRIVERS UNCASHED", "ONE SHOP CASHUP PER DAY",
    "BLIND_CASHUP", "NO TILLS IF SHOP UNPOSTED", "DISABLE EMPLOYEE WAGES", "DISABLE PETTY CASH",
    "WTRCLOCKOUTCHECK", "StoreSquareFeet", "PICKLIST COLUMNS", "EN ALTIMAGE", "ALTIMG  MIN",
    "VAT RATE", "DELIV CHG", "DELIVERY TIME", "MIN DELIV", "FOOD PREP", "MAX DELIV TIME",
    "DAY START", "OVEN TIME", "FRANCH LPT", "STOCK COST CALC", "CUST NOTES", "HIDE TOTS",
    "OLD CASHUP", "SEP TILLS", "OPERATOR OPEN TILL", "CUST ACT", "CUST P1", "CUST P2", "CUSTINACT",
    "HO ROYALTY", "HO ADVERT", "IMG ROTATE DELAY", "IMG BROWSE DELAY", "IMG MESSAGE",
    "IMG INVITEM MSG", "IMG DISP PRICE", "IMG MONITOR", "IMG DISP DETAILS", "IMG TXT COLOUR",
    "IMG BCK COLOUR", "IMG XPARENT TXT", "PRICING LEVEL", "PRICE_OVERRIDE_VISIBLE",
    "INV_EDIT_VISIBLE", "EXCL_EXTERNAL_VISIBLE", "DISPLAY GRV SETTINGS", "DISPLAY_ONLINE_ORDERS",
    "CUSTSRCHCELL", "CUSTSRCHEMAIL", "CUSTSRCHFIRSTNAME", "CUSTSRCHLASTNAME", "CUSTSRCHCRM",
    "EXTENDKTCHNSLIP", "VATEXONINVOICE", "WIDEFORMAT", "PRICEGROUPING", "CLASSIC KEYBOARD",
    "PROMPT_NEW_OPERATOR", "APP_PREPMONITOR_ACTIVE", "APP_ITEMSCOOKED_ACTIVE",
    "APP_DRIVERSTATION_LOGTIMES", "HEADCOUNTPROMPT", "POLELINE1", "POLELINE2", "CHECKFORUPDATES",
    "LASTUPDATECHECK"};

// Defaults: "1" for these, empty for those, a value of its own for the table, "0" otherwise.
const QStringList kGlobalOnes {
    "GRV FORCE PRICE UPDATE", "CLI DEVICE", "SAVE CC INFO", "EN PICKLIST",
    "NO LOCK IF INV OUTSANDING", "NO LOCK IF TILLS OPEN", "NO LOCK IF DRIVERS UNCASHED",
    "ONE SHOP CASHUP PER DAY", "NO TILLS IF SHOP UNPOSTED", "CUST NOTES", "OLD CASHUP", "SEP TILLS",
    "CUSTSRCHCELL", "CUSTSRCHEMAIL", "CUSTSRCHFIRSTNAME", "CUSTSRCHLASTNAME", "CUSTSRCHCRM",
    "EXTENDKTCHNSLIP"};
const QStringList kGlobalEmpties {"DIAL CODE", "ADDRESS1", "ADDRESS2", "CITY", "AREACODE", "CONTACT",
                                  "POLELINE2"};
const std::map<QString, QString> kGlobalValues {
    {"BUS BRANCH", "Cape Town"},
    {"BUS NAME", "Zentrix"},
    {"BACKUPPATH1", "c:\\mssql7\\backup"},
    {"BACKUPPATH2", "c:\\mssql7\\backup"},
    {"PHONE NUM", "021 555 0100"},
    {"VATREGNUM", "VatRegNum"},
    {"STORE MSG", "Thank you for your business"},
    {"ROUNDING", "0.0"},
    {"DELIV MSG", "Driver %1 is on his %2 delivery"},
    {"PICKLIST COLUMNS", "4"},
    {"IMG ROTATE DELAY", "4"},
    {"VAT RATE", "14"},
    {"DELIVERY TIME", "00:00"},
    {"FOOD PREP", "00:12"},
    {"MAX DELIV TIME", "00:12"},
    {"DAY START", "05:00"},
    {"OVEN TIME", "00:06"},
    {"FRANCH LPT", "LPT1"},
    {"CUST ACT", "30"},
    {"CUST P1", "60"},
    {"CUST P2", "90"},
    {"CUSTINACT", "360"},
    {"HO ROYALTY", "6"},
    {"HO ADVERT", "5"},
    {"IMG BROWSE DELAY", "5"},
    {"IMG MESSAGE", "Invoice details"},
    {"IMG INVITEM MSG", "Invoice items"},
    {"IMG TXT COLOUR", "16777215"},
    {"POLELINE1", "Next customer please..."},
    {"CHECKFORUPDATES", "7"},
};

const QStringList kLocalNames {
    "BTN FONT SIZE", "TS CAT COLS", "TS CAT ROWS", "CLOSE DELAY", "FORM LOOK", "OPENING FORM",
    "OVERLAP BUTTONS", "CONVERT2COUNTER", "COUNTER PROMPT NAME", "IMAGING IP", "INV REPRNT",
    "INVCON NEW", "INVCON OTH", "INV COPIES", "INVFRMTYPE", "INV POLE", "INV POLEMAKE", "INV TBLNUM",
    "TS MENU COLS", "TS MENU ROWS", "TS DISP BTN IMAGES", "LOGO PATH", "LOGO STRETCH", "DISPLAY LOGO",
    "KEEP LIST OPEN", "GEN PERSIST USER", "PFRNT TYPE", "PFRNT DEV", "INV PG LEN", "PFRNT WDTH",
    "PBAKA NAME", "PBAKA FTLN", "PBAKA TYPE", "PBAKA MODL", "PBAKA DEV", "PBAKA WDTH",
    "GEN AUTO BARCODE", "PBAKB NAME", "PBAKB FTLN", "PBAKB TYPE", "PBAKB MODL", "PBAKB DEV",
    "PBAKB WDTH", "PLABEL DEV", "DRV INV PR", "LSTCUSTSTAT", "PREPRT DEV", "PRINT LABEL MARGIN",
    "PRINT SIDEBYSIDE", "SLIP REPORTS", "GRP ITEMS ON INV", "NEW ITEMS ONLY", "GRATUITY LINE",
    "WAITER DETAILS", "PRINT_SURVEY", "PROMPT_PRINT_PAY", "PRINT_ASSIGNED_PAY", "GRID_SIZE",
    "GRID_TRACKER", "KEEP_DEP_SEL", "DEF TRANS TYPE", "DUP CUST WARN", "PROMPT_TRANS_TYPE",
    "TILL FLOAT", "TILL COM", "GEN USE FINGERPRINT", "GEN USE FINGERPRINT BO", "INV MONITOR",
    "BO MONITOR", "PRICES FILTER", "GY TEXT COLOUR", "GY BACK COLOUR", "CCNOMAD", "CCNOMADAUTH",
    "CCNOMADUSEREMOTE", "CCNOMADREMOTEADDR", "CCNOMADGATEWAY", "CCNOMADDLLPATH", "LOG TIMES",
    "PHONE EXTENSION", "TAPI DEVICE", "CLI RING TIMEOUT"};
const QStringList kLocalOnes {"BTN FONT SIZE", "CONVERT2COUNTER", "INV COPIES", "TS DISP BTN IMAGES",
                              "KEEP LIST OPEN", "PRINT SIDEBYSIDE", "GRID_SIZE", "PROMPT_TRANS_TYPE"};
const QStringList kLocalEmpties {"PBAKA DEV", "PBAKB DEV", "CCNOMADREMOTEADDR", "CCNOMADDLLPATH",
                                 "PHONE EXTENSION", "TAPI DEVICE"};
const std::map<QString, QString> kLocalValues {
    {"TS CAT COLS", "5"},
    {"CLOSE DELAY", "5"},
    {"TS MENU COLS", "5"},
    {"TS CAT ROWS", "2"},
    {"PFRNT TYPE", "2"},
    {"TS MENU ROWS", "3"},
    {"IMAGING IP", "127.0.0.1"},
    {"INVCON NEW", "60"},
    {"INVCON OTH", "120"},
    {"CLI RING TIMEOUT", "120"},
    {"LOGO PATH", "Images\\velafinal.bmp"},
    {"PFRNT DEV", "LPT1"},
    {"PLABEL DEV", "LPT1"},
    {"PREPRT DEV", "LPT1"},
    {"INV PG LEN", "26"},
    {"PBAKA NAME", "Back Printer A"},
    {"PBAKB NAME", "Back Printer B"},
    {"PRINT LABEL MARGIN", "0.6"},
    {"TILL FLOAT", "500"},
    {"TILL COM", "COM1"},
};

// clang-format on

QString DefaultOf(const QString &item, const QStringList &ones, const QStringList &empties,
                  const std::map<QString, QString> &values)
{
    if (ones.contains(item))
        return "1";
    if (empties.contains(item))
        return "";
    const auto it = values.find(item);
    return it != values.end() ? it->second : "0";
}

QString GlobalDefault(const QString &item)
{
    return DefaultOf(item, kGlobalOnes, kGlobalEmpties, kGlobalValues);
}

QString LocalDefault(const QString &item)
{
    return DefaultOf(item, kLocalOnes, kLocalEmpties, kLocalValues);
}

class Settings : public ::testing::Test
{
protected:
    Settings()
    {
        db.Exec("INSERT INTO Tills (TillsID, TillID, [Computer Name], [HD Serial], [Login Name]) "
                "VALUES (11, 1, 'BAR-PC', '1A2B-3C4D', 'bar')");
        global.SetAdoConnection(&db.Connection());
        local.SetAdoConnection(&db.Connection());
    }

    // Item -> Value of the stored rows of one Class, the NUL marker read as empty.
    std::map<QString, QString> StoredRows(const QString &cls)
    {
        std::map<QString, QString> rows;
        platform::SqlQuery q(&db.Connection());
        q.SetSQL("SELECT Item, Value FROM SysData WHERE Class = :C");
        q.SetParam("C", cls);
        q.Open();
        for (; !q.Eof(); q.Next())
            rows[q.FieldByName("Item").AsString()]
                = q.FieldByName("Value").AsString().remove(QChar(0));
        return rows;
    }
    QStringList StoredAddresses()
    {
        QStringList list;
        platform::SqlQuery q(&db.Connection());
        q.SetSQL("SELECT Address FROM IPADDRESS ORDER BY rowid");
        q.Open();
        for (; !q.Eof(); q.Next())
            list << q.Field(0).AsString();
        return list;
    }

    testsupport::TestDatabase db;
    platform::ScriptedResponder dialogs {platform::DialogAnswer(platform::mrOk)};
    TVelaGlobalSettings global;
    TVelaLocalSettings local;
};

TEST_F(Settings, EmptyTableGetsEveryGlobalItemWithItsDefaultInOneSave)
{
    const qint64 before = db.Connection().StatementCount();
    global.Populate();
    EXPECT_EQ(db.Connection().StatementCount() - before, 2); // SysData, then IPADDRESS
    ASSERT_EQ(global.Count(), 108);
    for (int i = 0; i < global.Count(); ++i) {
        const TSysDataItem *item = global.Items(i);
        SCOPED_TRACE(kGlobalNames[i].toStdString());
        EXPECT_EQ(item->Class(), "GLOBAL");
        EXPECT_EQ(item->Item(), kGlobalNames[i]);
        EXPECT_EQ(item->Value(), GlobalDefault(kGlobalNames[i]));
        EXPECT_TRUE(item->NewRecord());
        EXPECT_EQ(global.Setting(kGlobalNames[i]), item);
    }
    EXPECT_EQ(global.Setting(TVelaGlobalItem::AltImgMin)->Item(), "ALTIMG  MIN");
    EXPECT_EQ(global.Setting(TVelaGlobalItem::VatRate)->Item(), "VAT RATE");
    EXPECT_EQ(global.Setting(TVelaGlobalItem::LastUpdateCheck), global.Items(107));
    EXPECT_EQ(global.Setting("ALTIMG MIN"), nullptr); // one blank is another item

    EXPECT_EQ(global.Update(), 108);
    const std::map<QString, QString> stored = StoredRows("GLOBAL");
    ASSERT_EQ(stored.size(), 108u);
    for (const QString &name : kGlobalNames) {
        const auto it = stored.find(name);
        ASSERT_NE(it, stored.end()) << name.toStdString();
        EXPECT_EQ(it->second, GlobalDefault(name)) << name.toStdString();
    }
    EXPECT_EQ(db.Count("SysData", "Item = 'ALTIMG  MIN'"), 1);

    // Loaded again, everything is found: nothing new, nothing to write.
    TVelaGlobalSettings again;
    again.SetAdoConnection(&db.Connection());
    again.Populate();
    EXPECT_EQ(again.Count(), 108);
    EXPECT_EQ(again.NewCount() + again.ModifiedCount(), 0);
    EXPECT_EQ(again.Update(), 0);
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

TEST_F(Settings, LoadKeepsStoredValuesAndItemsOfOtherPrograms)
{
    db.Exec("INSERT INTO SysData VALUES ('GLOBAL', 'VAT RATE', '15', ''), "
            "('GLOBAL', 'HQ LINK', 'x', ''), ('1', 'VAT RATE', '99', '')");
    global.Populate();
    EXPECT_EQ(global.Count(), 109);
    EXPECT_EQ(global.Setting(TVelaGlobalItem::VatRate)->Value(), "15");
    EXPECT_FALSE(global.Setting(TVelaGlobalItem::VatRate)->NewRecord());
    EXPECT_EQ(global.Update(), 107);
    EXPECT_EQ(StoredRows("GLOBAL")["HQ LINK"], "x");

    // Start-up loads twice; until a save the missing items come back with their defaults.
    TVelaGlobalSettings unsaved;
    unsaved.SetAdoConnection(&db.Connection());
    db.Exec("DELETE FROM SysData WHERE Class = 'GLOBAL' AND Item <> 'VAT RATE'");
    unsaved.Populate();
    unsaved.Populate();
    EXPECT_EQ(unsaved.Count(), 108);
    EXPECT_EQ(unsaved.NewCount(), 107);
}

TEST_F(Settings, LocalItemsOfATillWithItsRecordAndPrinters)
{
    db.Exec("INSERT INTO Printers (PrintersID, Name) VALUES (5, 'Kitchen'), (6, 'Bar');"
            "INSERT INTO TillsLinkPrinters (fkTillsID, fkPrintersID, Device, Copies) VALUES "
            "(11, 6, 'Bar Epson', 1), (11, 5, 'Kitchen Epson', 2), (12, 5, 'Other till', 1)");
    const qint64 before = db.Connection().StatementCount();
    local.Populate(1);
    // The till, its rows, its links, and each link's printer: nothing more.
    EXPECT_EQ(db.Connection().StatementCount() - before, 5);
    EXPECT_EQ(local.Till(), 1);
    ASSERT_EQ(local.Count(), 82);
    for (int i = 0; i < local.Count(); ++i) {
        const TSysDataItem *item = local.Items(i);
        SCOPED_TRACE(kLocalNames[i].toStdString());
        EXPECT_EQ(item->Class(), "1");
        EXPECT_EQ(item->Item(), kLocalNames[i]);
        EXPECT_EQ(item->Value(), LocalDefault(kLocalNames[i]));
        EXPECT_EQ(local.Setting(kLocalNames[i]), item);
    }
    EXPECT_EQ(local.Setting(TVelaLocalItem::CliRingTimeout), local.Items(81));

    EXPECT_EQ(local.TillRecord().TillsID(), 11);
    EXPECT_EQ(local.TillRecord().ComputerName(), "BAR-PC");
    ASSERT_EQ(local.TillPrinters().Count(), 2);
    QStringList printers;
    for (int i = 0; i < 2; ++i)
        printers << local.TillPrinters().Items(i)->Device() + "/"
                + local.TillPrinters().Items(i)->PrinterItem().Name();
    printers.sort();
    EXPECT_EQ(printers, QStringList({"Bar Epson/Bar", "Kitchen Epson/Kitchen"}));

    EXPECT_EQ(local.Update(), 82);
    EXPECT_EQ(StoredRows("1").size(), 82u);
    EXPECT_EQ(StoredRows("1")["IMAGING IP"], "127.0.0.1");
    EXPECT_EQ(StoredRows("1")["LOGO PATH"], "Images\\velafinal.bmp");
}

TEST_F(Settings, UnknownTillIsRefusedBeforeTheCollectionIsTouched)
{
    local.Populate(1);
    TSysDataItem *formLook = local.Setting(TVelaLocalItem::FormLook);
    const qint64 before = db.Connection().StatementCount();
    try {
        local.Populate(99);
        ADD_FAILURE() << "no exception";
    } catch (const EZXException &e) {
        EXPECT_EQ(
            e.Message(),
            "Cannot call TVelaLocalSettings.Populate without setting TVelaLocalSettings.Till");
        EXPECT_EQ(e.RaisedIn(), "TVelaLocalSettings.Populate");
    }
    EXPECT_EQ(db.Connection().StatementCount() - before, 1); // the till look-up only
    EXPECT_EQ(local.Count(), 82);
    EXPECT_EQ(local.Setting(TVelaLocalItem::FormLook), formLook);
    EXPECT_EQ(formLook->Class(), "1");
    EXPECT_EQ(local.Till(), 1);

    TVelaLocalSettings fresh;
    fresh.SetAdoConnection(&db.Connection());
    EXPECT_THROW(fresh.Populate(0), EZXException);
    EXPECT_EQ(fresh.Count(), 0);
    EXPECT_THROW(fresh.LogoPath(), EZXException); // never loaded: no item to read
}

TEST_F(Settings, LogoPathIsSplitOverTwoColumnsAndReadBackWhole)
{
    const QString long120 = "C:\\" + QString(117, 'x');
    // The 50th character is a blank: a split right there would lose it to the trimming.
    const QString blankAtSplit = QString(46, 'a') + "\\My Pictures\\logo.bmp";
    struct Case
    {
        const char *name;
        QString path;
        QString value;
        QString value2;
        QString readBack;
    };
    const Case cases[] = {
        {"empty", "", "", "", ""},
        {"short", "C:\\Logos\\shop.bmp", "C:\\Logos\\shop.bmp", "", "C:\\Logos\\shop.bmp"},
        {"fifty", QString(50, 'p'), QString(50, 'p'), "", QString(50, 'p')},
        {"fifty-one", QString(50, 'p') + "q", QString(50, 'p'), "q", QString(50, 'p') + "q"},
        {"120 characters", long120, long120.left(50), long120.mid(50, 50), long120.left(100)},
        {"blank at the split", blankAtSplit, blankAtSplit.left(48), blankAtSplit.mid(48),
         blankAtSplit},
    };
    local.Populate(1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        local.SetLogoPath("something else");
        local.SetLogoPath(c.path);
        TSysDataItem *item = local.Setting(TVelaLocalItem::LogoPath);
        EXPECT_EQ(item->Value(), c.value);
        EXPECT_EQ(item->Value2(), c.value2);
        EXPECT_LE(item->Value().size(), 50);
        EXPECT_LE(item->Value2().size(), 50);
        EXPECT_EQ(local.LogoPath(), c.readBack);

        local.Update(); // empty columns become the NUL marker, in memory too
        EXPECT_EQ(local.LogoPath(), c.readBack);
        TVelaLocalSettings reloaded;
        reloaded.SetAdoConnection(&db.Connection());
        reloaded.Populate(1);
        EXPECT_EQ(reloaded.LogoPath(), c.readBack);
    }
}

TEST_F(Settings, DisplayLogoIsSwitchedOffWhenTheLogoFileIsMissing)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath("Images"));
    QFile logo(folder.filePath("Images/logo.bmp"));
    ASSERT_TRUE(logo.open(QIODevice::WriteOnly));
    logo.close();
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path())); // the path is relative to the current folder

    struct Case
    {
        const char *name;
        const char *displayLogo;
        const char *path;
        bool reads;
        const char *saved; // after the next save; null when nothing is to be saved
    };
    const Case cases[] = {
        {"file there, written the Windows way", "1", "Images\\logo.bmp", true, nullptr},
        {"file missing", "1", "Images\\gone.bmp", false, "0"},
        {"a folder is not a logo", "1", "Images", false, "0"},
        {"no path", "1", "", false, "0"},
        {"already off", "0", "Images\\gone.bmp", false, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        db.Exec("DELETE FROM SysData");
        platform::SqlQuery insert(&db.Connection());
        insert.SetSQL(
            "INSERT INTO SysData VALUES ('1', 'DISPLAY LOGO', :D, ''), ('1', 'LOGO PATH', :P, '')");
        insert.SetParam("D", QString(c.displayLogo));
        insert.SetParam("P", QString(c.path));
        insert.ExecSQL();

        TVelaLocalSettings settings;
        settings.SetAdoConnection(&db.Connection());
        settings.Populate(1);
        TSysDataItem *item = settings.Setting(TVelaLocalItem::DisplayLogo);
        EXPECT_EQ(item->AsBoolean(), c.reads);
        EXPECT_EQ(item->Modified(), c.saved != nullptr);
        settings.Update();
        EXPECT_EQ(StoredRows("1")["DISPLAY LOGO"], c.saved ? c.saved : c.displayLogo);
    }
    QDir::setCurrent(previous);
}

TEST_F(Settings, PicklistColumnsAreABitMask)
{
    global.Populate();
    TSysDataItem *stored = global.Setting(TVelaGlobalItem::PicklistColumns);
    EXPECT_EQ(global.PicklistColumns(), TPicklistColumns({2})); // the default "4"

    const struct
    {
        TPicklistColumns columns;
        const char *text;
    } writes[] = {{{0, 3}, "17"}, {{}, "0"}, {{0, 1, 2, 3}, "23"}, {{1, 7}, "2"}};
    for (const auto &w : writes) {
        global.SetPicklistColumns(w.columns);
        EXPECT_EQ(stored->Value(), w.text);
    }
    const struct
    {
        const char *text;
        TPicklistColumns columns;
    } reads[] = {{"6", {1, 2}}, {"17", {0, 3}}, {"8", {}}, {"", {}}};
    for (const auto &r : reads) {
        stored->SetValue(r.text);
        EXPECT_EQ(global.PicklistColumns(), r.columns) << r.text;
    }
}

TEST_F(Settings, TypedViewsReadAndWriteTheirOwnItems)
{
    global.Populate();
    struct Flag
    {
        const char *item;
        std::function<bool()> read;
        std::function<void(bool)> write;
    };
    const Flag flags[] = {
        {"USE TRADING DAY", [&] { return global.UseTradingDay(); },
         [&](bool v) {
             global.SetUseTradingDay(v);
         }},
        {"EN PICKLIST", [&] { return global.EnablePicklist(); },
         [&](bool v) {
             global.SetEnablePicklist(v);
         }},
        {"NO LOCK IF INV OUTSANDING", [&] { return global.NoLockIfInvOutstanding(); },
         [&](bool v) {
             global.SetNoLockIfInvOutstanding(v);
         }},
        {"NO LOCK IF TILLS OPEN", [&] { return global.NoLockIfTillsOpen(); },
         [&](bool v) {
             global.SetNoLockIfTillsOpen(v);
         }},
        {"NO LOCK IF DRIVERS UNCASHED", [&] { return global.NoLockIfDriversUncashed(); },
         [&](bool v) {
             global.SetNoLockIfDriversUncashed(v);
         }},
    };
    for (const Flag &f : flags) {
        SCOPED_TRACE(f.item);
        TSysDataItem *item = global.Setting(f.item);
        f.write(true);
        EXPECT_EQ(item->Value(), "1");
        f.write(false);
        EXPECT_EQ(item->Value(), "0");
        item->SetValue("Yes");
        EXPECT_TRUE(f.read());
    }
    global.SetBusBranch("Sea Point");
    EXPECT_EQ(global.Setting("BUS BRANCH")->Value(), "Sea Point");

    local.Populate(1);
    local.Setting("FORM LOOK")->SetValue("1");
    EXPECT_EQ(local.FormLook(), flTouchScreen);
    local.SetBackOffice(true);
    EXPECT_EQ(local.FormLook(), flKeyboard); // the back office always uses the keyboard look
    local.SetBackOffice(false);
    local.Setting("FORM LOOK")->SetValue("7"); // damaged: the settings window refuses to save it
    EXPECT_EQ(local.FormLookValue(), 7);
    EXPECT_EQ(local.FormLook(), flNormal);
    local.SetFormLook(flNormal);
    EXPECT_EQ(local.Setting("FORM LOOK")->Value(), "2");
    local.SetOpeningForm(3);
    EXPECT_EQ(local.Setting("OPENING FORM")->Value(), "3");
    EXPECT_EQ(local.OpeningForm(), 3);

    local.Setting("GEN USE FINGERPRINT")->SetValue("1");
    EXPECT_TRUE(local.UseFingerprint());
    local.SetBackOffice(true);
    EXPECT_FALSE(local.UseFingerprint()); // the back office's own item
    EXPECT_FALSE(local.BackOffice() && local.PasswordOnly());
}

TEST_F(Settings, QuotesInValuesRoundTrip)
{
    global.Populate();
    local.Populate(1);
    global.SetBusBranch("O'Reilly's Corner");
    local.SetLogoPath("C:\\Bob's logos\\it's.bmp");
    global.Update();
    local.Update();

    TVelaSettings reloaded;
    reloaded.SetConnection(&db.Connection());
    reloaded.Global().Populate();
    reloaded.Local().Populate(1);
    EXPECT_EQ(reloaded.Global().BusBranch(), "O'Reilly's Corner");
    EXPECT_EQ(reloaded.Local().LogoPath(), "C:\\Bob's logos\\it's.bmp");
}

TEST_F(Settings, IPAddressesWithQuotesAreSavedAndReadBack)
{
    global.IPAddresses() = {"192.168.1.10", "O'Brien's laptop", "", "10.0.0.2"};
    EXPECT_TRUE(global.SaveIPAddresses());
    EXPECT_EQ(StoredAddresses(), global.IPAddresses());

    TVelaGlobalSettings reader;
    reader.SetAdoConnection(&db.Connection());
    reader.Populate();
    EXPECT_EQ(reader.IPAddresses(), global.IPAddresses());

    // An empty table leaves the list as it was.
    db.Exec("DELETE FROM IPADDRESS");
    EXPECT_TRUE(reader.PopulateIPAddresses());
    EXPECT_EQ(reader.IPAddresses().size(), 4);
    EXPECT_TRUE(dialogs.Requests().isEmpty());
}

TEST_F(Settings, FailedSaveOfIPAddressesKeepsTheStoredList)
{
    global.IPAddresses() = {"10.0.0.1", "10.0.0.2"};
    ASSERT_TRUE(global.SaveIPAddresses());
    db.Exec("CREATE TRIGGER RefuseAddress BEFORE INSERT ON IPADDRESS WHEN NEW.Address = 'refused' "
            "BEGIN SELECT RAISE(ABORT, 'address refused'); END");

    global.IPAddresses() = {"10.0.0.9", "refused", "10.0.0.10"};
    EXPECT_FALSE(global.SaveIPAddresses());
    EXPECT_EQ(StoredAddresses(), QStringList({"10.0.0.1", "10.0.0.2"}));
    ASSERT_EQ(dialogs.Requests().size(), 1);
    const platform::DialogRequest &shown = dialogs.Requests()[0];
    EXPECT_EQ(shown.Kind, "MsgDlg");
    EXPECT_EQ(shown.Type, platform::mtInformation);
    EXPECT_EQ(shown.Buttons, platform::MsgDlgButtons({platform::mbOK}));
    EXPECT_TRUE(shown.Text.startsWith("Could not save the IP addresses. Reason: "))
        << shown.Text.toStdString();
    EXPECT_TRUE(shown.Text.contains("address refused")) << shown.Text.toStdString();
    EXPECT_TRUE(shown.Text.endsWith("\rRaised in TVelaGlobalSettings.SaveIPAddresses"));

    // The connection is usable afterwards: the next save goes through.
    db.Exec("DROP TRIGGER RefuseAddress");
    EXPECT_TRUE(global.SaveIPAddresses());
    EXPECT_EQ(StoredAddresses(), global.IPAddresses());
}

TEST_F(Settings, FailedLoadOfIPAddressesIsReportedAndTheLoadGoesOn)
{
    db.Exec("DROP TABLE IPADDRESS");
    global.IPAddresses() = {"kept"};
    global.Populate();
    EXPECT_EQ(global.Count(), 108);
    EXPECT_EQ(global.IPAddresses(), QStringList({"kept"}));
    ASSERT_EQ(dialogs.Requests().size(), 1);
    const QString text = dialogs.Requests()[0].Text;
    EXPECT_EQ(dialogs.Requests()[0].Type, platform::mtInformation);
    EXPECT_TRUE(text.startsWith("Could not load the list of IP addresses.\rReason: "))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith("\rRaised in TVelaGlobalSettings.PopulateIPAddresses"));
}

TEST_F(Settings, BundleSharesItsConnectionAndClearingForgetsTheReferences)
{
    TVelaSettings settings;
    settings.SetConnection(&db.Connection());
    EXPECT_EQ(settings.Connection(), &db.Connection());
    for (TCollectionDB *c : std::initializer_list<TCollectionDB *> {
             &settings.Global(), &settings.Local(), &settings.MenuUpdate(), &settings.Printers(),
             &settings.Local().TillPrinters()})
        EXPECT_EQ(c->AdoConnection(), &db.Connection());
    EXPECT_EQ(settings.Local().TillRecord().AdoConnection(), &db.Connection());
    EXPECT_FALSE(settings.Local().BackOffice());
    EXPECT_FALSE(settings.Local().PasswordOnly());

    settings.MenuUpdate().Populate();
    const QStringList menu {"ACTIVATEDATE=19000101", "MENUVERSION_LIVE=1", "MENUVERSION_PENDING=1",
                            "MENUVERSION_PRELIVE=1", "MENUVERSION_PROFILE=1"};
    QStringList loaded;
    for (int i = 0; i < settings.MenuUpdate().Count(); ++i)
        loaded << settings.MenuUpdate().Items(i)->Item() + "="
                + settings.MenuUpdate().Items(i)->Value();
    EXPECT_EQ(loaded, menu);
    EXPECT_EQ(settings.MenuUpdate().Items(0)->Class(), "MENUVERSIONS");
    EXPECT_EQ(settings.MenuUpdate().Setting(TVelaMenuItem::MenuVersionProfile),
              settings.MenuUpdate().Items(4));

    db.Exec("INSERT INTO Printers (Name) VALUES ('Kitchen');"
            "INSERT INTO TillsLinkPrinters (fkTillsID, fkPrintersID, Device) VALUES (11, 1, 'k')");
    settings.Global().Populate();
    settings.Local().Populate(1);
    ASSERT_EQ(settings.Local().TillPrinters().Count(), 1);
    settings.Global().ClearItems();
    settings.Local().ClearItems();
    settings.MenuUpdate().ClearItems();
    EXPECT_EQ(settings.Global().Setting(TVelaGlobalItem::VatRate), nullptr);
    EXPECT_EQ(settings.Local().Setting(TVelaLocalItem::LogoPath), nullptr);
    EXPECT_EQ(settings.MenuUpdate().Setting(TVelaMenuItem::ActivateDate), nullptr);
    EXPECT_EQ(settings.Local().TillPrinters().Count(), 0);
    EXPECT_THROW(settings.Global().BusBranch(), EZXException);
    EXPECT_THROW(settings.Local().FormLook(), EZXException);
}

} // namespace
