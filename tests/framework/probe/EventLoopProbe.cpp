// Runs under TVelaApplication and throws from three kinds of event handler: a timer's slot,
// a posted event, and a key press sent to a widget. Prints every report the reporter
// showed ("=== ReportWindow" and its lines) and, when the loop went on after them, "went on".

#include "framework/FMsgDlgLst.h"
#include "framework/clsEZXException.h"
#include "framework/clsVelaApplication.h"

#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <stdexcept>

namespace {

class ThrowingObject : public QObject
{
public:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw EZXException("Posted event failed", QStringList {"Invoice 7"},
                               "TProbe.PostedEvent");
        return QObject::event(e);
    }
};

class ThrowingWidget : public QWidget
{
protected:
    void keyPressEvent(QKeyEvent *) override { throw 42; } // not even a std::exception
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TVelaApplication app(argc, argv);
    QTemporaryDir logs;
    TfrmMsgDlgLst::SetLogFolder(logs.path());
    platform::ScriptedResponder dialogs;

    ThrowingObject object;
    ThrowingWidget widget;
    bool wentOn = false;

    QTimer::singleShot(0, &app, [] { throw std::runtime_error("Timer failed"); });
    QTimer::singleShot(5, &app,
                       [&] { QCoreApplication::postEvent(&object, new QEvent(QEvent::User)); });
    QTimer::singleShot(10, &app, [&] {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QCoreApplication::sendEvent(&widget, &key);
    });
    // The loop goes on after the three failures: this timer still runs and ends the loop.
    QTimer done;
    QObject::connect(&done, &QTimer::timeout, &app, [&] {
        if (dialogs.Requests().size() >= 3) {
            wentOn = true;
            app.quit();
        }
    });
    done.start(5);
    QTimer::singleShot(5000, &app, [&] { app.exit(3); }); // never hang a test run

    const int rc = app.exec();
    for (const platform::DialogRequest &r : dialogs.Requests())
        std::printf("=== %s\n%s\n", qPrintable(r.Kind), qPrintable(r.Text));
    if (wentOn)
        std::printf("went on\n");
    std::fflush(stdout);
    return rc;
}
