#pragma once

#include <QString>

// Turns a native (Portuguese) text into the current interface language: an exact lookup in the dictionary; a text
// without a row, the empty text and the native language come back unchanged. Never fails.
QString TranslateText(const QString &text);
