#include "Windows1252.h"

namespace {

// The characters of bytes 0x80 to 0x9F; 0 where the byte is unassigned.
constexpr char16_t HighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

int Windows1252::highByteOf(char16_t unit)
{
    for (int i = 0; i < 32; ++i)
        if (HighControls[i] == unit && unit != 0)
            return 0x80 + i;
    return -1;
}

bool Windows1252::fits(QStringView text)
{
    for (const QChar c : text)
        if (byteOf(c.unicode()) < 0)
            return false;
    return true;
}
