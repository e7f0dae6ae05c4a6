-- Schema of every table the kitchen monitor reads or writes, Microsoft SQL Server.
-- No GO separators: statements end with a semicolon at the end of a line, and
-- each table and index is guarded, so the script can be run again.
-- The stored procedure comes last, after the marker line that names it as such.
-- It must be sent as a batch of its own.
--
-- The database is expected to use a case-insensitive collation (the default),
-- which the suite's statements rely on.
-- No foreign keys are declared: the suite keeps dangling links on purpose
-- (ShiftNum 0, printer links that outlive their printer, ...).

-- Orders, written by the tills.
IF OBJECT_ID('dbo.Invoices','U') IS NULL
CREATE TABLE dbo.Invoices (
    InvoiceNum      int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    OrderNum        int NOT NULL DEFAULT 0,
    Prepared        bit NOT NULL DEFAULT 0,
    ShiftNum        int NOT NULL DEFAULT 0,
    Cashier         nvarchar(10) NULL,
    [Date]          datetime NULL,
    Status          int NOT NULL DEFAULT 0,
    TimeStampCooked datetime NULL,
    DRIVERLINK      int NOT NULL DEFAULT 0,
    CLOSEDTABLE     bit NOT NULL DEFAULT 0,
    TRANSTYPE       int NOT NULL DEFAULT 0
);
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Invoices_Date' AND object_id = OBJECT_ID('dbo.Invoices'))
CREATE INDEX IX_Invoices_Date ON dbo.Invoices([Date]);
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Invoices_ShiftNum' AND object_id = OBJECT_ID('dbo.Invoices'))
CREATE INDEX IX_Invoices_ShiftNum ON dbo.Invoices(ShiftNum);

IF OBJECT_ID('dbo.LineItem','U') IS NULL
CREATE TABLE dbo.LineItem (
    LineItemID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    InvoiceNum int NOT NULL DEFAULT 0,
    LineNum    int NOT NULL DEFAULT 0,
    Code       nvarchar(20) NULL,
    Quantity   float NOT NULL DEFAULT 1,
    [Size]     nvarchar(20) NULL DEFAULT '',
    ItemDesc   nvarchar(100) NULL,
    [Date]     datetime NULL,
    Tag        nvarchar(10) NULL DEFAULT '',
    Price      money NULL DEFAULT 0
);
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_LineItem_InvoiceNum' AND object_id = OBJECT_ID('dbo.LineItem'))
CREATE INDEX IX_LineItem_InvoiceNum ON dbo.LineItem(InvoiceNum);

-- One row per till shift (the cash-up of one till). ShiftNum is the key.
IF OBJECT_ID('dbo.Tillpost','U') IS NULL
CREATE TABLE dbo.Tillpost (
    ShiftNum      int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    TillID        int NOT NULL DEFAULT 0,
    [Date]        datetime NULL,
    TILLISACTIVE  bit NOT NULL DEFAULT 0,
    FKCASHPOSTID  int NULL,
    Coupons       money NULL DEFAULT 0,
    Cheques       money NULL DEFAULT 0,
    Cash          money NULL DEFAULT 0,
    CrCards       money NULL DEFAULT 0,
    PettyCash     money NULL DEFAULT 0,
    GRVs          money NULL DEFAULT 0,
    DrvFloat      money NULL DEFAULT 0,
    FloatIssue    money NULL DEFAULT 0,
    [Float]       money NULL DEFAULT 0,
    Wages         money NULL DEFAULT 0,
    AdditBank     money NULL DEFAULT 0,
    TotSales      money NULL DEFAULT 0,
    Discounts     money NULL DEFAULT 0,
    OverRings     money NULL DEFAULT 0,
    NetSales      money NULL DEFAULT 0,
    DelivChg      money NULL DEFAULT 0,
    Vat           money NULL DEFAULT 0,
    NetoVat       money NULL DEFAULT 0,
    Debtors       money NULL DEFAULT 0,
    Difference    money NULL DEFAULT 0,
    CashupTotal   money NULL DEFAULT 0,
    ExcludedSales money NULL DEFAULT 0,
    Gratuity      money NULL DEFAULT 0
);

