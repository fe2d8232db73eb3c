#include "EdiBlComposer.h"

#include "DalvoraFolder.h"
#include "EdiComposeError.h"
#include "Formats.h"
#include "TDM_BL.h"
#include "TranslateText.h"
#include "Windows1252.h"

#include <QHash>
#include <QLocale>
#include <QStringBuilder>
#include <charconv>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// Whole numbers and doubles, which are written in the general number form.
bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// The general number form in the conventions in force. The locale's symbols are read once: each question to the
// system's locale costs more than writing the number, and a big BL has some 5,000 of them.
class NumberWriter
{
public:
    NumberWriter()
    {
        m_locale.setNumberOptions(QLocale::OmitGroupSeparator);
        // Digits other than ASCII go through the locale itself.
        m_asciiDigits = m_locale.zeroDigit() == u"0"_s;
        m_decimalPoint = m_locale.decimalPoint();
        m_negativeSign = m_locale.negativeSign();
        m_positiveSign = m_locale.positiveSign();
        m_exponential = m_locale.exponential();
    }

    QString text(double value) const
    {
        if (value == 0.0)
            return QStringLiteral("0"); // also for -0
        char text[64];
        char *end = text;
        // Codes, counts and thousandths are whole: they need no rounding (most of a big BL's numbers).
        if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
            if (!m_asciiDigits)
                return m_locale.toString(qint64(value));
            end = std::to_chars(text, text + sizeof text, qint64(value)).ptr;
        } else {
            // Round to 15 significant digits first, so that binary noise beyond them never shows.
            const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14);
            double rounded = value;
            std::from_chars(text, written.ptr, rounded);
            const double magnitude = std::fabs(rounded);
            const bool fixed = magnitude >= 0.00001 && magnitude < 1e15;
            if (!m_asciiDigits)
                return m_locale.toString(rounded, fixed ? 'f' : 'e', QLocale::FloatingPointShortest);
            end = std::to_chars(text, text + sizeof text, rounded,
                                fixed ? std::chars_format::fixed : std::chars_format::scientific)
                      .ptr;
        }
        // The shortest form in C's conventions, then the locale's symbols in place of C's.
        QString shown;
        shown.reserve(end - text + 4);
        for (const char *c = text; c != end; ++c) {
            switch (*c) {
            case '.':
                shown += m_decimalPoint;
                break;
            case '-':
                shown += m_negativeSign;
                break;
            case '+':
                shown += m_positiveSign;
                break;
            case 'e':
                shown += m_exponential;
                break;
            default:
                shown += QLatin1Char(*c);
            }
        }
        return shown;
    }

private:
    QLocale m_locale;
    bool m_asciiDigits = false;
    QString m_decimalPoint;
    QString m_negativeSign;
    QString m_positiveSign;
    QString m_exponential;
};

// Appends checked lines: no line break inside a line, every character with a Windows-1252 byte.
class LineSink
{
public:
    explicit LineSink(QStringList &lines) : m_lines(lines) {}

    void add(QLatin1String tag, const QString &value = QString())
    {
        bool plainLatin1 = true;
        for (const QChar c : value) {
            const char16_t u = c.unicode();
            if (u == u'\r' || u == u'\n')
                throw EdiComposeError(QStringLiteral("Quebra de linha no valor de %1").arg(tag), tag);
            // NUL and the other control characters (C0, DEL and C1): no carrier reads them as text.
            if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
                throw EdiComposeError(QStringLiteral("Caractere de controle no valor de %1").arg(tag), tag);
            plainLatin1 = plainLatin1 && u <= 0xFF;
        }
        if (!plainLatin1 && !Windows1252::fits(value))
            throw EdiComposeError(
                QStringLiteral("Caractere sem correspondência em windows-1252 no valor de %1").arg(tag), tag);
        m_lines.append(tag % value);
    }

    void addNumber(QLatin1String tag, double value)
    {
        if (!std::isfinite(value))
            throw EdiComposeError(QStringLiteral("Número inválido no valor de %1").arg(tag), tag);
        add(tag, m_numbers.text(value));
    }

