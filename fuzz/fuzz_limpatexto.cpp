// The booking number cleaned for the EDI/BL file name: exactly the characters of the text that are not blanks,
// "*", ",", "-", "." or "/", in their order; the file name holds them less those no file name may hold.
#include "EdiBlComposer.h"
#include "TDM_BL.h"

#include <QCoreApplication>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString clean = TDM_BL::LimpaTexto(text);
    QString expected;
    for (const QChar c : text)
        if (!QStringView(u" *,-./").contains(c))
            expected += c;
    if (clean != expected)
        std::abort();
    QString inName = expected;
    inName.removeIf(
        [](QChar c) { return QStringView(u"\\:?\"<>|").contains(c) || c.category() == QChar::Other_Control; });
    if (EdiBlComposer::fileName(QStringLiteral("ID"), text) != QStringLiteral("DVBL_ID_") + inName)
        std::abort();
    return 0;
}
