#pragma once

// The suite's shared settings, read by every program of the suite from SysData: the shop's
// ("GLOBAL"), this till's (Class = the till number) and the menu versions
// ("MENUVERSIONS"). Each collection knows its items and their defaults, adds every missing
// item with its default when it loads (written by the next Update), and keeps a reference
// to each item so readers do not search. Most items serve other programs of the suite and
// are carried so that saving never loses them.
//
// References stay valid until the collection is loaded or cleared again; never keep one
// across a Populate. Database errors of the loads reach the caller (platform::DbError);
// the IP-address list reports its own. Main thread only.

#include "framework/clsSysData.h"
#include "framework/modMsgDlgs.h"

#include "printing/clsVelaPrinters.h"
#include "printing/cls_Printers.h"
#include "tills/clsTills.h"

#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <set>

// An item of a settings collection: its name in SysData and the value it is created with.
struct TVelaSettingDef
{
    const char *Item;
    const char *Default;
};

// The shop-wide items, in loading order: X(name in code, item, default). The item names
// are the suite's own, spelling included ("AUTOBACUPPATH1", "ALTIMG  MIN" with two blanks).
#define VELA_GLOBAL_ITEMS(X)                                                                       \
    X(BusBranch, "BUS BRANCH", "Cape Town")                                                        \
    X(BusName, "BUS NAME", "Zentrix")                                                              \
    X(AutofillManufStock, "AUTOFILL MANUF STOCK", "0")                                             \
    X(AutofillStockPch, "AUTOFILL STOCKPCH", "0")                                                  \
    X(BackupPath1, "BACKUPPATH1", "c:\\mssql7\\backup")                                            \
    X(AutoBackupPath1, "AUTOBACUPPATH1", "0")                                                      \
    X(BackupPath2, "BACKUPPATH2", "c:\\mssql7\\backup")                                            \
    X(AutoBackupPath2, "AUTOBACKUPPATH2", "0")                                                     \
    X(GrvForcePriceUpdate, "GRV FORCE PRICE UPDATE", "1")                                          \
    X(AutoStartTrans, "AUTO START TRANS", "0")                                                     \
    X(DisablePay, "DISABLEPAY", "0")                                                               \
    X(PhoneNum, "PHONE NUM", "021 555 0100")                                                       \
    X(DialCode, "DIAL CODE", "")                                                                   \
    X(VatRegNum, "VATREGNUM", "VatRegNum")                                                         \
    X(Address1, "ADDRESS1", "")                                                                    \
    X(Address2, "ADDRESS2", "")                                                                    \
    X(City, "CITY", "")                                                                            \
    X(AreaCode, "AREACODE", "")                                                                    \
    X(Contact, "CONTACT", "")                                                                      \
    X(EnableCustomers, "ENABLECUSTOMERS", "0")                                                     \
    X(CliDevice, "CLI DEVICE", "1")                                                                \
    X(StoreMsg, "STORE MSG", "Thank you for your business")                                        \
    X(NoPrntCollectOnPay, "NO PRNT COLLECT ON PAY", "0")                                           \
    X(InvoiceEditing, "INVOICE EDITING", "0")                                                      \
    X(Rounding, "ROUNDING", "0.0")                                                                 \
    X(DelivMsg, "DELIV MSG", "Driver %1 is on his %2 delivery")                                    \
    X(DrvDelChg, "DRVDELCHG", "0")                                                                 \
    X(GenInvPassword, "GEN INV PASSWORD", "0")                                                     \
    X(GenForcePwdChange, "GEN FORCE PWD CHANGE", "0")                                              \
    X(GenOrCashierPwd, "GEN OR CASHIER PWD", "0")                                                  \
    X(SaveCcInfo, "SAVE CC INFO", "1")                                                             \
    X(ExclExtLocSales, "EXCL EXT LOC SALES", "0")                                                  \
    X(EnPicklist, "EN PICKLIST", "1")                                                              \
    X(UseTradingDay, "USE TRADING DAY", "0")                                                       \
    X(UseStocktakeTimes, "USE STOCKTAKE TIMES", "0")                                               \
    X(VatExclReports, "VATEXCLREPORTS", "0")                                                       \
    X(RoyaltyExclDelivChg, "ROYALTYEXCLDELIVCHG", "0")                                             \
    X(AutoManStockCalc, "AutoManStockCalc", "0")                                                   \
    X(FcInverseOfGp, "FCInverseOfGP", "0")                                                         \
    X(NoLockIfInvOutstanding, "NO LOCK IF INV OUTSANDING", "1")                                    \
    X(NoLockIfTillsOpen, "NO LOCK IF TILLS OPEN", "1")                                             \
    X(NoLockIfDriversUncashed, "NO LOCK IF DRIVERS UNCASHED", "1")                                 \
    X(OneShopCashupPerDay, "ONE SHOP CASHUP PER DAY", "1")                                         \
    X(BlindCashup, "BLIND_CASHUP", "0")                                                            \
    X(NoTillsIfShopUnposted, "NO TILLS IF SHOP UNPOSTED", "1")                                     \
    X(DisableEmployeeWages, "DISABLE EMPLOYEE WAGES", "0")                                         \
    X(DisablePettyCash, "DISABLE PETTY CASH", "0")                                                 \
    X(WtrClockOutCheck, "WTRCLOCKOUTCHECK", "0")                                                   \
    X(StoreSquareFeet, "StoreSquareFeet", "0")                                                     \
    X(PicklistColumns, "PICKLIST COLUMNS", "4")                                                    \
    X(EnAltImage, "EN ALTIMAGE", "0")                                                              \
    X(AltImgMin, "ALTIMG  MIN", "0")                                                               \
    X(VatRate, "VAT RATE", "14")                                                                   \
    X(DelivChg, "DELIV CHG", "0")                                                                  \
    X(DeliveryTime, "DELIVERY TIME", "00:00")                                                      \
    X(MinDeliv, "MIN DELIV", "0")                                                                  \
    X(FoodPrep, "FOOD PREP", "00:12")                                                              \
    X(MaxDelivTime, "MAX DELIV TIME", "00:12")                                                     \
    X(DayStart, "DAY START", "05:00")                                                              \
    X(OvenTime, "OVEN TIME", "00:06")                                                              \
    X(FranchLpt, "FRANCH LPT", "LPT1")                                                             \
    X(StockCostCalc, "STOCK COST CALC", "0")                                                       \
    X(CustNotes, "CUST NOTES", "1")                                                                \
    X(HideTots, "HIDE TOTS", "0")                                                                  \
    X(OldCashup, "OLD CASHUP", "1")                                                                \
    X(SepTills, "SEP TILLS", "1")                                                                  \
    X(OperatorOpenTill, "OPERATOR OPEN TILL", "0")                                                 \
    X(CustAct, "CUST ACT", "30")                                                                   \
    X(CustP1, "CUST P1", "60")                                                                     \
    X(CustP2, "CUST P2", "90")                                                                     \
    X(CustInact, "CUSTINACT", "360")                                                               \
    X(HoRoyalty, "HO ROYALTY", "6")                                                                \
    X(HoAdvert, "HO ADVERT", "5")                                                                  \
    X(ImgRotateDelay, "IMG ROTATE DELAY", "4")                                                     \
    X(ImgBrowseDelay, "IMG BROWSE DELAY", "5")                                                     \
    X(ImgMessage, "IMG MESSAGE", "Invoice details")                                                \
    X(ImgInvitemMsg, "IMG INVITEM MSG", "Invoice items")                                           \
    X(ImgDispPrice, "IMG DISP PRICE", "0")                                                         \
    X(ImgMonitor, "IMG MONITOR", "0")                                                              \
    X(ImgDispDetails, "IMG DISP DETAILS", "0")                                                     \
    X(ImgTxtColour, "IMG TXT COLOUR", "16777215")                                                  \
    X(ImgBckColour, "IMG BCK COLOUR", "0")                                                         \
    X(ImgXparentTxt, "IMG XPARENT TXT", "0")                                                       \
    X(PricingLevel, "PRICING LEVEL", "0")                                                          \
    X(PriceOverrideVisible, "PRICE_OVERRIDE_VISIBLE", "0")                                         \
    X(InvEditVisible, "INV_EDIT_VISIBLE", "0")                                                     \
    X(ExclExternalVisible, "EXCL_EXTERNAL_VISIBLE", "0")                                           \
    X(DisplayGrvSettings, "DISPLAY GRV SETTINGS", "0")                                             \
    X(DisplayOnlineOrders, "DISPLAY_ONLINE_ORDERS", "0")                                           \
    X(CustSrchCell, "CUSTSRCHCELL", "1")                                                           \
    X(CustSrchEmail, "CUSTSRCHEMAIL", "1")                                                         \
    X(CustSrchFirstName, "CUSTSRCHFIRSTNAME", "1")                                                 \
    X(CustSrchLastName, "CUSTSRCHLASTNAME", "1")                                                   \
    X(CustSrchCrm, "CUSTSRCHCRM", "1")                                                             \
    X(ExtendKtchnSlip, "EXTENDKTCHNSLIP", "1")                                                     \
    X(VatExOnInvoice, "VATEXONINVOICE", "0")                                                       \
    X(WideFormat, "WIDEFORMAT", "0")                                                               \
    X(PriceGrouping, "PRICEGROUPING", "0")                                                         \
    X(ClassicKeyboard, "CLASSIC KEYBOARD", "0")                                                    \
    X(PromptNewOperator, "PROMPT_NEW_OPERATOR", "0")                                               \
    X(AppPrepMonitorActive, "APP_PREPMONITOR_ACTIVE", "0")                                         \
    X(AppItemsCookedActive, "APP_ITEMSCOOKED_ACTIVE", "0")                                         \
    X(AppDriverStationLogTimes, "APP_DRIVERSTATION_LOGTIMES", "0")                                 \
    X(HeadCountPrompt, "HEADCOUNTPROMPT", "0")                                                     \
    X(PoleLine1, "POLELINE1", "Next customer please...")                                           \
    X(PoleLine2, "POLELINE2", "")                                                                  \
    X(CheckForUpdates, "CHECKFORUPDATES", "7")                                                     \
    X(LastUpdateCheck, "LASTUPDATECHECK", "0")

