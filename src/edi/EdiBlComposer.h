#pragma once

#include "EdiBlTable.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The stored rows of one BL as the store holds them, each value typed (int, double, bool, QDate, QString; an invalid
// QVariant for NULL): the BL's row by column name, its details in tables.
struct EdiBlRows
{
    QVariantMap bl;
    EdiBlTable containers;
    EdiBlTable documents;
    EdiBlTable ncmCodes;
};

// The carrier's EDI/BL text: one tagged value per line, framed by "[Dalvora-BL]".
class EdiBlComposer
{
public:
    // Puts the lines of the file into `text` in file order, in place of what it held, with a line break ('\n')
    // between two lines (the file's CR LF are EdiBlFile's). The marks and description arrive as the display lines
    // of their boxes. Throws EdiComposeError on a line holding a line break, a control character (NUL
    // included), a character without a Windows-1252 byte or a number that is not finite; the lines before it stay
    // in `text`.
    static void compose(const EdiBlRows &rows, const QStringList &marks, const QStringList &description,
                        const QString &version, const QDate &today, QString &text);

    // "DVBL_" + identification as stored + "_" + booking number without blanks, "*", ",", "-", "." and "/", and
    // without any character that cannot stand in a file name.
    static QString fileName(const QString &ciaArquivo, const QString &reservaNr);

    // The caption, in the language in force, of the field whose value a line of `tag` carries ("Shipper",
    // "Container Lacre"); empty for a tag of no field.
    static QString caption(const QString &tag);
};

// The names the rest of the program uses for the composition.
inline void ComposeEdiBlLines(const EdiBlRows &rows, const QStringList &marks, const QStringList &description,
                              const QString &version, const QDate &today, QString &text)
{
    EdiBlComposer::compose(rows, marks, description, version, today, text);
}

inline QString EdiBlFileName(const QString &ciaArquivo, const QString &reservaNr)
{
    return EdiBlComposer::fileName(ciaArquivo, reservaNr);
}
