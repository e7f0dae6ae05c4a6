#include "DemoSettings.h"

#include "framework/moxAppInfo.h"
#include "platform/Registry.h"
#include "platform/SqlQuery.h"

namespace demo {

QString WithPdfPrinter(const QString &pairs, const QString &name, const QString &file)
{
    QStringList out;
    bool replaced = false;
    for (const QString &pair : pairs.split(QLatin1Char(';'))) {
        if (pair.trimmed().isEmpty())
            continue;
        const QString pairName = pair.section(QLatin1Char('='), 0, 0).trimmed();
        if (pairName.compare(name, Qt::CaseInsensitive) == 0) {
            if (!replaced)
                out << name + QLatin1Char('=') + file;
            replaced = true;
            continue;
        }
        out << pair;
    }
    if (!replaced)
        out << name + QLatin1Char('=') + file;
    return out.join(QLatin1Char(';'));
}

bool WriteDemoSettings(platform::SqlConnection &connection, const QString &dataFolder,
                       QStringList *log, QString *error)
{
    // Till 1 (this computer in the demo) prints its labels on the PDF printer. A value set
    // by the user in the settings window stays.
    platform::SqlCommand label(&connection);
    label.SetCommandText(QStringLiteral(
        "INSERT INTO SysData ([Class], Item, [Value], Value2) SELECT :Class, :Item, :Value, '' "
        "WHERE NOT EXISTS (SELECT 1 FROM SysData WHERE [Class] = :Class AND Item = :Item)"));
    label.SetParam(QStringLiteral("Class"), QStringLiteral("1"));
    label.SetParam(QStringLiteral("Item"), QStringLiteral("PLABEL DEV"));
    label.SetParam(QStringLiteral("Value"), kLabelPrinter);
    if (label.Execute() > 0)
        *log << QStringLiteral("Set till 1's label printer to ") + kLabelPrinter;
    // The kitchen screen shows what goes to the Kitchen printer (PrintersID 1); drinks go
    // to the Bar's printer and stay off it.
    label.SetParam(QStringLiteral("Item"), QStringLiteral("GY PRINTERFILTER"));
    label.SetParam(QStringLiteral("Value"), QStringLiteral("1"));
    const int filterOn = label.Execute();
    label.SetParam(QStringLiteral("Item"), QStringLiteral("GY PRINTERFILTER IDS"));
    label.SetParam(QStringLiteral("Value"), QStringLiteral("1"));
    if (filterOn + label.Execute() > 0)
        *log << QStringLiteral("Till 1's monitor shows the Kitchen printer's items");

    platform::Registry reg;
    const auto root = platform::RegistryRoot::LocalMachine;
    const QString labels = dataFolder + QStringLiteral("/labels.pdf");
    const QString pairs
        = WithPdfPrinter(reg.ReadString(root, kVelaKey, kPdfPrintersValue).value_or(QString()),
                         kLabelPrinter, labels);
    if (!reg.WriteString(root, kVelaKey, kPdfPrintersValue, pairs)) {
        *error = reg.LastError();
        return false;
    }
    *log << kLabelPrinter + QStringLiteral(" prints into ") + labels;

    // Numbers and colours are decimal texts, flags Booleans, as the monitor's settings
    // window stores them. Colours are TColor values (0x00BBGGRR): without them every
    // colour is black, and the orders would be black on black.
    TmoxAppInfo galley;
    galley.SetHKey(LOCAL_MACHINE);
    galley.SetKey(kGalleyKey);
    galley.SetAppName(QStringLiteral("Galley"));
    struct Value
    {
        const char *name;
        QString text; // a text value, or "0"/"1" for a flag
        bool flag;
    };
    const Value values[] = {
        {"NoOrdersCols", QStringLiteral("3"), false},
        {"PollInterval", QStringLiteral("5"), false},
        {"DisplayInvoiceNo", QStringLiteral("1"), true},
        {"AutoExpand", QStringLiteral("1"), true}, // every order shows its items at once
        {"FontSize", QStringLiteral("14"), false}, // readable from the stove
        {"WaitingFont", QString::number(0x00FFFF), false}, // yellow
        {"WaitingBackground", QString::number(0x000000), false}, // black
        {"SelectColour", QString::number(0x800000), false}, // navy
        {"CompletedFont", QString::number(0xFFFFFF), false}, // white
        {"CompletedBackground", QString::number(0x008000), false}, // green
        {"CompletedSelectColour", QString::number(0x808000), false}, // teal
    };
    int written = 0;
    for (const Value &v : values) {
        const QString name = QLatin1String(v.name);
        if (reg.ValueExists(root, kGalleyKey, name))
            continue;
        const bool ok = v.flag ? galley.WriteBool(name, v.text == QLatin1String("1"))
                               : galley.WriteString(name, v.text);
        if (!ok) {
            *error = QStringLiteral("Could not write ") + name
                + QStringLiteral(" under HKEY_LOCAL_MACHINE") + kGalleyKey;
            return false;
        }
        ++written;
    }
    if (written > 0)
        *log << QStringLiteral(
            "Set the monitor's display: 3 columns, orders expanded, 14-point text, invoice numbers, a poll every 5 seconds");
    return true;
}

} // namespace demo