// One till's items, in loading order. "LOGO PATH" is relative to the current folder and
// written with the Windows tills' backslash, since they share the table.
#define VELA_LOCAL_ITEMS(X)                                                                        \
    X(BtnFontSize, "BTN FONT SIZE", "1")                                                           \
    X(TsCatCols, "TS CAT COLS", "5")                                                               \
    X(TsCatRows, "TS CAT ROWS", "2")                                                               \
    X(CloseDelay, "CLOSE DELAY", "5")                                                              \
    X(FormLook, "FORM LOOK", "0")                                                                  \
    X(OpeningForm, "OPENING FORM", "0")                                                            \
    X(OverlapButtons, "OVERLAP BUTTONS", "0")                                                      \
    X(Convert2Counter, "CONVERT2COUNTER", "1")                                                     \
    X(CounterPromptName, "COUNTER PROMPT NAME", "0")                                               \
    X(ImagingIp, "IMAGING IP", "127.0.0.1")                                                        \
    X(InvReprnt, "INV REPRNT", "0")                                                                \
    X(InvConNew, "INVCON NEW", "60")                                                               \
    X(InvConOth, "INVCON OTH", "120")                                                              \
    X(InvCopies, "INV COPIES", "1")                                                                \
    X(InvFrmType, "INVFRMTYPE", "0")                                                               \
    X(InvPole, "INV POLE", "0")                                                                    \
    X(InvPoleMake, "INV POLEMAKE", "0")                                                            \
    X(InvTblNum, "INV TBLNUM", "0")                                                                \
    X(TsMenuCols, "TS MENU COLS", "5")                                                             \
    X(TsMenuRows, "TS MENU ROWS", "3")                                                             \
    X(TsDispBtnImages, "TS DISP BTN IMAGES", "1")                                                  \
    X(LogoPath, "LOGO PATH", "Images\\velafinal.bmp")                                              \
    X(LogoStretch, "LOGO STRETCH", "0")                                                            \
    X(DisplayLogo, "DISPLAY LOGO", "0")                                                            \
    X(KeepListOpen, "KEEP LIST OPEN", "1")                                                         \
    X(GenPersistUser, "GEN PERSIST USER", "0")                                                     \
    X(PfrntType, "PFRNT TYPE", "2")                                                                \
    X(PfrntDev, "PFRNT DEV", "LPT1")                                                               \
    X(InvPgLen, "INV PG LEN", "26")                                                                \
    X(PfrntWdth, "PFRNT WDTH", "0")                                                                \
    X(PbakaName, "PBAKA NAME", "Back Printer A")                                                   \
    X(PbakaFtln, "PBAKA FTLN", "0")                                                                \
    X(PbakaType, "PBAKA TYPE", "0")                                                                \
    X(PbakaModl, "PBAKA MODL", "0")                                                                \
    X(PbakaDev, "PBAKA DEV", "")                                                                   \
    X(PbakaWdth, "PBAKA WDTH", "0")                                                                \
    X(GenAutoBarcode, "GEN AUTO BARCODE", "0")                                                     \
    X(PbakbName, "PBAKB NAME", "Back Printer B")                                                   \
    X(PbakbFtln, "PBAKB FTLN", "0")                                                                \
    X(PbakbType, "PBAKB TYPE", "0")                                                                \
    X(PbakbModl, "PBAKB MODL", "0")                                                                \
    X(PbakbDev, "PBAKB DEV", "")                                                                   \
    X(PbakbWdth, "PBAKB WDTH", "0")                                                                \
    X(PlabelDev, "PLABEL DEV", "LPT1")                                                             \
    X(DrvInvPr, "DRV INV PR", "0")                                                                 \
    X(LstCustStat, "LSTCUSTSTAT", "0")                                                             \
    X(PreprtDev, "PREPRT DEV", "LPT1")                                                             \
    X(PrintLabelMargin, "PRINT LABEL MARGIN", "0.6")                                               \
    X(PrintSideBySide, "PRINT SIDEBYSIDE", "1")                                                    \
    X(SlipReports, "SLIP REPORTS", "0")                                                            \
    X(GrpItemsOnInv, "GRP ITEMS ON INV", "0")                                                      \
    X(NewItemsOnly, "NEW ITEMS ONLY", "0")                                                         \
    X(GratuityLine, "GRATUITY LINE", "0")                                                          \
    X(WaiterDetails, "WAITER DETAILS", "0")                                                        \
    X(PrintSurvey, "PRINT_SURVEY", "0")                                                            \
    X(PromptPrintPay, "PROMPT_PRINT_PAY", "0")                                                     \
    X(PrintAssignedPay, "PRINT_ASSIGNED_PAY", "0")                                                 \
    X(GridSize, "GRID_SIZE", "1")                                                                  \
    X(GridTracker, "GRID_TRACKER", "0")                                                            \
    X(KeepDepSel, "KEEP_DEP_SEL", "0")                                                             \
    X(DefTransType, "DEF TRANS TYPE", "0")                                                         \
    X(DupCustWarn, "DUP CUST WARN", "0")                                                           \
    X(PromptTransType, "PROMPT_TRANS_TYPE", "1")                                                   \
    X(TillFloat, "TILL FLOAT", "500")                                                              \
    X(TillCom, "TILL COM", "COM1")                                                                 \
    X(GenUseFingerprint, "GEN USE FINGERPRINT", "0")                                               \
    X(GenUseFingerprintBO, "GEN USE FINGERPRINT BO", "0")                                          \
    X(InvMonitor, "INV MONITOR", "0")                                                              \
    X(BoMonitor, "BO MONITOR", "0")                                                                \
    X(PricesFilter, "PRICES FILTER", "0")                                                          \
    X(GyTextColour, "GY TEXT COLOUR", "0")                                                         \
    X(GyBackColour, "GY BACK COLOUR", "0")                                                         \
    X(CcNomad, "CCNOMAD", "0")                                                                     \
    X(CcNomadAuth, "CCNOMADAUTH", "0")                                                             \
    X(CcNomadUseRemote, "CCNOMADUSEREMOTE", "0")                                                   \
    X(CcNomadRemoteAddr, "CCNOMADREMOTEADDR", "")                                                  \
    X(CcNomadGateway, "CCNOMADGATEWAY", "0")                                                       \
    X(CcNomadDllPath, "CCNOMADDLLPATH", "")                                                        \
    X(LogTimes, "LOG TIMES", "0")                                                                  \
    X(PhoneExtension, "PHONE EXTENSION", "")                                                       \
    X(TapiDevice, "TAPI DEVICE", "")                                                               \
    X(CliRingTimeout, "CLI RING TIMEOUT", "120")

