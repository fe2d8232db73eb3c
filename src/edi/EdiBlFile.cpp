#include "EdiBlFile.h"

#include <QIODevice>
#include <QSaveFile>
#include <QStringEncoder>

std::optional<QByteArray> EdiBlFile::bytes(const QStringList &lines)
{
    QStringEncoder encoder("windows-1252");
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray out;
    for (const QString &line : lines) {
        out += encoder.encode(line);
        out += "\r\n";
    }
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
    if (!write(file, lines)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
