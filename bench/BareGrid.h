#pragma once

#include "FloorReads.h"

#include <QAbstractTableModel>
#include <QDialog>

class QLineEdit;
class QTableView;

// The floor of the search window's figures: SQLite alone doing the reads the list does, its rows shown by a plain
// Qt table in a plain window of the search window's size, with the same columns, widths and row height, under a
// plain line edit for the booking number typed. It is what any window that shows those rows must do, so the search
// window is measured against it for what it adds.
class BareGrid : public QDialog
{
public:
    explicit BareGrid(sqlite3 *db);

    // The list read anew into `list` in the order of that column (floorCodes), the first row selected. The list
    // outlives the window's use of it.
    void open(const char *orderColumn, FloorList &list);
    // No rows, as the search list when it is closed.
    void closeList();
    // That row selected and scrolled into view, as the search box's jump does.
    void select(int row);
    QLineEdit *searchBox() const { return m_searchBox; }
    QTableView *view() const { return m_view; }

private:
    // The rows, a page of 64 read from SQLite when the view asks for a row outside the page held.
    class Rows : public QAbstractTableModel
    {
    public:
        explicit Rows(sqlite3 *db) : m_db(db) {}
        int rowCount(const QModelIndex &parent = {}) const override;
        int columnCount(const QModelIndex &parent = {}) const override;
        QVariant data(const QModelIndex &index, int role) const override;
        QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
        void open(const char *orderColumn, FloorList &list);
        void close();

    private:
        void readPage(int first) const;

        sqlite3 *m_db;
        const std::vector<qint64> *m_codes = nullptr;
        mutable int m_pageFirst = -1;
        mutable std::vector<FloorRow> m_page; // in the list's order from m_pageFirst
    };

    Rows *m_rows;
    QLineEdit *m_searchBox;
    QTableView *m_view;
};