#define VELA_MENU_ITEMS(X)                                                                         \
    X(ActivateDate, "ACTIVATEDATE", "19000101")                                                    \
    X(MenuVersionLive, "MENUVERSION_LIVE", "1")                                                    \
    X(MenuVersionPending, "MENUVERSION_PENDING", "1")                                              \
    X(MenuVersionPrelive, "MENUVERSION_PRELIVE", "1")                                              \
    X(MenuVersionProfile, "MENUVERSION_PROFILE", "1")

#define VELA_SETTING_ENUM(name, item, def) name,
#define VELA_SETTING_DEF(name, item, def) TVelaSettingDef {item, def},

enum class TVelaGlobalItem { VELA_GLOBAL_ITEMS(VELA_SETTING_ENUM) Count };
enum class TVelaLocalItem { VELA_LOCAL_ITEMS(VELA_SETTING_ENUM) Count };
enum class TVelaMenuItem { VELA_MENU_ITEMS(VELA_SETTING_ENUM) Count };

inline constexpr std::array kVelaGlobalItems {VELA_GLOBAL_ITEMS(VELA_SETTING_DEF)};
inline constexpr std::array kVelaLocalItems {VELA_LOCAL_ITEMS(VELA_SETTING_DEF)};
inline constexpr std::array kVelaMenuItems {VELA_MENU_ITEMS(VELA_SETTING_DEF)};

