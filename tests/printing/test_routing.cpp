// Product-to-printer links: saving, loading with product codes, and the two look-ups the
// monitor and the settings dialog route by (FindByCode, Locate).

#include "TestDatabase.h"

#include "printing/clsPricesCodeLinkPrinters.h"

#include "framework/clsEZXException.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class PriceLinks : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Links.SetAdoConnection(&Db.Connection());
        CodeLinks.SetAdoConnection(&Db.Connection());
    }
    void Product(int recipe, const QString &code, bool isChild = false)
    {
        Db.Exec(QStringLiteral("INSERT INTO Prices (Recipe, Code, IsChild) VALUES (%1, %2, %3)")
                    .arg(recipe)
                    .arg(code)
                    .arg(isChild ? 1 : 0));
    }
    void Link(int recipe, int printer)
    {
        Db.Exec(QStringLiteral(
                    "INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) VALUES (%1, %2)")
                    .arg(recipe)
                    .arg(printer));
    }

    testsupport::TestDatabase Db;
    TPricesLinkPrinters Links;
    TPricesCodeLinkPrinters CodeLinks;
};

TEST_F(PriceLinks, InsertReadsTheKeyBackThenUpdatesByKey)
{
    Link(1, 1); // keys of this table start above 1
    TPricesLinkPrintersItem *link = Links.Add();
    link->SetfkPricesID(5);
    link->SetfkPrintersID(7);
    EXPECT_EQ(link->Update(), 1);
    EXPECT_EQ(link->PricesLinkPrintersID(), 2);

    link->SetfkPrintersID(8);
    EXPECT_EQ(link->Update(), 1);
    EXPECT_EQ(Db.Count(QStringLiteral("PricesLinkPrinters")), 2);
    EXPECT_EQ(
        Db.Scalar(QStringLiteral(
                      "SELECT fkPrintersID FROM PricesLinkPrinters WHERE PricesLinkPrintersID = 2"))
            .toInt(),
        8);

    EXPECT_EQ(link->Delete(), 1);
    EXPECT_EQ(Db.Count(QStringLiteral("PricesLinkPrinters")), 1);
    EXPECT_EQ(Links.Count(), 1); // the item stays
}

TEST_F(PriceLinks, DeletingANeverStoredLinkRaises)
{
    TPricesLinkPrintersItem *link = Links.Add();
    try {
        link->Delete();
        FAIL() << "no exception";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Cannot delete when the TPricesLinkPrintersID."
                                 "PricesLinkPrintersID has not been set"));
        EXPECT_EQ(e.RaisedIn(), QStringLiteral("TPricesLinkPrintersItem.Delete"));
    }
}

TEST_F(PriceLinks, LoadAllSortsByProductThenPrinterAndKeepsTheListWhenEmpty)
{
    Links.Add();
    Links.LoadAll();
    EXPECT_EQ(Links.Count(), 1);

    Link(3, 2);
    Link(1, 9);
    Link(3, 1);
    Links.LoadAll();
    std::vector<std::pair<int, int>> rows;
    for (int i = 0; i < Links.Count(); ++i)
        rows.emplace_back(Links.Items(i)->fkPricesID(), Links.Items(i)->fkPrintersID());
    EXPECT_EQ(rows, (std::vector<std::pair<int, int>> {{1, 9}, {3, 1}, {3, 2}}));
}

struct LocateCase
{
    const char *name;
    int pricesID;
    int printersID;
    int expected; // -1: not found
};

void PrintTo(const LocateCase &c, std::ostream *os)
{
    *os << c.name;
}

class Locate : public PriceLinks, public ::testing::WithParamInterface<LocateCase>
{
};

