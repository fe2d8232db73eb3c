#pragma once

#include "ReportItem.h"

#include <QList>
#include <QString>

// A horizontal strip of a report design: its elements and its design height.
struct ReportBand
{
    QString name;
    qreal height = 0;
    QList<ReportItem> items;
};
