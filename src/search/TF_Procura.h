#pragma once

#include "MemoText.h"
#include "ui_TF_Procura.h"

#include <QDialog>
#include <QString>

class TMsgDlg;
class TIvTranslator;

// The search window: every stored BL in a list that can be sorted by any column and searched by booking number while
// typing. From it the clerk opens a BL, starts a copy of it, or deletes it with all its details. The list is the data
// module's qyMostra, opened by the caller before the window is shown and closed after it is gone.
class TF_Procura : public QDialog, public Ui::TF_Procura
{
    Q_OBJECT

public:
    // Result codes left in RetornoProcura.
    static const QString Open;      // "OK": open the selected BL
    static const QString Duplicate; // "DUPLICA": a copy waits in qyBLS in Insert state
    static const QString Cancelled; // "erro": a copy was cancelled; the window stays open

    // What the main window acts on after the window has closed.
    struct Result
    {
        QString RetornoProcura; // Open, Duplicate or empty
        qint64 code = 0;        // Bls_Codigo of the row selected when the window closed (0 when the list is empty)
        QString marks;          // Duplicate only: the marks to append to the new BL (lines separated by "\n")
        QString description;    // Duplicate only: the description of the new BL (lines separated by "\n")
    };

    explicit TF_Procura(QWidget *parent = nullptr);
    ~TF_Procura() override;

    // The column the list is sorted by when the title of a grid column (0 to 8) is clicked; any other column sorts
    // by nothing but the code (empty).
    static QString orderColumn(int column);
    // The whole search: opens qyMostra sorted by booking number, shows the window modally, reads its result and
    // closes qyMostra again (also when an error ends the search).
    static Result execSearch(QWidget *parent);

    TMsgDlg *MD;
    TIvTranslator *IvT;
    QString RetornoProcura;

    // The selected row's code, and the texts carried for a copy.
    qint64 selectedCode() const;
    QString marksText() const { return MemoText::text(*M_Aux_Marks); }
    QString descriptionText() const { return MemoText::text(*M_Aux_Descri); }

    void FormShow();
    void DBGrid1TitleClick(int column);
    void Edit1Change();
    void SB_ConfirmaClick();
    void BB_FecharClick();
    void BB_DeleteClick();
    void SB_DuplicarClick();
    void SB_CalendarioClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int ask(const QString &text);
};
