#include "EdiBlComposer.h"

#include "DalvoraFolder.h"
#include "EdiComposeError.h"
#include "Formats.h"
#include "NumberWriter.h"
#include "TDM_BL.h"
#include "TranslateText.h"
#include "Windows1252.h"

#include <QHash>
#include <QLocale>
#include <QVarLengthArray>
#include <algorithm>
#include <charconv>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The short date form in force. The form is read once and each date is written here: the locale's formatting costs
// some microseconds a date and asks the system for the form each time, and a big BL has hundreds of dates. Month
// names are read from the locale once each. A form with quotes, weekdays or fields other than the date's, digits
// other than ASCII and years beyond four digits go through the locale.
class DateWriter
{
public:
    DateWriter()
    {
        const QString format = Formats::shortDateFormat();
        m_plain = m_locale.zeroDigit() == u"0"_s;
        for (qsizetype i = 0; m_plain && i < format.size();) {
            const QChar c = format.at(i);
            qsizetype run = 1;
            while (i + run < format.size() && format.at(i + run) == c)
                ++run;
            if ((c == u'd' && run <= 2) || (c == u'M' && run <= 4))
                m_parts.append({c.unicode(), int(run)});
            else if (c == u'y' && run == 4)
                m_parts.append({c.unicode(), 4});
            else if (c.isLetter() || c == u'\'')
                m_plain = false;
            else
                m_parts.append({c.unicode(), -int(run)});
            i += run;
        }
    }

    // The text of a date (empty for no date), valid until the next call.
    QStringView text(const QDate &date)
    {
        if (!date.isValid())
            return {};
        if (!m_plain || date.year() < 1000 || date.year() > 9999)
            return m_fallback = Formats::shortDate(date);
        m_shown.truncate(0);
        for (const Part &part : m_parts) {
            switch (part.width > 0 ? part.letter : u'\0') {
            case u'd':
                appendDigits(date.day(), part.width);
                break;
            case u'M':
                if (part.width <= 2)
                    appendDigits(date.month(), part.width);
                else
                    m_shown += monthName(date.month(), part.width);
                break;
            case u'y':
                appendDigits(date.year(), 4);
                break;
            default:
                for (int i = part.width; i < 0; ++i)
                    m_shown += QChar(part.letter);
            }
        }
        return m_shown;
    }

private:
    struct Part
    {
        char16_t letter; // d, M, y, or the literal character
        int width;       // the field's letters; a literal's count as a negative number
    };

    void appendDigits(int value, int width)
    {
        char text[8];
        const char *const end = std::to_chars(text, text + sizeof text, value).ptr;
        for (qsizetype pad = width - (end - text); pad > 0; --pad)
            m_shown += u'0';
        m_shown += QLatin1String(text, end);
    }

    // The short (MMM) or long (MMMM) name of a month, read once.
    const QString &monthName(int month, int letters)
    {
        QString &known = m_monthNames[letters - 3][month - 1];
        if (known.isNull())
            known = m_locale.monthName(month, letters == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        return known;
    }

    QLocale m_locale;
    QList<Part> m_parts;
    bool m_plain = false;
    QString m_monthNames[2][12];
    QString m_shown;
    QString m_fallback;
};

// Appends checked lines to a text, a line break between two: no line break inside a line, every character with a
// Windows-1252 byte. One growing text, where a list would allocate a string for each of a big BL's 15,000 lines.
class LineSink
{
public:
    explicit LineSink(QString &text) : m_text(text) {}

