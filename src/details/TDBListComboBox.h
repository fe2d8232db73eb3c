#pragma once

#include "DataSource.h"

#include <QComboBox>
#include <QStringList>

class FieldLink;

// A data-aware closed drop-down list: the field takes one of the listed values, never free text. A stored value
// outside the list shows no choice (currentIndex() -1) until one is made. Chooses nothing unless the buffer is in
// Insert or Edit. The stored values are given apart from the entries, so translating the entries never changes
// what is stored.
class TDBListComboBox : public QComboBox
{
    Q_OBJECT
    Q_PROPERTY(QString dataField READ dataField WRITE setDataField)

public:
    explicit TDBListComboBox(QWidget *parent = nullptr);

    void bind(DataSource *source, const QString &field);
    void setDataField(const QString &field);
    QString dataField() const { return m_field; }
    // The entries, which are also the values stored.
    void setValues(const QStringList &values);
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void refresh();
    void store(int index);

    FieldLink *m_link;
    QString m_field;
    QStringList m_values;
};
