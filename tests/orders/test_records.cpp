#include "orders/clsInvoices.h"

#include "framework/clsEZXException.h"

#include "TestDatabase.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kTaken(QDate(2026, 12, 11), QTime(10, 22));

} // namespace

TEST(InvoiceRecord, SetInvoiceNumAndSetDateRenumberTheItemsAlreadyHeld)
{
    TInvoice invoice;
    invoice.SetInvoiceNum(5);
    invoice.SetDate(kTaken);
    for (int i = 0; i < 200; ++i) {
        TLineitemItem *line = invoice.Lineitems()->Add();
        line->SetQuantity(i + 1);
        line->SetSize(i % 2 ? "LARGE" : "");
        line->SetItemDesc(QString("Item %1").arg(i));
    }
    ASSERT_EQ(invoice.Lineitems()->Count(), 200);
    // Items added after the setters keep their own number and date.
    EXPECT_EQ(invoice.Lineitems()->Items(199)->InvoiceNum(), 0);
    EXPECT_FALSE(invoice.Lineitems()->Items(199)->Date().isValid());

    const QDateTime later = kTaken.addSecs(90);
    invoice.SetInvoiceNum(106550);
    invoice.SetDate(later);
    EXPECT_EQ(invoice.InvoiceNum(), 106550);
    EXPECT_EQ(invoice.Date(), later);
    for (int i = 0; i < 200; ++i) {
        const TLineitemItem *line = invoice.Lineitems()->Items(i);
        ASSERT_EQ(line->InvoiceNum(), 106550) << i;
        ASSERT_EQ(line->Date(), later) << i;
        ASSERT_EQ(line->Quantity(), i + 1) << i;
        ASSERT_EQ(line->ItemDesc(), QString("Item %1").arg(i)) << i;
    }
    EXPECT_EQ(invoice.Lineitems()->Items(1)->Size(), "LARGE");
}

TEST(InvoiceRecord, NewInvoiceStartsEmptyAndHandsTheDefaultVatRateToItsLines)
{
    TInvoice plain;
    EXPECT_EQ(plain.InvoiceNum(), 0);
    EXPECT_EQ(plain.OrderNum(), 0);
    EXPECT_EQ(plain.TillID(), 0);
    EXPECT_FALSE(plain.Date().isValid());
    EXPECT_FALSE(plain.Prepared());
    EXPECT_FALSE(plain.Overrung());
    EXPECT_EQ(plain.Lineitems()->Count(), 0);

    TInvoice::SetDefaultVatRate(15);
    TInvoice taxed;
    TInvoice::SetDefaultVatRate(0);
    EXPECT_EQ(taxed.VatRate(), 15);
    EXPECT_EQ(taxed.Lineitems()->Add()->VatRate(), 15);
    EXPECT_EQ(plain.Lineitems()->Add()->VatRate(), 0);
}

TEST(InvoiceRecord, CopyFromCopiesFieldsAndLines)
{
    TInvoice source;
    source.SetInvoiceNum(9);
    source.SetOrderNum(3);
    source.SetTillID(2);
    source.SetDate(kTaken);
    source.SetPrepared(true);
    source.SetOverrung(true);
    source.Lineitems()->Add()->SetItemDesc("Soup");

    TInvoice copy;
    copy.Lineitems()->Add()->SetItemDesc("stale");
    copy.CopyFrom(source);
    EXPECT_EQ(copy.InvoiceNum(), 9);
    EXPECT_EQ(copy.OrderNum(), 3);
    EXPECT_EQ(copy.TillID(), 2);
    EXPECT_EQ(copy.Date(), kTaken);
    EXPECT_TRUE(copy.Prepared());
    EXPECT_TRUE(copy.Overrung());
    ASSERT_EQ(copy.Lineitems()->Count(), 1);
    EXPECT_EQ(copy.Lineitems()->Items(0)->ItemDesc(), "Soup");
    EXPECT_NE(copy.Lineitems()->Items(0), source.Lineitems()->Items(0));
}