    void addField(QLatin1String tag, const QVariantMap &row, const QString &column)
    {
        const auto found = row.constFind(column);
        if (found == row.constEnd())
            return add(tag);
        if (found->typeId() == QMetaType::QString)
            return add(tag, *static_cast<const QString *>(found->constData()));
        if (isNumber(*found))
            return addNumber(tag, found->toDouble());
        add(tag, EdiBlComposer::valueText(*found));
    }

private:
    QStringList &m_lines;
    const NumberWriter m_numbers;
};

// The LCL quantities travel in thousandths without sign; an empty column counts as zero.
double scaled(const QVariantMap &row, const char *column)
{
    return std::fabs(row.value(QLatin1String(column)).toDouble() * 1000.0);
}

void addNumbered(LineSink &sink, const char *tagLetters, const QVariantMap &row, const char *columnPrefix)
{
    for (int i = 1; i <= 5; ++i) {
        const QByteArray tag = QByteArray("[") + tagLetters + QByteArray::number(i) + "]";
        const QByteArray column = QByteArray(columnPrefix) + QByteArray::number(i);
        sink.addField(QLatin1String(tag), row, QString::fromLatin1(column));
    }
}

} // namespace

QString EdiBlComposer::numberText(double value)
{
    return NumberWriter().text(value);
}

QString EdiBlComposer::valueText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (isNumber(value))
        return numberText(value.toDouble());
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QDate:
        return Formats::shortDate(value.toDate());
    default:
        return value.toString();
    }
}

QString EdiBlComposer::fileName(const QString &ciaArquivo, const QString &reservaNr)
{
    // Characters that cannot stand in a file name (a path separator would put the file elsewhere) are left out.
    QString name = QStringLiteral("DVBL_") + ciaArquivo + QLatin1Char('_') + TDM_BL::LimpaTexto(reservaNr);
    name.removeIf([](QChar c) { return !DalvoraFolder::allowedInFileName(c); });
    return name;
}

QString EdiBlComposer::caption(const QString &tag)
{
    // The captions under which the clerk sees each value, as the windows show them.
    static const QHash<QString, const char *> captions{{u"[EP2]"_s, "Reserva Nr."},
                                                       {u"[EP3]"_s, "Identificação"},
                                                       {u"[EP4]"_s, "Nome"},
                                                       {u"[EP5]"_s, "Usuário"},
                                                       {u"[EP6]"_s, "Cidade"},
                                                       {u"[PO1]"_s, "Bill of Lading Nr."},
                                                       {u"[PO2]"_s, "Shippers Ref."},
                                                       {u"[PO3]"_s, "Freight Payable at"},
                                                       {u"[PO4]"_s, "Place of Receipt"},
                                                       {u"[PO5]"_s, "Port of Loading"},
                                                       {u"[PO6]"_s, "Port of Discharge"},
                                                       {u"[PO7]"_s, "Place of Delivery"},
                                                       {u"[PO8]"_s, "Vessel"},
                                                       {u"[PO9]"_s, "Voyage"},
                                                       {u"[CA1]"_s, "Carga"},
                                                       {u"[CA2]"_s, "Peso Bruto"},
                                                       {u"[CA3]"_s, "Peso Liquido"},
                                                       {u"[CA4]"_s, "Cubagem"},
                                                       {u"[CA5]"_s, "Volumes"},
                                                       {u"[CA6]"_s, "Tipo"},
                                                       {u"[IM2]"_s, "IMDG (CLASS)"},
                                                       {u"[IM3]"_s, "UN NUMBER"},
                                                       {u"[EM1]"_s, "Emissão de B/L"},
                                                       {u"[EM2]"_s, "As Per Agreement"},
                                                       {u"[MAR]"_s, "Marks and Numbers"},
                                                       {u"[DES]"_s, "Description of Goods"},
                                                       {u"[CNN]"_s, "Número"},
                                                       {u"[CNT]"_s, "Tipo"},
                                                       {u"[CNB]"_s, "Peso Bruto"},
                                                       {u"[CNA]"_s, "Tara"},
                                                       {u"[CNV]"_s, "Volume"},
                                                       {u"[CNP]"_s, "Tipo"},
                                                       {u"[CN1]"_s, "Lacre"},
                                                       {u"[CN2]"_s, "Lacre"},
                                                       {u"[CN3]"_s, "Lacre"},
                                                       {u"[CN4]"_s, "Lacre"},
                                                       {u"[SDN]"_s, "Número"},
                                                       {u"[SDP]"_s, "Peso (kg)"},
                                                       {u"[SDV]"_s, "Volumes"},
                                                       {u"[SDF]"_s, "Valor FOB"},
                                                       {u"[SDT]"_s, "Tipo"},
                                                       {u"[SDC]"_s, "Chassi"},
                                                       {u"[NCM]"_s, "NCM"}};
    static const QHash<QString, const char *> groups{{u"[SH"_s, "Shipper"},
                                                     {u"[CE"_s, "Consignee"},
                                                     {u"[NT"_s, "Notify"},
                                                     {u"[CN"_s, "Container"},
                                                     {u"[SD"_s, "SD"}};
    QString shown;
    if (const char *own = captions.value(tag))
        shown = TranslateText(QString::fromUtf8(own));
    const QString group = QString::fromUtf8(groups.value(tag.left(3)));
    if (!group.isEmpty() && group != shown)
        shown = shown.isEmpty() ? TranslateText(group) : TranslateText(group) + QLatin1Char(' ') + shown;
    return shown;
}

