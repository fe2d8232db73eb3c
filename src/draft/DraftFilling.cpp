#include "DraftFilling.h"

#include "Formats.h"
#include "TDM_BL.h"
#include "TF_BLAPDF.h"
#include "TranslateText.h"

#include <QRegularExpression>

namespace {

constexpr const char *WeightPattern = "###,##0.000";
const QString RemarkSeparator = QStringLiteral(":  ");

// Closes the print query however the reading ends, so a store failure leaves nothing open.
class PrintQueryGuard
{
public:
    explicit PrintQueryGuard(EditBuffer *query) : m_query(query) {}
    ~PrintQueryGuard() { m_query->close(); }
    PrintQueryGuard(const PrintQueryGuard &) = delete;
    PrintQueryGuard &operator=(const PrintQueryGuard &) = delete;

private:
    EditBuffer *m_query;
};

QString columnText(const QVariantHash &row, const QString &column)
{
    const QVariant value = row.value(column);
    return value.isValid() && !value.isNull() ? value.toString() : QString();
}

QString weight(const QVariantHash &row, const char *column)
{
    return Formats::formatNumber(row.value(QString::fromLatin1(column)).toDouble(), QString::fromLatin1(WeightPattern));
}

} // namespace

QVariantHash DraftFilling::readPrintRow(qint64 blCode)
{
    EditBuffer *query = DM_BL->qyPrint;
    query->close();
    PrintQueryGuard guard(query);
    query->setSql({QStringLiteral("SELECT * from Dal_Bls"), QStringLiteral("where Bls_Codigo = :pp1")});
    query->setPp1(blCode);
    query->open();
    QVariantHash row;
    if (query->recordCount() > 0) {
        query->first();
        for (const QString &column : query->columnNames())
            row.insert(column, query->value(column));
    }
    return row;
}

QStringList DraftFilling::memoLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(lineBreak);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void DraftFilling::fill(TF_BLAPDF &form, const QVariantHash &row, const DraftRemarks &remarks)
{
    const QString blNumber = columnText(row, QStringLiteral("Bls_BillofLading"));
    form.setText(QStringLiteral("RLL_NrBL"),
                 blNumber.isEmpty() ? columnText(row, QStringLiteral("Bls_ReservaNr")) : blNumber);

    static const QList<std::pair<const char *, const char *>> plainSlots{
        {"RLL_Reserva", "Bls_ReservaNr"},
        {"RLL_Empresa", "Bls_Cia_Nome"},
        {"RLL_Usuario", "Bls_Cia_Usuario"},
        {"RLL_Cidade", "Bls_Cia_Cidade"},
        {"RLL_Identif", "Bls_Cia_Arquivo"},
        {"RLL_Voyage", "Bls_Viagem"},
        {"RLL_Vessel", "Bls_Navio"},
        {"RLL_PlaceOfReceipt", "Bls_PlaceReceipt"},
        {"RLL_PortOfLoading", "Bls_PortLoading"},
        {"RLL_PortOfDischarge", "Bls_PortDischarge"},
        {"RLL_PlaceOfDelivery", "Bls_PlaceDelivery"},
    };
    for (const auto &[slot, column] : plainSlots)
        form.setText(QString::fromLatin1(slot), columnText(row, QString::fromLatin1(column)));

    for (int i = 1; i <= 5; ++i) {
        const QString n = QString::number(i);
        form.setText(QStringLiteral("PDF_Shipper") + n, columnText(row, QStringLiteral("Bls_Shipper") + n));
        form.setText(QStringLiteral("PDF_Cnee") + n, columnText(row, QStringLiteral("Bls_Cnee") + n));
        form.setText(QStringLiteral("PDF_Notify") + n, columnText(row, QStringLiteral("Bls_Notify") + n));
    }

    form.setText(QStringLiteral("RLLabel17"), TranslateText(QStringLiteral("OBSERVAÇÕES")));
    form.setText(QStringLiteral("PDF_ForDelivery1"), remarks.emissionCaption + RemarkSeparator + remarks.emissionItem);
    form.setText(QStringLiteral("PDF_ForDelivery2"), remarks.asPerCaption + RemarkSeparator + remarks.asPerItem);
    form.setText(QStringLiteral("PDF_ForDelivery3"), remarks.cargoCaption + RemarkSeparator + remarks.cargoItem);
    form.setText(QStringLiteral("PDF_ForDelivery4"), remarks.imoCaption + RemarkSeparator + remarks.imoItem);
    const QVariant volumes = row.value(QStringLiteral("Bls_LCL_Volumes"));
    const QString volumeDigits =
        volumes.isValid() && !volumes.isNull() ? QString::number(volumes.toLongLong()) : QString();
    form.setText(QStringLiteral("PDF_ForDelivery5"), TranslateText(QStringLiteral("Volume")) + RemarkSeparator +
                                                         volumeDigits + QStringLiteral("  ") +
                                                         columnText(row, QStringLiteral("Bls_LCL_TipoVolume")));

    form.setLines(QStringLiteral("PDF_MarksNumber"), memoLines(columnText(row, QStringLiteral("Bls_Marks"))));
    form.setLines(QStringLiteral("PDF_Desciption"), memoLines(columnText(row, QStringLiteral("Bls_Descricao"))));

    form.setText(QStringLiteral("PDF_Gross1"), weight(row, "Bls_LCL_PesoBruto"));
    form.setText(QStringLiteral("PDF_Gross2"), QStringLiteral("KGS"));
    form.setText(QStringLiteral("PDF_Measu1"), weight(row, "Bls_LCL_Cubagem"));
    form.setText(QStringLiteral("PDF_Measu2"), QStringLiteral("M3"));
    form.setText(QStringLiteral("PDF_NetWeight1"), weight(row, "Bls_LCL_PesoLiquido"));
    form.setText(QStringLiteral("PDF_NetWeight2"), QStringLiteral("KGS"));
}
