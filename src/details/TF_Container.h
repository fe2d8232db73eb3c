#pragma once

#include "ui_TF_Container.h"

#include <QDialog>

class TMsgDlg;
class TIvTranslator;

// The container editor: the containers of the BL open on the main window, each confirmed change written at once.
class TF_Container : public QDialog, public Ui::TF_Container
{
    Q_OBJECT

public:
    explicit TF_Container(QWidget *parent = nullptr);
    ~TF_Container() override;

    // The refusal to open on loose cargo ("Necessário <cargo caption> CNTR"), or the empty text when the editor may
    // open. cargaCaption: the current caption of the main window's cargo-kind choice.
    static QString refusal(const QString &carga, const QString &cargaCaption);
    // Opens qyCntr on the containers of the BL on qyBLS, shows the editor modally and closes qyCntr again, dropping
    // a change left unconfirmed. The caller refreshes its counts and totals afterwards.
    static void execFor(QWidget *parent);
    // The first part of execFor: qyCntr opened on the BL's containers in number order, with their display formats.
    static void openQuery();

    TMsgDlg *MD;
    TIvTranslator *IvT;

    void SB_InclusaoClick();
    void SB_EditClick();
    void SB_GravaClick();
    void SB_CancelaClick();
    void BB_DeleteClick();
    void SB_CalendarioClick();
    void BB_FecharClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void sealEntered(int seal);
    void setEditing(bool editing);
    void showMode();
    void focusToolbar();
    int info(const QString &text);
    bool confirmed(const QString &question);
};
