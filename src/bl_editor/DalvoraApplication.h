#pragma once

#include <QApplication>

// The application object. Its event dispatch is the general error display: an error that no action handled
// (a failure of the store, for example) ends that action and is shown in an error box with OK; the program goes on.
class DalvoraApplication : public QApplication
{
    Q_OBJECT

public:
    DalvoraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    static void showError(const QString &message);
};