-- Products. One Code may occur under several Recipes (one per size).
-- Recipe is the key that PricesLinkPrinters.fkPricesID refers to.
IF OBJECT_ID('dbo.Prices','U') IS NULL
CREATE TABLE dbo.Prices (
    Recipe          int NOT NULL PRIMARY KEY,
    Code            nvarchar(20) NOT NULL,
    Description     nvarchar(100) NULL,
    [Size]          nvarchar(20) NULL DEFAULT '',
    Price           money NULL DEFAULT 0,
    BKPrint         nvarchar(50) NULL DEFAULT '',
    fkReportGroupID int NULL,
    LabelDesc       nvarchar(50) NULL,
    CatMenuCode     int NULL,
    IsChild         bit NOT NULL DEFAULT 0
);
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Prices_Code' AND object_id = OBJECT_ID('dbo.Prices'))
CREATE INDEX IX_Prices_Code ON dbo.Prices(Code);

IF OBJECT_ID('dbo.CatMenu','U') IS NULL
CREATE TABLE dbo.CatMenu (
    CatMenuCode int NOT NULL PRIMARY KEY,
    Description nvarchar(50) NULL
);

IF OBJECT_ID('dbo.Printers','U') IS NULL
CREATE TABLE dbo.Printers (
    PrintersID             int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Name                   nvarchar(50) NULL,
    Category               tinyint NOT NULL DEFAULT 0,
    [Type]                 int NOT NULL DEFAULT 0,
    Model                  int NOT NULL DEFAULT 0,
    PageLength             int NOT NULL DEFAULT 0,
    PageWidth              int NOT NULL DEFAULT 0,
    FooterHeight           int NOT NULL DEFAULT 0,
    PrintLateVoucher       bit NOT NULL DEFAULT 0,
    ExtendedProductionSlip bit NOT NULL DEFAULT 0
);

-- fkPricesID holds Prices.Recipe.
IF OBJECT_ID('dbo.PricesLinkPrinters','U') IS NULL
CREATE TABLE dbo.PricesLinkPrinters (
    PricesLinkPrintersID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    fkPricesID           int NOT NULL DEFAULT 0,
    fkPrintersID         int NOT NULL DEFAULT 0
);
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_PricesLinkPrinters_fkPricesID' AND object_id = OBJECT_ID('dbo.PricesLinkPrinters'))
CREATE INDEX IX_PricesLinkPrinters_fkPricesID ON dbo.PricesLinkPrinters(fkPricesID);

-- fkTillsID holds Tills.TillsID (the row key, not the till number).
IF OBJECT_ID('dbo.TillsLinkPrinters','U') IS NULL
CREATE TABLE dbo.TillsLinkPrinters (
    TillsLinkPrintersID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    fkTillsID           int NOT NULL DEFAULT 0,
    fkPrintersID        int NOT NULL DEFAULT 0,
    Device              nvarchar(100) NULL,
    DirectToPort        bit NOT NULL DEFAULT 0,
    Copies              int NOT NULL DEFAULT 1,
    ReportFileName      nvarchar(260) NULL,
    PrintLinePrices     bit NOT NULL DEFAULT 0,
    PrintKitchenTotals  bit NOT NULL DEFAULT 0
);

IF OBJECT_ID('dbo.Tills','U') IS NULL
CREATE TABLE dbo.Tills (
    TillsID         int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    TillID          int NOT NULL DEFAULT 0,
    [Computer Name] nvarchar(50) NULL,
    [HD Serial]     nvarchar(20) NULL,
    [Login Name]    nvarchar(50) NULL
);

