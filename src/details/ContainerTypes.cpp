#include "ContainerTypes.h"

const QList<ContainerType> &ContainerTypes::all()
{
    static const QList<ContainerType> types{
        {QStringLiteral("Dry Box 20"), 20},       {QStringLiteral("Dry Box 40"), 40},
        {QStringLiteral("Dry High-Cube 40"), 40}, {QStringLiteral("Open Top 20"), 20},
        {QStringLiteral("Open Top 40"), 40},      {QStringLiteral("Flatrack 20"), 20},
        {QStringLiteral("Flatrack 40"), 40},      {QStringLiteral("Iso Tank 20"), 20},
        {QStringLiteral("Dry Granel 20"), 20},    {QStringLiteral("Plataforma 20"), 20},
        {QStringLiteral("Plataforma 40"), 40},    {QStringLiteral("Reefer 20"), 20},
        {QStringLiteral("Reefer 40"), 40},        {QStringLiteral("Open High-Cube 40"), 40},
        {QStringLiteral("Nor 20"), 20},           {QStringLiteral("Nor 40"), 40}};
    return types;
}

QStringList ContainerTypes::names()
{
    QStringList list;
    for (const ContainerType &t : all())
        list << t.name;
    return list;
}

int ContainerTypes::sizeClass(const QString &name)
{
    for (const ContainerType &t : all())
        if (t.name == name)
            return t.sizeClass;
    return 0;
}
