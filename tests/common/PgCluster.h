#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class QSqlDatabase;

// A throw-away PostgreSQL server for tests and the benchmark: a cluster made by initdb in a temporary folder,
// listening on a private Unix socket folder and on a free port of 127.0.0.1, stopped and deleted with the object.
// Run as root, the server runs as the postgres user. Connections through the socket need no password; those over
// TCP need the superuser's password, Password.
class PgCluster
{
public:
    static constexpr const char *Superuser = "postgres";
    static constexpr const char *Password = "dalvora-test";

    // The server programs' folder (the newest of /usr/lib/postgresql/*/bin), or empty when none is installed.
    static QString binFolder();

    PgCluster();
    ~PgCluster();
    PgCluster(const PgCluster &) = delete;
    PgCluster &operator=(const PgCluster &) = delete;

    // Why the server did not start; empty when it runs.
    QString error() const { return m_error; }
    int port() const { return m_port; }
    QString socketFolder() const;

    // The store's URI of a database of this server, through the socket.
    QString uri(const QString &database) const;
    // The same over TCP, where the password is checked.
    QString tcpUri(const QString &database, const QString &user = QString::fromLatin1(Superuser)) const;

    void createDatabase(const QString &name) const;
    // Runs statements as the superuser on a database; fails the caller with qFatal when one fails.
    void exec(const QString &database, const QStringList &statements) const;
    // A connection of its own to a database, as the superuser, under the given connection name.
    QSqlDatabase connect(const QString &database, const QString &connectionName) const;

    // Stops the server (fast shutdown: every session ends at once) and starts it again on the same port.
    bool stop();
    bool start();

private:
    bool run(const QString &program, const QStringList &arguments, QString *output = nullptr) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    int m_port = 0;
    QString m_error;
};