-- Key/value settings. (Class, Item) identifies a row. A value holds at most 50 characters.
IF OBJECT_ID('dbo.SysData','U') IS NULL
CREATE TABLE dbo.SysData (
    [Class] nvarchar(50) NOT NULL,
    Item    nvarchar(50) NOT NULL,
    [Value] nvarchar(50) NULL,
    Value2  nvarchar(50) NULL
);
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_SysData_Class_Item' AND object_id = OBJECT_ID('dbo.SysData'))
CREATE UNIQUE INDEX UX_SysData_Class_Item ON dbo.SysData([Class], Item);

IF OBJECT_ID('dbo.IPADDRESS','U') IS NULL
CREATE TABLE dbo.IPADDRESS (
    Address nvarchar(50) NULL
);

IF OBJECT_ID('dbo.GYStaffLinkInvoices','U') IS NULL
CREATE TABLE dbo.GYStaffLinkInvoices (
    fkEmpNum     nvarchar(10) NULL,
    fkInvoiceNum int NOT NULL DEFAULT 0
);
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_GYStaffLinkInvoices_fkInvoiceNum' AND object_id = OBJECT_ID('dbo.GYStaffLinkInvoices'))
CREATE INDEX IX_GYStaffLinkInvoices_fkInvoiceNum ON dbo.GYStaffLinkInvoices(fkInvoiceNum);

-- Staff.
IF OBJECT_ID('dbo.EmpCat','U') IS NULL
CREATE TABLE dbo.EmpCat (
    Category  nvarchar(10) NOT NULL PRIMARY KEY,
    Descriptn nvarchar(50) NULL
);

-- FingerPrint is written as a binary parameter holding ASCII text and read
-- back as text, hence varchar (a byte per character) rather than nvarchar.
IF OBJECT_ID('dbo.Employee','U') IS NULL
CREATE TABLE dbo.Employee (
    EmpNum                     nvarchar(10) NOT NULL PRIMARY KEY,
    Category                   nvarchar(10) NULL,
    Active                     bit NOT NULL DEFAULT 0,
    FirstName                  nvarchar(50) NULL,
    Lastname                   nvarchar(50) NULL,
    Flat                       nvarchar(50) NULL,
    Street                     nvarchar(50) NULL,
    Suburb                     nvarchar(50) NULL,
    PostCode                   nvarchar(10) NULL,
    Telephone                  nvarchar(20) NULL,
    Telephone2                 nvarchar(20) NULL,
    [Password]                 nvarchar(20) NULL,
    InvoicePassword            nvarchar(20) NULL,
    DatePasswordChanged        datetime NULL,
    DateInvoicePasswordChanged datetime NULL,
    [Date]                     datetime NULL,
    DiscDate                   datetime NULL,
    LastWorked                 datetime NULL,
    DoesDeliveries             bit NOT NULL DEFAULT 0,
    Waiter                     bit NOT NULL DEFAULT 0,
    HourlyRate                 money NULL DEFAULT 0,
    KmRate                     money NULL DEFAULT 0,
    PayRatePerDelivery         money NULL DEFAULT 0,
    KmsPrDeliv                 float NULL DEFAULT 0,
    PctDisc                    float NULL DEFAULT 0,
    MaxDiscPct                 float NULL DEFAULT 0,
    ShToDate                   float NULL DEFAULT 0,
    PctMax                     money NULL DEFAULT 0,
    RandDisc                   money NULL DEFAULT 0,
    ShiftDisc                  money NULL DEFAULT 0,
    MonthlyMaxSpend            money NULL DEFAULT 0,
    MaxDiscValue               money NULL DEFAULT 0,
    YtdTips                    money NULL DEFAULT 0,
    MtdTips                    float NULL DEFAULT 0,
    MaxDiscValueAny            float NULL DEFAULT 0,
    MaxDiscPctAny              float NULL DEFAULT 0,
    MtdDelAmt                  float NULL DEFAULT 0,
    MtdKms                     float NULL DEFAULT 0,
    MtdNumDel                  float NULL DEFAULT 0,
    MtdHrs                     float NULL DEFAULT 0,
    MtdTimeW                   float NULL DEFAULT 0,
    MtdTravelW                 float NULL DEFAULT 0,
    YtdDelAmt                  float NULL DEFAULT 0,
    YtdKms                     float NULL DEFAULT 0,
    YtdNumDel                  float NULL DEFAULT 0,
    YtdHrs                     float NULL DEFAULT 0,
    YtdTimeW                   float NULL DEFAULT 0,
    YtdTravelW                 float NULL DEFAULT 0,
    GYColour                   int NULL DEFAULT 0,
    FingerPrint                varchar(max) NULL
);

