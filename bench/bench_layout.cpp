// The order layout: DisplayFrom of 600 waiting orders of 3 to 8 line items each on an
// 8-column, 40-row grid (what a full screen shows), every order drawn in full. Most orders
// find no room, as on a busy evening; the time is per layout.
#include "kitchen/clsOrderManager.h"

#include <QDateTime>

#include <benchmark/benchmark.h>

namespace {

void BM_Layout600(benchmark::State &state)
{
    TStringAlignGrid grid(8, 40);
    TOrderManager manager;
    manager.SetStringGrid(&grid);
    manager.SetDisplaySize(true);
    manager.SetAutoExpand(true);
    const QDateTime now = QDateTime::currentDateTime();
    for (int n = 1; n <= 600; ++n) {
        TDisplayInvoice *order = manager.AddDisplayInvoice();
        order->SetInvoiceNum(100000 + n);
        order->SetOrderNum(n);
        order->SetTillID(1 + n % 4);
        order->SetTextColour(clYellow);
        order->SetBackColour(clBlack);
        order->SetDate(now.addSecs(-n * 15));
        for (int i = 0; i < 3 + n % 6; ++i) {
            TLineitemItem *item = order->Lineitems()->Add();
            item->SetQuantity(1 + i % 3);
            item->SetSize(QStringLiteral("LARGE"));
            item->SetItemDesc(QStringLiteral("Cheese burger with extra bacon %1").arg(i));
        }
        manager.InvoiceAdded();
    }
    for (auto _ : state) {
        manager.DisplayFrom(-1);
        benchmark::DoNotOptimize(manager.Displayed().Count());
    }
    state.counters["displayed"] = manager.Displayed().Count();
}
BENCHMARK(BM_Layout600)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
