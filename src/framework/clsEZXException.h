#pragma once

// The suite's exception, which carries where it was raised, and the process-wide reporter
// of exceptions nobody caught (TVelaApplication hands it every exception that escapes an
// event handler). Main thread only.

#include <QString>
#include <QStringList>

#include <exception>
#include <stdexcept>

class QObject;

class EZXException : public std::runtime_error
{
public:
    explicit EZXException(const QString &message, const QStringList &additionalInfo = {},
                          const QString &raisedIn = QString());
    EZXException(const QString &message, const QString &raisedIn);

    const QString &Message() const { return m_message; }
    const QString &RaisedIn() const { return m_raisedIn; } // "TClass.Method"
    const QStringList &AdditionalInfo() const { return m_additionalInfo; }

private:
    QString m_message;
    QString m_raisedIn;
    QStringList m_additionalInfo;
};

// The message of any exception as text: an EZXException's Message, another's what()
// read as UTF-8 (the platform layers throw std::runtime_error with UTF-8 text).
QString ExceptionMessage(const std::exception &e);

// The reporter. Code that wants particular texts in the next report sets Message,
// RaisedIn, Hint or AdditionalInfo and then raises or re-raises; the texts are used by the
// next report only.
class TZxException
{
public:
    TZxException();
    virtual ~TZxException() = default;

    QString Message;
    QString RaisedIn;
    QString Hint;
    QStringList AdditionalInfo;

    // Shows the report window (kind "ReportWindow" on the dialog seam), saves the report as
    // a log file, then resets the texts. Sender is the object whose event failed; unused.
    virtual void HandleException(QObject *sender, const std::exception &e);
    virtual void Reset();
};

extern TZxException ExceptionReporter;
