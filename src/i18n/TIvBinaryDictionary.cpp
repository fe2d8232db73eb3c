#include "TIvBinaryDictionary.h"

#include "DictionaryClient.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace {
// Language codes of the locale-identifier scheme that the program's locales use.
struct KnownLanguage
{
    int code;
    QLocale::Language language;
};
constexpr KnownLanguage KnownLanguages[] = {{9, QLocale::English}, {10, QLocale::Spanish}, {22, QLocale::Portuguese}};
constexpr int VariantFactor = 1024;

std::optional<QLocale::Language> qtLanguage(int code)
{
    for (const KnownLanguage &k : KnownLanguages) {
        if (k.code == code)
            return k.language;
    }
    return std::nullopt;
}

int languageCode(QLocale::Language language)
{
    for (const KnownLanguage &k : KnownLanguages) {
        if (k.language == language)
            return k.code;
    }
    return -1;
}

QLocale::Territory territoryNamed(const QString &englishName)
{
    for (int t = QLocale::AnyTerritory + 1; t <= QLocale::LastTerritory; ++t) {
        if (QLocale::territoryToString(QLocale::Territory(t)) == englishName)
            return QLocale::Territory(t);
    }
    return QLocale::AnyTerritory;
}
} // namespace

TIvBinaryDictionary::TIvBinaryDictionary(const DictionaryContent &content) : m_content(content) {}

TIvBinaryDictionary &TIvBinaryDictionary::instance()
{
    static TIvBinaryDictionary dictionary(DictionaryContent::embedded());
    return dictionary;
}

void TIvBinaryDictionary::open()
{
    if (m_open)
        return;
    installLocale(localeIdentifierFor(m_language));
    rebuildTable();
    applyLocale();
    m_open = true;
}

void TIvBinaryDictionary::setLanguage(int index)
{
    if (index < 0 || index >= m_content.languages.size())
        throw std::out_of_range("language index out of range");
    if (index == m_language)
        return;
    m_language = index;
    if (!m_open)
        return;
    // Qt draws every text as Unicode, so each language of the list is displayable: no code-page refusal here.
    const bool localeChanged = installLocale(localeIdentifierFor(index));
    rebuildTable();
    if (localeChanged)
        applyLocale();
    notify(true, localeChanged);
}

void TIvBinaryDictionary::setPrimaryLanguage(int code)
{
    changeLocale(code, m_subLanguage);
}

void TIvBinaryDictionary::setSubLanguage(int variant)
{
    changeLocale(m_primaryLanguage, variant);
}

void TIvBinaryDictionary::changeLocale(int code, int variant)
{
    if (!m_open) {
        m_primaryLanguage = code;
        m_subLanguage = variant;
        return;
    }
    if (!installLocale(code + VariantFactor * variant))
        return;
    applyLocale();
    notify(false, true);
}

void TIvBinaryDictionary::switchLanguage(int number)
{
    if (number < 1 || number > m_content.languages.size())
        throw std::out_of_range("language number out of range");
    open();
    setLanguage(number - 1);
    setPrimaryLanguage(m_content.languages.at(number - 1).languageCode);
    setSubLanguage(0);
}

QString TIvBinaryDictionary::translate(const QString &text) const
{
    if (text.isEmpty() || m_table.empty())
        return text;
    const auto it = std::lower_bound(m_table.begin(), m_table.end(), text,
                                     [](const auto &row, const QString &key) { return row.first < key; });
    return it != m_table.end() && it->first == text ? it->second : text;
}

void TIvBinaryDictionary::registerClient(DictionaryClient *client)
{
    if (!m_clients.contains(client))
        m_clients.append(client);
}

void TIvBinaryDictionary::unregisterClient(DictionaryClient *client)
{
    m_clients.removeAll(client);
}

int TIvBinaryDictionary::localeIdentifierFor(int index) const
{
    const IvLanguage &language = m_content.languages.at(index);
    if (language.languageCode == 0)
        return 0;
    // The user's own country when the user's locale speaks this language, else the language's default country.
    int variant = language.defaultVariant;
    const QLocale user = userLocale();
    if (languageCode(user.language()) == language.languageCode) {
        for (const IvLocaleRecord &record : m_content.locales) {
            if (record.languageCode == language.languageCode &&
                record.countryNameInEnglish() == QLocale::territoryToString(user.territory()))
                variant = record.countryVariant;
        }
    }
    return language.languageCode + VariantFactor * variant;
}

QLocale TIvBinaryDictionary::userLocale(const QLocale &system)
{
    return system.language() == QLocale::C ? QLocale(QLocale::Portuguese, QLocale::Brazil) : system;
}

QLocale TIvBinaryDictionary::resolve(int identifier) const
{
    if (identifier == 0)
        return userLocale();
    const int code = identifier % VariantFactor;
    const int variant = identifier / VariantFactor;
    const std::optional<QLocale::Language> language = qtLanguage(code);
    if (!language) {
        throw std::runtime_error(QStringLiteral("The locale (%1, %2) is not supported by the current code page")
                                     .arg(code)
                                     .arg(variant)
                                     .toStdString());
    }
    // A locale record names its country; Qt's regional data for that language and country gives the conventions.
    for (const IvLocaleRecord &record : m_content.locales) {
        if (record.identifier() == identifier)
            return QLocale(*language, territoryNamed(record.countryNameInEnglish()));
    }
    // Any other variant stands for the language's default country.
    return QLocale(*language);
}

bool TIvBinaryDictionary::installLocale(int identifier)
{
    const QLocale locale = resolve(identifier);
    const bool changed = identifier != m_primaryLanguage + VariantFactor * m_subLanguage;
    m_primaryLanguage = identifier % VariantFactor;
    m_subLanguage = identifier / VariantFactor;
    m_locale = locale;
    return changed;
}

void TIvBinaryDictionary::rebuildTable()
{
    m_table.clear();
    if (m_language > 0) {
        m_table.reserve(m_content.translations.size());
        for (const IvTranslation &row : m_content.translations) {
            const QString text = row.texts.value(m_language - 1);
            if (!text.isEmpty())
                m_table.emplace_back(row.native, text);
        }
    }
    std::sort(m_table.begin(), m_table.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
}

void TIvBinaryDictionary::applyLocale() const
{
    QLocale::setDefault(m_locale);
}

void TIvBinaryDictionary::notify(bool languageChanged, bool localeChanged)
{
    // A translator may unregister while others are called (its window closed): call only those still registered.
    const QList<DictionaryClient *> clients = m_clients;
    for (DictionaryClient *client : clients) {
        if (m_clients.contains(client))
            client->dictionaryChanged(languageChanged, localeChanged);
    }
}
