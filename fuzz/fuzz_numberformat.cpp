// The number-pattern formatter and the general number form over any value and any picture: no crash, and the
// program's own pictures and the general form give texts that read back as the value shown.
#include "Formats.h"
#include "FuzzApplication.h"

#include <QLocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1 + sizeof(double))
        return 0;
    FuzzApplication::setConventions(data[0]);
    double value;
    std::memcpy(&value, data + 1, sizeof value);
    const QString pattern =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1 + sizeof value), qsizetype(size - 1 - sizeof value));

    Formats::formatNumber(value, pattern);
    const QString general = Formats::generalNumber(value);
    if (!std::isfinite(value))
        return 0;

    // The general form has at most 15 significant digits: read back, it is the value to that precision.
    bool ok = false;
    const double back = QLocale().toDouble(general, &ok);
    if (!ok || std::fabs(back - value) > std::max(std::fabs(value) * 1e-14, std::numeric_limits<double>::denorm_min()))
        std::abort();

    // What a weight field shows is a number the field reads: the value to 15 significant digits, rounded to grams.
    if (std::fabs(value) < 1e15) {
        const std::optional<double> shown =
            Formats::parseNumber(Formats::formatNumber(value, QString::fromLatin1(Formats::WeightPattern)));
        if (!shown || std::fabs(*shown - value) > 0.0005 + std::fabs(value) * 1e-14)
            std::abort();
    }
    return 0;
}
