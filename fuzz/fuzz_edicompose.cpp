// The EDI/BL composition over arbitrary rows: any column of any type, any text and number, any count of
// containers, documents and NCM codes. It either refuses with its own error or gives lines that are single lines
// and all have Windows-1252 bytes.
#include "EdiBlComposer.h"
#include "EdiBlFile.h"
#include "EdiComposeError.h"
#include "FuzzApplication.h"
#include "TableDef.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

QVariant anyValue(FuzzedDataProvider &input)
{
    switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0:
        return QVariant();
    case 1:
        return input.ConsumeIntegral<qint64>();
    case 2:
        return input.ConsumeFloatingPoint<double>();
    case 3:
        return input.ConsumeBool();
    case 4:
        return QDate::fromJulianDay(input.ConsumeIntegralInRange<qint64>(-1000000, 10000000));
    default:
        return QString::fromUtf8(input.ConsumeRandomLengthString(300));
    }
}

QVariantMap anyRow(FuzzedDataProvider &input, const TableDef &table)
{
    QVariantMap row;
    for (const ColumnDef &column : table.columns)
        if (input.ConsumeBool())
            row.insert(column.name, anyValue(input));
    return row;
}

QStringList anyLines(FuzzedDataProvider &input)
{
    QStringList lines;
    for (int i = input.ConsumeIntegralInRange(0, 8); i > 0; --i)
        lines << QString::fromUtf8(input.ConsumeRandomLengthString(100));
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    FuzzApplication::setConventions(input.ConsumeIntegral<uint8_t>());
    EdiBlRows rows;
    rows.bl = anyRow(input, TableDef::bls());
    for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i)
        rows.containers << anyRow(input, TableDef::cntr());
    for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i)
        rows.documents << anyRow(input, TableDef::sd());
    for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i)
        rows.ncmCodes << anyRow(input, TableDef::ncm());
    const QStringList marks = anyLines(input);
    const QStringList description = anyLines(input);

    QStringList lines;
    try {
        EdiBlComposer::compose(rows, marks, description, QStringLiteral("1.1.26"), QDate(2026, 12, 10), lines);
    } catch (const EdiComposeError &) {
        return 0;
    }
    for (const QString &line : lines)
        if (line.contains(u'\r') || line.contains(u'\n'))
            std::abort();
    if (!EdiBlFile::bytes(lines))
        std::abort();
    return 0;
}
