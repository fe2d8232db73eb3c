#include "DalvoraFolder.h"

#include <QDir>

QString DalvoraFolder::path()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\DALVORA\\BL");
#else
    return QDir::homePath() + QStringLiteral("/DALVORA/BL");
#endif
}

bool DalvoraFolder::ensure()
{
    return QDir().mkpath(path());
}
