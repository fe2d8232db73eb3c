// The dictionary reader over any file: it reads it or says why not, and a dictionary it reads can be opened, have
// its language switched and translate.
#include "DictionaryContent.h"
#include "FuzzApplication.h"
#include "TIvBinaryDictionary.h"

#include <QBuffer>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    DictionaryContent content;
    QString error;
    if (!content.read(file, &error))
        return 0;
    TIvBinaryDictionary dictionary(content);
    try {
        dictionary.open();
        for (int number = 1; number <= 3; ++number) {
            dictionary.switchLanguage(number);
            for (const IvTranslation &row : std::as_const(content.translations))
                dictionary.translate(row.native);
        }
    } catch (const std::out_of_range &) {
        // a dictionary with fewer languages than the window offers
    } catch (const std::runtime_error &) {
        // conventions the locale list cannot give
    }
    return 0;
}