    void add(QLatin1String tag, QStringView value = {})
    {
        bool plainLatin1 = true;
        for (const QChar c : value) {
            const char16_t u = c.unicode();
            if (u >= 0x20 && u < 0x7F) // printable ASCII, nearly every character of a file
                continue;
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
        // Written in place: appending each piece would check the text's room and sharing three times a line.
        const qsizetype start = m_text.size();
        const qsizetype separator = start > 0 ? 1 : 0;
        m_text.resize(start + separator + tag.size() + value.size());
        char16_t *out = reinterpret_cast<char16_t *>(m_text.data()) + start;
        if (separator)
            *out++ = u'\n';
        for (const char c : tag)
            *out++ = char16_t(uchar(c));
        std::copy_n(value.utf16(), value.size(), out);
    }

    void addNumber(QLatin1String tag, double value)
    {
        if (!std::isfinite(value))
            throw EdiComposeError(QStringLiteral("Número inválido no valor de %1").arg(tag), tag);
        add(tag, m_numbers.text(value));
    }

    void addDate(QLatin1String tag, const QDate &date) { add(tag, m_dates.text(date)); }

    // A stored value as text by its type: text unchanged, logical "True" / "False", numbers in the general form,
    // dates in the short form in force, NULL empty.
    void addValue(QLatin1String tag, const QVariant &value)
    {
        switch (value.isNull() ? QMetaType::UnknownType : value.typeId()) {
        case QMetaType::QString:
            return add(tag, *static_cast<const QString *>(value.constData()));
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
            return addNumber(tag, value.toDouble());
        case QMetaType::Bool:
            return add(tag, value.toBool() ? u"True" : u"False");
        case QMetaType::QDate:
            return addDate(tag, value.toDate());
        case QMetaType::UnknownType:
            return add(tag);
        default:
            return add(tag, value.toString());
        }
    }

private:
    QString &m_text;
    NumberWriter m_numbers;
    DateWriter m_dates;
};

// A tag and the column whose value its line carries.
struct Field
{
    QLatin1String tag;
    QString column;
    // An expiry date is written only when it is a day after 30 December 1899: up to it, dates stand for "no date".
    bool expiry = false;
};

void addFields(LineSink &sink, const QVariantMap &row, std::initializer_list<Field> fields)
{
    for (const Field &field : fields)
        sink.addValue(field.tag, row.value(field.column));
}

// The lines of each row of a detail table, one per field, then the row's closing tag.
void addRows(LineSink &sink, const EdiBlTable &table, std::initializer_list<Field> fields, QLatin1String closing)
{
    static const QDate NoDate(1899, 12, 30);
    QVarLengthArray<int, 16> columns;
    for (const Field &field : fields)
        columns.append(table.column(field.column));
    for (qsizetype row = 0; row < table.size(); ++row) {
        const int *column = columns.constData();
        for (const Field &field : fields) {
            const QVariant &value = table.value(row, *column++);
            if (!field.expiry) {
                sink.addValue(field.tag, value);
            } else {
                const QDate date = value.toDate();
                sink.addDate(field.tag, date > NoDate ? date : QDate());
            }
        }
        sink.add(closing);
    }
}

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
        sink.addValue(QLatin1String(tag), row.value(QString::fromLatin1(column)));
    }
}

} // namespace

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
    // The kinds of packages are captioned on screen as "Tipo" and "Volume" together, each translated.
    static const QStringList KindOfPackages{u"[CA6]"_s, u"[CNP]"_s};
    QString shown;
    if (KindOfPackages.contains(tag))
        shown = TranslateText(u"Tipo"_s) + QLatin1Char(' ') + TranslateText(u"Volume"_s);
    else if (const char *own = captions.value(tag))
        shown = TranslateText(QString::fromUtf8(own));
    const QString group = QString::fromUtf8(groups.value(tag.left(3)));
    if (!group.isEmpty() && group != shown)
        shown = shown.isEmpty() ? TranslateText(group) : TranslateText(group) + QLatin1Char(' ') + shown;
    return shown;
}

