#pragma once

#include "Store.h"

#include <QByteArray>
#include <QStringList>
#include <QVariant>
#include <memory>

class QSqlDatabase;
class QSqlQuery;
struct sqlite3_stmt;

// A text of the file whose bytes are not UTF-8 (written so by another tool): kept as its bytes, so that binding it
// back gives the same text, not one with replacement characters.
struct StoredText
{
    QByteArray bytes;
    bool operator==(const StoredText &) const = default;
};
Q_DECLARE_METATYPE(StoredText)

// Steps through a query's rows with SQLite's own statement, on the connection Qt holds open. Lists of many thousand
// rows are read this way because going through QSqlQuery costs a conversion to UTF-16 and a QVariant per cell.
// On the server's connection the rows come through a QSqlQuery, and a failure is told as Store::failure() tells it.
class SqliteRowReader
{
public:
    // Prepares the statement; throws StoreError when the text is not valid SQL for this database. A failure is told
    // as one of reading or, for a statement that changes rows, of writing.
    SqliteRowReader(const QSqlDatabase &database, const QString &sql, Store::Access access = Store::Reading);
    ~SqliteRowReader();
    SqliteRowReader(const SqliteRowReader &) = delete;
    SqliteRowReader &operator=(const SqliteRowReader &) = delete;

    // Binds a value to a placeholder given by its name (without the colon) or, for "?", by its 1-based position.
    void bind(const QString &name, const QVariant &value);
    void bind(int position, const QVariant &value);

    QStringList columnNames() const;
    // Moves to the next row; false after the last one. Throws StoreError when SQLite fails (busy, I/O, corrupt).
    bool next();
    // Back before the first row, to run the statement again with other values bound.
    void reset();
    // The rows that a statement changing rows, once run by next(), changed.
    int changes() const;

    bool isNull(int column) const;
    qint64 integer(int column) const;
    double number(int column) const;
    QString text(int column) const;
    // The text's UTF-8 bytes, a null view for NULL. On SQLite they are the statement's own, valid until the next
    // step: append them, keep no view.
    QByteArrayView utf8(int column) const;
    // The cell exactly as stored, whatever the column's declared type: a whole number, a double, a text, bytes or
    // null (a StoredText for text that is not UTF-8). Bound back, it compares equal to what was read.
    QVariant stored(int column) const;

private:
    [[noreturn]] void fail() const;
    void run() const;

    sqlite3_stmt *m_statement = nullptr;
    Store::Access m_access;
    std::unique_ptr<QSqlQuery> m_query;
    mutable bool m_ran = false;
    mutable QByteArray m_utf8;
};