TEST_P(Locate, FindsWithinTheProductsRunOnly)
{
    // In LoadAll's order: product 1 on 4 and 6, product 2 on 5, product 3 (last) on 1 and 2.
    for (auto [recipe, printer] : {std::pair {1, 4}, {1, 6}, {2, 5}, {3, 1}, {3, 2}})
        Link(recipe, printer);
    Links.LoadAll();

    const LocateCase &c = GetParam();
    if (c.expected >= 0) {
        EXPECT_EQ(Links.Locate(c.pricesID, c.printersID), c.expected);
        return;
    }
    try {
        Links.Locate(c.pricesID, c.printersID);
        FAIL() << "no exception";
    } catch (const EZXException &e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Cannot find the printer in the PriceLinkPrinters table."));
        EXPECT_EQ(e.RaisedIn(), QStringLiteral("TPricesLinkPrinters.Locate"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Locate,
                         ::testing::Values(LocateCase {"FirstOfTheRun", 1, 4, 0},
                                           LocateCase {"LaterInTheRun", 1, 6, 1},
                                           LocateCase {"LastItem", 3, 2, 4},
                                           LocateCase {"PrinterOnlyOfTheNextProduct", 1, 5, -1},
                                           LocateCase {"LastRunWithoutThePrinter", 3, 7, -1},
                                           LocateCase {"NoSuchProduct", 9, 1, -1}),
                         [](const ::testing::TestParamInfo<LocateCase> &row) {
                             return row.param.name;
                         });

TEST(LocateEmpty, AnEmptyListRaises)
{
    TPricesLinkPrinters links;
    EXPECT_THROW(links.Locate(1, 1), EZXException);
}

// ---- routing by product code ----

class FindByCode : public PriceLinks
{
protected:
    void SetUp() override
    {
        PriceLinks::SetUp();
        Product(10, QStringLiteral("'AB1'"));
        Product(11, QStringLiteral("'AB1'")); // the same code under a second price record
        Product(20, QStringLiteral("'CD2'"));
        Product(30, QStringLiteral("'KID'"), true);
        Product(40, QStringLiteral("'NOLINK'"));
        Link(10, 8);
        Link(11, 7);
        Link(20, 8);
        Link(20, 7);
        Link(30, 3);
        CodeLinks.LoadAllWithCodes();
    }
    // "recipe/printer" of what was found, or "none".
    QString Found(const QString &code, int printer, bool childOnAnyPrinter) const
    {
        const TPricesCodeLinkPrintersItem *item
            = CodeLinks.FindByCode(code, printer, childOnAnyPrinter);
        return item ? QStringLiteral("%1/%2").arg(item->fkPricesID()).arg(item->fkPrintersID())
                    : QStringLiteral("none");
    }
};

TEST_F(FindByCode, LoadsEveryLinkWithItsCodeAndChildFlag)
{
    ASSERT_EQ(CodeLinks.Count(), 5);
    int children = 0;
    for (int i = 0; i < CodeLinks.Count(); ++i) {
        const TPricesCodeLinkPrintersItem *item = CodeLinks.Items(i);
        EXPECT_FALSE(item->Code().isEmpty());
        if (item->IsChild()) {
            ++children;
            EXPECT_EQ(item->Code(), QStringLiteral("KID"));
        }
    }
    EXPECT_EQ(children, 1);

    Db.Exec(QStringLiteral("DELETE FROM PricesLinkPrinters"));
    CodeLinks.LoadAllWithCodes();
    EXPECT_EQ(CodeLinks.Count(), 0); // emptied even when nothing comes back
}

TEST_F(FindByCode, RoutesByTrimmedCaseFreeCodeAndPrinter)
{
    struct Case
    {
        const char *name;
        const char *code;
        int printer;
        bool childOnAnyPrinter;
        const char *expected;
    };
    const Case cases[] = {
        {"blanks and case, linked printer", "  ab1 ", 7, false, "11/7"},
        {"second price record's link found", "AB1", 7, false, "11/7"},
        {"first price record's link found", "AB1", 8, false, "10/8"},
        {"linked only to other printers", "cd2", 5, false, "none"},
        {"child counts on any printer", "kid", 5, true, "30/3"},
        {"child without the flag", "KID", 5, false, "none"},
        {"child on its own printer", "KID", 3, false, "30/3"},
        {"flag does nothing for a non-child", "CD2", 5, true, "none"},
        {"product without links", "NOLINK", 0, true, "none"},
        {"unknown code", "ZZ", 0, false, "none"},
        {"empty code", "", 0, false, "none"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Found(QString::fromLatin1(c.code), c.printer, c.childOnAnyPrinter),
                  QString::fromLatin1(c.expected))
            << c.name;

    // Printer 0 stands for any printer: the first link of the code in the list wins, also
    // when the code belongs to two price records.
    for (const QString &code : {QStringLiteral("AB1"), QStringLiteral("CD2")}) {
        int first = 0;
        while (CodeLinks.Items(first)->Code() != code)
            ++first;
        EXPECT_EQ(CodeLinks.FindByCode(code.toLower(), 0, false), CodeLinks.Items(first))
            << code.toStdString();
    }
}

TEST_F(FindByCode, LoadForInvoiceHoldsTheLinksOfTheOrdersProductsOnce)
{
    Db.Exec(QStringLiteral("INSERT INTO Invoices (InvoiceNum) VALUES (100), (101)"));
    Db.Exec(
        QStringLiteral("INSERT INTO LineItem (InvoiceNum, LineNum, Code) VALUES "
                       "(100, 1, 'CD2'), (100, 2, 'CD2'), (100, 3, 'NOLINK'), (101, 1, 'KID')"));

    TPricesCodeLinkPrinters forInvoice;
    forInvoice.SetAdoConnection(&Db.Connection());
    forInvoice.LoadForInvoice(100);
    ASSERT_EQ(forInvoice.Count(), 2);
    for (int i = 0; i < forInvoice.Count(); ++i) {
        EXPECT_EQ(forInvoice.Items(i)->Code(), QStringLiteral("CD2"));
        EXPECT_EQ(forInvoice.Items(i)->fkPricesID(), 20);
    }

    forInvoice.LoadForInvoice(999); // nothing: the list stays
    EXPECT_EQ(forInvoice.Count(), 2);

    Links.LoadForInvoice(101);
    ASSERT_EQ(Links.Count(), 1);
    EXPECT_EQ(Links.Items(0)->fkPrintersID(), 3);
}

} // namespace
