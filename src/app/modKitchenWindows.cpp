#include "modKitchenWindows.h"

#include "datamodVela.h"

#include "suite/clsVelaSettings.h"

namespace {

QString LocalValue(const TVelaLocalSettings &local, TVelaLocalItem item)
{
    const TSysDataItem *setting = local.Setting(item);
    return setting ? setting->Value() : QString();
}

} // namespace

TMainSettings MainSettingsOf(const TfrmGYSettings &gy)
{
    const TGalleySettings s = gy.Settings();
    const TGalleyFilters &f = gy.Filters();
    TMainSettings m;
    m.Refresh.TillFilterEnabled = f.TillFilterEnabled;
    m.Refresh.TillFilterIDs = f.TillFilterIDs;
    m.Refresh.PrinterFilterEnabled = f.PrinterFilterEnabled;
    m.Refresh.PrinterFilterIDs = f.PrinterFilterIDNumbers();
    m.Refresh.WaitingText = s.WaitingFont;
    m.Refresh.WaitingBack = s.WaitingBackground;
    m.Refresh.CompletedText = s.CompletedFont;
    m.Refresh.CompletedBack = s.CompletedBackground;
    m.Refresh.WaitingSelected = s.SelectColour;
    m.Refresh.CompletedSelected = s.CompletedSelectColour;
    m.Refresh.FontSize = s.FontSize;
    m.Columns = s.NoOrdersCols;
    m.PollSeconds = s.PollInterval;
    m.AutoExpand = s.AutoExpand;
    m.InvoiceNumber = s.DisplayInvoiceNo;
    m.UseEmployeeColours = s.UseEmpColours;
    m.AutoPrintLabels = s.PrintLabels;
    m.ReportGroupID = gy.ReportGroupLimit();
    return m;
}

TLabelSettings LabelSettingsOf(const TVelaLocalSettings &local)
{
    TLabelSettings l;
    l.LabelDevice = LocalValue(local, TVelaLocalItem::PlabelDev);
    l.LabelMargin = LocalValue(local, TVelaLocalItem::PrintLabelMargin);
    l.SideBySide = LocalValue(local, TVelaLocalItem::PrintSideBySide);
    l.WaiterDetails = LocalValue(local, TVelaLocalItem::WaiterDetails);
    return l;
}

std::unique_ptr<TKitchenWindows> CreateKitchenWindows(int tillID)
{
    auto windows = std::make_unique<TKitchenWindows>();
    windows->frmMain = std::make_unique<TfrmMain>(&dmVela->con);
    windows->frmGYSettings = std::make_unique<TfrmGYSettings>(&dmVela->con, tillID);
    if (VelaSettings)
        windows->frmGYSettings->SetPrinters(&VelaSettings->Printers());

    TfrmMain *main = windows->frmMain.get();
    TfrmGYSettings *gy = windows->frmGYSettings.get();
    main->LoadSettings = [gy] {
        gy->LoadSettings();
        return MainSettingsOf(*gy);
    };
    main->CurrentSettings = [gy] { return MainSettingsOf(*gy); };
    main->ShowGalleySettings = [gy](bool &connectionChanged) {
        const bool ok = gy->Execute();
        connectionChanged = gy->ConnectionChanged();
        return ok;
    };
    // A poll reopens the connection with the string it was opened with, without the
    // start-up's prompts: a kitchen screen must not fill with dialogs every few seconds
    // while the server is away. The poll shows its own message when this fails.
    main->Reconnect = [] { dmVela->con.Open(); };
    main->LabelPrinter = [] {
        return VelaSettings ? LocalValue(VelaSettings->Local(), TVelaLocalItem::PlabelDev) : QString();
    };
    main->PrintInvoiceLabels = [](int invoiceNum, int orderNum, const QString &waiter) {
        PrintInvoiceLabels(dmVela->con, LabelSettingsOf(VelaSettings->Local()), invoiceNum,
                           orderNum, waiter);
    };
    return windows;
}
