#pragma once

#include <QSqlDatabase>
#include <QString>

#include "StoreError.h"
#include "TableDef.h"

class QSqlError;

// The one connection to the store that holds the four tables: the SQLite file, or the office's PostgreSQL server
// when DALVORA_DATABASE names one.
class Store
{
public:
    static constexpr const char *FileName = "dalvora.db";
    static constexpr const char *ServerSetting = "DALVORA_DATABASE";

    // Opens the server that DALVORA_DATABASE names or, without it, the database file in the given folder (created
    // when missing), and creates missing tables. Throws StoreError naming the file or server when it is not usable.
    static void open(const QString &folder);
    // Opens the PostgreSQL database of the URI (see ServerAddress) as open() does.
    static void openServer(const QString &uri);
    static void close();
    static bool isOpen();
    static SqlDialect dialect();
    // The connection; after the server's connection was lost, outside a transaction, it is opened again first
    // (throws StoreError when the server is still away).
    static QSqlDatabase database();
    // The file's path, or the server's description (never a password): what messages name.
    static QString filePath();
    enum Access { Reading, Writing };
    // The error of a failed statement as the clerk reads it: what went wrong (the disk full, the file protected
    // against writing, busy...) in the interface language, with the file's name.
    static StoreError failure(const QSqlError &error, Access access = Writing);

private:
    // Opens the connection to the server and sets up its session; the error, or an invalid one.
    static QSqlError openConnection(QSqlDatabase &db);
    static void createTables(const QString &cannot);
    static StoreError serverFailure(const QSqlError &error, const QString &server, Access access);
};

// A write transaction of the store, which no other writer runs beside ("BEGIN IMMEDIATE", or on the server a lock
// held until the end of the transaction). Nested guards join the outer one.
// Rolled back when destroyed without commit().
class WriteTransaction
{
public:
    WriteTransaction();
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;
    void commit();

private:
    bool m_owner = false;
    bool m_done = false;
};
