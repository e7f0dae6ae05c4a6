// The printer stand-in: the installed printers (PDF printers from the registry), the device
// metrics read from Qt's printer, PDF jobs that replace their file, printers that cannot be
// reached, the recording device and the narrow face that stands in for Arial Narrow.

#include "TestDatabase.h"

#include "platform/Printer.h"
#include "platform/QtPrintDevice.h"
#include "platform/RecordingPrinter.h"
#include "platform/Registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPageLayout>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using platform::MachinePrinters;
using platform::Printer;
using platform::PrinterError;

namespace {

// Installs a set of printers for one test and restores the previous set afterwards.
class PrinterSystemScope
{
public:
    explicit PrinterSystemScope(std::shared_ptr<platform::PrinterSystem> system)
        : m_previous(platform::SetPrinterSystem(std::move(system)))
    {
        Printer::Instance().SetPrinterName(QString());
    }
    ~PrinterSystemScope()
    {
        platform::SetPrinterSystem(m_previous);
        Printer::Instance().SetPrinterName(QString());
    }

private:
    std::shared_ptr<platform::PrinterSystem> m_previous;
};

struct ParseCase
{
    const char *name;
    const char *value;
    QStringList names;
    QStringList files;
};

TEST(PdfPrinters, PairsAreReadFromTheRegistryValue)
{
    const ParseCase cases[] = {
        {"two printers",
         "Labels=/tmp/a.pdf;Proofs=/srv/b.pdf",
         {"Labels", "Proofs"},
         {"/tmp/a.pdf", "/srv/b.pdf"}},
        {"blanks around names and paths",
         " Label Printer = /tmp/my labels.pdf ;",
         {"Label Printer"},
         {"/tmp/my labels.pdf"}},
        {"broken entries are skipped", ";no pair;=/tmp/x.pdf;Empty=;A=/a.pdf", {"A"}, {"/a.pdf"}},
        {"the first of a repeated name wins", "A=/1.pdf;a=/2.pdf", {"A"}, {"/1.pdf"}},
        {"an '=' in the path is kept", "A=/tmp/x=y.pdf", {"A"}, {"/tmp/x=y.pdf"}},
        {"empty", "", {}, {}},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList names, files;
        for (const auto &p : MachinePrinters::ParsePdfPrinters(QString::fromUtf8(c.value))) {
            names << p.name;
            files << p.file;
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(files, c.files);
    }
}

class MachinePrintersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        File = Output.filePath(QStringLiteral("labels.pdf"));
        SetPdfPrinters(QStringLiteral("Label PDF=") + File
                       + QStringLiteral(";Nowhere=/no/such/folder/x.pdf"));
    }
    void SetPdfPrinters(const QString &value)
    {
        platform::Registry().WriteString(platform::RegistryRoot::LocalMachine,
                                         QStringLiteral("\\Software\\Zentrix\\Vela"),
                                         QStringLiteral("PdfPrinters"), value);
    }
    void PrintOnePage(const QString &printer, const QString &text)
    {
        Printer &p = Printer::Instance();
        p.SetPrinterName(printer);
        p.BeginDoc();
        p.Device().TextOut(0, 0, text);
        p.EndDoc();
    }

    testsupport::TempRegistry Registry;
    QTemporaryDir Output;
    QString File;
    PrinterSystemScope Scope {std::make_shared<MachinePrinters>()};
};

TEST_F(MachinePrintersTest, PdfPrintersAreInstalledPrinters)
{
    const QStringList names = Printer::Instance().Printers();
    EXPECT_TRUE(names.contains(QStringLiteral("Label PDF")));
    EXPECT_TRUE(names.contains(QStringLiteral("Nowhere")));
    SetPdfPrinters(QString());
    EXPECT_FALSE(Printer::Instance().Printers().contains(QStringLiteral("Label PDF")));
}

