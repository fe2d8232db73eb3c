#include "EdiBlFile.h"

#include <QIODevice>
#include <QSaveFile>
#include <QStringEncoder>

std::optional<QByteArray> EdiBlFile::bytes(const QStringList &lines)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return std::nullopt;
    // One conversion of the whole text: the lines, each followed by CR LF.
    static const QString LineEnd = QStringLiteral("\r\n");
    const QByteArray out = encoder.encode(lines.isEmpty() ? QString() : lines.join(LineEnd) + LineEnd);
    if (encoder.hasError())
        return std::nullopt;
    return out;
}

bool EdiBlFile::write(QIODevice &device, const QStringList &lines)
{
    const std::optional<QByteArray> data = bytes(lines);
    return data && device.write(*data) == data->size();
}

bool EdiBlFile::save(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() does not see a failure of the final flush of the buffered bytes (a full disk, a size limit) and
    // would put the cut file in place of the old one: flush first and check it.
    if (!write(file, lines) || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
