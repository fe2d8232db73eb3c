#include "DalvoraApplication.h"

#include "Formats.h"
#include "LanguageHolder.h"
#include "StoreError.h"
#include "TMsgDlg.h"

#include <exception>

DalvoraApplication::DalvoraApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool DalvoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const StoreError &e) {
        showError(e.message());
    } catch (const std::exception &e) {
        showError(QString::fromUtf8(e.what()));
    }
    return false;
}

void DalvoraApplication::showError(const QString &message)
{
    TMsgDlg dialog;
    dialog.show(Formats::errorText(message), TMsgDlg::Error, LanguageHolder::current().toInt(), TMsgDlg::OkButton);
}
