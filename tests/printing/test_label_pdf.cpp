// Real labels on a real device: a PDF printer named in the registry prints an order's labels
// into its file, which poppler's tools read back (text per page, embedded faces).

#include "TestDatabase.h"

#include "printing/clsPrintLabels.h"

#include "platform/Printer.h"
#include "platform/Registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A tool's standard output; empty when it fails.
QString ToolOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

class LabelPdfTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())
            GTEST_SKIP() << "poppler-utils is not installed (scripts/install-deps.sh)";
        Pdf = Output.filePath(QStringLiteral("labels.pdf"));
        platform::Registry().WriteString(platform::RegistryRoot::LocalMachine,
                                         QStringLiteral("\\Software\\Zentrix\\Vela"),
                                         QStringLiteral("PdfPrinters"),
                                         QStringLiteral("Proofs=/nowhere/p.pdf;Label PDF=") + Pdf);
        m_previous = platform::SetPrinterSystem(std::make_shared<platform::MachinePrinters>());

        Db.Exec(QStringLiteral(
            "INSERT INTO CatMenu (CatMenuCode, Description) VALUES (1, 'Burgers'), (2, 'Pizzas'), "
            "(6, 'EXTRA');"
            "INSERT INTO Prices (Recipe, Code, [Size], LabelDesc, CatMenuCode) VALUES "
            "(201, 'PMAR', 'SMALL', 'Margherita', 2), (203, 'PMAR', 'LARGE', 'Margherita', 2), "
            "(204, 'PPEP', 'SMALL', 'Pepperoni', 2), (206, 'PPEP', 'LARGE', 'Pepperoni', 2), "
            "(102, 'BCHS', '', 'Cheese Burger', 1), (601, 'XCHE', '', '+Cheese', 6);"
            "INSERT INTO PricesLinkPrinters (fkPricesID, fkPrintersID) "
            "SELECT Recipe, 4 FROM Prices;"
            "INSERT INTO LineItem (InvoiceNum, LineNum, Code, [Size], ItemDesc) VALUES "
            "(900, 1, 'PMAR', 'LARGE', 'Pizza'), (900, 2, 'XCHE', '', 'Cheese'), "
            "(900, 3, 'BCHS', '', 'Burger'), (900, 4, 'PPEP', 'SMALL', 'Pizza')"));
        Settings.LabelDevice = QStringLiteral("label pdf");
    }
    void TearDown() override
    {
        platform::SetPrinterSystem(m_previous);
        platform::Printer::Instance().SetPrinterName(QString());
    }
    QStringList Pages() const
    {
        QStringList pages = ToolOutput(QStringLiteral("pdftotext"), {"-layout", Pdf, "-"})
                                .split(QLatin1Char('\f'));
        if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    testsupport::TempRegistry Registry;
    QTemporaryDir Output;
    QString Pdf;
    testsupport::TestDatabase Db;
    TLabelSettings Settings;

private:
    std::shared_ptr<platform::PrinterSystem> m_previous;
};

TEST_F(LabelPdfTest, AnOrderPrintsIntoThePdfPrintersFile)
{
    EXPECT_TRUE(platform::Printer::Instance().Printers().contains(QStringLiteral("Label PDF")));
    PrintInvoiceLabels(Db.Connection(), Settings, 900, 1234, QString());

    const QStringList pages = Pages();
    ASSERT_EQ(pages.size(), 2) << Pdf.toStdString();
    const QString &first = pages[0];
    EXPECT_EQ(first.count(QStringLiteral("Order #: 1234")), 2);
    for (const char *text :
         {"Margherita", "LARGE", "+Cheese", "Cheese Burger", "Item 1 of 3", "Item 2 of 3"})
        EXPECT_TRUE(first.contains(QLatin1String(text))) << text << "\n" << first.toStdString();
    EXPECT_FALSE(first.contains(QLatin1String("SMALL"))); // one size per sized line
    const QString &second = pages[1];
    for (const char *text : {"Order #: 1234", "Pepperoni", "SMALL", "Item 3 of 3"})
        EXPECT_TRUE(second.contains(QLatin1String(text))) << text << "\n" << second.toStdString();
    EXPECT_FALSE(second.contains(QLatin1String("Item 1")));

    // The narrow face stands in for Arial Narrow, regular and bold.
    const QString fonts = ToolOutput(QStringLiteral("pdffonts"), {Pdf});
    EXPECT_TRUE(fonts.contains(QLatin1String("LiberationSansNarrow-Bold"))) << fonts.toStdString();
    EXPECT_TRUE(fonts.contains(QRegularExpression(QStringLiteral("LiberationSansNarrow\\s"))))
        << fonts.toStdString();
}

TEST_F(LabelPdfTest, EachJobReplacesTheFileAndLeavesNothingElse)
{
    PrintInvoiceLabels(Db.Connection(), Settings, 900, 1, QString());
    ASSERT_EQ(Pages().size(), 2);
    Settings.SideBySide = QStringLiteral("0");
    PrintInvoiceLabels(Db.Connection(), Settings, 900, 2, QString());
    const QStringList pages = Pages();
    ASSERT_EQ(pages.size(), 3);
    EXPECT_TRUE(pages[2].contains(QLatin1String("Order #: 2")));
    EXPECT_EQ(QDir(Output.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList {QStringLiteral("labels.pdf")});
}

TEST_F(LabelPdfTest, APdfPrinterThatCannotBeWrittenFailsTheJobAtOnce)
{
    Settings.LabelDevice = QStringLiteral("Proofs"); // its folder does not exist
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(PrintInvoiceLabels(Db.Connection(), Settings, 900, 1, QString()),
                 platform::PrinterError);
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_FALSE(platform::Printer::Instance().Printing());
}

} // namespace
