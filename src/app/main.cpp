// vela-kitchen: the kitchen monitor. Reads no command line; the connection string comes
// from the registry store, everything else from the database.
//
// For the demo on a machine without a screen: VELA_SCREENSHOT names a PNG file that the
// monitor's window is saved to VELA_SCREENSHOT_AFTER seconds (default 20) after it is shown.
#include "modKitchenWindows.h"
#include "modStartup.h"

#include "framework/clsEZXException.h"
#include "framework/clsVelaApplication.h"

#include "platform/DialogSeam.h"

#include <QTimer>

#include <cstdio>

namespace {

void ScheduleScreenshot(QWidget *window)
{
    const QString file = qEnvironmentVariable("VELA_SCREENSHOT");
    if (file.isEmpty())
        return;
    bool ok = false;
    int seconds = qEnvironmentVariableIntValue("VELA_SCREENSHOT_AFTER", &ok);
    if (!ok || seconds < 1)
        seconds = 20;
    QTimer::singleShot(seconds * 1000, window, [window, file] {
        if (window->grab().save(file, "PNG"))
            printf("vela-kitchen: screenshot saved to %s\n", qPrintable(file));
        else
            fprintf(stderr, "vela-kitchen: could not save the screenshot to %s\n", qPrintable(file));
        fflush(stdout);
    });
}

} // namespace

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
            printf("%s\n", qPrintable(started.Summary));
            fflush(stdout);
            // Step 13 and 14: the windows, then the message loop until the main window closes.
            std::unique_ptr<TKitchenWindows> windows = CreateKitchenWindows(started.TillID);
            windows->frmMain->showMaximized();
            ScheduleScreenshot(windows->frmMain.get());
            exitCode = app.exec();
            windows.reset();
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
