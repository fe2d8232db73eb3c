#pragma once

#include <QList>
#include <QString>
#include <QStringList>

enum class ColumnType { Integer, Text, Number, Logical, Date, Memo };

// The two kinds of store: the SQLite file, and the office's shared PostgreSQL server.
enum class SqlDialect { Sqlite, Postgres };

struct ColumnDef
{
    QString name;
    ColumnType type;
    int maxLength = 0; // 0: no limit of its own
};

// One table of the record store: its columns in insert-statement order, its key and its link to the BL.
struct TableDef
{
    QString name;
    QString key;
    QString link; // empty for Dal_Bls
    QList<ColumnDef> columns;
    // Columns with an index of their own, so that a list sorted by one of them or searched on one of them reads only
    // the rows it shows.
    QStringList indexed = {};

    const ColumnDef *column(const QString &name) const; // case-insensitive; nullptr when unknown
    QStringList columnNames() const;
    QString createSql(SqlDialect dialect = SqlDialect::Sqlite) const;
    // One "CREATE INDEX IF NOT EXISTS" per indexed column; on the server also one on the link to the BL.
    QStringList indexSql(SqlDialect dialect = SqlDialect::Sqlite) const;

    static const TableDef &bls();
    static const TableDef &cntr();
    static const TableDef &sd();
    static const TableDef &ncm();
    static const QList<const TableDef *> &all();
    // The column of any table with that name (names carry their table's prefix, so they are unique).
    static const ColumnDef *findColumn(const QString &name);
};
