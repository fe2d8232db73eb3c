#include "TMsgDlg.h"

#include "AppFonts.h"
#include "AppInfo.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

namespace {

// The dialog itself: Escape closes it with Cancel's result whatever buttons it shows.
class MessageDialog : public QDialog
{
public:
    using QDialog::QDialog;
    void reject() override { done(TMsgDlg::ResultCancel); }
};

QStyle::StandardPixmap iconOf(int type)
{
    switch (type) {
    case TMsgDlg::Warning:
        return QStyle::SP_MessageBoxWarning;
    case TMsgDlg::Error:
        return QStyle::SP_MessageBoxCritical;
    case TMsgDlg::Information:
        return QStyle::SP_MessageBoxInformation;
    case TMsgDlg::Confirmation:
        return QStyle::SP_MessageBoxQuestion;
    default:
        return QStyle::SP_TitleBarMenuButton;
    }
}

QStyle::StandardPixmap glyphOf(TMsgDlg::ButtonKind kind)
{
    switch (kind) {
    case TMsgDlg::Yes:
    case TMsgDlg::YesToAll:
        return QStyle::SP_DialogYesButton;
    case TMsgDlg::No:
    case TMsgDlg::NoToAll:
        return QStyle::SP_DialogNoButton;
    case TMsgDlg::Ok:
    case TMsgDlg::All:
        return QStyle::SP_DialogOkButton;
    case TMsgDlg::Cancel:
    case TMsgDlg::Abort:
        return QStyle::SP_DialogCancelButton;
    case TMsgDlg::Retry:
        return QStyle::SP_BrowserReload;
    case TMsgDlg::Ignore:
        return QStyle::SP_DialogDiscardButton;
    default:
        return QStyle::SP_DialogHelpButton;
    }
}

void setTextColor(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    if (!color.isValid())
        return;
    QPalette palette = widget->palette();
    palette.setColor(role, color);
    widget->setPalette(palette);
}

} // namespace

TMsgDlg::TMsgDlg(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("MD"));
    ButtonFont = QApplication::font();
    MessageFont = QApplication::font();
}

void TMsgDlg::applyPreset(Preset preset)
{
    const bool wide = preset == MainWindowPreset || preset == DetailWindowPreset;
    const bool about = preset == AboutBoxPreset;
    const QColor navy(0, 0, 128);
    BtnWidth = wide ? 95 : 75;
    BtnHeight = wide ? 26 : 25;
    BtnSpace = wide ? 20 : 15;
    Indent = 14;
    LineSeparator = wide ? QLatin1Char('\\') : QLatin1Char('|');
    ShowIcon = true;
    ShowGlyph = true;
    Color = QColor();
    ButtonFont = AppFonts::screen(8, !about);
    ButtonColor = preset == MainWindowPreset || preset == DuplicatePreset ? navy : QColor();
    MessageFont = about ? AppFonts::screen(8, false) : AppFonts::screen(10, true);
    MessageColor = about ? QColor() : navy;
    Beep = bsAsterix;
    DialogStyle = msCenter;
    DefaultButton = Yes;
}

QString TMsgDlg::title(int type, int language)
{
    if (type == Custom)
        return QString::fromLatin1(AppInfo::Title);
    if (language < 0 || language > 3)
        return QString::number(language);
    static const char *titles[4][3] = {{"Atenção", "Warning", "Atención"},
                                       {"Erro", "Error", "Error"},
                                       {"Informação", "Information", "Información"},
                                       {"Confirmação", "Confirmation", "Confirmación"}};
    return QString::fromUtf8(titles[type][language <= 1 ? 0 : language - 1]);
}

QString TMsgDlg::caption(ButtonKind kind, int language)
{
    if (language < 0 || language > 3) {
        static const char *stock[ButtonKindCount] = {"&Yes",    "&No",  "OK",         "Cancel",      "&Abort", "&Retry",
                                                     "&Ignore", "&All", "N&o to All", "Yes to &All", "&Help"};
        return QString::fromLatin1(stock[kind]);
    }
    static const char *captions[ButtonKindCount][3] = {{"Sim", "Yes", "Sí"},
                                                       {"Não", "No", "No"},
                                                       {"OK", "OK", "OK"},
                                                       {"Cancelar", "Cancel", "Cancelar"},
                                                       {"Abortar", "Abort", "Abortar"},
                                                       {"Repetir", "Retry", "Repetir"},
                                                       {"Ignorar", "Ignore", "Ignorar"},
                                                       {"Todos", "All", "Todos"},
                                                       {"Não Todos", "No All", "No Todos"},
                                                       {"Sim Todos", "Yes All", "Sí Todos"},
                                                       {"Ajuda", "Help", "Ayuda"}};
    return QString::fromUtf8(captions[kind][language <= 1 ? 0 : language - 1]);
}

