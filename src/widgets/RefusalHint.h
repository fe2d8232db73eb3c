#pragma once

#include "FieldValidator.h"

#include <QLabel>
#include <QTimer>

class QLineEdit;

// Tells the clerk why a field refused what was typed or pasted: a balloon under the field, in the language in
// force, for some seconds or until the field loses the focus. A tooltip would not do: Qt hides it at the release of
// the very key it explains.
class RefusalHint : public QLabel
{
    Q_OBJECT

public:
    // Explains each refusal of a line edit: the field full, or the reason its FieldValidator gave.
    static void watch(QLineEdit *edit);
    // Explains a character a field refused.
    static void characterRefused(QWidget *field);
    // The explanation in the language in force; `decimals` those a field of too many decimals shows.
    static QString text(FieldValidator::Refusal why, int decimals = 0);
    // Shows an explanation under the field, in place of the one it showed.
    static void explain(QWidget *field, const QString &why);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit RefusalHint(QWidget *field);

    QTimer m_timer;
};
