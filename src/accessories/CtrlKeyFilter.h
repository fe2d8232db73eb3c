#pragma once

#include <QObject>

// The application-events hook that lives with each browser window: while it exists, a key-down of the Ctrl key
// itself reaches no window; every other key passes unchanged.
class CtrlKeyFilter : public QObject
{
    Q_OBJECT

public:
    // Installs itself on the application; a child of `owner`, it goes away with it.
    explicit CtrlKeyFilter(QObject *owner);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
