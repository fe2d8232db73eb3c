#include "EdiBlRowsReader.h"

#include "EditBuffer.h"

namespace {
QList<QVariantMap> allRows(EditBuffer &buffer)
{
    QList<QVariantMap> rows;
    rows.reserve(buffer.recordCount());
    for (buffer.first(); !buffer.eof(); buffer.next())
        rows.append(EdiBlRowsReader::currentRow(buffer));
    return rows;
}
} // namespace

QVariantMap EdiBlRowsReader::currentRow(const EditBuffer &buffer)
{
    QVariantMap row;
    for (const QString &column : buffer.columnNames())
        row.insert(column, buffer.value(column));
    return row;
}

EdiBlRows EdiBlRowsReader::read(EditBuffer &bl, EditBuffer &containers, EditBuffer &documents, EditBuffer &ncmCodes)
{
    return {currentRow(bl), allRows(containers), allRows(documents), allRows(ncmCodes)};
}
