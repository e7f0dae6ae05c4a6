#include "tools/demo/DemoSettings.h"

#include "platform/DbSchema.h"
#include "platform/Registry.h"
#include "platform/SqlConnection.h"
#include "platform/SqlQuery.h"

#include "RunProgram.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

using platform::Registry;
using platform::RegistryRoot;

namespace {

using Result = ProgramResult;

QProcessEnvironment Environment(const QString &registryFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELA_REGISTRY_DIR"), registryFolder);
    environment.remove(QStringLiteral("VELA_DEMO_DB"));
    return environment;
}

Result RunVelaDemo(const QString &registryFolder, const QStringList &arguments)
{
    return RunProgram(QStringLiteral(VELA_DEMO_PROGRAM), Environment(registryFolder), arguments, 30000);
}

QVariant Scalar(const QString &file, const QString &sql)
{
    platform::SqlConnection con;
    con.Open(platform::SqliteConnectionString(file));
    platform::SqlQuery q(&con);
    q.SetSQL(sql);
    q.Open();
    return q.IsEmpty() ? QVariant() : q.Field(0).Value();
}

const QRegularExpression OrderLine(
    QStringLiteral(R"(^till [1-3]: order \d+, \d+ items?.*, total \d+\.\d\d.*\(invoice \d+\)$)"));

int CountOrderLines(const QString &out)
{
    int n = 0;
    for (const QString &line : out.split(QLatin1Char('\n')))
        n += OrderLine.match(line).hasMatch() ? 1 : 0;
    return n;
}

TEST(VelaDemoPdfPrinters, OnePairPerNameOthersKept)
{
    const struct
    {
        const char *what;
        QString before;
        QString after;
    } cases[] = {
        {"no value yet", "", "Label Printer (PDF)=/d/labels.pdf"},
        {"another printer is kept", "Office=/x.pdf",
         "Office=/x.pdf;Label Printer (PDF)=/d/labels.pdf"},
        {"the old path is replaced in place", "label printer (pdf)=/old.pdf;Office=/x.pdf",
         "Label Printer (PDF)=/d/labels.pdf;Office=/x.pdf"},
        {"empty pairs and doubles go",
         ";Office=/x.pdf;;Label Printer (PDF)=/a.pdf;Label Printer (PDF)=/b.pdf;",
         "Office=/x.pdf;Label Printer (PDF)=/d/labels.pdf"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(
            demo::WithPdfPrinter(c.before, demo::kLabelPrinter, QStringLiteral("/d/labels.pdf")),
            c.after)
            << c.what;
}

TEST(VelaDemoSetup, WritesWhatTheMonitorReadsAndKeepsTheUsersChoices)
{
    QTemporaryDir dir;
    const QString registry = dir.filePath(QStringLiteral("registry"));
    const QString db = dir.filePath(QStringLiteral("shop/demo.db"));
    const QString labels = dir.filePath(QStringLiteral("shop/labels.pdf"));
    const QString galley = demo::kGalleyKey;

    Result first = RunVelaDemo(registry, {QStringLiteral("setup"), QStringLiteral("--db"), db});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();

    Registry reg(registry);
    const auto hklm = RegistryRoot::LocalMachine;
    EXPECT_EQ(reg.ReadString(hklm, demo::kVelaKey, QStringLiteral("Msde-ConnectionString")),
              platform::SqliteConnectionString(db));
    EXPECT_EQ(reg.ReadString(hklm, demo::kVelaKey, QStringLiteral("PdfPrinters")),
              QStringLiteral("Label Printer (PDF)=") + labels);
    EXPECT_EQ(reg.ReadString(hklm, galley, QStringLiteral("NoOrdersCols")), QStringLiteral("3"));
    EXPECT_EQ(reg.ReadString(hklm, galley, QStringLiteral("PollInterval")), QStringLiteral("5"));
    EXPECT_EQ(reg.ReadInteger(hklm, galley, QStringLiteral("DisplayInvoiceNo")), 1);
    // Orders must not be drawn black on black.
    EXPECT_NE(reg.ReadString(hklm, galley, QStringLiteral("WaitingFont")),
              reg.ReadString(hklm, galley, QStringLiteral("WaitingBackground")));
    EXPECT_EQ(
        Scalar(db,
               QStringLiteral(
                   "SELECT [Value] FROM SysData WHERE [Class] = '1' AND Item = 'PLABEL DEV'")),
        QVariant(QStringLiteral("Label Printer (PDF)")));

    // The user changes things; the demo script runs setup again at every start.
    ASSERT_TRUE(reg.WriteString(hklm, galley, QStringLiteral("NoOrdersCols"), QStringLiteral("5")));
    ASSERT_TRUE(reg.WriteString(hklm, demo::kVelaKey, QStringLiteral("PdfPrinters"),
                                QStringLiteral("Office=/x.pdf")));
    {
        platform::SqlConnection con;
        con.Open(platform::SqliteConnectionString(db));
        con.Execute(
            QStringLiteral("UPDATE SysData SET [Value] = 'Zebra' WHERE Item = 'PLABEL DEV'"));
    }
    Result second = RunVelaDemo(registry, {QStringLiteral("setup"), QStringLiteral("--db"), db});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(reg.ReadString(hklm, galley, QStringLiteral("NoOrdersCols")), QStringLiteral("5"));
    EXPECT_EQ(reg.ReadString(hklm, demo::kVelaKey, QStringLiteral("PdfPrinters")),
              QStringLiteral("Office=/x.pdf;Label Printer (PDF)=") + labels);
    EXPECT_EQ(Scalar(db, QStringLiteral("SELECT [Value] FROM SysData WHERE Item = 'PLABEL DEV'")),
              QVariant(QStringLiteral("Zebra")));
    EXPECT_EQ(Scalar(db, QStringLiteral("SELECT COUNT(*) FROM SysData WHERE Item = 'PLABEL DEV'"))
                  .toInt(),
              1);
}

class VelaDemoSimulate : public ::testing::Test
{
protected:
    VelaDemoSimulate() { platform::CreateSqliteDatabase(Db, true); }
    QTemporaryDir Dir;
    QString Db = Dir.filePath(QStringLiteral("demo.db"));
    QString Registry = Dir.filePath(QStringLiteral("registry"));
};

TEST_F(VelaDemoSimulate, WritesTheOrdersAskedForAndEnds)
{
    const Result r
        = RunVelaDemo(Registry,
                      {QStringLiteral("simulate"), QStringLiteral("--db"), Db,
                       QStringLiteral("--interval"), QStringLiteral("0"), QStringLiteral("--count"),
                       QStringLiteral("5"), QStringLiteral("--seed"), QStringLiteral("9")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(CountOrderLines(r.out), 5) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(QLatin1String("Stopped after 5 orders.\n"))) << r.out.toStdString();
    EXPECT_EQ(Scalar(Db, QStringLiteral("SELECT COUNT(*) FROM Invoices")).toInt(), 5);
    EXPECT_EQ(
        Scalar(Db,
               QStringLiteral(
                   "SELECT COUNT(*) FROM Invoices WHERE NOT EXISTS "
                   "(SELECT 1 FROM LineItem WHERE LineItem.InvoiceNum = Invoices.InvoiceNum)"))
            .toInt(),
        0);
}

TEST_F(VelaDemoSimulate, SigtermEndsTheRunCleanly)
{
    QProcess process;
    process.setProcessEnvironment(Environment(Registry));
    process.start(QStringLiteral(VELA_DEMO_PROGRAM),
                  {QStringLiteral("simulate"), QStringLiteral("--db"), Db,
                   QStringLiteral("--interval"), QStringLiteral("0.2")});
    QString out;
    while (CountOrderLines(out) < 2 && process.waitForReadyRead(10000))
        out += QString::fromUtf8(process.readAllStandardOutput());
    ASSERT_GE(CountOrderLines(out), 2) << out.toStdString();
    process.terminate(); // SIGTERM
    ASSERT_TRUE(process.waitForFinished(10000));
    out += QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    const int orders = CountOrderLines(out);
    EXPECT_TRUE(out.endsWith(QStringLiteral("Stopped after %1 orders.\n").arg(orders)))
        << out.toStdString();
    EXPECT_EQ(Scalar(Db, QStringLiteral("SELECT COUNT(*) FROM Invoices")).toInt(), orders);
}

TEST_F(VelaDemoSimulate, RefusesBadArgumentsAndAMissingDatabase)
{
    const struct
    {
        const char *what;
        QStringList arguments;
        int exitCode;
    } cases[] = {
        {"negative interval", {"--interval", "-1"}, 2},
        {"interval not a number", {"--interval", "soon"}, 2},
        {"count of zero", {"--count", "0"}, 2},
        {"seed without a value", {"--seed"}, 2},
        {"unknown option", {"--tills", "4"}, 2},
        {"no such database", {"--db", "/nonexistent/demo.db"}, 1},
    };
    for (const auto &c : cases) {
        // A later option overrides an earlier one.
        const QStringList base {
            QStringLiteral("simulate"), QStringLiteral("--db"), Db,
            QStringLiteral("--count"),  QStringLiteral("1"),    QStringLiteral("--interval"),
            QStringLiteral("0")};
        const Result r = RunVelaDemo(Registry, base + c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << "\n" << r.err.toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << c.what;
    }
    EXPECT_EQ(Scalar(Db, QStringLiteral("SELECT COUNT(*) FROM Invoices")).toInt(), 0);
}

} // namespace
