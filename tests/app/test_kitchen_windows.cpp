// The windows as the start-up wires them, on the demo shop: the monitor settings window's OK
// reaches the registry, SysData and the main window's next layout and refresh; an order
// marked done prints its labels on a PDF label printer and is written prepared.

#include "TestDatabase.h"

#include "app/datamodVela.h"
#include "app/modKitchenWindows.h"
#include "app/modStartup.h"

#include "platform/DialogSeam.h"
#include "platform/Printer.h"
#include "platform/Registry.h"
#include "platform/StringGridView.h"
#include "platform/SystemInfo.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using platform::RegistryRoot;

namespace {

const QString kVelaKey = QStringLiteral("\\Software\\Zentrix\\Vela");
const QString kGalleyKey = QStringLiteral("\\SOFTWARE\\MOX\\Galley");
const QString kLabelPrinter = QStringLiteral("Label Printer (PDF)");

class KitchenWindows : public ::testing::Test
{
protected:
    KitchenWindows()
        : db(true)
    {
        EXPECT_TRUE(reg.WriteString(RegistryRoot::LocalMachine, kVelaKey, "Msde-ConnectionString",
                                    db.ConnectionString()));
        // This computer is the demo shop's till 2.
        db.Exec("UPDATE Tills SET [Computer Name] = '" + platform::ComputerName().toLower()
                + "' WHERE TillID = 2");
    }
    ~KitchenWindows() override
    {
        windows.reset(); // the windows use the data module's connection
        ShutdownStartup();
    }

    // The start-up, the windows, and the main window shown (its first poll runs then).
    void Start()
    {
        ASSERT_EQ(RunStartup().State, TStartupState::Configured);
        windows = CreateKitchenWindows(2);
        Main().show();
        QCoreApplication::processEvents();
        Main().gridOrders()->setFocus();
        QApplication::setActiveWindow(&Main());
    }
    TfrmMain &Main() { return *windows->frmMain; }

    // An order of one classic burger (kitchen and label printer) taken on a till's shift
    // (the demo's shift n is till n's) five minutes ago.
    void Order(int invoiceNum, int shift)
    {
        db.Exec(QStringLiteral("INSERT INTO Invoices (InvoiceNum, OrderNum, ShiftNum, [Date]) "
                               "VALUES (%1, %2, %3, '%4')")
                    .arg(invoiceNum)
                    .arg(invoiceNum % 100)
                    .arg(shift)
                    .arg(QDateTime::currentDateTime().addSecs(-300).toString(
                        "yyyy-MM-dd HH:mm:ss.zzz")));
        db.Exec(QStringLiteral(
                    "INSERT INTO LineItem (InvoiceNum, LineNum, Code, Quantity, [Size], ItemDesc) "
                    "VALUES (%1, 1, 'BCLS', 1, '', 'Classic Burger')")
                    .arg(invoiceNum));
    }
    std::vector<std::pair<int, int>> Held() // (invoice number, till) of every order held
    {
        std::vector<std::pair<int, int>> held;
        for (int i = 0; i < Main().OrderManager().Count(); ++i)
            held.emplace_back(Main().OrderManager().Items(i)->InvoiceNum(),
                              Main().OrderManager().Items(i)->TillID());
        return held;
    }
    QString SysValue(const QString &item)
    {
        return db.Scalar("SELECT Value FROM SysData WHERE Class = '2' AND Item = '" + item + "'")
            .toString();
    }
    QAction *MenuAction(const QString &name) { return Main().findChild<QAction *>(name); }

