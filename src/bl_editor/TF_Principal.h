#pragma once

#include "AttachLines.h"
#include "ui_TF_Principal.h"

#include <QWidget>

class TMsgDlg;
class TIvTranslator;
class TDBRadioGroup;

// The main window: the BL editor. Shows one BL at a time (the current row of qyBLS) and hosts every action.
class TF_Principal : public QWidget, public Ui::TF_Principal
{
    Q_OBJECT

public:
    explicit TF_Principal(QWidget *parent = nullptr);
    ~TF_Principal() override;

    TMsgDlg *MD;
    TIvTranslator *IvT;

    // Record actions and the operations other windows rely on
    void SB_InclusaoClick();
    void SB_EditClick();
    void SB_GravaClick();
    void SB_CancelaClick();
    void SB_ProcuraClick();
    bool VerificaRegistro();
    void PadroesNovoBL();
    QString ValidaBL();
    void ContaDetalhes();
    void FormataLCL();
    void MudaIdioma(int language);
    // Asks or refuses as the BL mode requires; true when the program may close.
    bool FechaSessao();
    void TotalizaContainers();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void bindControls();
    void connectActions();
    void setRecordButtons(bool browsing);
    void showMode();
    void focusToolbar();
    void composeCaptions();
    void highlightChoice(TDBRadioGroup *group);
    void DBRG_CargaChange();
    void DBRG_ImoChange();
    void imoFieldEntered();
    void SB_FecharClick();
    void SB_CntrClick();
    void SB_SDClick();
    void SB_Pega1Click();
    void SB_TXTClick();
    void SB_ImpressaoClick();
    void SB_HelpClick();
    void SB_CalendarioClick();
    bool eventFilter(QObject *watched, QEvent *event) override;
    int info(const QString &text);
    static QString chosenItem(const TDBRadioGroup *group);
    QString editingNotice() const;

    DetailCounts m_counts;
    bool m_shown = false;
    bool m_closing = false;
};
