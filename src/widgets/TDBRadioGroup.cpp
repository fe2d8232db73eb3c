#include "TDBRadioGroup.h"

#include "FieldLink.h"
#include "RadioButtonGroup.h"

#include <QGridLayout>
#include <QRadioButton>

TDBRadioGroup::TDBRadioGroup(QWidget *parent)
    : QGroupBox(parent), m_link(new FieldLink(this, [this] { refresh(); })), m_group(new RadioButtonGroup(this))
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setSpacing(2);
}

void TDBRadioGroup::bind(DataSource *source, const QString &field)
{
    m_field = field;
    m_link->bind(source, field);
}

void TDBRadioGroup::setDataSource(DataSource *source)
{
    bind(source, m_field);
}

DataSource *TDBRadioGroup::dataSource() const
{
    return m_link->dataSource();
}

void TDBRadioGroup::setDataField(const QString &field)
{
    m_field = field;
    if (m_link->dataSource())
        bind(m_link->dataSource(), field);
}

void TDBRadioGroup::setItems(const QStringList &items)
{
    if (items.size() == m_buttons.size()) {
        for (int i = 0; i < items.size(); ++i)
            m_buttons[i]->setText(items[i]);
        m_items = items;
        return;
    }
    m_items = items;
    rebuild();
}

void TDBRadioGroup::setValues(const QStringList &values)
{
    m_values = values;
    refresh();
}

void TDBRadioGroup::setColumns(int columns)
{
    m_columns = std::max(1, columns);
    rebuild();
}

void TDBRadioGroup::rebuild()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    auto *grid = static_cast<QGridLayout *>(layout());
    const int rows = int((m_items.size() + m_columns - 1) / m_columns);
    for (int i = 0; i < m_items.size(); ++i) {
        auto *button = new QRadioButton(m_items[i], this);
        button->setObjectName(objectName() + QStringLiteral("_item%1").arg(i));
        m_group->addItem(button);
        grid->addWidget(button, i % std::max(rows, 1), i / std::max(rows, 1));
        connect(button, &QRadioButton::clicked, this, [this, i] { choose(i); });
        m_buttons << button;
    }
    refresh();
}

int TDBRadioGroup::itemIndex() const
{
    if (!m_link->hasRow())
        return -1;
    EditBuffer *b = m_link->buffer();
    const QString value = b->columnType(m_field) == ColumnType::Logical ? b->logicalText(m_field) : b->text(m_field);
    return value.isEmpty() ? -1 : int(m_values.indexOf(value));
}

void TDBRadioGroup::refresh()
{
    m_group->setChosen(itemIndex());
}

void TDBRadioGroup::choose(int index)
{
    if (!m_link->editing() || index >= m_values.size() || index == itemIndex()) {
        refresh(); // a click while the record is only shown, or on the chosen item, changes nothing
        return;
    }
    const QString value = m_values[index];
    m_link->write([&](EditBuffer &b) { b.setValue(m_field, value); });
    refresh();
    Q_EMIT changed();
}
