#include "StoredValue.h"

#include "Formats.h"
#include "SqliteRowReader.h"

#include <QDate>

namespace StoredValue {

ColumnType typeOf(const QString &column)
{
    const ColumnDef *def = TableDef::findColumn(column);
    return def ? def->type : ColumnType::Integer;
}

QVariant read(const SqliteRowReader &reader, int column, ColumnType type)
{
    if (reader.isNull(column))
        return {};
    switch (type) {
    case ColumnType::Integer:
        return reader.integer(column);
    case ColumnType::Number:
        return reader.number(column);
    case ColumnType::Logical:
        return reader.integer(column) != 0;
    case ColumnType::Date:
        return QDate::fromString(reader.text(column).left(10), Qt::ISODate);
    default:
        return reader.text(column);
    }
}

QString plainText(const QVariant &value, ColumnType type)
{
    if (!value.isValid())
        return {};
    switch (type) {
    case ColumnType::Number:
        return Formats::generalNumber(value.toDouble());
    case ColumnType::Logical:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ColumnType::Date:
        return Formats::shortDate(value.toDate());
    default:
        return value.toString();
    }
}

} // namespace StoredValue