TEST(InvoiceRecord, ElapsedTimeFormatsAsHoursAndMinutes)
{
    const struct
    {
        const char *name;
        QDateTime now;
        QString text;
    } cases[] = {
        {"68 minutes", kTaken.addSecs(68 * 60), "01:08"},
        {"just taken", kTaken, "00:00"},
        {"59 seconds", kTaken.addSecs(59), "00:00"},
        {"one second short of an hour", kTaken.addSecs(3599), "00:59"},
        {"past midnight", QDateTime(QDate(2026, 12, 12), QTime(0, 10)), "13:48"},
        {"a day and an hour: the time of day only", kTaken.addSecs(25 * 3600), "01:00"},
        {"taken 68 minutes in the future", kTaken.addSecs(-68 * 60), "01:08"},
    };
    TInvoice invoice;
    invoice.SetDate(kTaken);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatHourMinute(invoice.ElapsedTime(c.now)), c.text);
    }
    EXPECT_NEAR(invoice.ElapsedTime(kTaken.addSecs(68 * 60)), 68.0 / (24 * 60), 1e-9);
}

TEST(InvoiceRecord, DayNumbersCountFromTheEndOf1899)
{
    const struct
    {
        const char *name;
        QDateTime when;
        double days;
    } cases[] = {
        {"day zero", QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0},
        {"1900-01-01", QDateTime(QDate(1900, 1, 1), QTime(0, 0)), 2},
        {"noon of 2026-12-11", QDateTime(QDate(2026, 12, 11), QTime(12, 0)), 46367.5},
        {"before day zero, time counted forward", QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(DateTimeToDays(c.when), c.days);
        EXPECT_EQ(DaysToDateTime(c.days), c.when);
    }
    EXPECT_EQ(DateTimeToDays(QDateTime()), 0);
}

TEST(InvoicesCollection, IndexOfInvoiceNumFindsTheFirstMatch)
{
    TInvoices invoices;
    EXPECT_EQ(invoices.IndexOfInvoiceNum(0), -1);
    for (int number : {10, 20, 20, 30})
        invoices.Add()->SetInvoiceNum(number);
    EXPECT_EQ(invoices.IndexOfInvoiceNum(10), 0);
    EXPECT_EQ(invoices.IndexOfInvoiceNum(20), 1);
    EXPECT_EQ(invoices.IndexOfInvoiceNum(30), 3);
    EXPECT_EQ(invoices.IndexOfInvoiceNum(25), -1);
    EXPECT_EQ(invoices.Items(3)->ClassName(), "TInvoice");
}

TEST(InvoiceRecord, PopulateReadsOrderRowsIncludingNullsAndPreparedTexts)
{
    testsupport::TestDatabase db;
    platform::SqlQuery q(&db.Connection());
    const struct
    {
        const char *name;
        QString select;
        int invoiceNum;
        int tillID;
        QDateTime date;
        bool prepared;
        bool overrung;
    } cases[] = {
        {"all NULL", "NULL AS InvoiceNum, NULL AS OrderNum, NULL AS Date, NULL AS Prepared, NULL AS Status, NULL AS TillID",
         0, 0, QDateTime(), false, false},
        {"order query row", "7 AS invoicenum, 2 AS ordernum, '2026-12-11 10:22:00.000' AS time, 1 AS prepared, 4 AS TillID",
         7, 4, kTaken, true, false},
        {"prepared text 0, overrung", "8 AS InvoiceNum, '0' AS Prepared, 2 AS Status", 8, 0, QDateTime(), false, true},
        {"prepared text empty", "9 AS InvoiceNum, '' AS Prepared, 0 AS Status", 9, 0, QDateTime(), false, false},
        {"prepared text Y", "10 AS InvoiceNum, 'Y' AS Prepared", 10, 0, QDateTime(), false, false},
        {"prepared text 1", "11 AS InvoiceNum, '1' AS Prepared", 11, 0, QDateTime(), true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        q.SetSQL("SELECT " + c.select);
        q.Open();
        TInvoice invoice;
        invoice.SetTillID(99); // Populate must overwrite only what the row has
        ASSERT_TRUE(invoice.Populate(&q));
        EXPECT_EQ(invoice.InvoiceNum(), c.invoiceNum);
        EXPECT_EQ(invoice.TillID(), QString(c.select).contains("TillID") ? c.tillID : 99);
        EXPECT_EQ(invoice.Date(), c.date);
        EXPECT_EQ(invoice.Prepared(), c.prepared);
        EXPECT_EQ(invoice.Overrung(), c.overrung);
        EXPECT_FALSE(invoice.Modified());
    }
    // A row of the table itself, with its NULL texts.
    db.Exec("INSERT INTO Invoices (InvoiceNum, OrderNum, Cashier, [Date]) VALUES (12, 3, NULL, NULL)");
    q.SetSQL("SELECT * FROM Invoices");
    q.Open();
    TInvoice row;
    ASSERT_TRUE(row.Populate(&q));
    EXPECT_EQ(row.InvoiceNum(), 12);
    EXPECT_EQ(row.OrderNum(), 3);
    EXPECT_FALSE(row.Date().isValid());

    q.SetSQL("SELECT * FROM Invoices WHERE 0 = 1");
    q.Open();
    EXPECT_FALSE(row.Populate(&q));
    EXPECT_EQ(row.InvoiceNum(), 0);
}

TEST(LineitemCollection, PopulateLoadsEveryRowAndRejectsANullDataSet)
{
    testsupport::TestDatabase db;
    db.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
            "INSERT INTO LineItem (InvoiceNum, LineNum, Code, Quantity, [Size], ItemDesc, [Date]) "
            "SELECT 77, i, 'C' || i, i % 3 + 1, CASE WHEN i % 2 THEN 'LARGE' ELSE NULL END, 'Item ' || i, "
            "'2026-12-11 10:22:00.000' FROM n");
    platform::SqlQuery q(&db.Connection());
    q.SetSQL("SELECT * FROM LineItem ORDER BY LineNum");
    q.Open();

    TLineitem lines;
    ASSERT_EQ(lines.Populate(&q), 200);
    for (int i = 0; i < 200; ++i) {
        const TLineitemItem *line = lines.Items(i);
        ASSERT_EQ(line->LineNum(), i + 1);
        ASSERT_EQ(line->Code(), QString("C%1").arg(i + 1));
        ASSERT_EQ(line->Quantity(), (i + 1) % 3 + 1);
        ASSERT_EQ(line->Size(), (i + 1) % 2 ? "LARGE" : "");
        ASSERT_EQ(line->InvoiceNum(), 77);
        ASSERT_EQ(line->Date(), kTaken);
        ASSERT_FALSE(line->NewRecord());
    }

    try {
        lines.Populate(static_cast<platform::SqlQuery *>(nullptr));
        FAIL() << "no exception";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(), "Cannot call TLineitem.Populate with a nil DataSet parameter");
    }
}

TEST(InvoiceRecord, SavingIsRefusedBecauseTheTillsOwnTheRows)
{
    testsupport::TestDatabase db;
    TInvoices invoices;
    invoices.SetAdoConnection(&db.Connection());
    invoices.Add()->SetInvoiceNum(1);
    invoices.Items(0)->Lineitems()->Add();
    EXPECT_THROW(invoices.Update(), EZXException);
    EXPECT_THROW(invoices.Items(0)->Lineitems()->Update(), EZXException);
    EXPECT_THROW(invoices.Items(0)->Delete(), EZXException);
    EXPECT_EQ(db.Count("Invoices"), 0);
}
