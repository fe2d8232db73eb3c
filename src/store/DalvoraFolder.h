#pragma once

#include <QString>

// The program's folder: "C:\DALVORA\BL" on Windows, $HOME/DALVORA/BL elsewhere. The default folder of EDI/BL files.
class DalvoraFolder
{
public:
    static QString path();
    // Creates the folder with its missing parents; false when that is not possible.
    static bool ensure();
    // Characters that cannot stand in a file name on either platform: `/ \ : * ? " < > |`.
    static bool allowedInFileName(QChar c);
};
