#pragma once

#include "AttachLines.h"
#include "ui_TF_MandaMemo.h"

#include <QDialog>
#include <functional>

class TMsgDlg;
class TIvTranslator;

// The attach dialog: for containers, SD documents, NCM codes and the IMO line, where their lines go (nowhere, the
// marks or the description), and which container data make up a container line.
class TF_MandaMemo : public QDialog, public Ui::TF_MandaMemo
{
    Q_OBJECT

public:
    explicit TF_MandaMemo(QWidget *parent = nullptr);
    ~TF_MandaMemo() override;

    // The ANEXAR action on the BL on qyBLS, after the main window has moved the focus to its toolbar: checks in
    // order (nothing to attach, BL not being edited; each refusal goes to `inform`), then the dialog with the
    // choices the counts and the IMO line allow, then the chosen lines appended to the BL's memos in containers,
    // SD, NCM, IMO order. counts: as last shown on the main window; editCaption: its Editar button's caption.
    static void anexar(QWidget *parent, const DetailCounts &counts, const QString &editCaption,
                       const std::function<void(const QString &)> &inform);

    // The item chosen in a destination choice (0 "Nenhuma", 1 marks, 2 description) and where it sends the lines;
    // None after SB_Fechar or Escape.
    static int itemIndex(const QGroupBox *choice);
    static void setItemIndex(QGroupBox *choice, int index);
    static AttachTarget target(const QGroupBox *choice);
    ContainerLineParts lineParts() const;

    TMsgDlg *MD;
    TIvTranslator *IvT;

    void RG_CntrClick();
    void SB_ConfirmaClick();
    void SB_FecharClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void FormShow();
    QList<QCheckBox *> boxes() const;
    QList<QGroupBox *> choices() const;
};
