#pragma once

#include <QString>
#include <stdexcept>

// A failure of the record store. Raised once where it happens; the application's event dispatch shows it.
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};
