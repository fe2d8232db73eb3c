#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// One language of the dictionary; its position in the list is its language index.
struct IvLanguage
{
    int languageCode = 0;
    QList<int> furtherVariants;
    int defaultVariant = 0;
    int characterSet = 0;
    int codePage = 0;
    QString englishName;
    QString ownName;
    QString fontName;
    int fontSize = 0;
    bool firstFlag = false;
    bool anyCodePage = false;
};

// One translation row: the native text is the key; `texts` holds one text per non-native language, in list order.
struct IvTranslation
{
    QString native;
    QString context1;
    QString context2;
    QStringList texts;
};

// Regional conventions the dictionary carries for one locale identifier (language code + 1024 x country variant).
struct IvLocaleRecord
{
    int languageCode = 0;
    int countryVariant = 0;
    QStringList fields; // every field after the country variant, in file order
    int identifier() const { return languageCode + 1024 * countryVariant; }
    QString countryNameInEnglish() const;
};

// The dictionary's three lists, read from its embedded data file.
class DictionaryContent
{
public:
    QList<IvLanguage> languages;
    QList<IvTranslation> translations;
    QList<IvLocaleRecord> locales;
    int contextKind = 0;

    // Reads the tab-separated format of resources/dictionary.tsv; on a malformed file returns false and says why.
    bool read(QIODevice &device, QString *error);
    // The program's own dictionary, loaded once from the resources; a broken resource ends the program.
    static const DictionaryContent &embedded();
    // Undoes the escapes of one field (\t \n \r \\ \s).
    static QString unescape(QStringView field);
};
