#pragma once

#include "DetailEditor.h"
#include "ui_TF_Container.h"

#include <QColor>

class TIvTranslator;

// The container editor: the containers of the BL open on the main window, each confirmed change written at once.
class TF_Container : public DetailEditor, public Ui::TF_Container
{
    Q_OBJECT

public:
    explicit TF_Container(QWidget *parent = nullptr);
    ~TF_Container() override;

    // The refusal to open on loose cargo ("Necessário <cargo caption> CNTR"), or the empty text when the editor may
    // open. cargaCaption: the current caption of the main window's cargo-kind choice.
    static QString refusal(const QString &carga, const QString &cargaCaption);
    // Why a container number is doubtful, in the interface language ("Dígito verificador não confere: esperado 3"),
    // or the empty text for a number of the ISO 6346 form with its right check digit, and for no number.
    static QString numberDoubt(const QString &number);
    // The number field's background while its number is doubtful.
    static constexpr QColor DoubtfulColor = QColor(0xFF, 0xE0, 0x80);
    // Opens qyCntr on the containers of the BL on qyBLS, shows the editor modally and closes qyCntr again, dropping
    // a change left unconfirmed. The caller refreshes its counts and totals afterwards.
    static void execFor(QWidget *parent);
    // The first part of execFor: qyCntr opened on the BL's containers in number order, with their display formats.
    static void openQuery();

    TIvTranslator *IvT;

    void SB_EditClick();
    void SB_GravaClick();
    void BB_DeleteClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void sealEntered(int seal);
    void markDoubtfulNumber();
    int info(const QString &text);
};
