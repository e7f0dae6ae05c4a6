// What the start-up spends on the shared settings, and the till colours the main window
// loads, on the demo shop's database, with the number of statements each sends.
//
// BM_SettingsLoad: the start-up's steps 6-11 (the settings object on the connection, the
// global settings, the till's settings with its record and printer links, the printer
// list, the global settings again) for till 1, with the shop's settings already saved once
// (108 global and 82 till rows), as on every start but the first.
// BM_PopulateTillColours10: the till colour list of a shop with 10 tills, each with its two
// colours in SysData (one statement for the tills, two per till).
#include "TestDatabase.h"

#include "suite/clsVelaSettings.h"

#include "framework/clsGenericDB.h"
#include "orders/modGalley.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

void LoadAsStartupDoes(TVelaSettings &settings, platform::SqlConnection &connection, int till)
{
    settings.SetConnection(&connection);
    settings.Global().Populate();
    settings.SetTill(till);
    settings.Local().Populate(settings.Till());
    settings.Printers().LoadAll();
    settings.Global().Populate();
}

void BM_SettingsLoad(benchmark::State &state)
{
    testsupport::TestDatabase db(true);
    {
        TVelaSettings first;
        LoadAsStartupDoes(first, db.Connection(), 1);
        first.Global().Update();
        first.Local().Update();
    }
    if (db.Count("SysData") != 108 + 82)
        throw std::runtime_error("the demo shop's settings were not saved");

    qint64 statements = 0;
    for (auto _ : state) {
        const qint64 before = db.Connection().StatementCount();
        TVelaSettings settings;
        LoadAsStartupDoes(settings, db.Connection(), 1);
        statements += db.Connection().StatementCount() - before;
        benchmark::DoNotOptimize(settings.Local().TillPrinters().Count());
    }
    state.counters["statements"]
        = benchmark::Counter(double(statements), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SettingsLoad)->Unit(benchmark::kMillisecond);

void BM_PopulateTillColours10(benchmark::State &state)
{
    testsupport::TestDatabase db(true);
    for (int till = 4; till <= 10; ++till)
        db.Exec(QStringLiteral("INSERT INTO Tills (TillID, [Computer Name]) VALUES (%1, 'TILL%1')")
                    .arg(till));
    for (int till = 1; till <= 10; ++till)
        db.Exec(QStringLiteral("INSERT INTO SysData VALUES ('%1', 'GY TEXT COLOUR', '%2', ''), "
                               "('%1', 'GY BACK COLOUR', '%3', '')")
                    .arg(till)
                    .arg(0xFFFFFF - till)
                    .arg(0x101010 * till));
    if (db.Count("Tills") != 10)
        throw std::runtime_error("the shop should have 10 tills");
    TGenericDB runner(&db.Connection());

    qint64 statements = 0;
    for (auto _ : state) {
        const qint64 before = db.Connection().StatementCount();
        TTillColours colours(&runner);
        colours.PopulateTillColours();
        statements += db.Connection().StatementCount() - before;
        benchmark::DoNotOptimize(colours.Count());
    }
    state.counters["statements"]
        = benchmark::Counter(double(statements), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PopulateTillColours10)->Unit(benchmark::kMillisecond);

} // namespace
