#pragma once

#include <QString>

// Switching the interface language as the main window's language buttons do.
class LanguageSwitch
{
public:
    // Language number 1 Portuguese, 2 English, 3 Spanish: records the number for IdiomaAtual, switches the dictionary
    // (working table, conventions in force) and re-translates every window that has a translator.
    static void apply(int number);
    // Resource path of the language's flag picture (42 x 30): Brazil, United States, Spain.
    static QString flagPath(int number);
};
