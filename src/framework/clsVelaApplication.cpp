#include "clsVelaApplication.h"

#include "clsEZXException.h"

#include <stdexcept>

TVelaApplication::TVelaApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{ }

bool TVelaApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ExceptionReporter.HandleException(receiver, e);
    } catch (...) {
        ExceptionReporter.HandleException(receiver,
                                          std::runtime_error("An exception of unknown type"));
    }
    return false;
}
