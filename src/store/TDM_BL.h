#pragma once

#include "DataSource.h"
#include "EditBuffer.h"
#include "ListQuery.h"
#include "UpdateSql.h"

#include <QObject>
#include <QString>

// The data module: the one object through which every window reaches the four tables.
class TDM_BL : public QObject
{
    Q_OBJECT

public:
    explicit TDM_BL(QObject *parent = nullptr);
    ~TDM_BL() override;

    // Edit buffers over the four tables
    EditBuffer *qyBLS;
    EditBuffer *qyCntr;
    EditBuffer *qySD;
    EditBuffer *qyNCM;
    // Read-only and scratch queries
    ListQuery *qyMostra; // the search window's list of all BLs

    EditBuffer *qyBusca;
    EditBuffer *qyDup;
    EditBuffer *qyPrint;

    UpdateSql upBLS;
    UpdateSql UpCntr;
    UpdateSql upSD;
    UpdateSql upNCM;

    DataSource *DS_BLS;
    DataSource *DS_Cntr;
    DataSource *DS_SD;
    DataSource *DS_NCM;
    DataSource *DS_Dup;
    DataSource *DS_Print;

    // Mode texts: the translated name of the last Browse, Edit or Insert state; empty at start.
    QString ModoBLS;
    QString ModoCntr;
    QString ModoSD;

    int IdiomaAtual() const;
    static QString LimpaTexto(const QString &text);

    // Runs the table's maximum query on qyBusca and returns the maximum (0 for an empty table).
    qint64 maxCode(const TableDef &table);
    // Confirms the new row of a buffer in Insert state: allocates its code as the table's maximum + 1 and
    // posts it, both inside one write transaction so two writers never get the same code.
    // On failure the buffer is back in Insert state with the typed values and no code.
    qint64 postWithNewCode(EditBuffer *buffer);
    // Confirms a detail row (container, document, NCM code) of the BL with that code: a new row gets its link to
    // the BL and its own code; a changed row is posted as it is.
    void postDetail(EditBuffer *buffer, qint64 blCode);
    // Copies the issuing company (name, user, city, file identification) of the BL with the highest code into the
    // current row of a BL buffer being entered; with no stored BL the four fields stay as they are.
    void copyNewestCompany(EditBuffer *target);
    // Deletes a BL and its containers, documents and NCM codes in one transaction.
    void deleteBlWithDetails(qint64 blCode);

    static QStringList maxSql(const TableDef &table);

Q_SIGNALS:
    void modeTextsChanged();

private:
    void setModeText(QString &text, EditBuffer::State state);
};

// The one data module of the program, created at start-up before the main window.
extern TDM_BL *DM_BL;
