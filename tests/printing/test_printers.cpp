// Printer definitions and till-to-printer links against a fresh database: what is written,
// what comes back, and the code-0 marker for empty names and devices.

#include "TestDatabase.h"

#include "printing/clsTillsLinkPrinters.h"
#include "printing/clsVelaPrinters.h"
#include "printing/cls_Printers.h"

#include "platform/DialogSeam.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kNul = QString(QChar(0));

class Printers : public ::testing::Test
{
protected:
    void SetUp() override { List.SetAdoConnection(&Db.Connection()); }

    int AddPrinter(const QString &name, int category = 0)
    {
        Db.Exec(QStringLiteral("INSERT INTO Printers (Name, Category) VALUES (%1, %2)")
                    .arg(name)
                    .arg(category));
        return Db.Scalar(QStringLiteral("SELECT last_insert_rowid()")).toInt();
    }
    QVariant Column(const QString &table, const QString &column, const QString &key, int id)
    {
        return Db.Scalar(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4").arg(column, table, key).arg(id));
    }

    testsupport::TestDatabase Db;
    T_Printers List;
};

TEST_F(Printers, NewPrintersAreNamedAfterTheirPlaceUntilRenamed)
{
    for (int i = 0; i < 4; ++i)
        List.Add();
    EXPECT_EQ(List.Items(0)->Name(), QStringLiteral("New Printer0"));
    EXPECT_EQ(List.Items(3)->Name(), QStringLiteral("New Printer3"));
    EXPECT_EQ(List.Items(3)->PageLength(), 26);
    EXPECT_EQ(List.Items(3)->PrintersID(), -1);

    List.Items(3)->SetName(QStringLiteral("  Grill  "));
    EXPECT_EQ(List.Items(3)->Name(), QStringLiteral("Grill"));
    EXPECT_TRUE(List.Items(3)->Modified());
}

TEST_F(Printers, InsertReadsTheKeyBackAndEveryFieldSurvivesAReload)
{
    const QString longName = QStringLiteral("P").repeated(299) + QStringLiteral("Z");
    const QString quoted = QStringLiteral("Joe's \"Bar\" ; DROP TABLE Printers --");
    AddPrinter(QStringLiteral("'Existing'")); // the new keys must not start at 1

    T_PrintersItem *a = List.Add();
    a->SetName(quoted);
    a->SetCategory(2);
    a->SetType(3);
    a->SetModel(1);
    a->SetPageLength(40);
    a->SetPageWidth(80);
    a->SetFooterHeight(5);
    a->SetPrintLateVoucher(true);
    a->SetExtendedProductionSlip(true);
    T_PrintersItem *b = List.Add();
    b->SetName(longName);

    EXPECT_EQ(List.Update(), 2);
    EXPECT_EQ(a->PrintersID(), 2);
    EXPECT_EQ(b->PrintersID(), 3);
    EXPECT_FALSE(a->Modified() || a->NewRecord());
    EXPECT_EQ(Column("Printers", "Name", "PrintersID", 2).toString(), quoted);
    EXPECT_EQ(Column("Printers", "Name", "PrintersID", 3).toString(), longName);

    T_Printers reloaded;
    reloaded.SetAdoConnection(&Db.Connection());
    reloaded.LoadAll();
    ASSERT_EQ(reloaded.Count(), 3); // by name: "Existing", the quoted one, the long one
    EXPECT_EQ(reloaded.Items(0)->Name(), QStringLiteral("Existing"));
    const T_PrintersItem *r = reloaded.Items(1);
    EXPECT_EQ(r->Name(), quoted);
    EXPECT_EQ(r->PrintersID(), 2);
    EXPECT_EQ(r->Category(), 2);
    EXPECT_EQ(r->Type(), 3);
    EXPECT_EQ(r->Model(), 1);
    EXPECT_EQ(r->PageLength(), 40);
    EXPECT_EQ(r->PageWidth(), 80);
    EXPECT_EQ(r->FooterHeight(), 5);
    EXPECT_TRUE(r->PrintLateVoucher());
    EXPECT_TRUE(r->ExtendedProductionSlip());
    EXPECT_FALSE(r->Modified() || r->NewRecord());
    EXPECT_EQ(reloaded.Items(2)->Name(), longName);
}

TEST_F(Printers, AnEmptyNameIsStoredAsTheCodeZeroTextAndReadBackEmpty)
{
    const int id = AddPrinter(QStringLiteral("'Old'"));
    List.LoadAll();
    ASSERT_EQ(List.Count(), 1);
    List.Items(0)->SetName(QStringLiteral(" \t "));
    EXPECT_EQ(List.Items(0)->Update(), 1); // an UPDATE by key: no second row
    EXPECT_EQ(Db.Count(QStringLiteral("Printers")), 1);
    EXPECT_EQ(Column("Printers", "Name", "PrintersID", id).toString(), kNul);

    T_PrintersItem loaded;
    loaded.SetAdoConnection(&Db.Connection());
    loaded.LoadByID(id);
    EXPECT_EQ(loaded.PrintersID(), id);
    EXPECT_EQ(loaded.Name(), QString());
}

TEST_F(Printers, LoadByIdOfAMissingPrinterLeavesItCleared)
{
    const int id = AddPrinter(QStringLiteral("'Bar'"), 1);
    T_PrintersItem item;
    item.SetAdoConnection(&Db.Connection());
    item.LoadByID(id);
    EXPECT_EQ(item.Name(), QStringLiteral("Bar"));
    EXPECT_EQ(item.Category(), 1);

    item.LoadByID(id + 1);
    EXPECT_TRUE(item.Empty());
    EXPECT_EQ(item.PrintersID(), -1);
    EXPECT_EQ(item.Category(), 0);
}

TEST_F(Printers, LoadAllOnAnEmptyTableKeepsTheListAndDeleteAtRemovesRowAndItem)
{
    List.Add()->SetName(QStringLiteral("Unsaved"));
    List.LoadAll();
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Items(0)->Name(), QStringLiteral("Unsaved"));

