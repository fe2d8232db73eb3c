#include "PgCluster.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A port nobody listens on now: the one the system gives to a socket bound to port 0.
int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool asRoot()
{
    return ::geteuid() == 0;
}
} // namespace

QString PgCluster::binFolder()
{
    QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(versions.begin(), versions.end(), numeric);
    for (auto it = versions.crbegin(); it != versions.crend(); ++it) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(*it);
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return {};
}

PgCluster::PgCluster()
{
    const QString bin = binFolder();
    if (bin.isEmpty()) {
        m_error = QStringLiteral("no PostgreSQL server installed (/usr/lib/postgresql/*/bin)");
        return;
    }
    m_folder = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/dalvora-pg-XXXXXX"));
    const QString passwordFile = m_folder->filePath(QStringLiteral("password"));
    QFile file(passwordFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(Password) < 0) {
        m_error = QStringLiteral("cannot write ") + passwordFile;
        return;
    }
    file.close();
    if (asRoot()) {
        // The server refuses to run as root: its folder and password file are handed to the postgres user.
        const passwd *user = ::getpwnam("postgres");
        if (!user) {
            m_error = QStringLiteral("no postgres user to run the server as");
            return;
        }
        for (const QString &path : {m_folder->path(), passwordFile})
            if (::chown(QFile::encodeName(path).constData(), user->pw_uid, user->pw_gid) != 0) {
                m_error = QStringLiteral("cannot hand %1 to the postgres user").arg(path);
                return;
            }
    }
    QString output;
    if (!run(bin + QStringLiteral("/initdb"),
             {QStringLiteral("-D"), m_folder->filePath(QStringLiteral("data")), QStringLiteral("-U"),
              QString::fromLatin1(Superuser), QStringLiteral("-E"), QStringLiteral("UTF8"),
              QStringLiteral("--locale=C"), QStringLiteral("--auth-local=trust"),
              QStringLiteral("--auth-host=scram-sha-256"), QStringLiteral("--pwfile=") + passwordFile,
              QStringLiteral("--no-sync")},
             &output)) {
        m_error = QStringLiteral("initdb failed: ") + output;
        return;
    }
    m_port = freePort();
    start();
}

PgCluster::~PgCluster()
{
    if (m_port > 0)
        run(binFolder() + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), m_folder->filePath(QStringLiteral("data")), QStringLiteral("-m"),
             QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
}

QString PgCluster::socketFolder() const
{
    return m_folder ? m_folder->path() : QString();
}

bool PgCluster::run(const QString &program, const QStringList &arguments, QString *output) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_folder->path());
    // The server's messages and sorting do not depend on the test's own language.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    if (asRoot())
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), program} +
                          arguments);
    else
        process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool PgCluster::start()
{
    QString output;
    const bool started =
        run(binFolder() + QStringLiteral("/pg_ctl"),
            {QStringLiteral("-D"), m_folder->filePath(QStringLiteral("data")), QStringLiteral("-l"),
             m_folder->filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-t"),
             QStringLiteral("60"), QStringLiteral("-o"),
             QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off -c full_page_writes=off")
                 .arg(m_port)
                 .arg(m_folder->path()),
             QStringLiteral("start")},
            &output);
    m_error = started ? QString() : QStringLiteral("pg_ctl start failed: ") + output;
    return started;
}

bool PgCluster::stop()
{
    return run(binFolder() + QStringLiteral("/pg_ctl"),
               {QStringLiteral("-D"), m_folder->filePath(QStringLiteral("data")), QStringLiteral("-m"),
                QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
}

QString PgCluster::uri(const QString &database) const
{
    return QStringLiteral("postgresql://%1@/%2?host=%3&port=%4")
        .arg(QString::fromLatin1(Superuser), database, socketFolder())
        .arg(m_port);
}

QString PgCluster::tcpUri(const QString &database, const QString &user) const
{
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3").arg(user).arg(m_port).arg(database);
}

QSqlDatabase PgCluster::connect(const QString &database, const QString &connectionName) const
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(socketFolder());
    db.setPort(m_port);
    db.setUserName(QString::fromLatin1(Superuser));
    db.setDatabaseName(database);
    if (!db.open())
        qFatal("cannot connect to the test server: %s", qPrintable(db.lastError().text()));
    return db;
}

void PgCluster::exec(const QString &database, const QStringList &statements) const
{
    const QString name = QStringLiteral("pgcluster-admin");
    {
        QSqlDatabase db = connect(database, name);
        for (const QString &sql : statements) {
            QSqlQuery query(db);
            if (!query.exec(sql))
                qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
        }
    }
    QSqlDatabase::removeDatabase(name);
}

void PgCluster::createDatabase(const QString &name) const
{
    exec(QStringLiteral("postgres"), {QStringLiteral("CREATE DATABASE ") + name});
}
