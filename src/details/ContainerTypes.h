#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The container types a container row may take, with the size class (20 or 40 feet) the cargo totals count by.
// Names are stored as they stand in every language and compared exactly.
struct ContainerType
{
    QString name;
    int sizeClass;
};

class ContainerTypes
{
public:
    static const QList<ContainerType> &all();
    static QStringList names();
    // 20 or 40; 0 for an empty name or one outside the list (case and blanks count).
    static int sizeClass(const QString &name);
};
