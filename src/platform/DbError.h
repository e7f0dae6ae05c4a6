#pragma once

#include <QString>
#include <stdexcept>

namespace platform {

// Every failure of the database layer: the text is the driver's message, with the
// statement or connection it concerns where that helps. The layer never shows a window.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {}
    const QString &Message() const { return m_message; }

private:
    QString m_message;
};

// A value read from a row could not be converted to the type asked for
// (the run-time's conversion error: "'abc' is not a valid integer value").
class ConvertError : public std::runtime_error
{
public:
    explicit ConvertError(const QString &message)
        : std::runtime_error(message.toStdString())
        , m_message(message)
    {}
    const QString &Message() const { return m_message; }

private:
    QString m_message;
};

} // namespace platform
