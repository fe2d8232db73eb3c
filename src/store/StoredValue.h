#pragma once

#include "TableDef.h"

#include <QString>
#include <QVariant>

class SqliteRowReader;

// How a stored cell is held in memory and shown as plain text; shared by every reader of the tables.
namespace StoredValue {
// The column's type from the table definitions; a computed column such as Codi is an integer.
ColumnType typeOf(const QString &column);
// The cell as int, double, bool, QDate or QString; an empty (null) cell as an invalid QVariant.
QVariant read(const SqliteRowReader &reader, int column, ColumnType type);
// The cell as text without a display format: numbers in the general form in force, logicals as "True" / "False",
// dates as short dates.
QString plainText(const QVariant &value, ColumnType type);
} // namespace StoredValue