    AddPrinter(QStringLiteral("'A'"));
    AddPrinter(QStringLiteral("'B'"));
    List.LoadAll();
    ASSERT_EQ(List.Count(), 2);
    List.DeleteAt(0);
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Items(0)->Name(), QStringLiteral("B"));
    EXPECT_EQ(Db.Count(QStringLiteral("Printers")), 1);
    EXPECT_EQ(Db.Count(QStringLiteral("Printers"), QStringLiteral("Name = 'B'")), 1);
}

TEST_F(Printers, SettersMarkModifiedOnlyOnAChangeExceptTheTwoSlipOptions)
{
    T_PrintersItem printer;
    printer.SetCategory(0);
    printer.SetName(QStringLiteral("New Printer-1"));
    printer.SetPageLength(26);
    EXPECT_FALSE(printer.Modified());
    printer.SetPageLength(30);
    EXPECT_TRUE(printer.Modified());

    TTillsLinkPrintersItem link;
    link.SetCopies(1);
    link.SetDevice(QString());
    link.SetfkPrintersID(-1);
    EXPECT_FALSE(link.Modified());
    link.SetPrintLinePrices(false);
    EXPECT_TRUE(link.Modified());
    link.ClearFlags();
    link.SetPrintKitchenTotals(false);
    EXPECT_TRUE(link.Modified());
}

TEST(PrintersList, AssignCopiesTheEntriesInOrderWithoutOwningThem)
{
    T_Printers printers;
    T_PrintersList source;
    T_PrintersList target;
    for (int i = 0; i < 3; ++i)
        source.append(printers.Add());
    target.append(printers.Items(2));
    target.Assign(source);
    EXPECT_EQ(target, source);
    target.Assign(target);
    EXPECT_EQ(target.size(), 3);
    target.clear();
    EXPECT_EQ(printers.Count(), 3);
}

// ---- till links ----

class TillLinks : public Printers
{
protected:
    void SetUp() override
    {
        Printers::SetUp();
        Db.Exec(
            QStringLiteral("INSERT INTO Tills (TillsID, TillID) VALUES (10, 1), (20, 2), (30, 3)"));
        Grill = AddPrinter(QStringLiteral("'Grill'"), 1);
        Bar = AddPrinter(QStringLiteral("'Bar'"), 1);
        Links.SetAdoConnection(&Db.Connection());
    }
    void Link(int tillsID, int printersID, const QString &device)
    {
        Db.Exec(QStringLiteral("INSERT INTO TillsLinkPrinters (fkTillsID, fkPrintersID, Device) "
                               "VALUES (%1, %2, '%3')")
                    .arg(tillsID)
                    .arg(printersID)
                    .arg(device));
    }

