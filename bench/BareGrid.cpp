#include "BareGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>

namespace {
constexpr int Columns = 9;
constexpr int PageRows = 64;
} // namespace

BareGrid::BareGrid(sqlite3 *db) : m_rows(new Rows(db)), m_searchBox(new QLineEdit(this)), m_view(new QTableView(this))
{
    m_rows->setParent(this);
    resize(792, 452);
    m_searchBox->setGeometry(72, 9, 160, 22);
    m_view->setGeometry(0, 42, 792, 410);
    m_view->setModel(m_rows);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->verticalHeader()->setDefaultSectionSize(18);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void BareGrid::open(const char *orderColumn, FloorList &list)
{
    m_rows->open(orderColumn, list);
    const int widths[Columns] = {123, 115, 127, 100, 130, 130, 200, 200, 200};
    for (int c = 0; c < Columns; ++c)
        m_view->setColumnWidth(c, widths[c]);
    select(0);
}

void BareGrid::closeList()
{
    m_rows->close();
}

void BareGrid::select(int row)
{
    const QModelIndex index = m_rows->index(row, 0);
    m_view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(index);
}

void BareGrid::Rows::open(const char *orderColumn, FloorList &list)
{
    beginResetModel();
    floorCodes(m_db, orderColumn, list);
    m_codes = &list.codes;
    m_pageFirst = -1;
    m_page.clear();
    endResetModel();
}

void BareGrid::Rows::close()
{
    beginResetModel();
    m_codes = nullptr;
    m_pageFirst = -1;
    m_page.clear();
    endResetModel();
}

int BareGrid::Rows::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_codes ? 0 : int(m_codes->size());
}

int BareGrid::Rows::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant BareGrid::Rows::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    if (m_pageFirst < 0 || index.row() < m_pageFirst || index.row() >= m_pageFirst + int(m_page.size()))
        readPage(index.row());
    const size_t at = size_t(index.row() - m_pageFirst);
    if (at >= m_page.size())
        return {};
    const std::string &text = m_page[at].texts[size_t(index.column())];
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QVariant BareGrid::Rows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return QStringLiteral("Column %1").arg(section + 1);
    return QAbstractTableModel::headerData(section, orientation, role);
}

// SQLite gives the page's rows by code; they are put in the list's order.
void BareGrid::Rows::readPage(int first) const
{
    const std::vector<qint64> &codes = *m_codes;
    std::vector<FloorRow> read;
    floorPage(m_db, codes, size_t(first), &read);
    std::sort(read.begin(), read.end(), [](const FloorRow &a, const FloorRow &b) { return a.code < b.code; });
    m_pageFirst = int(std::min(size_t(first), codes.size() - std::min<size_t>(codes.size(), PageRows)));
    m_page.clear();
    for (size_t i = size_t(m_pageFirst); i < std::min(codes.size(), size_t(m_pageFirst) + PageRows); ++i) {
        const auto found = std::lower_bound(read.begin(), read.end(), codes[i],
                                            [](const FloorRow &row, qint64 code) { return row.code < code; });
        if (found != read.end() && found->code == codes[i])
            m_page.push_back(std::move(*found));
        else
            m_page.push_back(FloorRow{codes[i], {}});
    }
}
