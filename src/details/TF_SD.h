#pragma once

#include "DetailEditor.h"
#include "ui_TF_SD.h"

class TIvTranslator;

// The SD and NCM editor: the export documents and the NCM codes of the BL open on the main window. Documents are
// included, edited and deleted; NCM codes only added and deleted. Every confirmed change is written at once.
class TF_SD : public DetailEditor, public Ui::TF_SD
{
    Q_OBJECT

public:
    // The most NCM codes a BL holds.
    static constexpr int MaxNcm = 190;

    explicit TF_SD(QWidget *parent = nullptr);
    ~TF_SD() override;

    // Opens qyNCM and qySD on the details of the BL on qyBLS, shows the editor modally and closes both queries
    // again, dropping a document change left unconfirmed. The caller refreshes its counts afterwards.
    static void execFor(QWidget *parent);
    // The first part of execFor: qyNCM and qySD opened on the BL's codes and documents in number order, with the
    // documents' display formats.
    static void openQueries();

    TIvTranslator *IvT;

    void SB_EditClick();
    void SB_GravaClick();
    void BB_DeleteClick();
    void SB_IncNCMClick();
    void SB_CancNCMClick();
    // Counts the NCM rows of the list, back on its first row, and shows the count in L_Tot.
    int ContaNCM();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    static QString deleteQuestion(const QString &number);
};
