#pragma once

#include <QString>
#include <stdexcept>

// A stored value that the carrier file cannot carry faithfully: a line break inside a value would forge a tag line
// of its own, and a character without a Windows-1252 byte would arrive as something else.
class EdiComposeError : public std::runtime_error
{
public:
    explicit EdiComposeError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};
