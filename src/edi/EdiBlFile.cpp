#include "EdiBlFile.h"

#include "Windows1252.h"

#include <QIODevice>
#include <QSaveFile>

std::optional<QByteArray> EdiBlFile::bytes(const QStringList &lines)
{
    // The lines, each followed by CR LF, encoded straight into one buffer: no joined copy of a big BL's text.
    qsizetype length = 0;
    for (const QString &line : lines)
        length += line.size() + 2;
    QByteArray out(length, Qt::Uninitialized);
    char *end = out.data();
    for (const QString &line : lines) {
        char *lineEnd = Windows1252::write(line, end);
        if (lineEnd - end != line.size())
            return std::nullopt;
        end = lineEnd;
        *end++ = '\r';
        *end++ = '\n';
    }
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
