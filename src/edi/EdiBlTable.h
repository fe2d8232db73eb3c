#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <initializer_list>

// The rows of one detail table for the composition: the columns' names once, each row's values by column place, so
// that a big BL's 10,000 values are found without a search by name. A row given by name takes its columns' places
// (a column no earlier row had is added), so rows of different columns can stand together.
class EdiBlTable
{
public:
    EdiBlTable() = default;
    EdiBlTable(std::initializer_list<QVariantMap> rows);
    explicit EdiBlTable(const QStringList &columns) : m_columns(columns) {}

    void append(const QVariantMap &row);
    EdiBlTable &operator<<(const QVariantMap &row)
    {
        append(row);
        return *this;
    }
    // A row whose values stand in the order of the table's columns.
    void appendValues(QVariantList values) { m_rows.append(std::move(values)); }

    qsizetype size() const { return m_rows.size(); }
    // The column's place, or -1 when no row has it.
    int column(const QString &name) const { return int(m_columns.indexOf(name)); }
    // The value of a column in a row; NULL (an invalid QVariant) when the row lacks it or the column is -1.
    const QVariant &value(qsizetype row, int column) const;

private:
    QStringList m_columns;
    QList<QVariantList> m_rows;
};
