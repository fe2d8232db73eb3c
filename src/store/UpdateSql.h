#pragma once

#include "TableDef.h"

#include <QStringList>

// The update object of an edit buffer: modify, insert and delete statements built from the table's columns.
class UpdateSql
{
public:
    explicit UpdateSql(const TableDef &table);

    const TableDef &table() const { return m_table; }
    QStringList modifySql() const;
    QStringList insertSql() const;
    QStringList deleteSql() const;

private:
    QStringList unchangedSinceRead() const;

    const TableDef &m_table;
};
