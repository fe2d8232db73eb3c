#pragma once

#include <QString>
#include <stdexcept>

// A stored value that the carrier file cannot carry faithfully: a line break inside a value would forge a tag line
// of its own, a control character or a number that is not finite would reach the carrier as garbage, and a
// character without a Windows-1252 byte would arrive as something else. `tag` is the line's tag, "[PO9]".
class EdiComposeError : public std::runtime_error
{
public:
    EdiComposeError(const QString &message, const QString &tag = QString())
        : std::runtime_error(message.toStdString()), m_message(message), m_tag(tag)
    {
    }
    QString message() const { return m_message; }
    QString tag() const { return m_tag; }

private:
    QString m_message;
    QString m_tag;
};
