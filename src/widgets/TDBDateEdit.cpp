#include "TDBDateEdit.h"

#include "FieldLink.h"
#include "Formats.h"
#include "LanguageHolder.h"
#include "RefusalHint.h"
#include "TMsgDlg.h"
#include "TranslateText.h"
#include "TypedValue.h"

#include <QKeyEvent>
#include <QMouseEvent>

TDBDateEdit::TDBDateEdit(QWidget *parent) : QLineEdit(parent), m_link(new FieldLink(this, [this] { refresh(); }))
{
    setInputMask(QStringLiteral("99/99/9999;_"));
    setReadOnly(true);
    connect(m_link, &FieldLink::editingChanged, this, [this](bool editing) { setReadOnly(!editing); });
    // The mask takes digits only, in their places.
    connect(this, &QLineEdit::inputRejected, this, [this] {
        RefusalHint::explain(this, TranslateText(QStringLiteral("Este campo aceita somente os algarismos da data.")));
    });
}

void TDBDateEdit::bind(DataSource *source, const QString &field)
{
    m_field = field;
    m_link->bind(source, field);
}

void TDBDateEdit::setDataSource(DataSource *source)
{
    bind(source, m_field);
}

DataSource *TDBDateEdit::dataSource() const
{
    return m_link->dataSource();
}

void TDBDateEdit::setDataField(const QString &field)
{
    m_field = field;
    if (m_link->dataSource())
        bind(m_link->dataSource(), field);
}

void TDBDateEdit::refresh()
{
    const QDate date = m_link->hasRow() ? m_link->buffer()->date(m_field) : QDate();
    setText(date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString());
}

bool TDBDateEdit::commit()
{
    if (!m_link->editing() || m_committing)
        return true;
    const QString digits = text().remove(QLatin1Char('/')).remove(QLatin1Char('_')).trimmed();
    if (digits.isEmpty()) {
        m_link->write([&](EditBuffer &b) { b.clearField(m_field); });
        return true;
    }
    const QDate date = QDate::fromString(text(), QStringLiteral("dd/MM/yyyy"));
    if (!date.isValid()) {
        m_committing = true;
        TMsgDlg message;
        message.applyPreset(TMsgDlg::MainWindowPreset);
        message.show(TranslateText(QStringLiteral("Data inválida.")), TMsgDlg::Error, LanguageHolder::current().toInt(),
                     TMsgDlg::OkButton);
        m_committing = false;
        refresh(); // back to the date stored in the row
        return false;
    }
    m_link->write([&](EditBuffer &b) { b.setDate(m_field, date); });
    return true;
}

void TDBDateEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (!TypedValue::leavesForAWhile(event))
        commit();
}

void TDBDateEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        commit();
    // A separator typed after a day or month of one digit puts a zero before that digit: 1/2/2024 is the first of
    // February, where the mask alone would leave a day of "1_" and call the date invalid, or, typed over a stored
    // date, keep the stored date's second digit (2/1/2024 over 25/11/2023 would give 25/11/2024).
    if (event->text() == u"/" && !isReadOnly()) {
        const int at = cursorPosition();
        const QString shown = displayText();
        if ((at == 1 || at == 4) && shown.at(at - 1).isDigit()) {
            const QString padded = QStringLiteral("0") + shown.at(at - 1);
            setCursorPosition(at - 1);
            insert(padded);
            setCursorPosition(at + 2);
            return;
        }
        // Right after a separator the mask has put: typed again, it is no mistake to be told of.
        if (at > 0 && shown.at(at - 1) == u'/') {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TDBDateEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    // The mask lets a click put the cursor past the digits typed so far, among blanks, where the digits typed next
    // would land after a gap or, at the end, be dropped without a word: such a click goes to the blank that follows
    // the last digit typed. A click among the typed digits stays, to correct one of them.
    if (event->button() != Qt::LeftButton || isReadOnly() || hasSelectedText())
        return;
    const QString shown = displayText();
    qsizetype lastDigit = shown.size() - 1;
    while (lastDigit >= 0 && !shown.at(lastDigit).isDigit())
        --lastDigit;
    if (const qsizetype blank = shown.indexOf(u'_', lastDigit + 1); blank >= 0 && cursorPosition() > blank)
        setCursorPosition(int(blank));
}
