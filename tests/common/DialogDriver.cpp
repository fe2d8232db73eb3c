#include "DialogDriver.h"

#include <QAbstractButton>
#include <QApplication>
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
    m_queue << [caption](QWidget *dialog) {
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
            if (button->text() == caption && button->isVisible()) {
                button->click();
                return;
            }
        }
        qWarning("DialogDriver: no button '%s' on '%s'", qPrintable(caption), qPrintable(dialog->windowTitle()));
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
    action(dialog); // may open further dialogs: the timer keeps polling inside their event loops
}
