#pragma once

#include <QString>

// Turns a native (Portuguese) text into the current interface language.
QString TranslateText(const QString &text);