void EdiBlComposer::compose(const EdiBlRows &rows, const QStringList &marks, const QStringList &description,
                            const QString &version, const QDate &today, QStringList &lines)
{
    static const QLatin1String Frame("[Dalvora-BL]");
    LineSink sink(lines);
    const QVariantMap &bl = rows.bl;

    sink.add(Frame);
    sink.add(QLatin1String("[EP1]"), version);
    sink.addField(QLatin1String("[EP2]"), bl, QStringLiteral("Bls_ReservaNr"));
    sink.addField(QLatin1String("[EP3]"), bl, QStringLiteral("Bls_Cia_Arquivo"));
    sink.addField(QLatin1String("[EP4]"), bl, QStringLiteral("Bls_Cia_Nome"));
    sink.addField(QLatin1String("[EP5]"), bl, QStringLiteral("Bls_Cia_Usuario"));
    sink.addField(QLatin1String("[EP6]"), bl, QStringLiteral("Bls_Cia_Cidade"));
    // A fixed form, whatever the regional settings: the carrier reads it as such.
    sink.add(QLatin1String("[EP7]"), today.toString(QStringLiteral("dd-MM-yyyy")));

    addNumbered(sink, "SH", bl, "Bls_Shipper");
    addNumbered(sink, "CE", bl, "Bls_Cnee");
    addNumbered(sink, "NT", bl, "Bls_Notify");

    sink.addField(QLatin1String("[PO1]"), bl, QStringLiteral("Bls_BillofLading"));
    sink.addField(QLatin1String("[PO2]"), bl, QStringLiteral("Bls_RefShipper"));
    sink.addField(QLatin1String("[PO3]"), bl, QStringLiteral("Bls_Payable"));
    sink.addField(QLatin1String("[PO4]"), bl, QStringLiteral("Bls_PlaceReceipt"));
    sink.addField(QLatin1String("[PO5]"), bl, QStringLiteral("Bls_PortLoading"));
    sink.addField(QLatin1String("[PO6]"), bl, QStringLiteral("Bls_PortDischarge"));
    sink.addField(QLatin1String("[PO7]"), bl, QStringLiteral("Bls_PlaceDelivery"));
    sink.addField(QLatin1String("[PO8]"), bl, QStringLiteral("Bls_Navio"));
    sink.addField(QLatin1String("[PO9]"), bl, QStringLiteral("Bls_Viagem"));

    sink.addField(QLatin1String("[CA1]"), bl, QStringLiteral("Bls_Carga"));
    sink.addNumber(QLatin1String("[CA2]"), scaled(bl, "Bls_LCL_PesoBruto"));
    sink.addNumber(QLatin1String("[CA3]"), scaled(bl, "Bls_LCL_PesoLiquido"));
    sink.addNumber(QLatin1String("[CA4]"), scaled(bl, "Bls_LCL_Cubagem"));
    sink.addField(QLatin1String("[CA5]"), bl, QStringLiteral("Bls_LCL_Volumes"));
    sink.addField(QLatin1String("[CA6]"), bl, QStringLiteral("Bls_LCL_TipoVolume"));

    sink.addField(QLatin1String("[IM1]"), bl, QStringLiteral("Bls_Imo"));
    sink.addField(QLatin1String("[IM2]"), bl, QStringLiteral("Bls_Imo_IMDG"));
    sink.addField(QLatin1String("[IM3]"), bl, QStringLiteral("Bls_Imo_UN"));

    sink.addField(QLatin1String("[EM1]"), bl, QStringLiteral("Bls_EmissaoBL"));
    sink.addField(QLatin1String("[EM2]"), bl, QStringLiteral("Bls_AsPerAgee"));

    for (const QString &line : marks)
        sink.add(QLatin1String("[MAR]"), line);
    sink.add(QLatin1String("[MAR]"));
    for (const QString &line : description)
        sink.add(QLatin1String("[DES]"), line);
    sink.add(QLatin1String("[DES]"));

    for (const QVariantMap &cntr : rows.containers) {
        sink.addField(QLatin1String("[CNN]"), cntr, QStringLiteral("Cnt_Numero"));
        sink.addField(QLatin1String("[CNT]"), cntr, QStringLiteral("Cnt_Tipo"));
        sink.addField(QLatin1String("[CNB]"), cntr, QStringLiteral("Cnt_Peso"));
        sink.addField(QLatin1String("[CNA]"), cntr, QStringLiteral("Cnt_Tara"));
        sink.addField(QLatin1String("[CNV]"), cntr, QStringLiteral("Cnt_Volume"));
        sink.addField(QLatin1String("[CNP]"), cntr, QStringLiteral("Cnt_VolTipo"));
        sink.addField(QLatin1String("[CN1]"), cntr, QStringLiteral("Cnt_Lacre_1"));
        sink.addField(QLatin1String("[CN2]"), cntr, QStringLiteral("Cnt_Lacre_2"));
        sink.addField(QLatin1String("[CN3]"), cntr, QStringLiteral("Cnt_Lacre_3"));
        sink.addField(QLatin1String("[CN4]"), cntr, QStringLiteral("Cnt_Lacre_4"));
        sink.add(QLatin1String("[CNX]"));
    }

    // Dates up to 30 December 1899 stand for "no date".
    static const QDate NoDate(1899, 12, 30);
    for (const QVariantMap &sd : rows.documents) {
        sink.addField(QLatin1String("[SDN]"), sd, QStringLiteral("Sd_Numero"));
        const QDate expiry = sd.value(QStringLiteral("Sd_Vencto")).toDate();
        sink.add(QLatin1String("[SDD]"), expiry.isValid() && expiry > NoDate ? Formats::shortDate(expiry) : QString());
        sink.addField(QLatin1String("[SDP]"), sd, QStringLiteral("Sd_Peso"));
        sink.addField(QLatin1String("[SDV]"), sd, QStringLiteral("Sd_Volume"));
        sink.addField(QLatin1String("[SDF]"), sd, QStringLiteral("Sd_ValorFOB"));
        sink.addField(QLatin1String("[SDT]"), sd, QStringLiteral("Sd_Tipo"));
        sink.addField(QLatin1String("[SDC]"), sd, QStringLiteral("Sd_Chassi"));
        sink.add(QLatin1String("[SDX]"));
    }

    for (const QVariantMap &ncm : rows.ncmCodes) {
        sink.addField(QLatin1String("[NCM]"), ncm, QStringLiteral("Ncm_Numero"));
        sink.add(QLatin1String("[NCX]"));
    }

    sink.add(Frame);
}