TEST_F(MachinePrintersTest, APdfJobReplacesTheFileWhenItEnds)
{
    PrintOnePage(QStringLiteral("label pdf"), QStringLiteral("first"));
    const QByteArray first = [&] {
        QFile f(File);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_TRUE(first.startsWith("%PDF"));

    Printer &p = Printer::Instance();
    p.BeginDoc();
    EXPECT_EQ(p.Device().DpiX(), MachinePrinters::kPdfDpi);
    EXPECT_EQ(p.Device().PhysicalPageSize(), QSize(812, 305)); // 4 x 1.5 inches
    EXPECT_EQ(p.Device().PrintingOffset(), QPoint(0, 0));
    p.Device().TextOut(0, 0, QStringLiteral("second"));
    p.NewPage();
    EXPECT_EQ(p.PageNumber(), 2);
    // Until the job ends the previous document stays in place.
    QFile during(File);
    ASSERT_TRUE(during.open(QIODevice::ReadOnly));
    EXPECT_EQ(during.readAll(), first);
    p.EndDoc();

    QFile after(File);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_NE(after.readAll(), first);
    EXPECT_EQ(QDir(Output.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList {QStringLiteral("labels.pdf")});
}

TEST_F(MachinePrintersTest, ADroppedJobLeavesThePreviousFile)
{
    PrintOnePage(QStringLiteral("Label PDF"), QStringLiteral("kept"));
    const qint64 size = QFileInfo(File).size();
    Printer &p = Printer::Instance();
    p.BeginDoc();
    p.Device().TextOut(0, 0, QStringLiteral("dropped"));
    p.Abort();
    EXPECT_FALSE(p.Printing());
    EXPECT_EQ(QFileInfo(File).size(), size);
    EXPECT_EQ(QDir(Output.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(MachinePrintersTest, PrintersThatCannotTakeTheJobFailWithinSeconds)
{
    QElapsedTimer timer;
    timer.start();
    Printer &p = Printer::Instance();

    p.SetPrinterName(QStringLiteral("Nowhere")); // its folder does not exist
    try {
        p.BeginDoc();
        FAIL() << "no error";
    } catch (const PrinterError &e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("folder does not exist"))) << e.what();
    }
    EXPECT_FALSE(p.Printing());

    p.SetPrinterName(QStringLiteral("Not Installed"));
    EXPECT_THROW(p.BeginDoc(), PrinterError);
    EXPECT_FALSE(p.Printing());

    // A folder that disappears while the job runs: the job fails at its end, and the
    // printer is free again.
    QTemporaryDir gone;
    SetPdfPrinters(QStringLiteral("Gone=") + gone.filePath(QStringLiteral("x.pdf")));
    p.SetPrinterName(QStringLiteral("Gone"));
    p.BeginDoc();
    gone.remove();
    EXPECT_THROW(p.EndDoc(), PrinterError);
    EXPECT_FALSE(p.Printing());

    EXPECT_LT(timer.elapsed(), 3000);
}

TEST_F(MachinePrintersTest, APrintServerThatDoesNotAnswerIsLeftOutWithinSeconds)
{
    const QByteArray previous = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", "192.0.2.1:631"); // a documentation address: nothing answers
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(platform::CupsServerReachable(1000));
    const QStringList names = Printer::Instance().Printers();
    Printer::Instance().SetPrinterName(QStringLiteral("Some Queue"));
    EXPECT_THROW(Printer::Instance().BeginDoc(), PrinterError);
    const qint64 elapsed = timer.elapsed();
    if (previous.isNull())
        qunsetenv("CUPS_SERVER");
    else
        qputenv("CUPS_SERVER", previous);

    EXPECT_EQ(names, (QStringList {"Label PDF", "Nowhere"})); // the PDF printers still work
    EXPECT_LT(elapsed, 3 * MachinePrinters::kServerTimeoutMs + 1000);
}

TEST(QPrinterDevice, MetricsComeFromThePaperAndPageRectangles)
{
    // 288 dots per inch is 4 dots per point: the margins below are whole dots.
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setResolution(288);
    printer->setPageLayout(QPageLayout(QPageSize(QSizeF(2, 1), QPageSize::Inch),
                                       QPageLayout::Portrait, QMarginsF(6, 3, 12, 6),
                                       QPageLayout::Point));
    platform::QPrinterDevice device(std::move(printer), QStringLiteral("test"));
    EXPECT_EQ(device.DpiX(), 288);
    EXPECT_EQ(device.DpiY(), 288);
    EXPECT_EQ(device.PhysicalPageSize(), QSize(576, 288));
    EXPECT_EQ(device.PrintingOffset(), QPoint(24, 12));
    EXPECT_EQ(device.PrintableSize(), QSize(576 - 24 - 48, 288 - 12 - 24));

    platform::PrintFont font;
    font.name = QStringLiteral("Arial Narrow");
    font.size = 12;
    device.SetFont(font);
    const platform::TextMetrics metrics = device.GetTextMetrics();
    // A 12-point face at 288 dots per inch is 48 dots high, give or take its design.
    EXPECT_GT(metrics.height, 40);
    EXPECT_LT(metrics.height, 70);
    EXPECT_GT(device.TextWidth(QStringLiteral("Margherita")), 0);
}

class RecordingPrinterTest : public ::testing::Test
{
protected:
    std::shared_ptr<platform::RecordingPrinters> Printers
        = std::make_shared<platform::RecordingPrinters>(QStringList {"Labels"});
    PrinterSystemScope Scope {Printers};
};

TEST_F(RecordingPrinterTest, RecordsEveryTextWithItsFontPositionAndPage)
{
    Printer &p = Printer::Instance();
    p.SetPrinterName(QStringLiteral("LABELS"));
    p.BeginDoc(QStringLiteral("Order 12"));
    platform::PrintFont font;
    font.name = QStringLiteral("Arial Narrow");
    font.size = 12;
    font.bold = true;
    p.Device().SetFont(font);
    p.Device().TextOut(121, 0, QStringLiteral("Margherita"));
    EXPECT_THROW(p.BeginDoc(), PrinterError); // one job at a time
    p.NewPage();
    font.bold = false;
    font.size = 8;
    p.Device().SetFont(font);
    p.Device().TextOut(121, 40, QStringLiteral("+Cheese"));
    p.EndDoc();

    ASSERT_EQ(Printers->Recording().documents.size(), 1u);
    const platform::PrintedDocument &doc = Printers->Recording().documents[0];
    EXPECT_EQ(doc.printer, QStringLiteral("Labels"));
    EXPECT_EQ(doc.title, QStringLiteral("Order 12"));
    EXPECT_EQ(doc.pages, 2);
    EXPECT_TRUE(doc.ended);
    ASSERT_EQ(doc.texts.size(), 2u);
    EXPECT_EQ(doc.texts[0].fontName, QStringLiteral("Arial Narrow")); // as requested
    EXPECT_EQ(doc.texts[0].fontSize, 12);
    EXPECT_TRUE(doc.texts[0].bold);
    EXPECT_EQ(doc.texts[0].x, 121);
    EXPECT_EQ(doc.texts[0].page, 1);
    EXPECT_EQ(doc.texts[1].y, 40);
    EXPECT_EQ(doc.texts[1].page, 2);
    EXPECT_FALSE(p.Printing());
    EXPECT_THROW(p.Device(), PrinterError);
}

TEST(PrintFonts, ArialNarrowIsDrawnWithANarrowFace)
{
    platform::InstallPrintFontSubstitutes();
    if (QFontDatabase::hasFamily(QStringLiteral("Arial Narrow")))
        GTEST_SKIP() << "Arial Narrow itself is installed";
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans Narrow")))
        GTEST_SKIP() << "fonts-liberation is not installed (scripts/install-deps.sh)";
    platform::PrintFont font;
    font.name = QStringLiteral("Arial Narrow");
    const QFont resolved = platform::ToQFont(font);
    EXPECT_EQ(resolved.family(), QStringLiteral("Arial Narrow"));
    EXPECT_EQ(QFontInfo(resolved).family(), QStringLiteral("Liberation Sans Narrow"));

    // Narrower than the regular face, as the label widths assume.
    platform::RecordingPageSetup setup;
    platform::PrintedDocument scratch;
    platform::RecordingPrintDevice device(&scratch, setup);
    device.SetFont(font);
    const int narrow = device.TextWidth(QStringLiteral("Cheese Burger"));
    font.name = QStringLiteral("Liberation Sans");
    device.SetFont(font);
    EXPECT_LT(narrow, device.TextWidth(QStringLiteral("Cheese Burger")) * 0.9);
}

} // namespace