    int Grill = 0;
    int Bar = 0;
    TTillsLinkPrinters Links;
};

TEST_F(TillLinks, NewLinkIsInsertedWithItsKeyAndQuotesAndAnEmptyDeviceSurvive)
{
    Link(20, Bar, QStringLiteral("Other till")); // keys of this table start above 1
    TTillsLinkPrintersItem *link = Links.Add();
    link->SetfkTillsID(10);
    link->SetfkPrintersID(Grill);
    link->SetCopies(2);
    link->SetDevice(QStringLiteral("   "));
    link->SetDirectToPort(true);
    link->SetReportFileName(QStringLiteral("C:\\CRRpts\\Printer\\Chef's \"slip\".rpt"));
    link->SetPrintLinePrices(true);
    link->SetPrintKitchenTotals(true);

    EXPECT_EQ(link->Update(), 1);
    EXPECT_EQ(link->TillsLinkPrintersID(), 2);
    EXPECT_EQ(link->Update(), 0); // nothing changed since
    EXPECT_EQ(Column("TillsLinkPrinters", "Device", "TillsLinkPrintersID", 2).toString(), kNul);

    TTillsLinkPrinters reloaded;
    reloaded.SetAdoConnection(&Db.Connection());
    reloaded.LoadForTill(1);
    ASSERT_EQ(reloaded.Count(), 1);
    const TTillsLinkPrintersItem *r = reloaded.Items(0);
    EXPECT_EQ(r->TillsLinkPrintersID(), 2);
    EXPECT_EQ(r->Device(), QString());
    EXPECT_EQ(r->Copies(), 2);
    EXPECT_TRUE(r->DirectToPort());
    EXPECT_EQ(r->fkPrintersID(), Grill);
    EXPECT_EQ(r->fkTillsID(), 10);
    EXPECT_EQ(r->ReportFileName(), QStringLiteral("C:\\CRRpts\\Printer\\Chef's \"slip\".rpt"));
    EXPECT_TRUE(r->PrintLinePrices());
    EXPECT_TRUE(r->PrintKitchenTotals());
    EXPECT_FALSE(r->Modified() || r->NewRecord());

    reloaded.Items(0)->SetDevice(QStringLiteral(" Kitchen's printer "));
    EXPECT_EQ(reloaded.Update(), 1);
    EXPECT_EQ(Db.Count(QStringLiteral("TillsLinkPrinters")), 2);
    EXPECT_EQ(Column("TillsLinkPrinters", "Device", "TillsLinkPrintersID", 2).toString(),
              QStringLiteral("Kitchen's printer"));
}

TEST_F(TillLinks, LoadForTillHoldsExactlyThatTillsLinks)
{
    Link(10, Grill, QStringLiteral("A"));
    Link(20, Grill, QStringLiteral("B"));
    Link(10, Bar, QStringLiteral("C"));

    Links.LoadForTill(1);
    ASSERT_EQ(Links.Count(), 2);
    EXPECT_EQ(Links.IndexOfPrinter(Bar), 1);
    EXPECT_EQ(Links.IndexOfPrinter(Grill), 0);
    EXPECT_EQ(Links.IndexOfPrinter(99), -1);

    Links.LoadForTill(3); // a till with no links
    EXPECT_EQ(Links.Count(), 0);
    Links.LoadForTill(10); // a row key is not a till number
    EXPECT_EQ(Links.Count(), 0);
}

TEST_F(TillLinks, DeletePrinterLinksRemovesEveryTillsRowsButNotTheItems)
{
    Link(10, Grill, QStringLiteral("A"));
    Link(20, Grill, QStringLiteral("B"));
    Link(10, Bar, QStringLiteral("C"));
    Links.LoadForTill(1);

    EXPECT_EQ(Links.DeletePrinterLinks(Grill), 2);
    EXPECT_EQ(Db.Count(QStringLiteral("TillsLinkPrinters")), 1);
    EXPECT_EQ(Links.Count(), 2);
}

