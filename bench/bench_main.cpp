// vela-bench: what the monitor spends per query, poll and layout, each beside the raw
// cost of the same work where one exists. Run: build/bin/vela-bench
#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    // Label printing measures text and the poll paints the order grid's view: both need
    // the widget application (off screen is enough).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
