#include "TF_BLAPDF.h"

#include "AppFonts.h"
#include "AppInfo.h"
#include "ReportEngine.h"

#include <stdexcept>

namespace {

ReportItem line(qreal x, qreal y, qreal width, qreal height)
{
    ReportItem item;
    item.kind = ReportItem::Line;
    item.rect = QRectF(x, y, width, height);
    return item;
}

// A one-line text: self-sizing ones run on past their design width, fixed ones are cut at their edge.
ReportItem label(const QString &name, QRectF rect, int pixels, bool bold, const QString &text, bool autoSize,
                 Qt::Alignment alignment = Qt::AlignLeft)
{
    ReportItem item;
    item.name = name;
    item.rect = rect;
    item.font = TF_BLAPDF::arial(pixels, bold);
    item.text = text;
    item.autoSize = autoSize;
    item.alignment = alignment;
    return item;
}

ReportItem autoLabel(const QString &name, QRectF rect, int pixels, bool bold, const QString &text = {})
{
    return label(name, rect, pixels, bold, text, true);
}

ReportItem fixedLabel(const QString &name, QRectF rect, int pixels, bool bold, const QString &text = {},
                      Qt::Alignment alignment = Qt::AlignLeft)
{
    return label(name, rect, pixels, bold, text, false, alignment);
}

ReportItem memo(const QString &name, QRectF rect)
{
    ReportItem item;
    item.kind = ReportItem::Memo;
    item.name = name;
    item.rect = rect;
    item.font = TF_BLAPDF::arial(11);
    item.lineHeight = ReportEngine::lineHeight(item.font);
    return item;
}

// Five lines of a party or of the remarks, 13 px apart.
void fiveLines(QList<ReportItem> &items, const QString &prefix, qreal left, qreal top, qreal width)
{
    for (int i = 0; i < 5; ++i)
        items.append(autoLabel(prefix + QString::number(i + 1), {left, top + 13 * i, width, 14}, 11, false));
}

ReportBand header()
{
    ReportBand band{QStringLiteral("RLBand3"), 360, {}};
    QList<ReportItem> &items = band.items;
    items << line(8, 8, 701, 1) << line(8, 8, 1, 343) << line(708, 8, 1, 343) << line(8, 350, 701, 1)
          << line(8, 88, 701, 1);

    ReportItem logo;
    logo.kind = ReportItem::Picture;
    logo.name = QStringLiteral("RLImage1");
    logo.image = QImage(QStringLiteral(":/images/logo.jpg"));
    logo.rect = QRectF(12, 24, 224, 48);
    items << logo;

    ReportItem counter = fixedLabel(QStringLiteral("RLSystemInfo4"), {382, 57, 265, 16}, 13, true,
                                    QString::fromLatin1(TF_BLAPDF::CounterFormat), Qt::AlignRight);
    counter.kind = ReportItem::PageCounter;
    items << autoLabel(QStringLiteral("RLLabel8"), {360, 23, 287, 32}, 27, true, QStringLiteral("VERIFICATION ONLY"))
          << counter;

    items << autoLabel(QStringLiteral("RLLabel1"), {12, 98, 36, 10}, 8, true, QStringLiteral("SHIPPER"));
    fiveLines(items, QStringLiteral("PDF_Shipper"), 12, 110, 71);
    items << autoLabel(QStringLiteral("RLLabel18"), {360, 98, 59, 19}, 16, true, QStringLiteral("DRAFT"))
          << autoLabel(QStringLiteral("RLLabel12"), {360, 122, 26, 10}, 8, true, QStringLiteral("Nº B/L"))
          << autoLabel(QStringLiteral("RLL_NrBL"), {424, 122, 85, 19}, 16, true)
          << autoLabel(QStringLiteral("RLLabel13"), {360, 146, 50, 10}, 8, true, QStringLiteral("Nº RESERVA"))
          << autoLabel(QStringLiteral("RLL_Reserva"), {424, 146, 108, 19}, 16, true)
          << fixedLabel(QStringLiteral("RLLabel4"), {360, 175, 165, 10}, 8, true, QStringLiteral("VESSEL"))
          << fixedLabel(QStringLiteral("RLL_Vessel"), {360, 186, 165, 13}, 11, false)
          << fixedLabel(QStringLiteral("RLLabel3"), {540, 175, 165, 10}, 8, true, QStringLiteral("VOYAGE"))
          << fixedLabel(QStringLiteral("RLL_Voyage"), {540, 186, 165, 13}, 11, false);

    items << autoLabel(QStringLiteral("RLLabel7"), {12, 182, 49, 10}, 8, true, QStringLiteral("CONSIGNEE"));
    fiveLines(items, QStringLiteral("PDF_Cnee"), 12, 194, 59);
    items << fixedLabel(QStringLiteral("RLLabel10"), {360, 205, 165, 10}, 8, true, QStringLiteral("PORT OF LOADING"))
          << fixedLabel(QStringLiteral("RLL_PortOfLoading"), {360, 216, 165, 13}, 11, false)
          << fixedLabel(QStringLiteral("RLLabel5"), {540, 205, 165, 10}, 8, true, QStringLiteral("PORT OF DISCHARGE"))
          << fixedLabel(QStringLiteral("RLL_PortOfDischarge"), {540, 216, 165, 13}, 11, false)
          << fixedLabel(QStringLiteral("RLLabel6"), {360, 235, 165, 10}, 8, true, QStringLiteral("PLACE OF RECEIPT"))
          << fixedLabel(QStringLiteral("RLL_PlaceOfReceipt"), {360, 246, 165, 13}, 11, false)
          << fixedLabel(QStringLiteral("RLLabel11"), {538, 235, 165, 10}, 8, true, QStringLiteral("PLACE OF DELIVERY"))
          << fixedLabel(QStringLiteral("RLL_PlaceOfDelivery"), {538, 246, 165, 13}, 11, false);

    items << autoLabel(QStringLiteral("RLLabel9"), {12, 266, 31, 10}, 8, true, QStringLiteral("NOTIFY"));
    fiveLines(items, QStringLiteral("PDF_Notify"), 12, 278, 62);
    items << autoLabel(QStringLiteral("RLLabel17"), {360, 266, 62, 10}, 8, true, QStringLiteral("OBSERVAÇÕES"));
    fiveLines(items, QStringLiteral("PDF_ForDelivery"), 360, 278, 89);
    return band;
}

ReportBand columnHeader()
{
    ReportBand band{QStringLiteral("RLBand6"), 22, {}};
    band.items << line(8, 2, 701, 1) << line(8, 18, 701, 1);
    for (qreal x : {8, 216, 472, 550, 628, 708})
        band.items << line(x, 2, 1, 17);
    band.items << fixedLabel(QStringLiteral("RLLabel20"), {12, 4, 200, 10}, 8, true,
                             QStringLiteral("MARKS AND NUMBERS"))
               << fixedLabel(QStringLiteral("RLLabel21"), {220, 4, 250, 10}, 8, true,
                             QStringLiteral("DESCRIPTION OF GOODS"))
               << fixedLabel(QStringLiteral("RLLabel22"), {476, 4, 70, 10}, 8, true, QStringLiteral("GROSS WEIGHT"),
                             Qt::AlignRight)
               << fixedLabel(QStringLiteral("RLLabel23"), {554, 4, 70, 10}, 8, true, QStringLiteral("MEASUREMENT"),
                             Qt::AlignRight)
               << fixedLabel(QStringLiteral("RLLabel24"), {632, 4, 70, 10}, 8, true, QStringLiteral("NET WEIGHT"),
                             Qt::AlignRight);
    return band;
}

ReportBand detail()
{
    ReportBand band{QStringLiteral("RLBand2"), 36, {}};
    const auto figure = [](const char *name, qreal left, qreal top, const char *text) {
        ReportItem item = fixedLabel(QString::fromLatin1(name), {left, top, 70, 13}, 11, false,
                                     QString::fromLatin1(text), Qt::AlignRight);
        item.shrinkToFit = true;
        return item;
    };
    band.items << memo(QStringLiteral("PDF_MarksNumber"), {12, 5, 200, 14})
               << memo(QStringLiteral("PDF_Desciption"), {220, 5, 248, 14}) << figure("PDF_Gross1", 474, 7, "GROSS 1")
               << figure("PDF_Gross2", 474, 23, "GROSS2") << figure("PDF_Measu1", 552, 7, "MEASU 1")
               << figure("PDF_Measu2", 552, 23, "MEASU 2") << figure("PDF_NetWeight1", 632, 7, "NET 1")
               << figure("PDF_NetWeight2", 632, 23, "NET 2");
    return band;
}

QList<ReportBand> footers()
{
    ReportBand spacer{QStringLiteral("RLBand4"), 16, {}};
    ReportBand box{QStringLiteral("RLBand1"), 105, {}};
    box.items << line(8, 2, 701, 1) << line(8, 2, 1, 75) << line(708, 2, 1, 75) << line(8, 76, 701, 1)
              << autoLabel(QStringLiteral("RLLabel14"), {16, 8, 40, 10}, 8, true, QStringLiteral("EMPRESA"))
              << autoLabel(QStringLiteral("RLL_Empresa"), {65, 8, 70, 14}, 11, false)
              << autoLabel(QStringLiteral("RLLabel15"), {16, 24, 38, 10}, 8, true, QStringLiteral("USUARIO"))
              << autoLabel(QStringLiteral("RLL_Usuario"), {65, 24, 65, 14}, 11, false)
              << autoLabel(QStringLiteral("RLLabel16"), {16, 41, 32, 10}, 8, true, QStringLiteral("CIDADE"))
              << autoLabel(QStringLiteral("RLL_Cidade"), {65, 41, 61, 14}, 11, false)
              << autoLabel(QStringLiteral("RLLabel19"), {16, 57, 38, 10}, 8, true, QStringLiteral("ARQUIVO"))
              << autoLabel(QStringLiteral("RLL_Identif"), {65, 57, 57, 14}, 11, false)
              << label(QStringLiteral("RLLabel2"), {317, 17, 384, 44}, 37, true, QStringLiteral("VERIFICATION ONLY"),
                       true, Qt::AlignHCenter)
              << autoLabel(QStringLiteral("RLLabel25"), {298, 80, 120, 14}, 11, true,
                           QString::fromLatin1(AppInfo::WebAddress));
    return {spacer, box};
}

QList<ReportItem> pageItems()
{
    ReportItem watermark =
        autoLabel(QStringLiteral("Watermark"), {88, 477, 83, 65}, 64, true, QStringLiteral("VERIFICATION ONLY"));
    watermark.color = QColor(192, 192, 192);
    watermark.background = Qt::white;
    watermark.rotation = 35;

    QList<ReportItem> items{watermark};
    for (qreal x : {46, 254, 510, 588, 666, 746})
        items << line(x, 416, 1, 551);
    items << line(46, 416, 701, 1) << line(46, 966, 701, 1);
    return items;
}

} // namespace

