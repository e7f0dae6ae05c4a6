// Item labels: 20 labels side by side (10 pages) of an order whose products carry extras,
// printed through the print object into the recording printer (the layout and text
// measuring alone) and into a PDF printer (Qt's PDF engine and the file written). Reported
// per run and per label; the target into the recording printer is below 5 ms per label.
#include "TestDatabase.h"

#include "printing/clsPrintLabels.h"

#include "platform/Printer.h"
#include "platform/RecordingPrinter.h"
#include "platform/Registry.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLabels = 20;

void FillOrder(TProductsEx &products)
{
    const char *titles[]
        = {"Margherita", "Cheese Burger", "Pepperoni", "Double Stack", "Veggie Burger"};
    const char *sizes[] = {"LARGE", "", "SMALL", "", "MEDIUM"};
    for (int i = 0; i < kLabels; ++i) {
        TProductEx *product
            = products.Add(QString::fromLatin1(titles[i % 5]), QString::fromLatin1(sizes[i % 5]));
        for (int e = 0; e < i % 4; ++e)
            product->Extras() << QStringLiteral("+Cheese") << QStringLiteral("No Onions");
    }
}

void BM_Labels20(benchmark::State &state)
{
    const bool pdf = state.range(0) == 1;
    testsupport::TempRegistry registry;
    QTemporaryDir output;
    std::shared_ptr<platform::PrinterSystem> printers;
    std::shared_ptr<platform::RecordingPrinters> recording;
    if (pdf) {
        platform::Registry().WriteString(
            platform::RegistryRoot::LocalMachine, QStringLiteral("\\Software\\Zentrix\\Vela"),
            QStringLiteral("PdfPrinters"),
            QStringLiteral("Label PDF=") + output.filePath(QStringLiteral("labels.pdf")));
        printers = std::make_shared<platform::MachinePrinters>();
    } else {
        recording = std::make_shared<platform::RecordingPrinters>(QStringList {"Label PDF"});
        printers = recording;
    }
    const std::shared_ptr<platform::PrinterSystem> previous = platform::SetPrinterSystem(printers);

    TLabelSettings settings;
    settings.LabelDevice = QStringLiteral("Label PDF");
    settings.SideBySide = QStringLiteral("1");
    TProductsEx products;
    FillOrder(products);

    for (auto _ : state) {
        PrintProductLabels(settings, 1234, products, QString());
        if (recording)
            recording->Recording().documents.clear();
    }
    state.SetLabel(pdf ? "PDF printer" : "recording printer");
    // CPU seconds per label, shown with its unit (us, ms).
    state.counters["per_label"]
        = benchmark::Counter(double(state.iterations()) * kLabels,
                             benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    platform::SetPrinterSystem(previous);
}
BENCHMARK(BM_Labels20)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
