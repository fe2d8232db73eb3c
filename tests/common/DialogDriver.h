#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

class QWidget;

// Answers the modal dialogs a test provokes, in order: a queue of answers polled on a short timer over the active
// modal widget (dialogs opened from dialogs included). Records what each answered dialog showed.
//
//     DialogDriver driver;
//     driver.press(u"OK"_s).escape();
//     window.SB_GravaClick();
//     QVERIFY2(driver.allAnswered(), qPrintable(driver.report()));
class DialogDriver : public QObject
{
    Q_OBJECT

public:
    struct Seen
    {
        QString title;
        QString text; // the message of a message dialog
        QStringList buttons;
    };

    explicit DialogDriver(QObject *parent = nullptr);
    ~DialogDriver() override;

    // Presses the button with that caption ("&" mnemonics ignored). When the dialog has no such button, it is
    // rejected so the test goes on, and allAnswered() turns false.
    DialogDriver &press(const QString &caption);
    // Presses Escape.
    DialogDriver &escape();
    // Runs an action on the modal window (for windows that are not message dialogs); it may close it or not.
    DialogDriver &handle(const std::function<void(QWidget *)> &action);

    int pending() const { return int(m_queue.size()); }
    // Every queued answer was given, and each found its button.
    bool allAnswered() const { return m_queue.isEmpty() && m_failures.isEmpty(); }
    // What was seen, what failed and what is still queued: the message for a failed allAnswered().
    QString report() const;

    QList<Seen> seen;
    // Texts of the message dialogs seen so far.
    QStringList texts() const;

private:
    void poll();

    QTimer m_timer;
    QList<std::function<void(QWidget *)>> m_queue;
    QList<QPointer<QWidget>> m_handled;
    QStringList m_failures;
};
