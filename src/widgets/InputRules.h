#pragma once

#include <QString>

// What a text field accepts: characters the carrier file's code page (Windows-1252) can hold, no control
// characters, and line breaks only in multi-line fields.
class InputRules
{
public:
    static bool isWindows1252(QStringView text);
    static bool isAcceptable(QStringView text, bool multiLine);
    // Capital letters, one character for one: a letter whose capital the code page cannot hold ("µ") or that has no
    // single capital ("ß", which QString::toUpper() makes "SS") stays as typed.
    static QString upperCase(const QString &text);
};
