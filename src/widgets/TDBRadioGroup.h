#pragma once

#include "DataSource.h"

#include <QGroupBox>
#include <QList>
#include <QStringList>

class FieldLink;
class QRadioButton;
class RadioButtonGroup;

// A data-aware radio group: one radio button per item, laid out in columns; choosing an item stores its value
// ("ORI", "LCL", or "True"/"False" for a logical column). Chooses nothing unless the buffer is in Insert or Edit.
// The items are one control: one Tab stop, arrows move the choice.
class TDBRadioGroup : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)
    Q_PROPERTY(QStringList items READ items WRITE setItems)
    Q_PROPERTY(QStringList values READ values WRITE setValues)
    Q_PROPERTY(int columns READ columns WRITE setColumns)

public:
    explicit TDBRadioGroup(QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &field);
    void setDataSource(DataSource *source);
    DataSource *dataSource() const;
    void setDataField(const QString &field);
    QString dataField() const { return m_field; }

    QStringList items() const { return m_items; }
    // Replaces the captions; the chosen item stays chosen.
    void setItems(const QStringList &items);
    QStringList values() const { return m_values; }
    void setValues(const QStringList &values);
    int columns() const { return m_columns; }
    void setColumns(int columns);

    // The chosen item (the one whose value the field holds), -1 for none.
    int itemIndex() const;
    QList<QRadioButton *> buttons() const { return m_buttons; }

Q_SIGNALS:
    // The user chose another item.
    void changed();

private:
    void rebuild();
    void refresh();
    void choose(int index);

    FieldLink *m_link;
    QString m_field;
    QStringList m_items;
    QStringList m_values;
    int m_columns = 1;
    QList<QRadioButton *> m_buttons;
    RadioButtonGroup *m_group;
};
