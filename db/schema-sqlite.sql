-- Schema of every table the kitchen monitor reads or writes, SQLite flavour.
-- Safe to run again on an existing database (IF NOT EXISTS everywhere).
--
-- Conventions:
-- * Identity keys are INTEGER PRIMARY KEY AUTOINCREMENT: ids start at 1 and a
--   deleted maximum is never handed out again, as with SQL Server IDENTITY.
-- * Booleans are INTEGER NOT NULL DEFAULT 0 holding 0 or 1.
-- * Money is REAL, readers round it to 4 decimals.
-- * Date-times are TEXT in the one form 'YYYY-MM-DD HH:MM:SS.SSS' (local time),
--   so that text order is time order and julianday()/strftime() read them.
--   Durations (Attend.HrsWorked) count from '1899-12-30 00:00:00.000'.
-- * Every text column is COLLATE NOCASE: the suite's SQL Server compares text
--   without regard to case, and the statements rely on it.
-- * Columns compared with quoted numbers ('7') are INTEGER so the literal is
--   converted before comparing.
-- * Foreign keys are deliberately not declared: the suite keeps dangling links
--   (ShiftNum 0, printer links that outlive their printer, ...).

-- Orders, written by the tills. InvoiceNum is the key, so it needs no index of its own.
CREATE TABLE IF NOT EXISTS Invoices (
    InvoiceNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    OrderNum        INTEGER NOT NULL DEFAULT 0,
    Prepared        INTEGER NOT NULL DEFAULT 0,
    ShiftNum        INTEGER NOT NULL DEFAULT 0,
    Cashier         TEXT COLLATE NOCASE,
    [Date]          TEXT COLLATE NOCASE,
    Status          INTEGER NOT NULL DEFAULT 0,
    TimeStampCooked TEXT COLLATE NOCASE,
    DRIVERLINK      INTEGER NOT NULL DEFAULT 0,
    CLOSEDTABLE     INTEGER NOT NULL DEFAULT 0,
    TRANSTYPE       INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_Invoices_Date ON Invoices([Date]);
CREATE INDEX IF NOT EXISTS IX_Invoices_ShiftNum ON Invoices(ShiftNum);

CREATE TABLE IF NOT EXISTS LineItem (
    LineItemID INTEGER PRIMARY KEY AUTOINCREMENT,
    InvoiceNum INTEGER NOT NULL DEFAULT 0,
    LineNum    INTEGER NOT NULL DEFAULT 0,
    Code       TEXT COLLATE NOCASE,
    Quantity   REAL NOT NULL DEFAULT 1,
    [Size]     TEXT COLLATE NOCASE DEFAULT '',
    ItemDesc   TEXT COLLATE NOCASE,
    [Date]     TEXT COLLATE NOCASE,
    Tag        TEXT COLLATE NOCASE DEFAULT '',
    Price      REAL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_LineItem_InvoiceNum ON LineItem(InvoiceNum);

-- One row per till shift (the cash-up of one till). ShiftNum is the key.
CREATE TABLE IF NOT EXISTS Tillpost (
    ShiftNum      INTEGER PRIMARY KEY AUTOINCREMENT,
    TillID        INTEGER NOT NULL DEFAULT 0,
    [Date]        TEXT COLLATE NOCASE,
    TILLISACTIVE  INTEGER NOT NULL DEFAULT 0,
    FKCASHPOSTID  INTEGER,
    Coupons       REAL DEFAULT 0,
    Cheques       REAL DEFAULT 0,
    Cash          REAL DEFAULT 0,
    CrCards       REAL DEFAULT 0,
    PettyCash     REAL DEFAULT 0,
    GRVs          REAL DEFAULT 0,
    DrvFloat      REAL DEFAULT 0,
    FloatIssue    REAL DEFAULT 0,
    [Float]       REAL DEFAULT 0,
    Wages         REAL DEFAULT 0,
    AdditBank     REAL DEFAULT 0,
    TotSales      REAL DEFAULT 0,
    Discounts     REAL DEFAULT 0,
    OverRings     REAL DEFAULT 0,
    NetSales      REAL DEFAULT 0,
    DelivChg      REAL DEFAULT 0,
    Vat           REAL DEFAULT 0,
    NetoVat       REAL DEFAULT 0,
    Debtors       REAL DEFAULT 0,
    Difference    REAL DEFAULT 0,
    CashupTotal   REAL DEFAULT 0,
    ExcludedSales REAL DEFAULT 0,
    Gratuity      REAL DEFAULT 0
);

-- Products. One Code may occur under several Recipes (one per size).
-- Recipe is the key that PricesLinkPrinters.fkPricesID refers to.
CREATE TABLE IF NOT EXISTS Prices (
    Recipe          INTEGER PRIMARY KEY,
    Code            TEXT NOT NULL COLLATE NOCASE,
    Description     TEXT COLLATE NOCASE,
    [Size]          TEXT COLLATE NOCASE DEFAULT '',
    Price           REAL DEFAULT 0,
    BKPrint         TEXT COLLATE NOCASE DEFAULT '',
    fkReportGroupID INTEGER,
    LabelDesc       TEXT COLLATE NOCASE,
    CatMenuCode     INTEGER,
    IsChild         INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_Prices_Code ON Prices(Code);

CREATE TABLE IF NOT EXISTS CatMenu (
    CatMenuCode INTEGER PRIMARY KEY,
    Description TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS Printers (
    PrintersID             INTEGER PRIMARY KEY AUTOINCREMENT,
    Name                   TEXT COLLATE NOCASE,
    Category               INTEGER NOT NULL DEFAULT 0,
    [Type]                 INTEGER NOT NULL DEFAULT 0,
    Model                  INTEGER NOT NULL DEFAULT 0,
    PageLength             INTEGER NOT NULL DEFAULT 0,
    PageWidth              INTEGER NOT NULL DEFAULT 0,
    FooterHeight           INTEGER NOT NULL DEFAULT 0,
    PrintLateVoucher       INTEGER NOT NULL DEFAULT 0,
    ExtendedProductionSlip INTEGER NOT NULL DEFAULT 0
);

-- fkPricesID holds Prices.Recipe.
CREATE TABLE IF NOT EXISTS PricesLinkPrinters (
    PricesLinkPrintersID INTEGER PRIMARY KEY AUTOINCREMENT,
    fkPricesID           INTEGER NOT NULL DEFAULT 0,
    fkPrintersID         INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_PricesLinkPrinters_fkPricesID ON PricesLinkPrinters(fkPricesID);

-- fkTillsID holds Tills.TillsID (the row key, not the till number).
CREATE TABLE IF NOT EXISTS TillsLinkPrinters (
    TillsLinkPrintersID INTEGER PRIMARY KEY AUTOINCREMENT,
    fkTillsID           INTEGER NOT NULL DEFAULT 0,
    fkPrintersID        INTEGER NOT NULL DEFAULT 0,
    Device              TEXT COLLATE NOCASE,
    DirectToPort        INTEGER NOT NULL DEFAULT 0,
    Copies              INTEGER NOT NULL DEFAULT 1,
    ReportFileName      TEXT COLLATE NOCASE,
    PrintLinePrices     INTEGER NOT NULL DEFAULT 0,
    PrintKitchenTotals  INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE IF NOT EXISTS Tills (
    TillsID         INTEGER PRIMARY KEY AUTOINCREMENT,
    TillID          INTEGER NOT NULL DEFAULT 0,
    [Computer Name] TEXT COLLATE NOCASE,
    [HD Serial]     TEXT COLLATE NOCASE,
    [Login Name]    TEXT COLLATE NOCASE
);

-- Key/value settings. (Class, Item) identifies a row.
CREATE TABLE IF NOT EXISTS SysData (
    [Class] TEXT NOT NULL COLLATE NOCASE,
    Item    TEXT NOT NULL COLLATE NOCASE,
    [Value] TEXT COLLATE NOCASE,
    Value2  TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX IF NOT EXISTS UX_SysData_Class_Item ON SysData([Class], Item);

CREATE TABLE IF NOT EXISTS IPADDRESS (
    Address TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS GYStaffLinkInvoices (
    fkEmpNum     TEXT COLLATE NOCASE,
    fkInvoiceNum INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_GYStaffLinkInvoices_fkInvoiceNum ON GYStaffLinkInvoices(fkInvoiceNum);

-- Staff.
CREATE TABLE IF NOT EXISTS EmpCat (
    Category  TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    Descriptn TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS Employee (
    EmpNum                     TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    Category                   TEXT COLLATE NOCASE,
    Active                     INTEGER NOT NULL DEFAULT 0,
    FirstName                  TEXT COLLATE NOCASE,
    Lastname                   TEXT COLLATE NOCASE,
    Flat                       TEXT COLLATE NOCASE,
    Street                     TEXT COLLATE NOCASE,
    Suburb                     TEXT COLLATE NOCASE,
    PostCode                   TEXT COLLATE NOCASE,
    Telephone                  TEXT COLLATE NOCASE,
    Telephone2                 TEXT COLLATE NOCASE,
    [Password]                 TEXT COLLATE NOCASE,
    InvoicePassword            TEXT COLLATE NOCASE,
    DatePasswordChanged        TEXT COLLATE NOCASE,
    DateInvoicePasswordChanged TEXT COLLATE NOCASE,
    [Date]                     TEXT COLLATE NOCASE,
    DiscDate                   TEXT COLLATE NOCASE,
    LastWorked                 TEXT COLLATE NOCASE,
    DoesDeliveries             INTEGER NOT NULL DEFAULT 0,
    Waiter                     INTEGER NOT NULL DEFAULT 0,
    HourlyRate                 REAL DEFAULT 0,
    KmRate                     REAL DEFAULT 0,
    PayRatePerDelivery         REAL DEFAULT 0,
    KmsPrDeliv                 REAL DEFAULT 0,
    PctDisc                    REAL DEFAULT 0,
    MaxDiscPct                 REAL DEFAULT 0,
    ShToDate                   REAL DEFAULT 0,
    PctMax                     REAL DEFAULT 0,
    RandDisc                   REAL DEFAULT 0,
    ShiftDisc                  REAL DEFAULT 0,
    MonthlyMaxSpend            REAL DEFAULT 0,
    MaxDiscValue               REAL DEFAULT 0,
    YtdTips                    REAL DEFAULT 0,
    MtdTips                    REAL DEFAULT 0,
    MaxDiscValueAny            REAL DEFAULT 0,
    MaxDiscPctAny              REAL DEFAULT 0,
    MtdDelAmt                  REAL DEFAULT 0,
    MtdKms                     REAL DEFAULT 0,
    MtdNumDel                  REAL DEFAULT 0,
    MtdHrs                     REAL DEFAULT 0,
    MtdTimeW                   REAL DEFAULT 0,
    MtdTravelW                 REAL DEFAULT 0,
    YtdDelAmt                  REAL DEFAULT 0,
    YtdKms                     REAL DEFAULT 0,
    YtdNumDel                  REAL DEFAULT 0,
    YtdHrs                     REAL DEFAULT 0,
    YtdTimeW                   REAL DEFAULT 0,
    YtdTravelW                 REAL DEFAULT 0,
    GYColour                   INTEGER DEFAULT 0,
    FingerPrint                TEXT COLLATE NOCASE
);

CREATE TABLE IF NOT EXISTS Permiss (
    EmpCat     TEXT COLLATE NOCASE,
    AccessCode TEXT COLLATE NOCASE
);

-- One row per clock-in. The clock-in INSERT names only a few columns, so the
-- flags and amounts must default to 0 (ClockedOut = 0 is queried).
CREATE TABLE IF NOT EXISTS Attend (
    InvoiceLink   INTEGER PRIMARY KEY AUTOINCREMENT,
    EmpNum        TEXT COLLATE NOCASE,
    InDateTime    TEXT COLLATE NOCASE,
    OutDateTime   TEXT COLLATE NOCASE,
    HourlyRate    REAL DEFAULT 0,
    KmRate        REAL DEFAULT 0,
    HrsWorked     TEXT COLLATE NOCASE,
    KmsTravlld    REAL DEFAULT 0,
    OdoStart      INTEGER DEFAULT 0,
    OdoEnd        INTEGER DEFAULT 0,
    [Float]       REAL DEFAULT 0,
    DriverCash    REAL DEFAULT 0,
    TotOrders     REAL DEFAULT 0,
    OrderCount    REAL DEFAULT 0,
    TimeWages     REAL DEFAULT 0,
    TravlWages    REAL DEFAULT 0,
    ExDriver      REAL DEFAULT 0,
    Tips          REAL DEFAULT 0,
    PdAlready     REAL DEFAULT 0,
    CashedUp      INTEGER NOT NULL DEFAULT 0,
    ClockedOut    INTEGER NOT NULL DEFAULT 0,
    TotalOwed     REAL DEFAULT 0,
    DeliveryWages REAL DEFAULT 0,
    OnDelivery    INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS IX_Attend_EmpNum ON Attend(EmpNum);

CREATE TABLE IF NOT EXISTS ActCodes (
    ActCode    TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    Descriptn  TEXT COLLATE NOCASE,
    ForceLog   INTEGER NOT NULL DEFAULT 0,
    TempFlag   INTEGER NOT NULL DEFAULT 0,
    LogThis    INTEGER NOT NULL DEFAULT 0,
    ReqPermiss INTEGER NOT NULL DEFAULT 0,
    LockedOut  INTEGER NOT NULL DEFAULT 0
);

-- Activity log. Station is the till number (written quoted, stored as a number).
CREATE TABLE IF NOT EXISTS Activity (
    Employee TEXT COLLATE NOCASE,
    Station  INTEGER,
    ActCode  TEXT COLLATE NOCASE,
    Activity TEXT COLLATE NOCASE,
    [Date]   TEXT COLLATE NOCASE,
    [Time]   TEXT COLLATE NOCASE
);

-- Cash movements of a till shift (float paid out to a driver, ...).
CREATE TABLE IF NOT EXISTS CASHUP (
    SHIFTNUM INTEGER NOT NULL DEFAULT 0,
    [DATE]   TEXT COLLATE NOCASE,
    CLASS    TEXT COLLATE NOCASE,
    NUMBER   INTEGER NOT NULL DEFAULT 0,
    [NAME]   TEXT COLLATE NOCASE,
    AMOUNT   REAL DEFAULT 0
);

-- One row per shop cash-up (one per day, dated at noon).
CREATE TABLE IF NOT EXISTS CASHPOST (
    CASHPOSTID    INTEGER PRIMARY KEY AUTOINCREMENT,
    [DATE]        TEXT COLLATE NOCASE,
    POSTED        INTEGER NOT NULL DEFAULT 0,
    Coupons       REAL DEFAULT 0,
    Cheques       REAL DEFAULT 0,
    Cash          REAL DEFAULT 0,
    CrCards       REAL DEFAULT 0,
    PettyCash     REAL DEFAULT 0,
    GRVs          REAL DEFAULT 0,
    DrvFloat      REAL DEFAULT 0,
    FloatIssue    REAL DEFAULT 0,
    [Float]       REAL DEFAULT 0,
    Wages         REAL DEFAULT 0,
    AdditBank     REAL DEFAULT 0,
    TotSales      REAL DEFAULT 0,
    Discounts     REAL DEFAULT 0,
    OverRings     REAL DEFAULT 0,
    NetSales      REAL DEFAULT 0,
    DelivChg      REAL DEFAULT 0,
    Vat           REAL DEFAULT 0,
    NetoVat       REAL DEFAULT 0,
    Debtors       REAL DEFAULT 0,
    Difference    REAL DEFAULT 0,
    CashupTotal   REAL DEFAULT 0,
    ExcludedSales REAL DEFAULT 0,
    Gratuity      REAL DEFAULT 0
);

CREATE TABLE IF NOT EXISTS ReportGroup (
    ReportGroupID INTEGER PRIMARY KEY AUTOINCREMENT,
    Description   TEXT COLLATE NOCASE,
    Royalty       REAL DEFAULT 0,
    Advertising   REAL DEFAULT 0
);

CREATE TABLE IF NOT EXISTS Departments (
    Code        TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,
    Description TEXT COLLATE NOCASE
);

-- fkTillsID holds the till number (Tills.TillID), fkDepartmentID a Departments.Code.
CREATE TABLE IF NOT EXISTS TillsLinkDepartments (
    TillsLinkDepartmentID INTEGER PRIMARY KEY AUTOINCREMENT,
    Active                INTEGER NOT NULL DEFAULT 0,
    fkTillsID             INTEGER NOT NULL DEFAULT 0,
    fkDepartmentID        TEXT COLLATE NOCASE
);
