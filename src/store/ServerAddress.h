#pragma once

#include <QString>

class QSqlDatabase;

// Where the shared office store lives: a PostgreSQL connection URI, postgresql://user@host:port/dbname, with
// "?host=/folder" for a Unix socket folder. The password never comes from the URI: libpq reads it from PGPASSWORD or
// ~/.pgpass, so no message and no process listing can show it.
class ServerAddress
{
public:
    // Throws StoreError when the text is not such a URI, or when it carries a password.
    static ServerAddress parse(const QString &uri);

    // The connection's settings on a database of the QPSQL driver.
    void configure(QSqlDatabase &database) const;
    // The server as messages name it: postgresql://user@host:port/dbname.
    QString description() const;

private:
    QString m_user;
    QString m_host;
    int m_port = -1;
    QString m_database;
    QString m_options;
};
