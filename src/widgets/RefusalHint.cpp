#include "RefusalHint.h"

#include "TranslateText.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace {
QString T(const char *native)
{
    return TranslateText(QString::fromUtf8(native));
}
} // namespace

RefusalHint::RefusalHint(QWidget *field) : QLabel(field, Qt::ToolTip)
{
    setObjectName(QStringLiteral("RefusalHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(QToolTip::font());
    setPalette(QToolTip::palette());
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(3);
    m_timer.setSingleShot(true);
    m_timer.setInterval(4000);
    connect(&m_timer, &QTimer::timeout, this, &QWidget::hide);
    field->installEventFilter(this);
    // Leaving the field by any way hides the explanation. A drop-down's text box never sees its focus go: the box
    // keeps the focus and the drop-down passes it on.
    connect(qApp, &QApplication::focusChanged, this, [this, field](QWidget *, QWidget *now) {
        if (!now || (now != field && !now->isAncestorOf(field) && !field->isAncestorOf(now)))
            hide();
    });
}

void RefusalHint::watch(QLineEdit *edit)
{
    // A paste or key beyond the width leaves the field full; any other refusal is the validator's, told at once,
    // before the next key is checked.
    connect(edit, &QLineEdit::inputRejected, edit, [edit] {
        const auto *validator = qobject_cast<const FieldValidator *>(edit->validator());
        if (edit->text().size() >= edit->maxLength())
            explain(edit, T("Este campo aceita no máximo %1 caracteres.").arg(edit->maxLength()));
        else if (validator)
            explain(edit, text(validator->lastRefusal(), validator->decimals()));
    });
}

void RefusalHint::characterRefused(QWidget *field)
{
    explain(field, text(FieldValidator::Refusal::Character));
}

QString RefusalHint::text(FieldValidator::Refusal why, int decimals)
{
    switch (why) {
    case FieldValidator::Refusal::Character:
        return T("Caractere não aceito neste campo.");
    case FieldValidator::Refusal::NotANumber:
        return T("Este campo aceita somente números.");
    case FieldValidator::Refusal::NotAWholeNumber:
        return T("Este campo aceita somente números inteiros.");
    case FieldValidator::Refusal::TooLarge:
        return T("Número grande demais para este campo.");
    case FieldValidator::Refusal::TooManyDigits:
        return T("Este campo guarda no máximo 15 dígitos.");
    case FieldValidator::Refusal::TooManyDecimals:
        return T("Este campo aceita no máximo %1 casas decimais.").arg(decimals);
    case FieldValidator::Refusal::None:
        break;
    }
    return {};
}

void RefusalHint::explain(QWidget *field, const QString &why)
{
    if (why.isEmpty() || !field->isVisible())
        return;
    auto *hint = field->findChild<RefusalHint *>(QString(), Qt::FindDirectChildrenOnly);
    if (!hint)
        hint = new RefusalHint(field);
    hint->setText(why);
    hint->adjustSize();
    // Under the field, kept on its screen: a field at the right edge of a window would push it off.
    QPoint at = field->mapToGlobal(QPoint(0, field->height()));
    if (const QScreen *screen = field->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - hint->width())));
        if (at.y() + hint->height() > room.bottom() + 1)
            at.setY(field->mapToGlobal(QPoint(0, 0)).y() - hint->height());
    }
    hint->move(at);
    hint->show();
    hint->raise();
    hint->m_timer.start();
}

bool RefusalHint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Hide)
        hide();
    return QLabel::eventFilter(watched, event);
}
