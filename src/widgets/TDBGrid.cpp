#include "TDBGrid.h"

#include "BufferTableModel.h"

#include <QHeaderView>

TDBGrid::TDBGrid(QWidget *parent) : QTableView(parent), m_model(new BufferTableModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows are chosen whole: Tab leaves the grid instead of walking its cells.
    setTabKeyNavigation(false);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TDBGrid::titleClicked);
    // Re-reading the rows resets the header: the widths go back on, the selection to the buffer's row.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        followBuffer();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (m_following || !m_rows || !current.isValid())
            return;
        m_rows->setCurrentIndex(current.row());
    });
}

void TDBGrid::setDataSource(DataSource *source)
{
    setRows(source ? source->buffer() : nullptr);
}

void TDBGrid::setRows(RowList *rows)
{
    disconnect(m_follow);
    m_rows = rows;
    m_model->setBuffer(rows);
    if (rows)
        m_follow = connect(rows, &RowList::currentChanged, this, &TDBGrid::followBuffer);
    followBuffer();
}

void TDBGrid::setColumns(const QStringList &fields, const QStringList &titles, const QList<int> &widths,
                         const QList<Qt::Alignment> &alignments)
{
    m_model->setFields(fields);
    m_model->setTitles(titles);
    m_model->setAlignments(alignments);
    m_widths = widths;
    applyWidths();
}

void TDBGrid::applyWidths()
{
    for (int i = 0; i < m_widths.size(); ++i)
        setColumnWidth(i, m_widths[i]);
}

QStringList TDBGrid::columnTitles() const
{
    return m_model->titles();
}

void TDBGrid::setColumnTitles(const QStringList &titles)
{
    m_model->setTitles(titles);
}

void TDBGrid::followBuffer()
{
    if (!m_rows)
        return;
    const int row = m_rows->currentIndex();
    m_following = true;
    if (row >= 0) {
        const QModelIndex index = m_model->index(row, std::max(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else {
        selectionModel()->clear();
    }
    m_following = false;
}
