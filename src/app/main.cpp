// vela-kitchen: the kitchen monitor. Reads no command line; the connection string comes
// from the registry store, everything else from the database.
//
// For the demo on a machine without a screen: VELA_SCREENSHOT names a PNG file that the
// monitor's window is saved to VELA_SCREENSHOT_AFTER seconds (default 20) after it is shown.
//
// For measuring the start (bench/startup.sh): with VELA_TRACE_STARTUP set, the monitor
// writes one line to stderr, "first orders on screen after N ms", once the order grid has
// painted with orders placed on it; N counts from the start of the process (its start time
// in /proc, in steps of 10 ms).
#include "modKitchenWindows.h"
#include "modStartup.h"

#include "framework/clsEZXException.h"
#include "framework/clsVelaApplication.h"

#include "platform/DialogSeam.h"
#include "platform/StringGridView.h"

#include <QEvent>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

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

// Milliseconds since this process started; -1 when /proc cannot tell.
qint64 MsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // After the command name (in parentheses, may hold blanks) come fields 3, 4, ...; the
    // start time (field 22) is in clock ticks since boot.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    const qint64 startTicks = fields[19].toLongLong();
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000 - startTicks * 1000 / sysconf(_SC_CLK_TCK);
}

// Watches the order grid's paints until one shows placed orders, then says so once.
class StartupTrace : public QObject
{
public:
    explicit StartupTrace(TfrmMain *window)
        : QObject(window), m_window(window)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == m_window->gridOrders()->viewport()
            && !m_window->OrderManager().Displayed().IsEmpty()) {
            qApp->removeEventFilter(this);
            // Once this paint has been handled and flushed.
            QTimer::singleShot(0, this, [] {
                fprintf(stderr, "first orders on screen after %lld ms\n", MsSinceProcessStart());
                fflush(stderr);
            });
        }
        return false;
    }

private:
    TfrmMain *m_window;
};

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
            if (qEnvironmentVariableIsSet("VELA_TRACE_STARTUP"))
                new StartupTrace(windows->frmMain.get()); // owned by the window
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
