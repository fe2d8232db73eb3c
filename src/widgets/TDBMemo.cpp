#include "TDBMemo.h"

#include "FieldLink.h"
#include "InputRules.h"
#include "MemoText.h"
#include "RefusalHint.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <algorithm>

TDBMemo::TDBMemo(QWidget *parent) : QPlainTextEdit(parent), m_link(new FieldLink(this, [this] { refresh(); }))
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(m_link, &FieldLink::editingChanged, this, [this](bool editing) { setReadOnly(!editing); });
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::store);
}

void TDBMemo::bind(DataSource *source, const QString &field)
{
    m_field = field;
    m_link->bind(source, field);
}

void TDBMemo::setDataSource(DataSource *source)
{
    bind(source, m_field);
}

DataSource *TDBMemo::dataSource() const
{
    return m_link->dataSource();
}

void TDBMemo::setDataField(const QString &field)
{
    m_field = field;
    if (m_link->dataSource())
        bind(m_link->dataSource(), field);
}

void TDBMemo::refresh()
{
    QString shown;
    if (m_link->hasRow())
        shown = m_link->buffer()->text(m_field).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (MemoText::text(*this) == shown)
        return;
    m_refreshing = true;
    setPlainText(shown);
    m_refreshing = false;
}

void TDBMemo::store()
{
    if (m_refreshing)
        return;
    const QString text = MemoText::text(*this, QStringLiteral("\r\n"));
    m_link->write([&](EditBuffer &b) { b.setText(m_field, text); });
}

void TDBMemo::keyPressEvent(QKeyEvent *event)
{
    // Only keys that type printable characters are checked; the editing shortcuts (select all, copy, paste, undo...)
    // carry control characters and go on to the editor.
    const QString typed = event->text();
    const bool printable =
        !typed.isEmpty() && std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
    if (!isReadOnly() && printable && !InputRules::isAcceptable(typed, true)) {
        RefusalHint::characterRefused(this);
        event->ignore();
        return;
    }
    if (!isReadOnly() && InputRules::isDroppedWhenTyped(typed)) {
        insertPlainText(typed);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TDBMemo::inputMethodEvent(QInputMethodEvent *event)
{
    // A character composed with a dead key or an input method is refused like a typed one: the composition ends
    // without it.
    if (!isReadOnly() && !event->commitString().isEmpty() && !InputRules::isAcceptable(event->commitString(), true)) {
        RefusalHint::characterRefused(this);
        QInputMethodEvent ended;
        QPlainTextEdit::inputMethodEvent(&ended);
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool TDBMemo::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText() && InputRules::isAcceptable(source->text(), true);
}

void TDBMemo::insertFromMimeData(const QMimeData *source)
{
    // A paste with a character the carrier file cannot hold is refused whole; the text stays as it was.
    if (canInsertFromMimeData(source))
        QPlainTextEdit::insertFromMimeData(source);
    else if (!isReadOnly() && source->hasText())
        RefusalHint::characterRefused(this);
}
