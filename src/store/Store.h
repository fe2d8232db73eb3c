#pragma once

#include <QSqlDatabase>
#include <QString>

#include "StoreError.h"

class QSqlError;

// The one connection to the SQLite file that holds the four tables.
class Store
{
public:
    static constexpr const char *FileName = "dalvora.db";

    // Opens (creating when missing) the database in the given folder and creates missing tables.
    // Throws StoreError naming the file when it is not a usable database.
    static void open(const QString &folder);
    static void close();
    static bool isOpen();
    static QSqlDatabase database();
    static QString filePath();
    enum Access { Reading, Writing };
    // The error of a failed statement as the clerk reads it: what went wrong (the disk full, the file protected
    // against writing, busy...) in the interface language, with the file's name.
    static StoreError failure(const QSqlError &error, Access access = Writing);
};

// A write transaction of the store ("BEGIN IMMEDIATE"). Nested guards join the outer one.
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
