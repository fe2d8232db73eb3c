#pragma once

#include <QString>

// What a text field accepts: characters the carrier file's code page (Windows-1252) can hold, no control
// characters, and line breaks only in multi-line fields.
class InputRules
{
public:
    static bool isAcceptable(QStringView text, bool multiLine);
    // Takes the line breaks off the end of a text pasted into a one-line field: a cell copied from a spreadsheet
    // ends in one, and the whole paste would otherwise be refused. The cursor stays within the text.
    static void dropEndingLineBreaks(QString &text, int &cursor);
    // A typed character that Qt's text controls drop because they do not count it as printable, though the code page
    // holds it: the soft hyphen. The controls insert it themselves.
    static bool isDroppedWhenTyped(QStringView typed);
    // Capital letters, one character for one: a letter whose capital the code page cannot hold ("µ") or that has no
    // single capital ("ß", which QString::toUpper() makes "SS") stays as typed.
    static QString upperCase(const QString &text);
};
