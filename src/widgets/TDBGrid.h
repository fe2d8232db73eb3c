#pragma once

#include "DataSource.h"

#include <QStringList>
#include <QTableView>

class BufferTableModel;

// A data-aware grid: the rows of a data source's buffer or of a list, one line per row, the selected line following
// the current row and the other way round. No widget per row.
class TDBGrid : public QTableView
{
    Q_OBJECT
    Q_PROPERTY(QStringList columnTitles READ columnTitles WRITE setColumnTitles)

public:
    explicit TDBGrid(QWidget *parent = nullptr);

    void setDataSource(DataSource *source);
    void setRows(RowList *rows);
    // Fields shown, their column titles and widths in pixels.
    void setColumns(const QStringList &fields, const QStringList &titles, const QList<int> &widths = {},
                    const QList<Qt::Alignment> &alignments = {});
    QStringList columnTitles() const;
    void setColumnTitles(const QStringList &titles);
    BufferTableModel *bufferModel() const { return m_model; }

Q_SIGNALS:
    void titleClicked(int column);

private:
    void followBuffer();
    void applyWidths();

    BufferTableModel *m_model;
    RowList *m_rows = nullptr;
    QMetaObject::Connection m_follow;
    QList<int> m_widths;
    bool m_following = false;
};
