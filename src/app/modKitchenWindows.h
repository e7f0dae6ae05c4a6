#pragma once

// Start-up step 13: the long-lived windows, in their order (the main window first, then the
// monitor settings window), and the wiring between them: the main window reads the
// monitor settings from the settings window, the label printer from this till's shared
// settings, prints labels through the printing layer and reopens the data module's
// connection when it was lost.
//
// Needs dmVela, GenericDB and VelaSettings from the earlier steps. Main thread only.

#include "kitchen/FGYSettings.h"
#include "kitchen/FMain.h"

#include "printing/clsPrintLabels.h"

#include <memory>

class TVelaLocalSettings;

struct TKitchenWindows
{
    // Destroyed in reverse order: the settings window before the main window.
    std::unique_ptr<TfrmMain> frmMain;
    std::unique_ptr<TfrmGYSettings> frmGYSettings;
};

std::unique_ptr<TKitchenWindows> CreateKitchenWindows(int tillID);

// The main window's view of the monitor settings as the settings window holds them now.
TMainSettings MainSettingsOf(const TfrmGYSettings &gy);
// The label settings of the till's shared settings.
TLabelSettings LabelSettingsOf(const TVelaLocalSettings &local);
