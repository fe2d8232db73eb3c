#include "TDBComboBox.h"

#include "FieldLink.h"
#include "FieldValidator.h"
#include "RefusalHint.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>

TDBComboBox::TDBComboBox(QWidget *parent) : QComboBox(parent), m_link(new FieldLink(this, [this] { refresh(); }))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setReadOnly(true);
    RefusalHint::watch(lineEdit());
    connect(m_link, &FieldLink::editingChanged, this, [this](bool editing) { lineEdit()->setReadOnly(!editing); });
    connect(this, &QComboBox::currentTextChanged, this, &TDBComboBox::store);
}

void TDBComboBox::bind(DataSource *source, const QString &field)
{
    m_field = field;
    const ColumnDef *def = TableDef::findColumn(field);
    if (!lineEdit()->validator())
        lineEdit()->setValidator(new FieldValidator(ColumnType::Text, false, false, this));
    lineEdit()->setMaxLength(def && def->maxLength > 0 ? def->maxLength : 32767);
    m_link->bind(source, field);
}

void TDBComboBox::setDataSource(DataSource *source)
{
    bind(source, m_field);
}

DataSource *TDBComboBox::dataSource() const
{
    return m_link->dataSource();
}

void TDBComboBox::setDataField(const QString &field)
{
    m_field = field;
    if (m_link->dataSource())
        bind(m_link->dataSource(), field);
}

void TDBComboBox::showPopup()
{
    if (m_link->editing())
        QComboBox::showPopup();
}

void TDBComboBox::keyPressEvent(QKeyEvent *event)
{
    // The text shown is the field's value already. Enter in the box would have the text completed from the list,
    // putting an entry the clerk never chose into the field; an entry is chosen from the open list or by the arrows.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !view()->isVisible()) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void TDBComboBox::refresh()
{
    const QString shown = m_link->hasRow() ? m_link->buffer()->text(m_field) : QString();
    // The list's position follows the text shown, none when the list does not hold it: Enter puts the entry at that
    // position into the text, which would store an entry the clerk never chose.
    const int entry = findText(shown, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (currentText() == shown && currentIndex() == entry)
        return;
    m_refreshing = true;
    setCurrentIndex(entry);
    setEditText(shown);
    m_refreshing = false;
}

void TDBComboBox::store(const QString &text)
{
    if (m_refreshing)
        return;
    if (!m_link->editing()) {
        refresh(); // a choice while the record is only shown changes nothing
        return;
    }
    m_link->write([&](EditBuffer &b) { b.setText(m_field, text); });
}
