#include "QtPrinters.h"

#include "framework/FMsgDlgLst.h"
#include "framework/clsEZXException.h"
#include "framework/modFormUtils.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QString ReadAll(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(f.readAll());
}

// Every test writes its logs to a folder of its own and answers the report window.
class ReporterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(logDir.isValid());
        TfrmMsgDlgLst::SetLogFolder(logDir.path());
    }
    void TearDown() override
    {
        TfrmMsgDlgLst::SetLogFolder(QString());
        ExceptionReporter.Reset();
    }

    QStringList ReportLines(int index) const
    {
        return dialogs.RequestsOfKind("ReportWindow").at(index).Text.split('\n');
    }

    QTemporaryDir logDir;
    platform::ScriptedResponder dialogs;
};

struct ReportCase
{
    const char *name;
    std::function<void()> prepare; // sets the reporter's texts, as code does before raising
    std::function<void()> raise;
    QStringList expectedStart;
};

void PrintTo(const ReportCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReportLayout : public ReporterTest, public ::testing::WithParamInterface<ReportCase>
{
};

TEST_P(ReportLayout, LinesOfTheReportThenTheTextsAreReset)
{
    const ReportCase &c = GetParam();
    if (c.prepare)
        c.prepare();
    try {
        c.raise();
    } catch (const std::exception &e) {
        ExceptionReporter.HandleException(nullptr, e);
    }

    ASSERT_EQ(dialogs.RequestsOfKind("ReportWindow").size(), 1);
    const QStringList lines = ReportLines(0);
    ASSERT_GE(lines.size(), c.expectedStart.size() + 1);
    EXPECT_EQ(lines.mid(0, c.expectedStart.size()), c.expectedStart);
    EXPECT_EQ(lines.at(c.expectedStart.size()), QString(53, '-'))
        << "the application section follows";

    EXPECT_EQ(ExceptionReporter.Message, "An Error Has Occurred");
    EXPECT_EQ(ExceptionReporter.RaisedIn, "Not Set");
    EXPECT_TRUE(ExceptionReporter.Hint.isEmpty());
    EXPECT_TRUE(ExceptionReporter.AdditionalInfo.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    TZxException, ReportLayout,
    ::testing::Values(
        ReportCase {
            "PlainExceptionWithoutTexts",
            nullptr,
            [] { throw std::runtime_error("disk full"); },
            {"An Error Has Occurred", "", "Error: disk full", "", "Raised In: Not Set", ""}},
        ReportCase {"EZXExceptionWithPlaceAndExtraLines",
                    [] {
                        ExceptionReporter.Message = "Failed to save global changes";
                        ExceptionReporter.Hint = "Check the database connection";
                    },
                    [] {
                        throw EZXException("Timeout expired",
                                           QStringList {"Till 3", "Invoice 1042"},
                                           "TGenericDB.ExecStoredProc");
                    },
                    {"Failed to save global changes", "", "Error: Timeout expired", "",
                     "Raised In: TGenericDB.ExecStoredProc", "", "Check the database connection",
                     "Additional Information", "Till 3", "Invoice 1042"}},
        ReportCase {"ReporterTextsSetBeforeRaising",
                    [] {
                        ExceptionReporter.Message = "Failed to display the global POS settings";
                        ExceptionReporter.RaisedIn = "TfrmSettings.DisplayGlobalSettings";
                        ExceptionReporter.AdditionalInfo = QStringList {"Item: DAY START"};
                    },
                    [] { throw std::runtime_error("'abc' is not a valid integer value"); },
                    {"Failed to display the global POS settings", "",
                     "Error: 'abc' is not a valid integer value", "",
                     "Raised In: TfrmSettings.DisplayGlobalSettings", "", "Additional Information",
                     "Item: DAY START"}},
        ReportCase {"EZXExceptionWithoutPlaceHasNoRaisedInLine",
                    nullptr,
                    [] { throw EZXException("No printer"); },
                    {"An Error Has Occurred", "", "Error: No printer", ""}},
        ReportCase {"CarriageReturnsInTheMessageBreakLines",
                    nullptr,
                    [] {
                        throw EZXException("Failed to refresh invoice\rReason: timeout",
                                           "TfrmMain.RefreshInvoices");
                    },
                    {"An Error Has Occurred", "", "Error: Failed to refresh invoice",
                     "Reason: timeout", "", "Raised In: TfrmMain.RefreshInvoices", ""}}),
    [](const auto &p) { return std::string(p.param.name); });

TEST_F(ReporterTest, ReportCarriesProgramAndSystemFactsAndSavesTheLog)
{
    ExceptionReporter.HandleException(nullptr, std::runtime_error("disk full"));

    ASSERT_EQ(dialogs.Requests().size(), 1);
    const platform::DialogRequest &shown = dialogs.Requests()[0];
    EXPECT_EQ(shown.Type, mtError);
    EXPECT_EQ(shown.Caption, ApplicationTitle());
    const QStringList lines = shown.Text.split('\n');
    const QString sep(53, '-');
    const qsizetype app = lines.indexOf("Application Information...");
    ASSERT_GT(app, 0);
    EXPECT_EQ(lines.mid(app - 1, 5),
              (QStringList {sep, "Application Information...", sep, "Title: " + ApplicationTitle(),
                            "Version: " VELA_VERSION}));
    const qsizetype os = lines.indexOf("Operating System Information...");
    ASSERT_EQ(os, app + 5);
    EXPECT_EQ(lines.at(os + 1), sep);
    EXPECT_EQ(lines.at(os + 2), "Computer Name: " + QSysInfo::machineHostName());
    EXPECT_TRUE(lines.at(os + 3).startsWith("Current User: "));
    EXPECT_TRUE(lines.at(os + 4).startsWith("Platform: "));
    EXPECT_TRUE(lines.at(os + 5).startsWith("Version: "));

    const QString logFile = shown.Data.value("LogFile").toString();
    ASSERT_FALSE(logFile.isEmpty());
    EXPECT_EQ(QFileInfo(logFile).absolutePath(), QFileInfo(logDir.path()).absoluteFilePath());
    EXPECT_TRUE(QRegularExpression("^\\d{8} \\d{4}\\.rtf$")
                    .match(QFileInfo(logFile).fileName())
                    .hasMatch());
    EXPECT_EQ(lines.last(), "Log file has been saved to " + QDir::toNativeSeparators(logFile));

    const QString rtf = ReadAll(logFile);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.trimmed().endsWith("}"));
    EXPECT_TRUE(rtf.contains("\\cf1\\b An Error Has Occurred\\par"));
    EXPECT_TRUE(rtf.contains("\\cf2\\b Error: disk full\\par")) << "error line bold red";
    EXPECT_TRUE(rtf.contains("\\cf1\\b0 Computer Name: "));
    EXPECT_FALSE(rtf.contains("Log file has been saved")) << "the note is for the window only";
}

TEST_F(ReporterTest, RtfEscapesControlWordsAndNonAscii)
{
    TfrmMsgDlgLst report;
    report.AddLine("C:\\Vela\\{logs}\tcafé €");
    const QString rtf = report.ReportRtf();
    EXPECT_TRUE(rtf.contains("C:\\\\Vela\\\\\\{logs\\}\\tab caf\\u233? \\u8364?\\par"))
        << rtf.toStdString();
    // Balanced braces outside escapes: the file is one group.
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

TEST_F(ReporterTest, TwoReportsInOneMinuteShareTheFileAndTheSecondReplacesTheFirst)
{
    QString first, second;
    for (int attempt = 0; attempt < 3 && (first.isEmpty() || first != second); ++attempt) {
        TfrmMsgDlgLst a, b;
        a.AddLine("first report");
        b.AddLine("second report");
        first = a.SaveLog();
        second = b.SaveLog();
    }
    ASSERT_FALSE(first.isEmpty());
    ASSERT_EQ(first, second);
    const QString rtf = ReadAll(second);
    EXPECT_TRUE(rtf.contains("second report"));
    EXPECT_FALSE(rtf.contains("first report"));
    EXPECT_EQ(QDir(logDir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(ReporterTest, UnwritableProgramFolderFallsBackAndSaysWhere)
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryFile notAFolder;
    ASSERT_TRUE(notAFolder.open());
    TfrmMsgDlgLst::SetLogFolder(notAFolder.fileName() + "/logs"); // under a file: never writable

    TfrmMsgDlgLst report;
    report.AddLine("report");
    const QString saved = report.SaveLog();
    QStandardPaths::setTestModeEnabled(false);

    ASSERT_FALSE(saved.isEmpty());
    EXPECT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(saved.startsWith(notAFolder.fileName()));
    EXPECT_TRUE(report.ReportText().endsWith("Log file has been saved to "
                                             + QDir::toNativeSeparators(saved)));
    QFile::remove(saved);
}

TEST_F(ReporterTest, F1AndClickOnSupportLinesToggleTheirRoomEnterCloses)
{
    TfrmMsgDlgLst report;
    report.show();
    ASSERT_EQ(report.re->height(), 244);
    QTest::keyClick(report.re, Qt::Key_F1);
    EXPECT_EQ(report.re->height(), 175);
    QTest::mouseClick(report.reNums->viewport(), Qt::LeftButton);
    EXPECT_EQ(report.re->height(), 244);
    EXPECT_TRUE(report.reNums->toPlainText().section('\n', 0, 0).endsWith("[F1]"));
    QTest::keyClick(report.TchButton1, Qt::Key_Return);
    EXPECT_FALSE(report.isVisible());
}

TEST(FileVersion, MissingFileRaisesOwnProgramHasTheBuildVersionOthersAreUnknown)
{
    TFileVersion v;
    try {
        v.ReadVersion("/nonexistent/vela-kitchen");
        ADD_FAILURE() << "no exception";
    } catch (const std::exception &e) {
        EXPECT_EQ(ExceptionMessage(e), "File /nonexistent/vela-kitchen does not exist");
    }

    v.ReadVersion(QCoreApplication::applicationFilePath());
    EXPECT_EQ(v.VersionText, VELA_VERSION);
    EXPECT_EQ(QStringLiteral("%1.%2.%3.%4").arg(v.Major).arg(v.Minor).arg(v.Release).arg(v.Build),
              VELA_VERSION);

    QTemporaryFile other;
    ASSERT_TRUE(other.open());
    v.ReadVersion(other.fileName());
    EXPECT_EQ(v.VersionText, "?.?.?.?");
    EXPECT_EQ(v.Major, -1);
    EXPECT_EQ(v.Build, -1);
}

TEST(EZXExceptionTest, CarriesMessagePlaceAndACopyOfTheExtraLines)
{
    QStringList extra {"line 1"};
    const EZXException e("Could not connect", extra, "TdmVela.SetConnected");
    extra.append("line 2");
    EXPECT_EQ(e.Message(), "Could not connect");
    EXPECT_STREQ(e.what(), "Could not connect");
    EXPECT_EQ(e.RaisedIn(), "TdmVela.SetConnected");
    EXPECT_EQ(e.AdditionalInfo(), QStringList {"line 1"});
    EXPECT_EQ(ExceptionMessage(std::runtime_error("Zähler")), "Zähler");
}

} // namespace