int TMsgDlg::result(ButtonKind kind)
{
    static const int results[ButtonKindCount] = {
        ResultYes, ResultNo,  ResultOk, ResultCancel, ResultAbort, ResultRetry, ResultIgnore, ResultAll,
        ResultNo,  ResultYes, 0};
    return results[kind];
}

TMsgDlg::Geometry TMsgDlg::layout(const QSize &labelSize, int buttonCount) const
{
    Geometry g;
    int width = ShowIcon ? Indent + 32 : Indent;
    int height = width;
    if (ShowIcon)
        g.icon = QRect(Indent, Indent, 32, 32);
    g.label = QRect(QPoint(width + Indent, Indent), labelSize);
    width = g.label.left() + g.label.width() + 2 * Indent;
    height = std::max(height, g.label.top() + g.label.height());
    int left = (width - buttonCount * BtnWidth - (buttonCount - 1) * BtnSpace) / 2;
    if (left < 0)
        left = Indent;
    const int top = height + Indent;
    for (int i = 0; i < buttonCount; ++i) {
        g.buttons << QRect(left, top, BtnWidth, BtnHeight);
        left += BtnWidth + BtnSpace;
    }
    height += BtnHeight + 2 * Indent;
    if (buttonCount > 0) {
        const int end = g.buttons.last().right() + 1 + BtnSpace;
        if (width < end)
            width = end + Indent - BtnSpace;
    }
    g.client = QSize(width, height);
    return g;
}

int TMsgDlg::show(const QString &text, int type, int language, int buttons)
{
    m_text = text;
    m_type = type;
    m_language = language;
    m_buttons = buttons;

    MessageDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("MsgDlg"));
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                          Qt::CustomizeWindowHint);
    dialog.setWindowTitle(title(type, language));
    QPalette background = dialog.palette();
    background.setColor(QPalette::Window, Color.isValid() ? Color : background.color(QPalette::Button));
    dialog.setPalette(background);
    dialog.setAutoFillBackground(true);

    auto *label = new QLabel(&dialog);
    label->setObjectName(QStringLiteral("message"));
    QString shown = text;
    // The separator and carriage returns are line breaks on screen.
    shown.replace(LineSeparator, QLatin1Char('\n')).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    label->setText(shown);
    label->setTextFormat(Qt::PlainText);
    label->setFont(MessageFont);
    setTextColor(label, QPalette::WindowText, MessageColor);
    label->adjustSize();

    QList<ButtonKind> kinds;
    for (int k = 0; k < ButtonKindCount; ++k)
        if (buttons & (1 << k))
            kinds << ButtonKind(k);
    const Geometry g = layout(label->size(), int(kinds.size()));
    label->setGeometry(g.label);

    if (ShowIcon) {
        auto *icon = new QLabel(&dialog);
        icon->setObjectName(QStringLiteral("icon"));
        icon->setPixmap(type == Custom ? QApplication::windowIcon().pixmap(32, 32)
                                       : dialog.style()->standardIcon(iconOf(type)).pixmap(32, 32));
        icon->setGeometry(g.icon);
    }

    QList<QPushButton *> order;
    for (int i = 0; i < kinds.size(); ++i) {
        const ButtonKind kind = kinds[i];
        auto *button = new QPushButton(caption(kind, language), &dialog);
        button->setObjectName(QStringLiteral("button%1").arg(int(kind)));
        button->setFont(ButtonFont);
        // Enter presses the focused button, as Space does; Escape stays with the dialog (no button cancels).
        button->setAutoDefault(true);
        setTextColor(button, QPalette::ButtonText, ButtonColor);
        if (ShowGlyph)
            button->setIcon(dialog.style()->standardIcon(glyphOf(kind)));
        button->setGeometry(g.buttons[i]);
        if (kind != Help)
            connect(button, &QPushButton::clicked, &dialog, [&dialog, kind] { dialog.done(result(kind)); });
        if (kind == DefaultButton)
            order.prepend(button);
        else
            order.append(button);
    }
    dialog.setFixedSize(g.client);
    // The default kind's button, when shown, takes the focus first; the others follow in kind order.
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    if (!order.isEmpty())
        order.first()->setFocus();

    if (DialogStyle == msCenter) {
        const QRect screen = dialog.screen()->availableGeometry();
        dialog.move(screen.center() - QPoint(g.client.width() / 2, g.client.height() / 2));
    } else {
        dialog.move(PosLeft, PosTop);
    }
    if (Beep != bsNone)
        QApplication::beep();
    return dialog.exec();
}
