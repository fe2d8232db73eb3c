#pragma once

#include "RowList.h"
#include "TableDef.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <functional>

class UpdateSql;

// A query whose rows are held in memory with one current row, a state and at most one pending change.
// With an update object it can insert, edit and delete rows; every post and delete is applied to the
// table and committed at once, one row at a time.
class EditBuffer : public RowList
{
    Q_OBJECT

public:
    enum State { Closed, Browse, Edit, Insert };
    Q_ENUM(State)

    explicit EditBuffer(const QString &name, QObject *parent = nullptr);
    ~EditBuffer() override;

    void setUpdateObject(const UpdateSql *update);
    const UpdateSql *updateObject() const { return m_update; }

    // SQL text as a list of lines, replaced while closed.
    void setSql(const QStringList &lines);
    QStringList sql() const { return m_sql; }
    void setPp1(qint64 code);
    qint64 pp1() const { return m_pp1; }

    void open();
    void close();
    bool isOpen() const { return m_state != Closed; }
    State state() const { return m_state; }
    // Executes the SQL text as a statement that returns no rows; returns the number of rows affected.
    int execSql();

    // Navigation
    void first();
    void next();
    bool eof() const;
    int recordCount() const override { return int(m_rows.size()); }
    int currentIndex() const override { return m_current; }
    void setCurrentIndex(int row) override;

    // Columns of the result, in query order, and their types (from the table definitions).
    QStringList columnNames() const { return m_columns; }
    bool hasColumn(const QString &column) const;
    ColumnType columnType(const QString &column) const;

    // Fields of the current row. An empty (null) field reads as 0, 0.0, false, the empty text or an invalid date.
    QVariant value(const QString &column) const;
    QVariant valueAt(int row, const QString &column) const;
    bool isNull(const QString &column) const;
    // The current row's text as Cancelar would bring it back: before the change being made, or as it is.
    QString textBeforeChange(const QString &column) const;
    QString text(const QString &column) const;
    qint64 integer(const QString &column) const;
    double number(const QString &column) const;
    bool logical(const QString &column) const;
    QString logicalText(const QString &column) const; // "True" / "False" / empty
    QDate date(const QString &column) const;

    // Writes into the current row; only in Insert or Edit state (throws StoreError otherwise).
    void setValue(const QString &column, const QVariant &value);
    void setText(const QString &column, const QString &text);
    void setInteger(const QString &column, qint64 value);
    void setNumber(const QString &column, double value);
    void setLogical(const QString &column, bool value);
    void setDate(const QString &column, const QDate &date);
    void clearField(const QString &column);

    // Display formats ("###,###,##0.000", "DD/MM/YYYY"); only what the user sees.
    void setDisplayFormat(const QString &column, const QString &pattern);
    QString displayFormat(const QString &column) const;
    QString displayText(const QString &column) const;
    QString displayTextAt(int row, const QString &column) const override;

    // Record actions
    void insert();
    void edit();
    // beforeApply runs inside the post's write transaction (code allocation).
    void post(const std::function<void()> &beforeApply = {});
    void cancel();
    void deleteCurrent();

Q_SIGNALS:
    void stateChanged(EditBuffer::State state);

private:
    using Row = QList<QVariant>; // by column position; kept compact for lists of many rows

    enum class Pending { None, Inserted, Modified, Deleted };

    void setState(State state);
    void requireEditing(const char *action) const;
    int columnIndex(const QString &column) const;
    QString key(const QString &column) const { return column.toLower(); }
    // The values of the placeholders in a statement: :pp1, a column's new value or :OLD_<column>, both rows already
    // in the form they are written in.
    QList<std::pair<QString, QVariant>> parameters(const QString &sql, const Row &newValues,
                                                   const Row &oldValues) const;
    // The current row as written: the clerk's values in the table's form, and for a column not changed since Edit
    // began the value exactly as read, so that no stored value is rewritten by a conversion.
    Row rowToWrite(bool inserted) const;
    // Runs a statement that changes rows; the number of rows it changed.
    int runStatement(const QString &sql, const Row &newValues, const Row &oldValues) const;
    void runUpdate(const QStringList &lines, const Row &newValues, const Row &oldValues);
    // The row of the table with the key, as typed values and as stored; empty rows when it is gone.
    std::pair<Row, Row> readRowByKey(const QVariant &keyValue) const;
    // After every post and delete the pending change is applied to the table and committed at once.
    void applyUpdates();
    void commitUpdates();

    QString m_name;
    const UpdateSql *m_update = nullptr;
    QStringList m_sql;
    qint64 m_pp1 = 0;
    State m_state = Closed;
    QStringList m_columns;
    QList<ColumnType> m_types;
    QHash<QString, int> m_index; // lower-case column name -> position
    QList<Row> m_rows;
    QList<Row> m_stored; // each row as read, value for value (empty for a row not yet stored)
    int m_current = -1;
    bool m_eof = true;
    QHash<QString, QString> m_formats;

    // The pending change and what is needed to restore the buffer when applying it fails.
    Pending m_pending = Pending::None;
    Row m_oldRow;  // the row as read from the table (for :OLD_ parameters), as stored
    Row m_editRow; // the current row before Edit started (for Cancel)
    int m_insertedAt = -1;
};
