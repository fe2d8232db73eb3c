#pragma once

#include "RowList.h"
#include "TableDef.h"

#include <QCache>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <vector>

class SqliteRowReader;

// A read-only list of all rows of a table, in a chosen order, that costs about the same with a million rows as with
// a thousand: opening it reads only the keys, in order, through the sort column's index; the shown columns are read a
// page of rows at a time, by key, when a row is first asked for.
// Each page is read by one statement, so a row is always whole. A row deleted by another connection after the open
// reads as an empty row, its key empty too, so nothing acts on it; a row added shows at the next open.
class ListQuery : public RowList
{
    Q_OBJECT

public:
    // The columns are those of the table that the list shows; the key must be among them.
    ListQuery(const QString &name, const TableDef &table, const QStringList &columns, QObject *parent = nullptr);
    ~ListQuery() override;

    // The column the rows are sorted by, ascending, rows of the same value by key; empty: by key alone. Takes effect
    // at the next open; throws StoreError for a column the table does not have.
    void setOrder(const QString &column);
    QString order() const { return m_order; }

    void open();
    void close();
    bool isOpen() const { return m_open; }

    int recordCount() const override { return int(m_keys.size()); }
    int currentIndex() const override { return m_current; }
    void setCurrentIndex(int row) override;
    QString displayTextAt(int row, const QString &column) const override;

    // Cells of a row and of the current row. A row out of range or gone from the table reads as empty cells.
    QVariant valueAt(int row, const QString &column) const;
    QString text(const QString &column) const;
    qint64 integer(const QString &column) const;

    // Makes current the first row, in the list's order, whose column starts with the text (case-sensitive); false and
    // no move when no row does.
    bool locate(const QString &column, const QString &prefix);

private:
    // A row as read from the store. Its texts stay the store's UTF-8 bytes, one after another, until a cell is asked
    // for: a page holds 64 rows and a screen shows a third of them, so most texts are never shown. A row gone from
    // the table has no cells.
    struct Cell
    {
        QVariant value;         // a cell that is not a text, or an empty text
        qsizetype textEnd = -1; // a text: where its bytes end in the row's texts
    };
    struct Row
    {
        QList<Cell> cells;
        QByteArray texts;
    };

    int columnIndex(const QString &column) const;
    QVariant cell(int row, int column) const;
    const Row &rowAt(int row) const;
    Row readRow(const SqliteRowReader &reader) const;
    QString orderBy() const;
    QString pageSql(int rows) const;
    int positionOf(qint64 key) const;
    int positionInOrder(qint64 key, const QVariant &value) const;
    int firstMatch(const QString &column, const QString &prefix) const;

    QString m_name;
    const TableDef &m_table;
    QStringList m_columns;
    QList<ColumnType> m_types;
    QString m_pageSql; // a full page's read
    QString m_order;
    bool m_open = false;
    std::vector<qint64> m_keys;
    std::vector<QVariant> m_fences; // the sort column's value of every FenceSpacing-th row, from the first
    int m_current = -1;
    mutable QCache<int, Row> m_rows; // by position in the list
};
