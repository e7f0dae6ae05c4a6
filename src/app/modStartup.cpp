#include "modStartup.h"

#include "datamodVela.h"

#include "framework/clsGenericDB.h"
#include "framework/clsSysData.h"

#include "orders/clsInvoices.h"
#include "suite/clsVelaSettings.h"
#include "tills/modTillID.h"

#include "platform/DbError.h"
#include "platform/SystemInfo.h"


TStartupResult RunStartup()
{
    TStartupResult result;

    // Steps 2-4: the data module, its connection, the SQL runner.
    dmVela = new TdmVela();
    dmVela->SetConnected(true);
    if (!dmVela->Connected())
        return result; // already reported by SetConnected; end silently
    GenericDB = new TGenericDB(&dmVela->con);
    result.State = TStartupState::Connected;

    // Step 5: this machine's till number. A machine without one gets the till list to
    // register itself; leaving it without a number ends the program quietly.
    const QString computer = platform::ComputerName();
    result.TillID = GetTillID();
    if (result.TillID <= 0) {
        result.ExitCode = 0;
        return result;
    }
    result.State = TStartupState::Identified;

    // Steps 6-11: the shared settings. Until they are saved, the second load of the global
    // settings creates the missing items again with their defaults.
    VelaSettings = new TVelaSettings();
    VelaSettings->SetConnection(&dmVela->con);
    VelaSettings->Global().Populate();
    VelaSettings->SetTill(result.TillID);
    VelaSettings->Local().Populate(VelaSettings->Till());
    VelaSettings->Printers().LoadAll();
    VelaSettings->Global().Populate();
    // New orders take the shop's VAT rate from now on. The monitor itself never prices an
    // order, so a rate that is not a number is logged and left at 0 rather than keeping
    // the kitchen from starting.
    try {
        TInvoice::SetDefaultVatRate(
            VelaSettings->Global().Setting(TVelaGlobalItem::VatRate)->AsFloat());
    } catch (const platform::ConvertError &e) {
        qWarning("vela-kitchen: the shop's \"VAT RATE\" is not a number (%s); using 0.",
                 qPrintable(e.Message()));
    }

    // Step 12: the monitor's four per-till filter settings, written only when missing.
    const QString till = QString::number(result.TillID);
    WriteSysData(till, QStringLiteral("GY FILTER"), QStringLiteral("0"), false, QString());
    WriteSysData(till, QStringLiteral("GY FILTER IDS"), QString(), false, QString());
    WriteSysData(till, QStringLiteral("GY PRINTERFILTER IDS"), QString(), false, QString());
    WriteSysData(till, QStringLiteral("GY PRINTERFILTER"), QStringLiteral("0"), false, QString());
    result.State = TStartupState::Configured;
    result.Summary = QStringLiteral("Vela Kitchen Monitor: connected (%1), this computer %2 is till %3, "
                                    "monitor settings of till %3 present.")
                         .arg(dmVela->con.ConnectionString(), computer.toUpper(), till);
    return result;
}

void ShutdownStartup()
{
    // The settings use the data module's connection: they go first.
    TInvoice::SetDefaultVatRate(0);
    delete VelaSettings;
    VelaSettings = nullptr;
    delete GenericDB;
    GenericDB = nullptr;
    delete dmVela;
    dmVela = nullptr;
}
