#pragma once

#include <QString>

// What a text field accepts: characters the carrier file's code page (Windows-1252) can hold, no control
// characters, and line breaks only in multi-line fields.
class InputRules
{
public:
    static bool isWindows1252(QStringView text);
    static bool isAcceptable(QStringView text, bool multiLine);
};