TF_BLAPDF::TF_BLAPDF()
{
    m_report.pageSize = QSizeF(PageWidth, PageHeight);
    m_report.leftMargin = Margin;
    m_report.topMargin = Margin;
    m_report.footerTop = 958;
    m_report.pageItems = pageItems();
    m_report.headers = {header(), columnHeader()};
    m_report.details = {detail()};
    m_report.footers = footers();
}

QFont TF_BLAPDF::arial(int pixels, bool bold)
{
    QFont font(QString::fromLatin1(AppFonts::Family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    // Unhinted outlines measure the same on screen, image and printer, so lines wrap alike everywhere.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

ReportItem &TF_BLAPDF::slot(const QString &name)
{
    return const_cast<ReportItem &>(std::as_const(*this).slot(name));
}

const ReportItem &TF_BLAPDF::slot(const QString &name) const
{
    for (const QList<ReportBand> *bands : {&m_report.headers, &m_report.details, &m_report.footers}) {
        for (const ReportBand &band : *bands) {
            for (const ReportItem &item : band.items) {
                if (!item.name.isEmpty() && item.name == name)
                    return item;
            }
        }
    }
    throw std::invalid_argument("The draft page has no slot named " + name.toStdString());
}

void TF_BLAPDF::setText(const QString &name, const QString &text)
{
    slot(name).text = text;
}

QString TF_BLAPDF::text(const QString &name) const
{
    return slot(name).text;
}

void TF_BLAPDF::setLines(const QString &name, const QStringList &lines)
{
    slot(name).lines = lines;
}

QStringList TF_BLAPDF::lines(const QString &name) const
{
    return slot(name).lines;
}

PreparedReport TF_BLAPDF::prepare() const
{
    return ReportEngine::prepare(m_report);
}
