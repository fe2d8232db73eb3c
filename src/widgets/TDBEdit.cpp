#include "TDBEdit.h"

#include "FieldLink.h"
#include "FieldValidator.h"
#include "Formats.h"
#include "InputRules.h"
#include "LanguageHolder.h"
#include "RefusalHint.h"
#include "TMsgDlg.h"
#include "TranslateText.h"
#include "TypedValue.h"

#include <QKeyEvent>
#include <utility>

TDBEdit::TDBEdit(QWidget *parent) : QLineEdit(parent), m_link(new FieldLink(this, [this] { refresh(); }))
{
    setReadOnly(true);
    connect(m_link, &FieldLink::editingChanged, this, [this](bool editing) { setReadOnly(!editing); });
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::store);
    RefusalHint::watch(this);
}

void TDBEdit::bind(DataSource *source, const QString &field)
{
    m_field = field;
    configure();
    m_link->bind(source, field);
}

void TDBEdit::setDataSource(DataSource *source)
{
    bind(source, m_field);
}

DataSource *TDBEdit::dataSource() const
{
    return m_link->dataSource();
}

void TDBEdit::setDataField(const QString &field)
{
    m_field = field;
    if (m_link->dataSource())
        bind(m_link->dataSource(), field);
}

QString TDBEdit::dataField() const
{
    return m_field;
}

void TDBEdit::setUpperCase(bool upper)
{
    m_upperCase = upper;
    configure();
}

void TDBEdit::setFileNamePart(bool part)
{
    m_fileNamePart = part;
    configure();
}

bool TDBEdit::numeric() const
{
    const ColumnDef *def = TableDef::findColumn(m_field);
    return def && (def->type == ColumnType::Integer || def->type == ColumnType::Number);
}

void TDBEdit::configure()
{
    const ColumnDef *def = TableDef::findColumn(m_field);
    const ColumnType type = def ? def->type : ColumnType::Text;
    const QValidator *old = validator();
    m_rules = new FieldValidator(type, m_upperCase, m_fileNamePart, this);
    setValidator(m_rules);
    delete old;
    setMaxLength(def && def->maxLength > 0 ? def->maxLength : 32767);
}

void TDBEdit::refresh()
{
    if (m_refreshing)
        return;
    m_refreshing = true;
    QString shown;
    if (m_link->hasRow()) {
        EditBuffer *b = m_link->buffer();
        const int decimals = Formats::decimals(b->displayFormat(m_field));
        if (m_rules)
            m_rules->setDecimals(decimals);
        if (numeric() && hasFocus() && m_link->editing())
            shown = b->isNull(m_field) ? QString() : Formats::editNumber(b->number(m_field), decimals);
        else
            shown = b->displayText(m_field);
    }
    if (text() != shown) {
        // The stored text as it stands: the typing rules (capitals) are for what the clerk types, and would show a
        // text stored in small letters, by an older version or another program, other than the carrier gets it.
        setValidator(nullptr);
        setText(shown);
        setValidator(m_rules);
    }
    m_refreshing = false;
}

void TDBEdit::store(const QString &typed)
{
    m_link->write([&](EditBuffer &b) {
        if (!numeric()) {
            b.setText(m_field, typed);
            return;
        }
        // A text that is not (yet) a whole number leaves the value held before the typing, never a part of it.
        const std::optional<double> value = Formats::parseNumber(typed);
        if (typed.isEmpty())
            b.clearField(m_field);
        else if (value)
            b.setNumber(m_field, *value);
        else
            b.setValue(m_field, m_beforeTyping);
    });
}

bool TDBEdit::commit()
{
    if (!numeric() || !m_link->editing() || m_committing || text().isEmpty() || Formats::parseNumber(text()))
        return true;
    m_committing = true;
    TMsgDlg message;
    message.applyPreset(TMsgDlg::MainWindowPreset);
    message.show(TranslateText(QStringLiteral("Número inválido.")) + QLatin1Char(' ') + text(), TMsgDlg::Error,
                 LanguageHolder::current().toInt(), TMsgDlg::OkButton);
    m_committing = false;
    refresh();
    return false;
}

void TDBEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (std::exchange(m_typingLeftForAWhile, false) && TypedValue::leavesForAWhile(event))
        return; // back to the text as it was left
    if (m_link->hasRow() && !m_committing)
        m_beforeTyping = m_link->buffer()->value(m_field);
    // A number is shown in its typing form while it has the focus. Tab selected the whole text: the new text is
    // selected again, so that what is typed replaces the value instead of adding digits to it.
    const bool wholeSelected = hasSelectedText() && selectedText() == text();
    refresh();
    if (wholeSelected)
        selectAll();
}

void TDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (TypedValue::leavesForAWhile(event) && m_link->editing()) {
        m_typingLeftForAWhile = true;
        return;
    }
    if (commit())
        refresh();
}

void TDBEdit::keyPressEvent(QKeyEvent *event)
{
    if (!isReadOnly() && InputRules::isDroppedWhenTyped(event->text())) {
        insert(event->text()); // through the validator and into the row, as any typed character
        return;
    }
    QLineEdit::keyPressEvent(event);
}