IF OBJECT_ID('dbo.Permiss','U') IS NULL
CREATE TABLE dbo.Permiss (
    EmpCat     nvarchar(10) NULL,
    AccessCode nvarchar(10) NULL
);

-- One row per clock-in. The clock-in INSERT names only a few columns, so the
-- flags and amounts must default to 0 (ClockedOut = 0 is queried).
-- HrsWorked is a duration held as a datetime.
IF OBJECT_ID('dbo.Attend','U') IS NULL
CREATE TABLE dbo.Attend (
    InvoiceLink   int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    EmpNum        nvarchar(10) NULL,
    InDateTime    datetime NULL,
    OutDateTime   datetime NULL,
    HourlyRate    money NULL DEFAULT 0,
    KmRate        money NULL DEFAULT 0,
    HrsWorked     datetime NULL,
    KmsTravlld    float NULL DEFAULT 0,
    OdoStart      int NULL DEFAULT 0,
    OdoEnd        int NULL DEFAULT 0,
    [Float]       money NULL DEFAULT 0,
    DriverCash    money NULL DEFAULT 0,
    TotOrders     float NULL DEFAULT 0,
    OrderCount    float NULL DEFAULT 0,
    TimeWages     money NULL DEFAULT 0,
    TravlWages    money NULL DEFAULT 0,
    ExDriver      float NULL DEFAULT 0,
    Tips          money NULL DEFAULT 0,
    PdAlready     money NULL DEFAULT 0,
    CashedUp      bit NOT NULL DEFAULT 0,
    ClockedOut    bit NOT NULL DEFAULT 0,
    TotalOwed     money NULL DEFAULT 0,
    DeliveryWages money NULL DEFAULT 0,
    OnDelivery    bit NOT NULL DEFAULT 0
);
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Attend_EmpNum' AND object_id = OBJECT_ID('dbo.Attend'))
CREATE INDEX IX_Attend_EmpNum ON dbo.Attend(EmpNum);

IF OBJECT_ID('dbo.ActCodes','U') IS NULL
CREATE TABLE dbo.ActCodes (
    ActCode    nvarchar(10) NOT NULL PRIMARY KEY,
    Descriptn  nvarchar(50) NULL,
    ForceLog   bit NOT NULL DEFAULT 0,
    TempFlag   bit NOT NULL DEFAULT 0,
    LogThis    bit NOT NULL DEFAULT 0,
    ReqPermiss bit NOT NULL DEFAULT 0,
    LockedOut  bit NOT NULL DEFAULT 0
);

-- Activity log. Station is the till number. Time holds 1900-01-01 plus the time of day.
IF OBJECT_ID('dbo.Activity','U') IS NULL
CREATE TABLE dbo.Activity (
    Employee nvarchar(10) NULL,
    Station  int NULL,
    ActCode  nvarchar(10) NULL,
    Activity nvarchar(50) NULL,
    [Date]   datetime NULL,
    [Time]   datetime NULL
);

-- Cash movements of a till shift (float paid out to a driver, ...).
IF OBJECT_ID('dbo.CASHUP','U') IS NULL
CREATE TABLE dbo.CASHUP (
    SHIFTNUM int NOT NULL DEFAULT 0,
    [DATE]   datetime NULL,
    CLASS    nvarchar(20) NULL,
    NUMBER   int NOT NULL DEFAULT 0,
    [NAME]   nvarchar(50) NULL,
    AMOUNT   money NULL DEFAULT 0
);

