#pragma once

#include <QObject>
#include <QString>

// What a grid shows: a number of rows, one of them current, and the text of each cell. The edit buffers hold their
// rows in memory; the search list reads the rows it shows from the store.
class RowList : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual int recordCount() const = 0;
    virtual int currentIndex() const = 0;
    // Makes that row the current one; a row out of range changes nothing.
    virtual void setCurrentIndex(int row) = 0;
    // A cell as the user sees it, in its column's display format.
    virtual QString displayTextAt(int row, const QString &column) const = 0;

Q_SIGNALS:
    void currentChanged(); // another row became current, or the rows were re-read
    void fieldChanged(const QString &column);
    void rowsReset(); // the whole row set changed (open, close, sort, delete)
};
