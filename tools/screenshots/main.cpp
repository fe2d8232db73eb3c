#include "BrowserLauncher.h"
#include "DalvoraApplication.h"
#include "ExampleData.h"
#include "ScreenshotTour.h"
#include "Startup.h"
#include "TF_Principal.h"

#include <QDir>
#include <QTemporaryDir>

// Pictures of the program's windows for the documentation: the real start-up and windows, drawn offscreen with the
// embedded fonts and Brazilian conventions over a scratch store of example BLs, so every machine draws the same.
int main(int argc, char *argv[])
{
    if (argc != 2) {
        qCritical("usage: %s <folder for the pictures>", argv[0]);
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QTemporaryDir scratch;
    if (!scratch.isValid() || !QDir().mkpath(folder)) {
        qCritical("no scratch folder, or %s cannot be made", qPrintable(folder));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANG", "pt_BR.UTF-8");
    qputenv("LC_ALL", "pt_BR.UTF-8");
    // The store, the single-copy lock and the EDI/BL folder all go to the scratch folder.
    qputenv("HOME", scratch.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", scratch.path().toLocal8Bit());
    QDir::setCurrent(scratch.path());

    BrowserLauncher::prepareApplication();
    DalvoraApplication app(argc, argv);
    QStringList missing = ScreenshotTour::fileNames();
    const int result = Startup::run(app, [&](TF_Principal &mainWindow) {
        ExampleData::store();
        missing = ScreenshotTour(mainWindow, folder).run();
        QCoreApplication::exit(missing.isEmpty() ? 0 : 1);
    });
    if (!missing.isEmpty())
        qCritical("pictures not written: %s", qPrintable(missing.join(QLatin1String(", "))));
    return result != 0 || !missing.isEmpty() ? 1 : 0;
}
