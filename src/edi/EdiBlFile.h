#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

class QIODevice;

// The bytes of the EDI/BL file and their writing. The file's lines arrive as one text with a line break ('\n')
// between two, as the composition and the check page hold them; an empty text has no line.
class EdiBlFile
{
public:
    // Windows-1252 bytes of the lines, each followed by CR LF (the last one too), no byte order mark.
    // No value when a character has no Windows-1252 byte: a substitute would change the data.
    static std::optional<QByteArray> bytes(QStringView text);

    // Writes the bytes of the lines to an open device; false when they cannot be encoded or written whole.
    static bool write(QIODevice &device, QStringView text);

    // Creates or replaces the file as a whole: written beside it and renamed over it, so that a failure leaves
    // the previous file of that name as it was. False on any failure.
    static bool save(const QString &path, QStringView text);
};
