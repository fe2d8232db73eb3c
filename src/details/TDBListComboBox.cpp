#include "TDBListComboBox.h"

#include "FieldLink.h"

#include <QKeyEvent>
#include <QWheelEvent>

TDBListComboBox::TDBListComboBox(QWidget *parent)
    : QComboBox(parent), m_link(new FieldLink(this, [this] { refresh(); }))
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, &TDBListComboBox::store);
}

void TDBListComboBox::bind(DataSource *source, const QString &field)
{
    m_field = field;
    m_link->bind(source, field);
}

void TDBListComboBox::setDataField(const QString &field)
{
    m_field = field;
    if (m_link->dataSource())
        bind(m_link->dataSource(), field);
}

void TDBListComboBox::setValues(const QStringList &values)
{
    m_values = values;
    clear();
    addItems(values);
    refresh();
}

void TDBListComboBox::showPopup()
{
    if (m_link->editing())
        QComboBox::showPopup();
}

void TDBListComboBox::keyPressEvent(QKeyEvent *event)
{
    // Keys move the choice only while the row is being entered or changed.
    if (m_link->editing())
        QComboBox::keyPressEvent(event);
    else
        event->ignore();
}

void TDBListComboBox::wheelEvent(QWheelEvent *event)
{
    if (m_link->editing())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void TDBListComboBox::refresh()
{
    const QString value = m_link->hasRow() ? m_link->buffer()->text(m_field) : QString();
    const QSignalBlocker blocker(this);
    setCurrentIndex(int(m_values.indexOf(value)));
}

void TDBListComboBox::store(int index)
{
    if (index < 0 || index >= m_values.size() || !m_link->editing()) {
        refresh();
        return;
    }
    const QString value = m_values[index];
    m_link->write([&](EditBuffer &b) { b.setText(m_field, value); });
}