TEST_F(TillLinks, DeleteRemovesTheRowAndFreesTheItem)
{
    Link(10, Grill, QStringLiteral("A"));
    Link(10, Bar, QStringLiteral("B"));
    Links.LoadForTill(1);
    Links.Add(); // never stored

    EXPECT_EQ(Links.Items(2)->Delete(), 0);
    EXPECT_EQ(Links.Count(), 2);
    EXPECT_EQ(Links.Items(0)->Delete(), 1);
    ASSERT_EQ(Links.Count(), 1);
    EXPECT_EQ(Links.Items(0)->fkPrintersID(), Bar);
    EXPECT_EQ(Db.Count(QStringLiteral("TillsLinkPrinters")), 1);
}

TEST_F(TillLinks, DeleteAllRemovesEveryLinkNotEveryOther)
{
    for (const char *device : {"A", "B", "C", "D"})
        Link(10, Grill, QString::fromLatin1(device));
    Links.LoadForTill(1);
    ASSERT_EQ(Links.Count(), 4);
    EXPECT_EQ(Links.DeleteAll(), 4);
    EXPECT_EQ(Links.Count(), 0);
    EXPECT_EQ(Db.Count(QStringLiteral("TillsLinkPrinters")), 0);
}

TEST_F(TillLinks, VelaPrintersCarryTheDefinitionOfTheirPrinter)
{
    Link(10, Bar, QStringLiteral("A"));
    Link(10, 99, QStringLiteral("B")); // its printer has gone
    TVelaPrinters vela;
    vela.SetAdoConnection(&Db.Connection());
    vela.LoadForTill(1);

    ASSERT_EQ(vela.Count(), 2);
    EXPECT_EQ(vela.Items(0)->PrinterItem().PrintersID(), Bar);
    EXPECT_EQ(vela.Items(0)->PrinterItem().Name(), QStringLiteral("Bar"));
    EXPECT_EQ(vela.Items(0)->PrinterItem().Category(), 1);
    EXPECT_TRUE(vela.Items(1)->PrinterItem().Empty());
    EXPECT_EQ(vela.Items(1)->PrinterItem().PrintersID(), -1);

    vela.Items(0)->Clear();
    EXPECT_EQ(vela.Items(0)->fkPrintersID(), -1);
    EXPECT_EQ(vela.Items(0)->PrinterItem().PrintersID(), -1);
}

// ---- copies that are not implemented ----

TEST_F(TillLinks, CopiesChangeNothingAndSayTheyAreNotImplemented)
{
    platform::ScriptedResponder dialogs(platform::DialogAnswer(platform::mrOk));
    Link(10, Bar, QStringLiteral("A"));
    TVelaPrinters vela;
    vela.SetAdoConnection(&Db.Connection());
    vela.LoadForTill(1);
    List.LoadAll();

    T_PrintersItem printerCopy;
    printerCopy.CopyFrom(*List.Items(0));
    TTillsLinkPrintersItem linkCopy;
    linkCopy.CopyFrom(*vela.Items(0));
    TVelaPrintersItem velaCopy;
    velaCopy.CopyFrom(*vela.Items(0));

    EXPECT_EQ(printerCopy.PrintersID(), -1);
    EXPECT_EQ(linkCopy.fkPrintersID(), -1);
    EXPECT_EQ(velaCopy.PrinterItem().PrintersID(), -1);
    ASSERT_EQ(dialogs.Requests().size(), 3);
    EXPECT_EQ(dialogs.Requests()[0].Kind, QStringLiteral("MessageBox"));
    EXPECT_EQ(dialogs.Requests()[0].Text,
              QStringLiteral("T_PrintersItem.Clone not implemented yet"));
    EXPECT_EQ(dialogs.Requests()[1].Kind, QStringLiteral("MessageBox"));
    EXPECT_EQ(dialogs.Requests()[1].Text,
              QStringLiteral("TTillsLinkPrintersItem.Clone not implemented"));
    EXPECT_EQ(dialogs.Requests()[2].Kind, QStringLiteral("MsgDlg"));
    EXPECT_EQ(dialogs.Requests()[2].Type, platform::mtInformation);
    EXPECT_EQ(dialogs.Requests()[2].Text,
              QStringLiteral("TVelaPrintersItem.Clone not implemented"));
}

} // namespace
