#pragma once

#include "DraftRemarks.h"
#include "PreparedReport.h"

#include <QPrintPreviewDialog>

class QAction;
class QPrintPreviewWidget;

// The preview of a BL draft: a window of its own, not blocking the main window, showing its own copy of the
// prepared pages at 100 % with page navigation and zoom. Its one output function is printing, through the print
// dialog (printer, page range, copies). Several may be open at once; each is deleted when closed.
class DraftPreview : public QPrintPreviewDialog
{
    Q_OBJECT

public:
    explicit DraftPreview(const PreparedReport &report, QWidget *parent = nullptr);

    // Reads the BL afresh from the store, fills and prepares the draft and shows it maximised. A store failure
    // propagates as StoreError before anything is created.
    static DraftPreview *open(QWidget *parent, qint64 blCode, const DraftRemarks &remarks);

    const PreparedReport &report() const { return m_report; }
    QPrintPreviewWidget *previewWidget() const { return m_preview; }
    QAction *printAction() const { return m_printAction; }

private:
    void printDraft();
    void message(const QString &nativeText, int type);

    PreparedReport m_report;
    QPrintPreviewWidget *m_preview = nullptr;
    QAction *m_printAction = nullptr;
};
