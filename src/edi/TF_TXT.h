#pragma once

#include "ui_TF_TXT.h"

#include <QDialog>
#include <QStringList>

class DataSource;
class EditBuffer;
struct TableDef;
class TIvTranslator;
class TMsgDlg;

// The EDI/BL generation window: shows the stored BL open on the main window read-only, composes its carrier file
// on confirmation, keeps the lines on the check page and saves them under the proposed name.
class TF_TXT : public QDialog, public Ui::TF_TXT
{
    Q_OBJECT

public:
    explicit TF_TXT(QWidget *parent = nullptr);
    ~TF_TXT() override;

    // What the main window's generation button does after its own record check: the window for the BL current on
    // DM_BL->qyBLS, with the captions of the first two issue items and of the cargo choice copied from the main
    // window (empty texts keep the window's own), shown modally and released when it closes.
    static void execFor(QWidget *parent, const QStringList &emissaoCaptions, const QString &cargaCaption);
    // Reads the BL current on DM_BL->qyBLS with its details; done before the window shows.
    void openQueries();

    EditBuffer *qyBL;
    EditBuffer *qyCntr;
    EditBuffer *qySD;
    EditBuffer *qyNCM;
    DataSource *DS_BL;
    TMsgDlg *MD;
    TIvTranslator *IvT;

    void SB_ConfirmaClick();
    void SB_CalendarioClick();
    void SB_FecharClick();

    // The lines of the last confirmation as the check page holds them, a line break between two.
    QString checkText() const;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    void FormCloseQuery();
    void openQuery(EditBuffer *query, const TableDef &table);
    bool compose();
    void save();
    int message(const QString &text, int type);
};
