#include "TIvTranslator.h"

#include "TIvBinaryDictionary.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocument>
#include <QTextEdit>

namespace {
// List properties of our own controls, which draw their inner widgets from the list.
constexpr const char *ItemsProperty = "items";
constexpr const char *PanelTextsProperty = "panelTexts";
constexpr const char *ColumnTitlesProperty = "columnTitles";
constexpr const char *DataFieldProperty = "dataField";

bool hasProperty(const QObject *object, const char *name)
{
    return object->metaObject()->indexOfProperty(name) >= 0;
}

// Data-aware controls (our TDB... classes, or any control bound to a field) show a record's value, never a design
// text: translating it would show, and in Edit mode store, a value the user never typed.
bool isDataAware(const QObject *object)
{
    for (const QMetaObject *m = object->metaObject(); m; m = m->superClass()) {
        if (QLatin1String(m->className()).startsWith(QLatin1String("TDB")))
            return true;
    }
    return hasProperty(object, DataFieldProperty) || object->property(DataFieldProperty).isValid();
}

// The design class names of the targets that stand for Qt classes.
bool classIs(const QObject *object, const QString &className)
{
    const QLatin1String own(object->metaObject()->className());
    if (className.compare(own, Qt::CaseInsensitive) == 0)
        return true;
    if (className.compare(u"TMemo", Qt::CaseInsensitive) == 0)
        return own == QLatin1String("QPlainTextEdit") || own == QLatin1String("QTextEdit");
    return false;
}

// Controls whose inner widgets are parts of the control, translated (if at all) through the control itself.
bool keepsChildrenToItself(const QObject *object)
{
    return qobject_cast<const QComboBox *>(object) || qobject_cast<const QAbstractSpinBox *>(object) ||
           qobject_cast<const QAbstractItemView *>(object) || qobject_cast<const QLineEdit *>(object) ||
           qobject_cast<const QPlainTextEdit *>(object) || qobject_cast<const QTextEdit *>(object) ||
           hasProperty(object, ItemsProperty) || hasProperty(object, PanelTextsProperty) ||
           hasProperty(object, ColumnTitlesProperty);
}

bool isMemo(const QObject *object)
{
    return qobject_cast<const QPlainTextEdit *>(object) || qobject_cast<const QTextEdit *>(object);
}
} // namespace

TIvTranslator::TIvTranslator(QObject *window, const QString &targets) : QObject(window), m_window(window)
{
    setObjectName(QStringLiteral("IvT"));
    for (const QString &target : targets.split(u',', Qt::SkipEmptyParts)) {
        const QString t = target.trimmed();
        const qsizetype dot = t.indexOf(u'.');
        m_targets.append(dot < 0 ? Target{QString(), t} : Target{t.left(dot), t.mid(dot + 1)});
    }
    TIvBinaryDictionary &dictionary = TIvBinaryDictionary::instance();
    dictionary.open();
    translate();
    dictionary.registerClient(this);
}

TIvTranslator::~TIvTranslator()
{
    TIvBinaryDictionary::instance().unregisterClient(this);
}

void TIvTranslator::dictionaryChanged(bool, bool)
{
    translate();
}

void TIvTranslator::translate()
{
    for (QObject *child : m_window->children())
        translateTree(child);
    translateWindowProperties(m_window);
}

bool TIvTranslator::matches(const QObject *object, QStringView property) const
{
    for (const Target &t : m_targets) {
        if ((t.property.isEmpty() || t.property.compare(property, Qt::CaseInsensitive) == 0) &&
            (t.className.isEmpty() || classIs(object, t.className)))
            return true;
    }
    return false;
}

void TIvTranslator::translateTree(QObject *object)
{
    if (object == this)
        return;
    if (const auto *widget = qobject_cast<QWidget *>(object); widget && widget->isWindow()) {
        // Other windows have translators of their own; a file dialog kept by this window only lends its filter.
        if (auto *dialog = qobject_cast<QFileDialog *>(object); dialog && matches(object, u"Filter")) {
            const QStringList filters = translatedList(object, "nameFilters", dialog->nameFilters());
            if (filters != dialog->nameFilters())
                dialog->setNameFilters(filters);
        }
        return;
    }
    if (!keepsChildrenToItself(object)) {
        for (QObject *child : object->children())
            translateTree(child);
    }
    translateProperties(object);
    if (isMemo(object) && !isDataAware(object) && matches(object, u"Text"))
        translateMemo(object);
}