#undef VELA_SETTING_ENUM
#undef VELA_SETTING_DEF

static_assert(kVelaGlobalItems.size() == 108 && int(TVelaGlobalItem::Count) == 108);
static_assert(kVelaLocalItems.size() == 82 && int(TVelaLocalItem::Count) == 82);
static_assert(kVelaMenuItems.size() == 5 && int(TVelaMenuItem::Count) == 5);

// Columns of the picking list, members 0 to 3 (stored in "PICKLIST COLUMNS" as the values
// 1, 2, 4 and 16 added up).
using TPicklistColumns = std::set<int>;

// The shop-wide settings (Class "GLOBAL") and the shop's list of IP addresses (table
// IPADDRESS).
class TVelaGlobalSettings : public TSysData
{
public:
    TVelaGlobalSettings();

    using TSysData::Populate;
    // FindOrAdd with Class "GLOBAL".
    TSysDataItem *ItemFor(const QString &item, const QString &defaultValue);
    // Loads the "GLOBAL" rows (the collection is left as it was when there are none), adds
    // every missing item with its default (new and modified: written by the next Update),
    // takes the references, then loads the IP addresses. Throws DbError for the rows; the
    // IP addresses report their own failure and the load carries on.
    virtual void Populate();
    // The inherited ClearItems, then every reference becomes null.
    void ClearItems() override;

