#pragma once

#include "DictionaryClient.h"
#include "RowList.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

class StoreError;

// The rows of an edit buffer or list as a table: one column per field, cells in the field's display format.
// Reads the rows on demand, so a list of many rows costs no copy. A change of the conventions in force shows every
// cell again.
class BufferTableModel : public QAbstractTableModel, public DictionaryClient
{
    Q_OBJECT

public:
    explicit BufferTableModel(QObject *parent = nullptr);
    ~BufferTableModel() override;

    void setBuffer(RowList *buffer);
    RowList *buffer() const { return m_buffer; }
    void setFields(const QStringList &fields);
    QStringList fields() const { return m_fields; }
    void setTitles(const QStringList &titles);
    QStringList titles() const { return m_titles; }
    // Alignment of each column's cells, in field order; a column without one keeps the view's (left).
    void setAlignments(const QList<Qt::Alignment> &alignments);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void dictionaryChanged(bool languageChanged, bool localeChanged) override;

private:
    void reportLater(const StoreError &error) const;

    QPointer<RowList> m_buffer;
    QStringList m_fields;
    QStringList m_titles;
    QList<Qt::Alignment> m_alignments;
    QList<QMetaObject::Connection> m_connections;
    mutable bool m_failureReported = false;
};
