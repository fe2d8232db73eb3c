#include "EdiBlFile.h"

#include "Windows1252.h"

#include <QIODevice>
#include <QSaveFile>

std::optional<QByteArray> EdiBlFile::bytes(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    // A byte per character, CR LF in place of each line break and after the last line: one pass into one buffer.
    QByteArray out(text.size() + text.count(u'\n') + 2, Qt::Uninitialized);
    char *end = out.data();
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F) { // printable ASCII, nearly every character of a file
            *end++ = char(u);
            continue;
        }
        if (u == u'\n') {
            *end++ = '\r';
            *end++ = '\n';
            continue;
        }
        const int byte = Windows1252::byteOf(u);
        if (byte < 0)
            return std::nullopt;
        *end++ = char(byte);
    }
    *end++ = '\r';
    *end++ = '\n';
    return out;
}

bool EdiBlFile::write(QIODevice &device, QStringView text)
{
    const std::optional<QByteArray> data = bytes(text);
    return data && device.write(*data) == data->size();
}

bool EdiBlFile::save(const QString &path, QStringView text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() does not see a failure of the final flush of the buffered bytes (a full disk, a size limit) and
    // would put the cut file in place of the old one: flush first and check it.
    if (!write(file, text) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