    // The loaded item; null before the first Populate and after ClearItems.
    TSysDataItem *Setting(TVelaGlobalItem item) const { return m_items[size_t(item)]; }
    // By its name in SysData (exact spelling); null for a name that is not a global item.
    TSysDataItem *Setting(const QString &item) const;

    // Typed views. Each throws EZXException when the settings are not loaded; the
    // Booleans and PicklistColumns throw platform::ConvertError for text that is not a
    // number where one is needed.
    QString BusBranch() const;
    void SetBusBranch(const QString &value);
    bool UseTradingDay() const;
    void SetUseTradingDay(bool value);
    bool EnablePicklist() const;
    void SetEnablePicklist(bool value);
    bool NoLockIfInvOutstanding() const;
    void SetNoLockIfInvOutstanding(bool value);
    bool NoLockIfTillsOpen() const;
    void SetNoLockIfTillsOpen(bool value);
    bool NoLockIfDriversUncashed() const;
    void SetNoLockIfDriversUncashed(bool value);
    TPicklistColumns PicklistColumns() const; // stored values other than 1, 2, 4, 16 are ignored
    void SetPicklistColumns(const TPicklistColumns &columns); // members outside 0..3 are ignored

    // The shop's IP addresses, in the table's order.
    QStringList &IPAddresses() { return m_ipAddresses; }
    const QStringList &IPAddresses() const { return m_ipAddresses; }
    // Replaces IPAddresses with the table's rows; when the table is empty the list keeps
    // what it held. A failure is shown (information, OK) and leaves the list as it was;
    // returns false then.
    bool PopulateIPAddresses();
    // Replaces the table's rows with IPAddresses, as one transaction: the stored list is
    // replaced whole or not at all. A failure is shown (information, OK); returns false.
    bool SaveIPAddresses();

private:
    TSysDataItem &Required(TVelaGlobalItem item) const;

