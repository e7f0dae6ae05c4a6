#pragma once

// The program's application object. Any exception that escapes an event handler, a slot
// or a timer is handed to ExceptionReporter, which reports it, and the program goes on
// with the next event.

#include <QApplication>

class TVelaApplication : public QApplication
{
    Q_OBJECT

public:
    TVelaApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
