#include "DetailEditor.h"

#include "StandardIconEngine.h"
#include "TDM_BL.h"
#include "TMsgDlg.h"
#include "TStatusBar.h"
#include "TranslateText.h"
#include "TypedValue.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QStyle>

#ifdef DALVORA_HAS_CALENDAR
#include "TF_Calendario.h"
#endif

DetailEditor::DetailEditor(QWidget *parent) : QDialog(parent)
{
    MD = new TMsgDlg(this);
    MD->applyPreset(TMsgDlg::DetailWindowPreset);
}

void DetailEditor::setUpRecordControls(const RecordControls &controls)
{
    m_controls = controls;
    // No title-bar buttons: the window is closed with its close button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(size());
    controls.status->setPanelWidths({width() / 2, width() - width() / 2});
    // Picture-only buttons: the glyphs the other windows use for the same actions.
    controls.calendar->setIcon(StandardIconEngine::icon(QStyle::SP_FileDialogInfoView));
    controls.close->setIcon(StandardIconEngine::icon(QStyle::SP_DialogCloseButton));
    connect(controls.include, &QAbstractButton::clicked, this, &DetailEditor::SB_InclusaoClick);
    connect(controls.cancel, &QAbstractButton::clicked, this, &DetailEditor::SB_CancelaClick);
    connect(controls.calendar, &QAbstractButton::clicked, this, &DetailEditor::SB_CalendarioClick);
    connect(controls.close, &QAbstractButton::clicked, this, &DetailEditor::BB_FecharClick);
    controls.list->installEventFilter(this);
}

void DetailEditor::SB_InclusaoClick()
{
    m_controls.rows->insert();
    setEditing(true);
    m_controls.firstField->setFocus();
}

void DetailEditor::SB_CancelaClick()
{
    TypedValue::discardFocused(this);
    focusToolbar();
    m_controls.rows->cancel();
    setEditing(false);
}

void DetailEditor::SB_CalendarioClick()
{
#ifdef DALVORA_HAS_CALENDAR
    TF_Calendario::execCalendar(this);
#endif
}

void DetailEditor::BB_FecharClick()
{
    done(QDialog::Rejected);
}

void DetailEditor::setEditing(bool editing)
{
    m_controls.list->setEnabled(!editing);
    m_controls.include->setEnabled(!editing);
    m_controls.edit->setEnabled(!editing);
    m_controls.confirm->setEnabled(editing);
    m_controls.cancel->setEnabled(editing);
    showMode();
}

void DetailEditor::showMode()
{
    m_controls.status->setPanelText(1, *m_controls.modeText);
}

void DetailEditor::focusToolbar()
{
    m_controls.toolbar->setFocus();
}

int DetailEditor::message(const QString &text, int type)
{
    return MD->show(text, type, DM_BL->IdiomaAtual(), TMsgDlg::OkButton);
}

bool DetailEditor::confirmed(const QString &question)
{
    return MD->show(question, TMsgDlg::Confirmation, DM_BL->IdiomaAtual(), TMsgDlg::OkCancelButtons) ==
           TMsgDlg::ResultOk;
}

bool DetailEditor::deleteConfirmed(const QString &first)
{
    return confirmed(first) && confirmed(TranslateText(QStringLiteral("DESEJA REALMENTE EXCLUIR ?")));
}

void DetailEditor::deleteRow(EditBuffer *rows, const QString &codeColumn, const QString &firstQuestion)
{
    if (rows->integer(codeColumn) <= 0)
        return;
    if (!deleteConfirmed(firstQuestion))
        return;
    // A change being typed into the row goes with it.
    rows->cancel();
    rows->deleteCurrent();
    setEditing(false);
}

void DetailEditor::done(int result)
{
    // The window's rows are closed with it, a row being typed included: a value being typed is dropped first, so
    // that leaving its field refuses nothing on the way out.
    TypedValue::discardFocused(this);
    QDialog::done(result);
}

void DetailEditor::keyPressEvent(QKeyEvent *event)
{
    // Escape does not close the window: only its close button does.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

bool DetailEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_controls.list && event->type() == QEvent::KeyPress) {
        // The list never deletes from the keyboard.
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
