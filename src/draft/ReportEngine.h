#pragma once

#include "PreparedReport.h"
#include "ReportDefinition.h"

#include <QFont>
#include <QStringList>

// Lays a report design out on pages: page-level elements first, the header bands, the detail bands growing with
// their memos and split between memo lines where the page is full, the footer bands, and the page counters filled
// in once the number of pages is known. Time grows linearly with the number of memo lines.
class ReportEngine
{
public:
    static PreparedReport prepare(const ReportDefinition &report);

    // The lines of a memo as printed: each line word-wrapped at the width (a word longer than the width is cut
    // anywhere); empty lines are kept.
    static QStringList wrap(const QStringList &lines, const QFont &font, qreal width);
    // The height of one memo line in that font, in whole pixels.
    static qreal lineHeight(const QFont &font);
};
