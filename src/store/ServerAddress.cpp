#include "ServerAddress.h"

#include "StoreError.h"
#include "TranslateText.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QUrl>

namespace {
// A server that does not answer is given up after this many seconds; libpq's own default waits forever.
const QString DefaultTimeout = QStringLiteral("connect_timeout=10");

[[noreturn]] void malformed()
{
    throw StoreError(TranslateText(
        QStringLiteral("Endereço inválido em DALVORA_DATABASE; a forma é postgresql://usuário@servidor:porta/banco")));
}

// A decoded part of the URI: no control characters, no blanks at all in names.
QString decoded(const QString &part)
{
    const QString text = QUrl::fromPercentEncoding(part.toUtf8());
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            malformed();
    return text;
}

[[noreturn]] void passwordGiven()
{
    throw StoreError(TranslateText(QStringLiteral("A senha não vai no endereço: use PGPASSWORD ou ~/.pgpass")));
}

int portOf(const QString &text)
{
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        malformed();
    return port;
}
} // namespace

ServerAddress ServerAddress::parse(const QString &uri)
{
    static const QRegularExpression form(
        QStringLiteral("^postgres(?:ql)?://(?:([^@/?#]*)@)?(\\[[^\\]/?#]*\\]|[^:/?#]*)(?::([0-9]*))?"
                       "/([^/?#]+)(?:\\?([^#]*))?$"));
    const QRegularExpressionMatch match = form.match(uri.trimmed());
    if (!match.hasMatch())
        malformed();
    ServerAddress address;
    const QString userInfo = match.captured(1);
    if (userInfo.contains(QLatin1Char(':')))
        passwordGiven();
    address.m_user = decoded(userInfo);
    address.m_host = decoded(match.captured(2));
    if (address.m_host.startsWith(QLatin1Char('[')))
        address.m_host = address.m_host.mid(1, address.m_host.size() - 2);
    if (!match.captured(3).isEmpty())
        address.m_port = portOf(match.captured(3));
    address.m_database = decoded(match.captured(4));
    QStringList options;
    const QString query = match.captured(5);
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        if (equals <= 0)
            malformed();
        const QString name = pair.left(equals);
        const QString value = decoded(pair.mid(equals + 1));
        if (name == QLatin1String("host") && !value.isEmpty())
            address.m_host = value;
        else if (name == QLatin1String("port"))
            address.m_port = portOf(value);
        else if (name == QLatin1String("password"))
            passwordGiven();
        else if ((name == QLatin1String("sslmode") || name == QLatin1String("connect_timeout")) &&
                 QRegularExpression(QStringLiteral("^[A-Za-z0-9-]+$")).match(value).hasMatch())
            options << name + QLatin1Char('=') + value;
        else
            malformed();
    }
    if (!query.contains(QLatin1String("connect_timeout=")))
        options << DefaultTimeout;
    address.m_options = options.join(QLatin1Char(';'));
    return address;
}

void ServerAddress::configure(QSqlDatabase &database) const
{
    database.setDatabaseName(m_database);
    database.setUserName(m_user);
    database.setHostName(m_host);
    database.setPort(m_port);
    database.setConnectOptions(m_options);
}

QString ServerAddress::description() const
{
    QString text = QStringLiteral("postgresql://");
    if (!m_user.isEmpty())
        text += m_user + QLatin1Char('@');
    text += m_host.contains(QLatin1Char(':')) ? QLatin1Char('[') + m_host + QLatin1Char(']') : m_host;
    if (m_port > 0)
        text += QLatin1Char(':') + QString::number(m_port);
    return text + QLatin1Char('/') + m_database;
}
