#include "EdiBlTable.h"

EdiBlTable::EdiBlTable(std::initializer_list<QVariantMap> rows)
{
    for (const QVariantMap &row : rows)
        append(row);
}

void EdiBlTable::append(const QVariantMap &row)
{
    QVariantList values(m_columns.size());
    for (auto it = row.begin(); it != row.end(); ++it) {
        qsizetype place = m_columns.indexOf(it.key());
        if (place < 0) {
            place = m_columns.size();
            m_columns.append(it.key());
            values.resize(m_columns.size());
        }
        values[place] = it.value();
    }
    m_rows.append(std::move(values));
}

const QVariant &EdiBlTable::value(qsizetype row, int column) const
{
    static const QVariant Null;
    const QVariantList &values = m_rows.at(row);
    return column >= 0 && column < values.size() ? values.at(column) : Null;
}