-- One row per shop cash-up (one per day, dated at noon).
IF OBJECT_ID('dbo.CASHPOST','U') IS NULL
CREATE TABLE dbo.CASHPOST (
    CASHPOSTID    int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    [DATE]        datetime NULL,
    POSTED        bit NOT NULL DEFAULT 0,
    Coupons       money NULL DEFAULT 0,
    Cheques       money NULL DEFAULT 0,
    Cash          money NULL DEFAULT 0,
    CrCards       money NULL DEFAULT 0,
    PettyCash     money NULL DEFAULT 0,
    GRVs          money NULL DEFAULT 0,
    DrvFloat      money NULL DEFAULT 0,
    FloatIssue    money NULL DEFAULT 0,
    [Float]       money NULL DEFAULT 0,
    Wages         money NULL DEFAULT 0,
    AdditBank     money NULL DEFAULT 0,
    TotSales      money NULL DEFAULT 0,
    Discounts     money NULL DEFAULT 0,
    OverRings     money NULL DEFAULT 0,
    NetSales      money NULL DEFAULT 0,
    DelivChg      money NULL DEFAULT 0,
    Vat           money NULL DEFAULT 0,
    NetoVat       money NULL DEFAULT 0,
    Debtors       money NULL DEFAULT 0,
    Difference    money NULL DEFAULT 0,
    CashupTotal   money NULL DEFAULT 0,
    ExcludedSales money NULL DEFAULT 0,
    Gratuity      money NULL DEFAULT 0
);

IF OBJECT_ID('dbo.ReportGroup','U') IS NULL
CREATE TABLE dbo.ReportGroup (
    ReportGroupID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Description   nvarchar(50) NULL,
    Royalty       float NULL DEFAULT 0,
    Advertising   float NULL DEFAULT 0
);

IF OBJECT_ID('dbo.Departments','U') IS NULL
CREATE TABLE dbo.Departments (
    Code        nvarchar(10) NOT NULL PRIMARY KEY,
    Description nvarchar(50) NULL
);

-- fkTillsID holds the till number (Tills.TillID), fkDepartmentID a Departments.Code.
IF OBJECT_ID('dbo.TillsLinkDepartments','U') IS NULL
CREATE TABLE dbo.TillsLinkDepartments (
    TillsLinkDepartmentID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
    Active                bit NOT NULL DEFAULT 0,
    fkTillsID             int NOT NULL DEFAULT 0,
    fkDepartmentID        nvarchar(10) NULL
);

-- PROCEDURE
-- Completes an attendance row at clock-out: hours (a datetime holding the
-- duration), time wages for the whole minutes worked, kilometres and travel
-- wages. A row without both times keeps its hours and time wages.
CREATE OR ALTER PROCEDURE dbo.job_UpdateSingleAttendTotals
    @InvoiceLink int
AS
BEGIN
    SET NOCOUNT ON
    UPDATE dbo.Attend SET
        HrsWorked = CASE
            WHEN InDateTime IS NULL OR OutDateTime IS NULL THEN HrsWorked
            ELSE OutDateTime - InDateTime
        END,
        TimeWages = CASE
            WHEN InDateTime IS NULL OR OutDateTime IS NULL THEN TimeWages
            ELSE ROUND(CAST(DATEDIFF(second, InDateTime, OutDateTime) / 60 AS float) / 60.0
                       * CAST(ISNULL(HourlyRate, 0) AS float), 4)
        END,
        KmsTravlld = ISNULL(OdoEnd, 0) - ISNULL(OdoStart, 0),
        TravlWages = ROUND(CAST(ISNULL(OdoEnd, 0) - ISNULL(OdoStart, 0) AS float)
                           * CAST(ISNULL(KmRate, 0) AS float), 4)
    WHERE InvoiceLink = @InvoiceLink
END
