-- Demo shop for the kitchen monitor: a small restaurant with three tills.
-- Load into a fresh database after schema-sqlite.sql (the keys are given
-- explicitly, so loading it twice fails on them).
-- No Invoices or LineItem rows: the till simulator writes those.
-- Date-times use the canonical form 'YYYY-MM-DD HH:MM:SS.SSS', local time.

-- Tills 1..3 and today's open shift of each.
INSERT INTO Tills (TillsID, TillID, [Computer Name], [HD Serial], [Login Name]) VALUES
    (1, 1, 'TILL1', '1A2B-3C4D', 'till'),
    (2, 2, 'TILL2', '5E6F-7A8B', 'till'),
    (3, 3, 'TILL3', '9C0D-1E2F', 'till');

INSERT INTO Tillpost (ShiftNum, TillID, [Date], TILLISACTIVE) VALUES
    (1, 1, strftime('%Y-%m-%d 06:00:00.000', 'now', 'localtime'), 1),
    (2, 2, strftime('%Y-%m-%d 06:00:00.000', 'now', 'localtime'), 1),
    (3, 3, strftime('%Y-%m-%d 06:00:00.000', 'now', 'localtime'), 1);

-- Report groups.
INSERT INTO ReportGroup (ReportGroupID, Description, Royalty, Advertising) VALUES
    (1, 'DEFAULT', 0, 0),
    (2, 'FOOD', 5, 2),
    (3, 'DRINKS', 5, 2),
    (4, 'DESSERTS', 5, 2);

-- Menu categories. Products in 'EXTRA' and 'NONE' are modifiers: on a label
-- they are folded into the product line before them.
INSERT INTO CatMenu (CatMenuCode, Description) VALUES
    (1, 'Burgers'),
    (2, 'Pizzas'),
    (3, 'Salads'),
    (4, 'Drinks'),
    (5, 'Desserts'),
    (6, 'EXTRA'),
    (7, 'NONE'),
    (8, 'Sides'),
    (9, 'Vouchers');

-- Printers. Category 0 = invoice printer, 1 = production printer.
-- Type 0 None, 1 Narrow. Model 0 Epson.
INSERT INTO Printers (PrintersID, Name, Category, [Type], Model, PageLength, PageWidth, FooterHeight,
                      PrintLateVoucher, ExtendedProductionSlip) VALUES
    (1, 'Kitchen', 1, 1, 0, 0, 42, 0, 0, 1),
    (2, 'Bar', 1, 1, 0, 0, 42, 0, 0, 0),
    (3, 'Receipt', 0, 1, 0, 0, 42, 4, 1, 0),
    (4, 'Label Printer (PDF)', 1, 0, 0, 0, 0, 0, 0, 0);

-- Each till prints receipts, kitchen and bar slips. fkTillsID is Tills.TillsID.
INSERT INTO TillsLinkPrinters (fkTillsID, fkPrintersID, Device, DirectToPort, Copies, ReportFileName,
                               PrintLinePrices, PrintKitchenTotals) VALUES
    (1, 3, 'Receipt', 0, 1, '', 1, 0),
    (1, 1, 'Kitchen', 0, 1, '', 0, 1),
    (1, 2, 'Bar', 0, 1, '', 0, 0),
    (2, 3, 'Receipt', 0, 1, '', 1, 0),
    (2, 1, 'Kitchen', 0, 1, '', 0, 1),
    (2, 2, 'Bar', 0, 1, '', 0, 0),
    (3, 3, 'Receipt', 0, 1, '', 1, 0),
    (3, 1, 'Kitchen', 0, 1, '', 0, 1),
    (3, 2, 'Bar', 0, 1, '', 0, 0);

