#include "QtPrinters.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

// The probe runs under the program's application class (a test program has its own).
TEST(TVelaApplication, ExceptionsFromEventHandlersReachTheReporterAndTheLoopGoesOn)
{
    QProcess probe;
    probe.start(EVENTLOOP_PROBE, {});
    ASSERT_TRUE(probe.waitForFinished(30000)) << "probe did not finish";
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit)
        << probe.readAllStandardError().toStdString();
    EXPECT_EQ(probe.exitCode(), 0);

    const QStringList reports = out.split("=== ", Qt::SkipEmptyParts);
    ASSERT_EQ(reports.size(), 3) << out.toStdString();
    const struct
    {
        QStringList start;
    } expected[] = {
        {{"ReportWindow", "An Error Has Occurred", "", "Error: Timer failed", "",
          "Raised In: Not Set"}},
        {{"ReportWindow", "An Error Has Occurred", "", "Error: Posted event failed", "",
          "Raised In: TProbe.PostedEvent", "", "Additional Information", "Invoice 7"}},
        {{"ReportWindow", "An Error Has Occurred", "", "Error: An exception of unknown type", "",
          "Raised In: Not Set"}},
    };
    // The three handlers may run in any order; each gave exactly one report.
    for (const auto &e : expected) {
        SCOPED_TRACE(e.start[3].toStdString());
        int found = 0;
        for (const QString &report : reports)
            if (report.split('\n').mid(0, e.start.size()) == e.start)
                ++found;
        EXPECT_EQ(found, 1) << out.toStdString();
    }
    EXPECT_TRUE(out.trimmed().endsWith("went on"));
}

} // namespace
