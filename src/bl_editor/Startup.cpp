#include "Startup.h"

#include "AppFonts.h"
#include "AppInfo.h"
#include "BalloonHints.h"
#include "DalvoraApplication.h"
#include "FrameworkTranslator.h"
#include "Store.h"
#include "StoreError.h"
#include "TDM_BL.h"
#include "TF_Principal.h"
#include "TranslateText.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

int Startup::run(DalvoraApplication &app, const std::function<void(TF_Principal &)> &shown)
{
    const QString title = QString::fromLatin1(AppInfo::Title);

    // One copy per desktop: a lock named after the main window's class and title, held while the program runs.
    // A copy that crashed leaves a stale lock, which the next start takes over at once.
    const QString lockPath = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                             QStringLiteral("/TF_Principal-") + title + QStringLiteral(".lock");
    QLockFile lock(lockPath);
    bool locked = lock.tryLock(0);
    const bool lockIsFile = QFileInfo(lockPath).isFile();
    // A lock file that names no process (left half-written, or garbage) holds nothing: it is replaced.
    if (!locked && lock.error() == QLockFile::LockFailedError && lockIsFile &&
        !lock.getLockInfo(nullptr, nullptr, nullptr) && lock.removeStaleLockFile())
        locked = lock.tryLock(0);
    if (!locked && lock.error() == QLockFile::LockFailedError && lockIsFile) {
        QMessageBox::warning(nullptr, title,
                             QStringLiteral("VOCÊ JÁ TEM UMA CÓPIA EM USO.\r\rDALVORA DO ZEREVA.\r")
                                 .replace(QLatin1Char('\r'), QLatin1Char('\n')));
        return 0;
    }
    if (!locked) {
        // Not another copy: the lock itself cannot be made, and whether a copy runs cannot be known. Said also on the
        // error output, for whoever looks after the machine.
        const QString problem = TranslateText(QStringLiteral("Não foi possível verificar se já há uma cópia em uso:")) +
                                QLatin1Char('\n') + QDir::toNativeSeparators(lockPath);
        qWarning("%s", qPrintable(problem));
        QMessageBox::critical(nullptr, title, problem);
        return 1;
    }
    QApplication::setApplicationName(title);
    // The desktop matches the program's windows with its menu entry, and so with its icon, by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(AppInfo::DesktopId));
    AppFonts::install();
    QCoreApplication::installTranslator(new FrameworkTranslator(&app));
    BalloonHints::install(app);

    try {
        Store::open(QDir::currentPath());
    } catch (const StoreError &e) {
        QMessageBox::critical(nullptr, title, e.message());
        return 1;
    }
    TDM_BL dataModule;
    DM_BL = &dataModule;

    TF_Principal mainWindow;
    mainWindow.move(mainWindow.screen()->availableGeometry().center() - mainWindow.rect().center());
    mainWindow.show();
    if (shown)
        QTimer::singleShot(0, &mainWindow, [&] { shown(mainWindow); });
    const int result = QApplication::exec();
    Store::close();
    return result;
}
