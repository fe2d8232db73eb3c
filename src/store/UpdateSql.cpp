#include "UpdateSql.h"

#include "Store.h"

UpdateSql::UpdateSql(const TableDef &table) : m_table(table) {}

QStringList UpdateSql::modifySql() const
{
    QStringList lines{QStringLiteral("update %1").arg(m_table.name), QStringLiteral("set")};
    const QStringList names = m_table.columnNames();
    for (int i = 0; i < names.size(); ++i)
        lines << QStringLiteral("  %1 = :%1%2").arg(names[i], i + 1 < names.size() ? QStringLiteral(",") : QString());
    return lines << unchangedSinceRead();
}

// The row is written or deleted only while every column still holds what was read (null-safe), so the change of a
// row that another clerk changed or deleted meanwhile affects no row and fails instead of undoing theirs.
QStringList UpdateSql::unchangedSinceRead() const
{
    const QString same =
        Store::dialect() == SqlDialect::Postgres ? QStringLiteral("IS NOT DISTINCT FROM") : QStringLiteral("IS");
    QStringList lines{QStringLiteral("where"), QStringLiteral("  %1 = :OLD_%1").arg(m_table.key)};
    for (const QString &name : m_table.columnNames())
        if (name != m_table.key)
            lines << QStringLiteral("  and %1 %2 :OLD_%1").arg(name, same);
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
    return QStringList{QStringLiteral("delete from %1").arg(m_table.name)} << unchangedSinceRead();
}
