#pragma once

// "Settings For Galley": the kitchen monitor's own settings window, and for the whole run
// the holder of the monitor's settings.
//
// How the main window uses it (one window, created at start-up after GenericDB exists):
//
//     TfrmGYSettings gy(&dmVela->con, tillID);   // FormCreate: till/printer filters read
//     gy.SetPrinters(&VelaSettings->Printers);   // optional: the shared printer list
//     gy.LoadSettings();                         // once, when the main window is first shown
//     ...
//     const TGalleySettings s = gy.Settings();  // display values as the controls hold them
//     const TGalleyFilters &f = gy.Filters();   // till/printer filter, changed at every click
//     const int reportGroupID = gy.ReportGroupLimit(); // 0 = no limit
//     ...
//     if (gy.Execute()) {                        // modal; true when closed with OK
//         ApplySettings(); ApplyReportGroup(); ...
//         if (gy.ConnectionChanged())            // a new connection string was stored
//             tell the user to restart;
//     }
//
// The registry-backed values are written at OK only; Cancel leaves the controls as they
// were edited, and the monitor keeps using them until it ends (the registry keeps the old
// ones). The filter flags and lists are written to SysData at once, at every click, and
// their lists again at OK. Without the window, the same values are read with
// TGalleySettings::Read, TReportGroups and TGalleyFilters (clsGalleySettings.h).
//
// Errors: reading or writing the filters (SysData) throws platform::DbError out of the
// constructor and Execute; inside the window's click handlers they go to the exception
// reporter and the window stays open. Main thread only.

#include "kitchen/clsGalleySettings.h"

#include "framework/moxAppInfo.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class T_Printers;
class TColorBox;
class TTills;
class TTillsItem;
class TZxControlsPanel;
namespace platform {
class SqlConnection;
}

class TfrmGYSettings : public QDialog
{
    Q_OBJECT

public:
    // connection (not owned) is the one the tills, printers and report groups are read
    // from; tillID is this machine's till number, the Class of its filter rows in SysData.
    // Runs FormCreate. Throws platform::DbError when the filter rows cannot be read.
    TfrmGYSettings(platform::SqlConnection *connection, int tillID, QWidget *parent = nullptr);
    ~TfrmGYSettings() override; // runs FormDestroy

    // --- the settings, current ---
    TGalleySettings Settings() const; // from the controls
    const TGalleyFilters &Filters() const { return m_filters; }
    int ReportGroupLimit() const; // ApplyReportGroup's value: the chosen group's ID, or 0
    bool TillFilterEnabled() const { return m_filters.TillFilterEnabled; }
    const QStringList &TillFilterIDs() const { return m_filters.TillFilterIDs; }
    bool PrinterFilterEnabled() const { return m_filters.PrinterFilterEnabled; }
    const QStringList &PrinterFilterIDs() const { return m_filters.PrinterFilterIDs; }

    // True when a new connection string was stored since the window was last shown.
    bool ConnectionChanged() const { return m_connectionChanged; }

    // The printer list of the shared settings (not owned; must outlive the window). Without
    // one the window reads the printers itself each time it is shown.
    void SetPrinters(T_Printers *printers) { m_sharedPrinters = printers; }

    // The stored connection string the "..." button edits: the one the start-up opens.
    QString ConnectionAppKey = QStringLiteral("Vela");
    QString ConnectionName = QStringLiteral("Msde");

    TTills *Tills() const { return m_tills.get(); }
    TTillsItem *UnassignedTill() const { return m_unassignedTill.get(); }
    const TReportGroups &ReportGroups() const { return m_reportGroups; }
    TmoxAppInfo &appInfo() { return m_appInfo; }

    // --- operations ---
    // Reads the registry values into the controls (filling the report groups first).
    // Returns true.
    bool LoadSettings();
    // Writes the registry values, then the two filter lists as ticked.
    void SaveSettings();
    // FormShow, then the window modally through the dialog seam (kind "GalleySettings",
    // Window = this; a scripted handler presses btnOK or btnCancel on it). True on OK.
    bool Execute();
    void FormShow();
    void ShowColourPreview();
    void PopulatecboReportGroup();
    int IndexOfReportGroup(int reportGroupID) const;
    void FillTillList();
    void FillPrinterList();
    void LoadTillFilterIDs();
    void LoadTillFilterFlag();
    void LoadPrinterFilterIDs();
    void LoadPrinterFilterFlag();

    // --- controls, named as in the form ---
    QTabWidget *pgMain = nullptr; // "Connection", "Settings", "Display"
    QWidget *tabConnection = nullptr;
    QWidget *tabSettings = nullptr;
    QWidget *tabDisplay = nullptr;
    QPushButton *btnEditDBConnection = nullptr;
    QSpinBox *sePoll = nullptr;
    QCheckBox *chkDisablePending = nullptr;
    QCheckBox *chkSizes = nullptr;
    QSpinBox *seFontSize = nullptr;
    QCheckBox *chkAutoPrintLabels = nullptr;
    QCheckBox *chkUseEmployeeColours = nullptr;
    QCheckBox *chkFiltered = nullptr;
    QListWidget *lstTillIDs = nullptr;
    QCheckBox *chkPrinterFilter = nullptr;
    QListWidget *lstPrinters = nullptr;
    QSpinBox *seCols = nullptr;
    QRadioButton *radOrderNo = nullptr;
    QRadioButton *radInvoiceNo = nullptr;
    QCheckBox *chkAutoExpand = nullptr;
    QCheckBox *chkReportGroup = nullptr;
    QComboBox *cboReportGroup = nullptr;
    QGroupBox *grpColours = nullptr;
    QTabWidget *pgColours = nullptr; // "Waiting", "Completed"
    TColorBox *colWF = nullptr;
    TColorBox *colWB = nullptr;
    TColorBox *colSelect = nullptr;
    TColorBox *colCF = nullptr;
    TColorBox *colCB = nullptr;
    TColorBox *colCSelect = nullptr;
    QWidget *pnlPreviewNormal = nullptr; // left preview column
    QWidget *pnlPreviewSelected = nullptr;
    QList<QLabel *> lblPreviewNormal; // the four sample lines under "Normal"
    QList<QLabel *> lblPreviewSelected; // under "Selected"
    TZxControlsPanel *pnlBottom = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

signals:
    // A new connection string was stored through the "..." button.
    void connectionStringChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildWindow();
    void FormCreate();
    void FormDestroy();
    void FormResize();
    void ApplyToControls(const TGalleySettings &settings);
    void ShowFilterFlags();
    void btnOKClick();
    void btnEditDBConnectionClick();
    void chkFilteredClick();
    void chkPrinterFilterClick();
    void lstTillIDsClick(QListWidgetItem *item);
    void lstPrintersClick(QListWidgetItem *item);
    // Runs a click handler; an error goes to the exception reporter.
    template<typename F> void Guarded(F &&handler);

    platform::SqlConnection *m_connection;
    TmoxAppInfo m_appInfo;
    std::unique_ptr<TTills> m_tills;
    std::unique_ptr<TTillsItem> m_unassignedTill;
    std::unique_ptr<T_Printers> m_ownPrinters;
    T_Printers *m_sharedPrinters = nullptr;
    TGalleyFilters m_filters;
    TReportGroups m_reportGroups;
    int m_loadedReportGroup = -1; // the stored ReportGroup, kept while no group is chosen
    bool m_connectionChanged = false;
    bool m_loading = false;
};