void TIvTranslator::translateProperties(QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && matches(object, u"Hint"))
        translateProperty(object, "toolTip");

    if (matches(object, u"Caption")) {
        if (qobject_cast<QAbstractButton *>(object) || qobject_cast<QLabel *>(object))
            translateProperty(object, "text");
        else if (qobject_cast<QGroupBox *>(object))
            translateProperty(object, "title");
        if (auto *tabs = qobject_cast<QTabWidget *>(object)) {
            for (int i = 0; i < tabs->count(); ++i) {
                const QString text = translated(object, "tabText", i, tabs->tabText(i));
                if (text != tabs->tabText(i))
                    tabs->setTabText(i, text);
            }
        }
    }

    if (matches(object, u"Items")) {
        if (hasProperty(object, ItemsProperty)) {
            translateListProperty(object, ItemsProperty);
        } else if (auto *combo = qobject_cast<QComboBox *>(object);
                   combo && !(combo->isHidden() && combo->testAttribute(Qt::WA_WState_ExplicitShowHide))) {
            // The selected entry stays selected; a data-aware drop-down keeps showing its field's value.
            const QString shown = combo->currentText();
            const bool keepShown = combo->isEditable() && isDataAware(combo);
            const QSignalBlocker blockCombo(combo);
            const QSignalBlocker blockEdit(combo->lineEdit());
            for (int i = 0; i < combo->count(); ++i) {
                const QString text = translated(object, "items", i, combo->itemText(i));
                if (text != combo->itemText(i))
                    combo->setItemText(i, text);
            }
            if (keepShown && combo->currentText() != shown)
                combo->setEditText(shown);
        }
    }

    if (matches(object, u"Text") && !isDataAware(object)) {
        if (qobject_cast<QLineEdit *>(object)) {
            translateProperty(object, "text");
        } else if (auto *combo = qobject_cast<QComboBox *>(object); combo && combo->isEditable()) {
            const QString text = translated(object, "currentText", 0, combo->currentText());
            if (text != combo->currentText())
                combo->setEditText(text);
        }
    }

    if (matches(object, u"Title")) {
        if (hasProperty(object, ColumnTitlesProperty)) {
            translateListProperty(object, ColumnTitlesProperty);
        } else if (auto *table = qobject_cast<QTableView *>(object); table && table->model()) {
            QAbstractItemModel *model = table->model();
            for (int i = 0; i < model->columnCount(); ++i) {
                const QString current = model->headerData(i, Qt::Horizontal).toString();
                const QString text = translated(object, "columnTitles", i, current);
                if (text != current)
                    model->setHeaderData(i, Qt::Horizontal, text);
            }
        }
    }

    if (matches(object, u"SimpleText") && hasProperty(object, PanelTextsProperty))
        translateListProperty(object, PanelTextsProperty);
}

void TIvTranslator::translateWindowProperties(QObject *window)
{
    if (!qobject_cast<QWidget *>(window))
        return;
    if (matches(window, u"Hint"))
        translateProperty(window, "toolTip");
    if (matches(window, u"Caption"))
        translateProperty(window, "windowTitle");
}

void TIvTranslator::translateMemo(QObject *object)
{
    auto *plain = qobject_cast<QPlainTextEdit *>(object);
    auto *rich = qobject_cast<QTextEdit *>(object);
    // The raw text keeps a no-break space, which toPlainText() would write back as a blank.
    QString current = (plain ? plain->document() : rich->document())->toRawText();
    current.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    while (current.endsWith(u'\n') || current.endsWith(u'\r'))
        current.chop(1);
    if (current.isEmpty())
        return;
    const QString text = translated(object, "plainText", 0, current);
    if (text == current)
        return;
    if (plain)
        plain->setPlainText(text);
    else
        rich->setPlainText(text);
}

void TIvTranslator::translateProperty(QObject *object, const char *property)
{
    const QString current = object->property(property).toString();
    if (current.isEmpty())
        return;
    const QString text = translated(object, property, 0, current);
    if (text != current)
        object->setProperty(property, text);
}

void TIvTranslator::translateListProperty(QObject *object, const char *property)
{
    const QStringList current = object->property(property).toStringList();
    const QStringList texts = translatedList(object, property, current);
    if (texts != current)
        object->setProperty(property, texts);
}

QStringList TIvTranslator::translatedList(QObject *object, const char *property, const QStringList &current)
{
    QStringList texts = current;
    for (int i = 0; i < texts.size(); ++i) {
        if (!texts[i].isEmpty())
            texts[i] = translated(object, property, i, texts[i]);
    }
    return texts;
}

QString TIvTranslator::translated(QObject *object, const char *property, int index, const QString &current)
{
    const TIvBinaryDictionary &dictionary = TIvBinaryDictionary::instance();
    const MemoryKey key{object, QByteArray(property), index};
    const auto it = m_memory.find(key);
    // The text this translator wrote last: translate its native original again. Anything else is a new native text.
    if (it != m_memory.end() && it->lastWritten == current) {
        it->lastWritten = dictionary.translate(it->native);
        return it->lastWritten;
    }
    const QString text = dictionary.translate(current);
    m_memory.insert(key, {current, text});
    if (object != m_window && !m_watched.contains(object)) {
        m_watched.insert(object);
        connect(object, &QObject::destroyed, this, [this, object] { forget(object); });
    }
    return text;
}

void TIvTranslator::forget(QObject *object)
{
    m_watched.remove(object);
    m_memory.removeIf([object](const auto &entry) { return entry.key().object == object; });
}
