#include "DictionaryContent.h"

#include <QFile>
#include <QSet>
#include <QTextStream>

#include <optional>

namespace {
constexpr int FormatVersion = 2;
constexpr int LanguageFields = 11;
constexpr int TranslationFields = 5;
constexpr int LocaleFields = 69;
constexpr int LocaleCountryInEnglish = 4; // index into IvLocaleRecord::fields

std::optional<bool> toBool(const QString &text)
{
    if (text == u"true" || text == u"false")
        return text == u"true";
    return std::nullopt;
}
} // namespace

QString IvLocaleRecord::countryNameInEnglish() const
{
    return fields.value(LocaleCountryInEnglish);
}

QString DictionaryContent::unescape(QStringView field)
{
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c != u'\\' || i + 1 == field.size()) {
            out += c;
            continue;
        }
        switch (field[++i].unicode()) {
        case u't':
            out += u'\t';
            break;
        case u'n':
            out += u'\n';
            break;
        case u'r':
            out += u'\r';
            break;
        case u's':
            out += u' ';
            break;
        default:
            out += field[i];
            break;
        }
    }
    return out;
}

bool DictionaryContent::read(QIODevice &device, QString *error)
{
    languages.clear();
    translations.clear();
    locales.clear();
    QTextStream in(&device);
    in.setEncoding(QStringConverter::Utf8);
    QString section;
    int lineNumber = 0;
    QList<QPair<QString, int>> counts; // section, declared count
    const auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(lineNumber).arg(why);
        return false;
    };
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList raw = line.split(u'\t');
        if (line.startsWith(u'@')) {
            section = raw.first().mid(1);
            if (section != u"Languages" && section != u"Translations" && section != u"Locales")
                return fail(QStringLiteral("unknown list %1").arg(section));
            const bool translationsHeader = section == u"Translations";
            if (raw.size() != (translationsHeader ? 4 : 3) || raw.at(1).toInt() != FormatVersion)
                return fail(QStringLiteral("bad list header"));
            if (translationsHeader)
                contextKind = raw.at(2).toInt();
            counts.append({section, raw.last().toInt()});
            continue;
        }
        QStringList f;
        f.reserve(raw.size());
        for (const QString &field : raw)
            f.append(unescape(field));
        if (section == u"Languages") {
            if (f.size() != LanguageFields)
                return fail(QStringLiteral("a language has %1 fields").arg(f.size()));
            IvLanguage l;
            l.languageCode = f[0].toInt();
            for (const QString &v : f[1].split(u',', Qt::SkipEmptyParts))
                l.furtherVariants.append(v.toInt());
            l.defaultVariant = f[2].toInt();
            l.characterSet = f[3].toInt();
            l.codePage = f[4].toInt();
            l.englishName = f[5];
            l.ownName = f[6];
            l.fontName = f[7];
            l.fontSize = f[8].toInt();
            const std::optional<bool> firstFlag = toBool(f[9]);
            const std::optional<bool> anyCodePage = toBool(f[10]);
            if (!firstFlag || !anyCodePage)
                return fail(QStringLiteral("a flag is neither true nor false"));
            l.firstFlag = *firstFlag;
            l.anyCodePage = *anyCodePage;
            languages.append(l);
        } else if (section == u"Translations") {
            if (f.size() != TranslationFields)
                return fail(QStringLiteral("a translation has %1 fields").arg(f.size()));
            translations.append({f[0], f[1], f[2], f.mid(3)});
        } else if (section == u"Locales") {
            if (f.size() != LocaleFields)
                return fail(QStringLiteral("a locale has %1 fields").arg(f.size()));
            locales.append({f[0].toInt(), f[1].toInt(), f.mid(2)});
        } else {
            return fail(QStringLiteral("record outside a known list"));
        }
    }
    for (const auto &[name, count] : counts) {
        const qsizetype expected = name == u"Languages"      ? languages.size()
                                   : name == u"Translations" ? translations.size()
                                                             : locales.size();
        if (count != expected)
            return fail(QStringLiteral("%1 declares %2 records and holds %3").arg(name).arg(count).arg(expected));
    }
    if (languages.isEmpty())
        return fail(QStringLiteral("no languages"));
    QSet<QString> keys;
    for (const IvTranslation &t : std::as_const(translations)) {
        if (t.native.isEmpty())
            return fail(QStringLiteral("a translation has no native text"));
        if (t.texts.size() != languages.size() - 1)
            return fail(QStringLiteral("\"%1\" has no text for every language").arg(t.native));
        if (Q_UNLIKELY(keys.contains(t.native)))
            return fail(QStringLiteral("\"%1\" is a key twice").arg(t.native));
        keys.insert(t.native);
    }
    return true;
}

const DictionaryContent &DictionaryContent::embedded()
{
    static const DictionaryContent content = [] {
        DictionaryContent c;
        QFile file(QStringLiteral(":/dictionary.tsv"));
        QString error;
        if (!file.open(QIODevice::ReadOnly))
            qFatal("The embedded dictionary is missing");
        if (!c.read(file, &error))
            qFatal("The embedded dictionary is damaged: %s", qPrintable(error));
        return c;
    }();
    return content;
}
