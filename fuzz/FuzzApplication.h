#pragma once

#include <QApplication>
#include <QLocale>

#include <cstdint>

// Every fuzz target runs in one offscreen application, created before the first input (FuzzApplication.cpp
// defines libFuzzer's initialisation hook).
class FuzzApplication
{
public:
    // The conventions of the language the byte picks: Brazilian, United States or Spanish.
    static void setConventions(uint8_t choice);
};
