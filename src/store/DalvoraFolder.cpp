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

bool DalvoraFolder::allowedInFileName(QChar c)
{
    return !QStringView(u"/\\:*?\"<>|").contains(c) && c.category() != QChar::Other_Control;
}
