#include "TDBComboBox.h"

#include "FieldLink.h"
#include "FieldValidator.h"

#include <QLineEdit>

TDBComboBox::TDBComboBox(QWidget *parent) : QComboBox(parent), m_link(new FieldLink(this, [this] { refresh(); }))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setReadOnly(true);
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

void TDBComboBox::refresh()
{
    const QString shown = m_link->hasRow() ? m_link->buffer()->text(m_field) : QString();
    if (currentText() == shown)
        return;
    m_refreshing = true;
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
