#include "DraftPreview.h"

#include "DraftFilling.h"
#include "QtEngineTexts.h"
#include "TDM_BL.h"
#include "TF_BLAPDF.h"
#include "TMsgDlg.h"
#include "TranslateText.h"

#include <QAction>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

QString engineText(const char *text)
{
    return QCoreApplication::translate("QPrintPreviewDialog", text);
}

} // namespace

DraftPreview::DraftPreview(const PreparedReport &report, QWidget *parent)
    : QPrintPreviewDialog(parent), m_report(report)
{
    setObjectName(QStringLiteral("DraftPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    // The draft is drawn from the paper's corner on A4 portrait; nothing here may change the paper.
    QPrinter *paper = printer();
    paper->setPageSize(QPageSize(QPageSize::A4));
    paper->setPageOrientation(QPageLayout::Portrait);
    paper->setFullPage(true);

    for (QAction *action : findChildren<QAction *>()) {
        const QString text = action->text();
        if (text == engineText("Page setup") || text == engineText("Portrait") || text == engineText("Landscape"))
            action->setVisible(false);
        else if (text == engineText("Print"))
            m_printAction = action;
    }
    Q_ASSERT(m_printAction);
    // Printing goes through our own step, which knows when there is no printer to print on.
    disconnect(m_printAction, &QAction::triggered, this, nullptr);
    connect(m_printAction, &QAction::triggered, this, &DraftPreview::printDraft);

    connect(this, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *target) { m_report.print(*target); });

    m_preview = findChild<QPrintPreviewWidget *>();
    m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    m_preview->setZoomFactor(1.0);
}

DraftPreview *DraftPreview::open(QWidget *parent, qint64 blCode, const DraftRemarks &remarks)
{
    const QVariantHash row = DraftFilling::readPrintRow(blCode);
    PreparedReport report;
    {
        TF_BLAPDF form;
        DraftFilling::fill(form, row, remarks);
        report = form.prepare();
    }
    DraftPreview *preview = nullptr;
    {
        const QtEngineTexts portuguese;
        preview = new DraftPreview(report, parent);
    }
    preview->showMaximized();
    // Showing fits the page to the window; the draft is seen at its real size instead.
    preview->m_preview->setZoomMode(QPrintPreviewWidget::CustomZoom);
    preview->m_preview->setZoomFactor(1.0);
    for (const char *fit : {"fitWidthAction", "fitPageAction"}) {
        if (QAction *action = preview->findChild<QAction *>(QLatin1String(fit)))
            action->setChecked(false);
    }
    return preview;
}

void DraftPreview::printDraft()
{
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        message(QStringLiteral("Nenhuma impressora instalada."), TMsgDlg::Information);
        return;
    }
    QPrinter *target = printer();
    int first = 1;
    int last = m_report.pageCount();
    {
        const QtEngineTexts portuguese;
        QPrintDialog dialog(target, this);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
        dialog.setMinMax(1, m_report.pageCount());
        if (dialog.exec() != QDialog::Accepted)
            return;
        if (target->printRange() == QPrinter::PageRange) {
            first = target->fromPage();
            last = target->toPage();
        }
    }
    if (!m_report.print(*target, first, last)) {
        message(QStringLiteral("Não foi possível imprimir."), TMsgDlg::Error);
        return;
    }
    accept();
}

void DraftPreview::message(const QString &nativeText, int type)
{
    TMsgDlg dialog(this);
    dialog.show(TranslateText(nativeText), type, DM_BL->IdiomaAtual(), TMsgDlg::OkButton);
}
