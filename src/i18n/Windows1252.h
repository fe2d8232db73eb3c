#pragma once

#include <QStringView>

// The carrier's code page, from a table of its own: the system's converter may lack it (a Qt without ICU) and costs
// a call per text, where the file of a big BL checks and encodes some 11,000 lines.
class Windows1252
{
public:
    // The byte of a UTF-16 unit, or -1 when the code page has none: the C1 control characters (their bytes carry
    // other characters), surrogates and every character beyond its 251.
    static int byteOf(char16_t unit)
    {
        // ASCII and Latin-1's letters and signs have the byte of their own number; only the rest is looked up.
        return unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF) ? unit : highByteOf(unit);
    }

    static bool fits(QStringView text);

private:
    static int highByteOf(char16_t unit);
};
