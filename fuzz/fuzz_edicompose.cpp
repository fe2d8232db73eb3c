// The EDI/BL composition over arbitrary rows: any column of any type, any text and number, any count of
// containers, documents and NCM codes. It either refuses with its own error or gives the file's count of lines,
// each starting with its tag, all with Windows-1252 bytes.
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

    QString text;
    try {
        EdiBlComposer::compose(rows, marks, description, QStringLiteral("1.1.26"), QDate(2026, 12, 10), text);
    } catch (const EdiComposeError &) {
        return 0;
    }
    // Every line holds its tag: no value's line break (or a CR) could have slipped in between.
    const QStringList lines = text.split(u'\n');
    const int expected = 46 + int(marks.size() + description.size() + 11 * rows.containers.size() +
                                  8 * rows.documents.size() + 2 * rows.ncmCodes.size());
    if (text.contains(u'\r') || lines.size() != expected)
        std::abort();
    for (const QString &line : lines)
        if (!line.startsWith(u'['))
            std::abort();
    if (!EdiBlFile::bytes(text))
        std::abort();
    return 0;
}
