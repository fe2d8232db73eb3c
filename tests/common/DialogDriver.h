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

    // Presses the button with that caption.
    DialogDriver &press(const QString &caption);
    // Presses Escape.
    DialogDriver &escape();
    // Runs an action on the modal window (for windows that are not message dialogs); it may close it or not.
    DialogDriver &handle(const std::function<void(QWidget *)> &action);

    int pending() const { return int(m_queue.size()); }
    QList<Seen> seen;
    // Texts of the message dialogs seen so far.
    QStringList texts() const;

private:
    void poll();

    QTimer m_timer;
    QList<std::function<void(QWidget *)>> m_queue;
    QList<QPointer<QWidget>> m_handled;
};
