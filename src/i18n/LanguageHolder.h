#pragma once

#include <QString>

// The hidden holder of the interface language: "1" Portuguese, "2" English, "3" Spanish.
class LanguageHolder
{
public:
    static QString current();
    static void setCurrent(const QString &language);
};
