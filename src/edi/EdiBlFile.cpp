#include "EdiBlFile.h"

#include <QIODevice>
#include <QSaveFile>
#include <QStringEncoder>

std::optional<QByteArray> EdiBlFile::bytes(const QStringList &lines)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return std::nullopt;
    // The lines, each followed by CR LF, encoded straight into one buffer: no joined copy of a big BL's text.
    const QStringView lineEnd = u"\r\n";
    qsizetype length = 0;
    for (const QString &line : lines)
        length += line.size() + lineEnd.size();
    QByteArray out(encoder.requiredSpace(length), Qt::Uninitialized);
    char *end = out.data();
    for (const QString &line : lines) {
        end = encoder.appendToBuffer(end, line);
        end = encoder.appendToBuffer(end, lineEnd);
    }
    if (encoder.hasError())
        return std::nullopt;
    out.truncate(end - out.constData());
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
