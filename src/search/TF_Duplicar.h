#pragma once

#include "ui_TF_Duplicar.h"

#include <QDialog>
#include <QString>

class TIvTranslator;

// The duplicate window: starts a new BL from a stored one, copying the groups of fields the clerk ticks. It stores
// nothing: the new BL waits in qyBLS in Insert state, without a code, until the clerk confirms it on the main window.
// Containers, SD documents and NCM codes are never copied. The source's marks and description are shown in two
// hidden memos for the search window to carry to the main window.
class TF_Duplicar : public QDialog, public Ui::TF_Duplicar
{
    Q_OBJECT

public:
    // sourceCode: the Bls_Codigo of the BL to copy.
    explicit TF_Duplicar(qint64 sourceCode, QWidget *parent = nullptr);
    ~TF_Duplicar() override;

    TIvTranslator *IvT;
    // Empty while shown, "DUPLICA" after a completed copy, "erro" after Cancel.
    QString RetornoDuplicar;

    void FormShow();
    void CB_TodosClick();
    void SB_ConfirmaClick();
    void SB_CancelaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void openSource();
    void startNewBl();
    void copyCompany();
    void copyTicked();
    QList<QCheckBox *> optionBoxes() const;

    qint64 m_sourceCode;
};