void EdiBlComposer::compose(const EdiBlRows &rows, const QStringList &marks, const QStringList &description,
                            const QString &version, const QDate &today, QString &text)
{
    static const QLatin1String Frame("[Dalvora-BL]");
    // The lines besides those of the marks, the description and the details, then those of each detail row, at a
    // tag, a line break and some 20 characters of value each.
    const qsizetype lineCount = 46 + marks.size() + description.size() + 11 * rows.containers.size() +
                                8 * rows.documents.size() + 2 * rows.ncmCodes.size();
    text.clear();
    text.reserve(26 * lineCount);
    LineSink sink(text);
    const QVariantMap &bl = rows.bl;

    sink.add(Frame);
    sink.add(QLatin1String("[EP1]"), version);
    addFields(sink, bl,
              {{"[EP2]"_L1, u"Bls_ReservaNr"_s},
               {"[EP3]"_L1, u"Bls_Cia_Arquivo"_s},
               {"[EP4]"_L1, u"Bls_Cia_Nome"_s},
               {"[EP5]"_L1, u"Bls_Cia_Usuario"_s},
               {"[EP6]"_L1, u"Bls_Cia_Cidade"_s}});
    // A fixed form, whatever the regional settings: the carrier reads it as such.
    sink.add("[EP7]"_L1, today.toString(u"dd-MM-yyyy"_s));

    addNumbered(sink, "SH", bl, "Bls_Shipper");
    addNumbered(sink, "CE", bl, "Bls_Cnee");
    addNumbered(sink, "NT", bl, "Bls_Notify");

    addFields(sink, bl,
              {{"[PO1]"_L1, u"Bls_BillofLading"_s},
               {"[PO2]"_L1, u"Bls_RefShipper"_s},
               {"[PO3]"_L1, u"Bls_Payable"_s},
               {"[PO4]"_L1, u"Bls_PlaceReceipt"_s},
               {"[PO5]"_L1, u"Bls_PortLoading"_s},
               {"[PO6]"_L1, u"Bls_PortDischarge"_s},
               {"[PO7]"_L1, u"Bls_PlaceDelivery"_s},
               {"[PO8]"_L1, u"Bls_Navio"_s},
               {"[PO9]"_L1, u"Bls_Viagem"_s},
               {"[CA1]"_L1, u"Bls_Carga"_s}});
    sink.addNumber("[CA2]"_L1, scaled(bl, "Bls_LCL_PesoBruto"));
    sink.addNumber("[CA3]"_L1, scaled(bl, "Bls_LCL_PesoLiquido"));
    sink.addNumber("[CA4]"_L1, scaled(bl, "Bls_LCL_Cubagem"));
    addFields(sink, bl,
              {{"[CA5]"_L1, u"Bls_LCL_Volumes"_s},
               {"[CA6]"_L1, u"Bls_LCL_TipoVolume"_s},
               {"[IM1]"_L1, u"Bls_Imo"_s},
               {"[IM2]"_L1, u"Bls_Imo_IMDG"_s},
               {"[IM3]"_L1, u"Bls_Imo_UN"_s},
               {"[EM1]"_L1, u"Bls_EmissaoBL"_s},
               {"[EM2]"_L1, u"Bls_AsPerAgee"_s}});

    for (const QString &line : marks)
        sink.add("[MAR]"_L1, line);
    sink.add("[MAR]"_L1);
    for (const QString &line : description)
        sink.add("[DES]"_L1, line);
    sink.add("[DES]"_L1);

    addRows(sink, rows.containers,
            {{"[CNN]"_L1, u"Cnt_Numero"_s},
             {"[CNT]"_L1, u"Cnt_Tipo"_s},
             {"[CNB]"_L1, u"Cnt_Peso"_s},
             {"[CNA]"_L1, u"Cnt_Tara"_s},
             {"[CNV]"_L1, u"Cnt_Volume"_s},
             {"[CNP]"_L1, u"Cnt_VolTipo"_s},
             {"[CN1]"_L1, u"Cnt_Lacre_1"_s},
             {"[CN2]"_L1, u"Cnt_Lacre_2"_s},
             {"[CN3]"_L1, u"Cnt_Lacre_3"_s},
             {"[CN4]"_L1, u"Cnt_Lacre_4"_s}},
            "[CNX]"_L1);
    addRows(sink, rows.documents,
            {{"[SDN]"_L1, u"Sd_Numero"_s},
             {"[SDD]"_L1, u"Sd_Vencto"_s, true},
             {"[SDP]"_L1, u"Sd_Peso"_s},
             {"[SDV]"_L1, u"Sd_Volume"_s},
             {"[SDF]"_L1, u"Sd_ValorFOB"_s},
             {"[SDT]"_L1, u"Sd_Tipo"_s},
             {"[SDC]"_L1, u"Sd_Chassi"_s}},
            "[SDX]"_L1);
    addRows(sink, rows.ncmCodes, {{"[NCM]"_L1, u"Ncm_Numero"_s}}, "[NCX]"_L1);

    sink.add(Frame);
}