    std::array<TSysDataItem *, kVelaGlobalItems.size()> m_items {};
    QStringList m_ipAddresses;
};

// One till's settings (Class = the till number), with the till's record and its printer
// links.
class TVelaLocalSettings : public TSysData
{
public:
    TVelaLocalSettings();

    using TSysData::Populate;
    // Loads the till's record; throws EZXException ("Cannot call TVelaLocalSettings.Populate
    // without setting TVelaLocalSettings.Till") when there is no such till, before the
    // collection is touched. Then loads the till's rows, adds every missing item with its
    // default, takes the references, switches "DISPLAY LOGO" off (as a change to be saved)
    // when the logo file is missing, and loads the till's printer links. Throws DbError.
    virtual void Populate(int till);
    // The inherited ClearItems, every reference null, and the printer links emptied.
    void ClearItems() override;
    // The inherited SetAdoConnection, then the same connection to TillPrinters and
    // TillRecord. The connection is not owned.
    void SetAdoConnection(platform::SqlConnection *connection) override;

    TSysDataItem *Setting(TVelaLocalItem item) const { return m_items[size_t(item)]; }
    TSysDataItem *Setting(const QString &item) const;

    // The till the settings were last loaded for; 0 before the first load.
    int Till() const { return m_till; }
    // Owned; loaded by Populate.
    TTillsItem &TillRecord() { return m_tillRecord; }
    TVelaPrinters &TillPrinters() { return m_tillPrinters; }