-- Products. Sized products share their Code and have one Recipe per size.
-- Burgers, pizzas and modifiers carry a label title, salads and desserts an
-- empty one, drinks none at all.
INSERT INTO Prices (Recipe, Code, Description, [Size], Price, BKPrint, fkReportGroupID, LabelDesc, CatMenuCode, IsChild) VALUES
    (101, 'BCLS', 'Classic Burger', '', 8.50, '', 2, 'Classic Burger', 1, 0),
    (102, 'BCHS', 'Cheese Burger', '', 9.00, '', 2, 'Cheese Burger', 1, 0),
    (103, 'BBAC', 'Bacon Burger', '', 9.50, '', 2, 'Bacon Burger', 1, 0),
    (104, 'BCHK', 'Chicken Burger', '', 9.00, '', 2, 'Chicken Burger', 1, 0),
    (105, 'BVEG', 'Veggie Burger', '', 8.50, '', 2, 'Veggie Burger', 1, 0),
    (106, 'BDBL', 'Double Stack', '', 12.00, '', 2, 'Double Stack', 1, 0),

    (201, 'PMAR', 'Pizza Margherita', 'SMALL', 7.00, '', 2, 'Margherita', 2, 0),
    (202, 'PMAR', 'Pizza Margherita', 'MEDIUM', 9.50, '', 2, 'Margherita', 2, 0),
    (203, 'PMAR', 'Pizza Margherita', 'LARGE', 12.00, '', 2, 'Margherita', 2, 0),
    (204, 'PPEP', 'Pizza Pepperoni', 'SMALL', 8.00, '', 2, 'Pepperoni', 2, 0),
    (205, 'PPEP', 'Pizza Pepperoni', 'MEDIUM', 10.50, '', 2, 'Pepperoni', 2, 0),
    (206, 'PPEP', 'Pizza Pepperoni', 'LARGE', 13.50, '', 2, 'Pepperoni', 2, 0),
    (207, 'PHAW', 'Pizza Hawaiian', 'SMALL', 8.00, '', 2, 'Hawaiian', 2, 0),
    (208, 'PHAW', 'Pizza Hawaiian', 'MEDIUM', 10.50, '', 2, 'Hawaiian', 2, 0),
    (209, 'PHAW', 'Pizza Hawaiian', 'LARGE', 13.50, '', 2, 'Hawaiian', 2, 0),
    (210, 'PVEG', 'Pizza Vegetarian', 'SMALL', 7.50, '', 2, 'Vegetarian', 2, 0),
    (211, 'PVEG', 'Pizza Vegetarian', 'MEDIUM', 10.00, '', 2, 'Vegetarian', 2, 0),
    (212, 'PVEG', 'Pizza Vegetarian', 'LARGE', 13.00, '', 2, 'Vegetarian', 2, 0),

    (301, 'SCAE', 'Caesar Salad', '', 7.50, '', 2, '', 3, 0),
    (302, 'SGRK', 'Greek Salad', '', 7.00, '', 2, '', 3, 0),
    (303, 'SGAR', 'Garden Salad', '', 6.00, '', 2, '', 3, 0),
    (304, 'SCHK', 'Chicken Salad', '', 8.50, '', 2, '', 3, 0),

    (401, 'DCOL', 'Cola', 'SMALL', 2.00, '', 3, NULL, 4, 0),
    (402, 'DCOL', 'Cola', 'LARGE', 3.00, '', 3, NULL, 4, 0),
    (403, 'DLEM', 'Lemonade', 'SMALL', 2.00, '', 3, NULL, 4, 0),
    (404, 'DLEM', 'Lemonade', 'LARGE', 3.00, '', 3, NULL, 4, 0),
    (405, 'DWAT', 'Still Water', '', 1.50, '', 3, NULL, 4, 0),
    (406, 'DBER', 'Draught Beer', '', 4.50, '', 3, NULL, 4, 0),
    (407, 'DCOF', 'Coffee', 'REGULAR', 2.50, '', 3, NULL, 4, 0),
    (408, 'DCOF', 'Coffee', 'LARGE', 3.20, '', 3, NULL, 4, 0),
    (409, 'DTEA', 'Tea', '', 2.20, '', 3, NULL, 4, 0),

    (501, 'ECHC', 'Chocolate Cake', '', 4.50, '', 4, '', 5, 0),
    (502, 'EICE', 'Ice Cream', '', 3.50, '', 4, '', 5, 0),
    (503, 'ECHE', 'Cheesecake', '', 4.80, '', 4, '', 5, 0),
    (504, 'EAPP', 'Apple Pie', '', 4.20, '', 4, '', 5, 0),

    (601, 'XCHE', 'Extra Cheese', '', 1.00, '', 2, '+Cheese', 6, 1),
    (602, 'XBAC', 'Extra Bacon', '', 1.50, '', 2, '+Bacon', 6, 1),
    (603, 'XJAL', 'Extra Jalapenos', '', 0.80, '', 2, '+Jalapenos', 6, 1),
    (604, 'XMUS', 'Extra Mushrooms', '', 0.80, '', 2, '+Mushrooms', 6, 1),
    (701, 'NONI', 'No Onions', '', 0, '', 2, 'No Onions', 7, 1),
    (702, 'NTOM', 'No Tomato', '', 0, '', 2, 'No Tomato', 7, 1),
    (703, 'NSAU', 'No Sauce', '', 0, '', 2, 'No Sauce', 7, 1),

    (801, 'FRIES', 'Side of Fries', '', 3.00, 'FRIES', 2, '', 8, 0),
    (901, 'VOUCH', 'Gift Voucher', '', 20.00, '', 1, NULL, 9, 0);

