// vela-kitchen: the kitchen monitor. Reads no command line; the connection string comes
// from the registry store, everything else from the database.
#include "modStartup.h"

#include "framework/clsEZXException.h"
#include "framework/clsVelaApplication.h"

#include "platform/DialogSeam.h"

#include <cstdio>

int main(int argc, char **argv)
{
    TVelaApplication app(argc, argv);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Vela Kitchen Monitor"));
    QCoreApplication::setApplicationName(QStringLiteral("vela-kitchen"));

    int exitCode = 0;
    try {
        const TStartupResult started = RunStartup();
        if (started.State != TStartupState::Configured) {
            exitCode = started.ExitCode;
        } else {
            // The main window comes in a later version: say what the start-up did and end.
            printf("%s\n", qPrintable(started.Summary));
        }
    } catch (const std::exception &e) {
        // An error while loading: the run-time's report, then exit code 1.
        const QString message = ExceptionMessage(e);
        fprintf(stderr, "vela-kitchen: %s\n", qPrintable(message));
        platform::MessageBox(message, platform::mtError, {platform::mbOK});
        exitCode = 1;
    }
    ShutdownStartup();
    return exitCode;
}
