#include "AttachLines.h"

#include "Formats.h"
#include "TranslateText.h"

namespace {
const QString Separator = QStringLiteral(" - ");

QString text(const EditBuffer &rows, int row, const char *column)
{
    return rows.valueAt(row, QLatin1String(column)).toString();
}

// A weight or count is shown only when greater than 0.
QString positive(double value, const QString &pattern)
{
    return value > 0 ? Formats::formatNumber(value, pattern) : QString();
}
} // namespace

namespace AttachLines {

QString imoLine(const QString &imdg, const QString &un)
{
    QString line;
    if (!imdg.isEmpty())
        line = QStringLiteral("IMDG (CLASS):") + QLatin1Char(' ') + imdg;
    if (!un.isEmpty())
        line += QStringLiteral("   ") + QStringLiteral("UN NUMBER") + QLatin1Char(' ') + un;
    return line;
}

QString containerLine(const EditBuffer &rows, int row, const ContainerLineParts &parts)
{
    const QString number = text(rows, row, "Cnt_Numero");
    const QString type = text(rows, row, "Cnt_Tipo");
    const QString kind = text(rows, row, "Cnt_VolTipo");
    const QString weightPattern = QStringLiteral("###,##0.000");
    const QString gross = positive(rows.valueAt(row, QStringLiteral("Cnt_Peso")).toDouble(), weightPattern);
    const QString tare = positive(rows.valueAt(row, QStringLiteral("Cnt_Tara")).toDouble(), weightPattern);
    const QString packages =
        positive(rows.valueAt(row, QStringLiteral("Cnt_Volume")).toDouble(), QStringLiteral("###,##0"));
    // Seal 1 as it stands, then every further seal that is filled after a slash.
    QString seals = text(rows, row, "Cnt_Lacre_1");
    for (const char *column : {"Cnt_Lacre_2", "Cnt_Lacre_3", "Cnt_Lacre_4"}) {
        const QString seal = text(rows, row, column);
        if (!seal.isEmpty())
            seals += QLatin1Char('/') + seal;
    }

    QString line = QStringLiteral("[");
    auto add = [&line](bool ticked, const QString &value, const QString &element) {
        if (ticked && !value.isEmpty())
            line += element;
    };
    add(parts.number, number, number + Separator);
    add(parts.type, type, type + Separator);
    add(parts.seal, seals, QStringLiteral("Seal ") + seals + Separator);
    add(parts.gross, gross, QStringLiteral("Gross Weight ") + gross + QStringLiteral(" kg - "));
    add(parts.tare, tare, QStringLiteral("Tare ") + tare + QStringLiteral(" kg - "));
    add(parts.packages, packages, packages + QStringLiteral("  "));
    add(parts.packageKind, kind, kind);
    return line + QLatin1Char(']');
}

QString sdLine(const QString &kind, const QString &number)
{
    return QLatin1Char('[') + kind + QStringLiteral("  ") + number + QLatin1Char(']');
}

QString ncmLine(const QString &code)
{
    return QLatin1Char('[') + code + QLatin1Char(']');
}

QStringList containerLines(const EditBuffer &rows, const ContainerLineParts &parts)
{
    QStringList lines;
    for (int row = 0; row < rows.recordCount(); ++row)
        lines << containerLine(rows, row, parts);
    return lines;
}

QStringList sdLines(const EditBuffer &rows)
{
    QStringList lines;
    for (int row = 0; row < rows.recordCount(); ++row)
        lines << sdLine(text(rows, row, "Sd_Tipo"), text(rows, row, "Sd_Numero"));
    return lines;
}

QStringList ncmLines(const EditBuffer &rows)
{
    QStringList lines;
    for (int row = 0; row < rows.recordCount(); ++row)
        lines << ncmLine(text(rows, row, "Ncm_Numero"));
    return lines;
}

QString appendLines(const QString &memo, const QStringList &lines)
{
    if (lines.isEmpty())
        return memo;
    const QString crlf = QStringLiteral("\r\n");
    QString result = memo;
    // A memo whose text ends with a line break already ends its last line.
    bool atLineStart = memo.isEmpty() || memo.endsWith(crlf);
    for (const QString &line : lines) {
        result += atLineStart ? crlf : crlf + crlf;
        result += line;
        atLineStart = false;
    }
    return result;
}

QString refusal(const DetailCounts &counts, const QString &imoLine, EditBuffer::State blState,
                const QString &editCaption)
{
    if (counts.containers == 0 && counts.sd == 0 && counts.ncm == 0 && imoLine.isEmpty())
        return TranslateText(QStringLiteral("Não tem Registro selecionado"));
    if (blState != EditBuffer::Edit)
        return TranslateText(QStringLiteral("Tabela no modo Visualizar.")) + QStringLiteral("\r\r") +
               TranslateText(QStringLiteral("Necessário")) + QLatin1Char(' ') + editCaption;
    return {};
}

} // namespace AttachLines
