#pragma once

#include "PreparedReport.h"
#include "ReportDefinition.h"

#include <QString>
#include <QStringList>

// The BL draft page: A4 portrait with the logo, "VERIFICATION ONLY" three times, "DRAFT", the parties, the voyage,
// the marks and description in ruled columns and the issuing company. The data slots are filled by name and the
// page set is prepared by the report engine. Never shown itself.
class TF_BLAPDF
{
public:
    static constexpr qreal PageWidth = 794;
    static constexpr qreal PageHeight = 1123;
    static constexpr qreal Margin = 38;
    static constexpr const char *CounterFormat = "Page: %1 / %2";

    TF_BLAPDF();
    TF_BLAPDF(const TF_BLAPDF &) = delete;
    TF_BLAPDF &operator=(const TF_BLAPDF &) = delete;

    // The text of a label slot (`RLL_NrBL`, `PDF_Shipper1`, `RLLabel17`, ...). Throws std::invalid_argument for
    // a name the page does not have.
    void setText(const QString &name, const QString &text);
    QString text(const QString &name) const;
    // The lines of a memo slot (`PDF_MarksNumber`, `PDF_Desciption`) before wrapping.
    void setLines(const QString &name, const QStringList &lines);
    QStringList lines(const QString &name) const;

    // The report as designed, with the slots as filled so far.
    const ReportDefinition &RLReport1() const { return m_report; }
    PreparedReport prepare() const;

    // Arial at a character height in pixels: the embedded Liberation Sans, with the same metrics.
    static QFont arial(int pixels, bool bold = false);

private:
    ReportItem &slot(const QString &name);
    const ReportItem &slot(const QString &name) const;

    ReportDefinition m_report;
};
