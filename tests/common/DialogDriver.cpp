#include "DialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QTest>

DialogDriver::DialogDriver(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &DialogDriver::poll);
    m_timer.start();
}

DialogDriver::~DialogDriver() = default;

DialogDriver &DialogDriver::press(const QString &caption)
{
    m_queue << [this, caption](QWidget *dialog) {
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
            if (button->isVisible() && (button->text() == caption || QString(button->text()).remove(u'&') == caption)) {
                button->click();
                return;
            }
        }
        m_failures << QStringLiteral("no button \"%1\" on \"%2\"").arg(caption, dialog->windowTitle());
        if (auto *modal = qobject_cast<QDialog *>(dialog))
            modal->reject();
    };
    return *this;
}

DialogDriver &DialogDriver::escape()
{
    m_queue << [](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); };
    return *this;
}

DialogDriver &DialogDriver::handle(const std::function<void(QWidget *)> &action)
{
    m_queue << action;
    return *this;
}

QStringList DialogDriver::texts() const
{
    QStringList result;
    for (const Seen &s : seen)
        if (!s.text.isEmpty())
            result << s.text;
    return result;
}

QString DialogDriver::report() const
{
    QStringList lines;
    for (const Seen &s : seen)
        lines << QStringLiteral("seen \"%1\": \"%2\" [%3]").arg(s.title, s.text, s.buttons.join(u", "));
    lines << m_failures;
    if (!m_queue.isEmpty())
        lines << QStringLiteral("%1 answer(s) never used").arg(m_queue.size());
    return lines.join(u'\n');
}

void DialogDriver::poll()
{
    QWidget *dialog = QApplication::activeModalWidget();
    if (!dialog || m_queue.isEmpty() || !dialog->isVisible())
        return;
    for (const QPointer<QWidget> &done : std::as_const(m_handled))
        if (done == dialog)
            return;
    m_handled << dialog;
    Seen s;
    s.title = dialog->windowTitle();
    if (const auto *message = dialog->findChild<QLabel *>(QStringLiteral("message")))
        s.text = message->text();
    for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
        if (button->isVisible())
            s.buttons << button->text();
    seen << s;
    const auto action = m_queue.takeFirst();
    // Run outside this timer's own event: a timer does not fire again while its handler runs, so an action that
    // opens a further dialog would otherwise leave that dialog unanswered.
    QTimer::singleShot(0, dialog, [action, dialog] { action(dialog); });
}
