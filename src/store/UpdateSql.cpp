#include "UpdateSql.h"

UpdateSql::UpdateSql(const TableDef &table) : m_table(table) {}

QStringList UpdateSql::modifySql() const
{
    QStringList lines{QStringLiteral("update %1").arg(m_table.name), QStringLiteral("set")};
    const QStringList names = m_table.columnNames();
    for (int i = 0; i < names.size(); ++i)
        lines << QStringLiteral("  %1 = :%1%2").arg(names[i], i + 1 < names.size() ? QStringLiteral(",") : QString());
    lines << QStringLiteral("where") << QStringLiteral("  %1 = :OLD_%1").arg(m_table.key);
    return lines;
}

QStringList UpdateSql::insertSql() const
{
    const QStringList names = m_table.columnNames();
    return {QStringLiteral("insert into %1").arg(m_table.name),
            QStringLiteral("  (%1)").arg(names.join(QStringLiteral(", "))), QStringLiteral("values"),
            QStringLiteral("  (:%1)").arg(names.join(QStringLiteral(", :")))};
}

QStringList UpdateSql::deleteSql() const
{
    return {QStringLiteral("delete from %1").arg(m_table.name), QStringLiteral("where"),
            QStringLiteral("  %1 = :OLD_%1").arg(m_table.key)};
}
