#pragma once

#include "DictionaryContent.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <utility>
#include <vector>

class DictionaryClient;

// The process's one translation dictionary (IvBDic): the embedded content, the current language with the working
// table of its translations, the locale bound to it and the translators to tell about changes.
class TIvBinaryDictionary
{
public:
    explicit TIvBinaryDictionary(const DictionaryContent &content);
    static TIvBinaryDictionary &instance();

    const DictionaryContent &content() const { return m_content; }

    // The first translator that starts opens the dictionary: it loads the current language and applies its locale.
    bool isOpen() const { return m_open; }
    void open();

    // Language index into the language list: 0 native (Portuguese), 1 English, 2 Spanish. Changing it rebuilds the
    // working table, applies the language's locale and notifies every client; before opening it is only recorded.
    int language() const { return m_language; }
    void setLanguage(int index);

    // The dictionary's locale as a language code and a country variant; identifier 0 is the user's own settings.
    int primaryLanguage() const { return m_primaryLanguage; }
    void setPrimaryLanguage(int code);
    int subLanguage() const { return m_subLanguage; }
    void setSubLanguage(int variant);
    QLocale locale() const { return m_locale; }

    // The user's own regional settings. A system without any (the C or POSIX locale of a fresh machine) would show
    // Portuguese screens with English month names and "10 Dec 2026": Brazil's conventions stand in for it there.
    static QLocale userLocale(const QLocale &system = QLocale::system());

    // The interface language number of the main window (1 Portuguese, 2 English, 3 Spanish): language index, then the
    // bare language code, then country variant 0, so the conventions end as the language's default country's (the
    // user's own for Portuguese). Opens the dictionary when no translator has yet.
    void switchLanguage(int number);

    // Exact lookup (case, blanks and accelerator marks included) in the working table; missing rows, the empty
    // text and the native language give the input back.
    QString translate(const QString &text) const;
    int workingTableSize() const { return int(m_table.size()); }

    void registerClient(DictionaryClient *client);
    void unregisterClient(DictionaryClient *client);

private:
    void changeLocale(int code, int variant);
    int localeIdentifierFor(int index) const;
    QLocale resolve(int identifier) const;
    bool installLocale(int identifier);
    void rebuildTable();
    void applyLocale() const;
    void notify(bool languageChanged, bool localeChanged);

    const DictionaryContent &m_content;
    bool m_open = false;
    int m_language = 0;
    int m_primaryLanguage = 0;
    int m_subLanguage = 0;
    QLocale m_locale = userLocale();
    std::vector<std::pair<QString, QString>> m_table; // (native, translation), sorted by native
    QList<DictionaryClient *> m_clients;
};
