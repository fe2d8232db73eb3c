#pragma once

#include <QDialog>

class EditBuffer;
class QAbstractButton;
class TMsgDlg;
class TStatusBar;

// What the detail editors share: the record buttons enabled by mode, the mode text in the status bar, the focus moved
// to the toolbar before an action, the messages, the two delete questions, a list that never deletes from the
// keyboard, and a window that only its close button closes.
class DetailEditor : public QDialog
{
    Q_OBJECT

public:
    // The parts of an editor's form the shared flow works on; rows is the editor's buffer, modeText the data
    // module's mode text of that buffer.
    struct RecordControls
    {
        QWidget *toolbar;
        QAbstractButton *include, *edit, *confirm, *cancel, *calendar, *close;
        QWidget *list;
        TStatusBar *status;
        EditBuffer *rows;
        const QString *modeText;
        QWidget *firstField;
    };

    explicit DetailEditor(QWidget *parent = nullptr);

    TMsgDlg *MD;

    void SB_InclusaoClick();
    void SB_CancelaClick();
    void SB_CalendarioClick();
    void BB_FecharClick();

protected:
    // Call once the form is set up: fixes the window's frame and size and connects the shared buttons.
    void setUpRecordControls(const RecordControls &controls);
    void setEditing(bool editing);
    void showMode();
    void focusToolbar();
    int message(const QString &text, int type);
    bool confirmed(const QString &question);
    // The two delete questions; the first names what is deleted.
    bool deleteConfirmed(const QString &first);
    // Deletes the current row after the questions; nothing happens without a stored row.
    void deleteRow(EditBuffer *rows, const QString &codeColumn, const QString &firstQuestion);

    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    RecordControls m_controls{};
};
