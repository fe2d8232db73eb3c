#pragma once

#include "ReportBand.h"

#include <QList>
#include <QSizeF>

// A one-record banded report: header bands on top of every page, the detail bands (which may grow and split) in
// between, footer bands at a fixed place at the foot of every page, and page-level elements drawn first.
struct ReportDefinition
{
    QSizeF pageSize;      // pixels at 96 per inch
    qreal leftMargin = 0; // where every band starts
    qreal topMargin = 0;  // where the first header band starts
    qreal footerTop = 0;  // where the first footer band starts; the detail bands end above it
    QList<ReportItem> pageItems;
    QList<ReportBand> headers;
    QList<ReportBand> details;
    QList<ReportBand> footers;
};