    // When true, FormLook reads as flKeyboard and "GEN USE FINGERPRINT BO" stands in for
    // "GEN USE FINGERPRINT". False in the kitchen monitor.
    bool BackOffice() const { return m_backOffice; }
    void SetBackOffice(bool value) { m_backOffice = value; }
    // When true, identification asks for a password even where fingerprints are enabled.
    // False in the kitchen monitor.
    bool PasswordOnly() const { return m_passwordOnly; }
    void SetPasswordOnly(bool value) { m_passwordOnly = value; }

    // Typed views; each throws EZXException when the settings are not loaded and
    // platform::ConvertError for text that is not a number.
    // "FORM LOOK" as stored (int(flKeyboard) when BackOffice): the settings window checks
    // it for 0..2 before saving.
    int FormLookValue() const;
    // FormLookValue as a look; a stored number outside 0..2 reads as flNormal.
    TFormLook FormLook() const;
    void SetFormLook(TFormLook value);
    int OpeningForm() const;
    void SetOpeningForm(int value);
    // "GEN USE FINGERPRINT", or "GEN USE FINGERPRINT BO" when BackOffice.
    bool UseFingerprint() const;

    // "LOGO PATH": a path of up to 100 characters kept as two texts of at most 50 (Value
    // and Value2, the column width). Reading joins them; the one-character NUL text of an
    // empty column counts as empty. Writing an empty path empties both; more than 100
    // characters are cut to 100. A long path is split at character 50, or a little
    // earlier where a blank would stand at the split, since each part is stored trimmed.
    QString LogoPath() const;
    void SetLogoPath(const QString &path);
    // Whether the file LogoPath names exists, relative to the current folder; backslashes
    // count as folder separators.
    static bool LogoFileExists(const QString &path);

private:
    TSysDataItem &Required(TVelaLocalItem item) const;

    std::array<TSysDataItem *, kVelaLocalItems.size()> m_items {};
    int m_till = 0;
    TTillsItem m_tillRecord;
    TVelaPrinters m_tillPrinters;
    bool m_backOffice = false;
    bool m_passwordOnly = false;
};

// The menu versions (Class "MENUVERSIONS"). Not loaded at start-up.
class TVelaMenuUpdateSettings : public TSysData
{
public:
    TVelaMenuUpdateSettings();

    using TSysData::Populate;
    TSysDataItem *ItemFor(const QString &item, const QString &defaultValue);
    // Loads the rows, adds the missing items with their defaults, takes the references.
    virtual void Populate();
    void ClearItems() override;

    TSysDataItem *Setting(TVelaMenuItem item) const { return m_items[size_t(item)]; }

private:
    std::array<TSysDataItem *, kVelaMenuItems.size()> m_items {};
};

// The process's shared settings: the three collections and the shop's printer list, all
// owned, all on one connection (not owned, which must outlive them).
class TVelaSettings
{
public:
    TVelaSettings();
    ~TVelaSettings();
    TVelaSettings(const TVelaSettings &) = delete;
    TVelaSettings &operator=(const TVelaSettings &) = delete;

    TVelaGlobalSettings &Global() { return *m_global; }
    TVelaLocalSettings &Local() { return *m_local; }
    TVelaMenuUpdateSettings &MenuUpdate() { return *m_menuUpdate; }
    T_Printers &Printers() { return *m_printers; }

    platform::SqlConnection *Connection() const { return m_connection; }
    // Stores the connection and gives it to Local, Global, MenuUpdate and Printers, in
    // that order.
    void SetConnection(platform::SqlConnection *connection);

    // This machine's till number.
    int Till() const { return m_till; }
    void SetTill(int till) { m_till = till; }

private:
    std::unique_ptr<TVelaGlobalSettings> m_global;
    std::unique_ptr<TVelaLocalSettings> m_local;
    std::unique_ptr<TVelaMenuUpdateSettings> m_menuUpdate;
    platform::SqlConnection *m_connection = nullptr; // not owned
    int m_till = 0;
    std::unique_ptr<T_Printers> m_printers;
};

// The process-wide settings: null until the start-up creates them, freed when it ends.
extern TVelaSettings *VelaSettings;
