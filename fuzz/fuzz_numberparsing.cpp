// Number and date parsing as the fields do it: whatever a field's validator accepts is what gets stored, and a
// stored number shown for editing reads back as the same number.
#include "FieldValidator.h"
#include "Formats.h"
#include "FuzzApplication.h"

#include <QDate>
#include <cmath>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    FuzzApplication::setConventions(data[0]);
    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    for (const ColumnType type : {ColumnType::Integer, ColumnType::Number, ColumnType::Text}) {
        const FieldValidator validator(type, true);
        QString input = typed;
        int position = int(input.size());
        const QValidator::State state = validator.validate(input, position);
        if (type == ColumnType::Text || state != QValidator::Acceptable || input.isEmpty())
            continue;
        // An accepted number field stores its whole text: no value would leave the text shown and nothing stored.
        const std::optional<double> value = Formats::parseNumber(input);
        if (!value || !std::isfinite(*value))
            std::abort();
        if (type == ColumnType::Integer && *value != std::trunc(*value))
            std::abort();
        // Shown again for editing, it reads back unchanged.
        const std::optional<double> again = Formats::parseNumber(Formats::editNumber(*value));
        if (!again || *again != *value)
            std::abort();
    }

    // The date edit's text: a date it reads shows again as the same text.
    const QDate date = QDate::fromString(typed, QStringLiteral("dd/MM/yyyy"));
    if (date.isValid() && Formats::formatDate(date, QString::fromLatin1(Formats::DatePattern)) !=
                              date.toString(QStringLiteral("dd/MM/yyyy")).replace(u'/', Formats::dateSeparator()))
        std::abort();
    Formats::shortDate(date);
    return 0;
}
