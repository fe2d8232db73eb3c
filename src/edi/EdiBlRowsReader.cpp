#include "EdiBlRowsReader.h"

#include "EditBuffer.h"
#include "StoreError.h"

namespace {
EdiBlTable allRows(EditBuffer &buffer)
{
    const QStringList columns = buffer.columnNames();
    EdiBlTable rows(columns);
    for (buffer.first(); !buffer.eof(); buffer.next()) {
        QVariantList values;
        values.reserve(columns.size());
        for (const QString &column : columns)
            values.append(buffer.value(column));
        rows.appendValues(std::move(values));
    }
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
    // A query that failed to open reads as no rows: the file would go out without the BL's values or details.
    for (const EditBuffer *buffer : {&bl, &containers, &documents, &ncmCodes})
        if (!buffer->isOpen())
            throw StoreError(QStringLiteral("Consulta %1 não está aberta").arg(buffer->objectName()));
    if (bl.currentIndex() < 0)
        throw StoreError(QStringLiteral("BL não encontrado"));
    return {currentRow(bl), allRows(containers), allRows(documents), allRows(ncmCodes)};
}
