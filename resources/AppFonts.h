#pragma once

#include <QFont>

// The fonts the program draws with, embedded in the program and registered at start.
class AppFonts
{
public:
    static constexpr const char *Family = "Liberation Sans";
    // Registers the embedded fonts and makes the screens' font (8 pt) the application font.
    static void install();
    // The screens' font at a point size, bold or not.
    static QFont screen(int pointSize = 8, bool bold = false);
};
