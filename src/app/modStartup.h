#pragma once

#include <QString>

// Where the start-up got to.
enum class TStartupState { Starting, Connected, Identified, Configured, Running, Ended };

struct TStartupResult
{
    TStartupState State = TStartupState::Starting;
    int ExitCode = 0;    // the program's exit code when it ends here
    int TillID = 0;      // this machine's till number, once identified
    QString Summary;     // one line: what the start-up did
};

// Runs the start-up after the application object exists: the data module and its
// connection, GenericDB, this machine's till number, the shared settings (VelaSettings:
// global, this till's and the printer list; the default VAT rate of new orders) and the
// monitor's per-till defaults.
// A failed connection ends it after the user was told; a machine left without a till
// number (the user cancelled the till list) ends it quietly with exit code 0. In both
// cases State stays below Configured. Database errors after that pass out as exceptions
// (the caller reports them and ends with exit code 1), as does the EZXException of a till
// number without a Tills row. Leaves dmVela, GenericDB and VelaSettings alive for the run;
// call ShutdownStartup() at the end, also after an exception.
TStartupResult RunStartup();
void ShutdownStartup();