-- Routing: food and modifiers to the kitchen, burgers and pizzas also to the
-- label printer, drinks to the bar. Fries reach the kitchen through their
-- BKPrint text only, the voucher goes nowhere.
INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID)
    SELECT Recipe, 1 FROM Prices WHERE CatMenuCode IN (1, 2, 3, 5, 6, 7) ORDER BY Recipe;
INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID)
    SELECT Recipe, 4 FROM Prices WHERE CatMenuCode IN (1, 2) ORDER BY Recipe;
INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID)
    SELECT Recipe, 2 FROM Prices WHERE CatMenuCode = 4 ORDER BY Recipe;

-- Staff. GYColour is a TColor (0x00BBGGRR). Passwords are upper case, as the
-- entry dialogs upper-case what is typed.
INSERT INTO EmpCat (Category, Descriptn) VALUES
    ('MGR', 'Manager'),
    ('COOK', 'Cook'),
    ('WAIT', 'Waiter');

INSERT INTO Employee (EmpNum, Category, Active, FirstName, Lastname, Street, Suburb, PostCode, Telephone,
                      [Password], InvoicePassword, DatePasswordChanged, DateInvoicePasswordChanged,
                      [Date], DiscDate, LastWorked, DoesDeliveries, Waiter, HourlyRate, KmRate, GYColour) VALUES
    ('1', 'MGR', 1, 'Maria', 'Lopez', '12 High Street', 'Centre', '1001', '555-0101',
     'ABC', 'ABC1', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'),
     '2021-03-01 00:00:00.000', '1899-12-30 00:00:00.000', '1899-12-30 00:00:00.000', 0, 0, 22.50, 0, 8388736),
    ('2', 'COOK', 1, 'Tom', 'Baker', '4 Mill Lane', 'Northside', '1002', '555-0102',
     'DEF', 'DEF1', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'),
     '2022-06-15 00:00:00.000', '1899-12-30 00:00:00.000', '1899-12-30 00:00:00.000', 0, 0, 16.00, 0, 255),
    ('3', 'COOK', 1, 'Aiko', 'Tanaka', '9 River Road', 'Eastbank', '1003', '555-0103',
     'GHI', 'GHI1', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'),
     '2023-01-09 00:00:00.000', '1899-12-30 00:00:00.000', '1899-12-30 00:00:00.000', 0, 0, 15.50, 0, 32768),
    ('4', 'WAIT', 1, 'Sam', 'Okafor', '27 Park Avenue', 'Westend', '1004', '555-0104',
     'JKL', 'JKL1', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'),
     '2023-09-20 00:00:00.000', '1899-12-30 00:00:00.000', '1899-12-30 00:00:00.000', 0, 1, 12.00, 0, 16711680),
    ('5', 'WAIT', 1, 'Lena', 'Novak', '3 Station Close', 'Southgate', '1005', '555-0105',
     'MNO', 'MNO1', strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'),
     '2024-02-01 00:00:00.000', '1899-12-30 00:00:00.000', '1899-12-30 00:00:00.000', 1, 1, 12.00, 0.35, 33023);

INSERT INTO Permiss (EmpCat, AccessCode) VALUES
    ('MGR', 'GL020'),
    ('MGR', 'CA150'),
    ('MGR', 'CL010');

INSERT INTO ActCodes (ActCode, Descriptn, ForceLog, TempFlag, LogThis, ReqPermiss, LockedOut) VALUES
    ('GL020', 'Change settings', 0, 0, 1, 1, 0),
    ('CA150', 'Change cash-up options', 0, 0, 1, 1, 0),
    ('CL010', 'Change clock times', 0, 0, 1, 1, 0);

-- Departments. TillsLinkDepartments.fkTillsID is the till number.
INSERT INTO Departments (Code, Description) VALUES
    ('KIT', 'Kitchen'),
    ('BAR', 'Bar');

INSERT INTO TillsLinkDepartments (Active, fkTillsID, fkDepartmentID) VALUES
    (1, 1, 'KIT'),
    (1, 1, 'BAR'),
    (1, 2, 'KIT'),
    (1, 3, 'BAR');
