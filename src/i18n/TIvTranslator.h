#pragma once

#include "DictionaryClient.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

// The window translator (IvT): puts a window's own texts (captions, hints, list items, texts, grid titles, status
// panels, file filters) into the current language when it starts and again after every change of language or locale.
// It remembers the native text behind each text it wrote, so switching back and forth always starts from the design
// text, and a text that code wrote since is taken as a new native text.
class TIvTranslator : public QObject, public DictionaryClient
{
    Q_OBJECT

public:
    // The translated properties of most windows: the main window's list.
    static constexpr const char *DefaultTargets = "Hint,Caption,Items,Text,SimpleText,Title,Filter";

    // `targets`: comma-separated design property names (Caption, Hint, Items, Text, Title, SimpleText, Filter);
    // "Class.Property" limits one to objects of exactly that class ("TMemo.Text": plain memos only). The translator
    // becomes a child of `window`, opens the dictionary if needed, translates the window at once and registers itself;
    // it unregisters when the window destroys it.
    explicit TIvTranslator(QObject *window, const QString &targets = QString::fromLatin1(DefaultTargets));
    ~TIvTranslator() override;

    // Translates the window again into the current language.
    void translate();
    void dictionaryChanged(bool languageChanged, bool localeChanged) override;

    // Number of texts remembered (one per translated text of the window).
    int memorySize() const { return int(m_memory.size()); }

private:
    struct Target
    {
        QString className;
        QString property;
    };
    struct MemoryKey
    {
        QObject *object;
        QByteArray property;
        int index;
        friend bool operator==(const MemoryKey &a, const MemoryKey &b)
        {
            return a.object == b.object && a.index == b.index && a.property == b.property;
        }
        friend size_t qHash(const MemoryKey &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.object, key.property, key.index);
        }
    };
    struct Entry
    {
        QString native;
        QString lastWritten;
    };

    bool matches(const QObject *object, QStringView property) const;
    void translateTree(QObject *object);
    void translateProperties(QObject *object);
    void translateWindowProperties(QObject *window);
    void translateMemo(QObject *object);
    QString translated(QObject *object, const char *property, int index, const QString &current);
    QStringList translatedList(QObject *object, const char *property, const QStringList &current);
    void translateProperty(QObject *object, const char *property);
    void translateListProperty(QObject *object, const char *property);
    void forget(QObject *object);

    QObject *m_window;
    QList<Target> m_targets;
    QHash<MemoryKey, Entry> m_memory;
    QSet<QObject *> m_watched;
};
