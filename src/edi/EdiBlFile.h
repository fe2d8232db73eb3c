#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class QIODevice;

// The bytes of the EDI/BL file and their writing.
class EdiBlFile
{
public:
    // Windows-1252 bytes of the lines, each followed by CR LF (the last one too), no byte order mark.
    // No value when a character has no Windows-1252 byte: a substitute would change the data.
    static std::optional<QByteArray> bytes(const QStringList &lines);

    // Writes the bytes of the lines to an open device; false when they cannot be encoded or written whole.
    static bool write(QIODevice &device, const QStringList &lines);

    // Creates or replaces the file as a whole: written beside it and renamed over it, so that a failure leaves
    // the previous file of that name as it was. False on any failure.
    static bool save(const QString &path, const QStringList &lines);
};