    testsupport::TempRegistry tempRegistry;
    platform::Registry reg;
    testsupport::TestDatabase db;
    platform::ScriptedResponder dialogs;
    std::unique_ptr<TKitchenWindows> windows;
};

TEST_F(KitchenWindows, SettingsOkReachesTheRegistryAndTheNextLayoutAndRefresh)
{
    Order(1001, 1);
    Order(1002, 2);
    Start();
    ASSERT_EQ(Held(), (std::vector<std::pair<int, int>> {{1001, 1}, {1002, 2}}));
    ASSERT_EQ(Main().gridOrders()->Grid()->ColCount(), 1); // nothing stored yet: one column

    dialogs.SetHandler([&](const platform::DialogRequest &r) -> platform::DialogAnswer {
        auto *gy = qobject_cast<TfrmGYSettings *>(r.Window.data());
        if (r.Kind != QLatin1String("GalleySettings") || !gy)
            return platform::DialogAnswer(platform::mrCancel);
        EXPECT_EQ(gy, windows->frmGYSettings.get());
        gy->seCols->setValue(4);
        gy->sePoll->setValue(20);
        gy->chkFiltered->click();
        for (int i = 0; i < gy->lstTillIDs->count(); ++i) {
            QListWidgetItem *entry = gy->lstTillIDs->item(i);
            if (entry->data(Qt::UserRole).toInt() == 2)
                entry->setCheckState(Qt::Checked);
        }
        gy->btnOK->click();
        return gy->result();
    });
    QAction *settings = MenuAction("mnuSettings");
    ASSERT_NE(settings, nullptr);
    settings->trigger();

    ASSERT_EQ(dialogs.RequestsOfKind("GalleySettings").size(), 1);
    EXPECT_EQ(dialogs.Requests().size(), 1); // no restart message: the connection is as it was
    EXPECT_EQ(reg.ReadString(RegistryRoot::LocalMachine, kGalleyKey, "NoOrdersCols"),
              std::optional<QString>("4"));
    EXPECT_EQ(reg.ReadString(RegistryRoot::LocalMachine, kGalleyKey, "PollInterval"),
              std::optional<QString>("20"));
    EXPECT_EQ(SysValue("GY FILTER"), "1");
    EXPECT_EQ(SysValue("GY FILTER IDS"), "2");
    // The next layout: four columns, the new poll interval, polling on again.
    EXPECT_EQ(Main().gridOrders()->Grid()->ColCount(), 4);
    EXPECT_EQ(Main().timerDisplayOrders()->interval(), 20000);
    EXPECT_TRUE(Main().timerDisplayOrders()->isActive());

    // The next full refresh holds only till 2's orders, and so does the next poll.
    QTest::keyClick(Main().gridOrders(), Qt::Key_F5);
    EXPECT_EQ(Held(), (std::vector<std::pair<int, int>> {{1002, 2}}));
    Order(1003, 1);
    Order(1004, 2);
    Main().timerDisplayOrdersTimer();
    EXPECT_EQ(Held(), (std::vector<std::pair<int, int>> {{1002, 2}, {1004, 2}}));
    EXPECT_EQ(dialogs.Requests().size(), 1);
}

TEST_F(KitchenWindows, ClosedConnectionIsReopenedFromTheStoredStringAtTheNextPoll)
{
    Order(1001, 2);
    Start();
    dmVela->con.Close();
    Order(1002, 2);
    Main().timerDisplayOrdersTimer();
    EXPECT_TRUE(dmVela->con.Connected());
    EXPECT_TRUE(dialogs.Requests().isEmpty());
    EXPECT_EQ(Held(), (std::vector<std::pair<int, int>> {{1001, 2}, {1002, 2}}));
    EXPECT_EQ(reg.ReadBool(RegistryRoot::LocalMachine, kVelaKey, "Msde-Failed"),
              std::optional<bool>(false));
}

class KitchenLabels : public KitchenWindows
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(output.isValid());
        pdf = output.filePath("labels.pdf");
        ASSERT_TRUE(reg.WriteString(RegistryRoot::LocalMachine, kVelaKey, "PdfPrinters",
                                    kLabelPrinter + "=" + pdf));
        ASSERT_TRUE(reg.WriteBool(RegistryRoot::LocalMachine, kGalleyKey, "PrintLabels", true));
        db.Exec("INSERT INTO SysData VALUES ('2', 'PLABEL DEV', '" + kLabelPrinter + "', '')");
        previous = platform::SetPrinterSystem(std::make_shared<platform::MachinePrinters>());
    }
    void TearDown() override
    {
        platform::SetPrinterSystem(previous);
        platform::Printer::Instance().SetPrinterName(QString());
    }

    QTemporaryDir output;
    QString pdf;
    std::shared_ptr<platform::PrinterSystem> previous;
};

TEST_F(KitchenLabels, DoneWithAutoPrintPrintsThePdfAndWritesPrepared)
{
    Order(1042, 2);
    Start();
    ASSERT_NE(Main().OrderManager().Displayed().Current(), nullptr);
    ASSERT_EQ(Main().OrderManager().Displayed().Current()->InvoiceNum(), 1042);
    ASSERT_FALSE(QFile::exists(pdf));

    QTest::keyClick(Main().gridOrders(), Qt::Key_1, Qt::KeypadModifier); // Done (1)

    EXPECT_TRUE(dialogs.Requests().isEmpty()); // printed without asking, without a failure
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << pdf.toStdString();
    EXPECT_TRUE(file.read(5).startsWith("%PDF-"));
    if (!QStandardPaths::findExecutable("pdftotext").isEmpty()) {
        QProcess text;
        text.start("pdftotext", {"-layout", pdf, "-"});
        ASSERT_TRUE(text.waitForFinished(30000));
        const QString label = QString::fromUtf8(text.readAllStandardOutput());
        for (const char *expected : {"Order #: 42", "Classic Burger", "Item 1 of 1"})
            EXPECT_TRUE(label.contains(QLatin1String(expected))) << expected << "\n"
                                                                 << label.toStdString();
    }
    EXPECT_EQ(db.Scalar("SELECT Prepared FROM Invoices WHERE InvoiceNum = 1042").toInt(), 1);
    EXPECT_FALSE(
        db.Scalar("SELECT TimeStampCooked FROM Invoices WHERE InvoiceNum = 1042").isNull());
    EXPECT_EQ(Main().OrderManager().Displayed().Count(), 0);
}

} // namespace
