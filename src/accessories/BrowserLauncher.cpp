#include "BrowserLauncher.h"

#include "BrowserFactory.h"
#include "CtrlKeyFilter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QOpenGLContext>
#include <QPluginLoader>
#include <QRect>
#include <QUrl>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
QString &chosenFile()
{
    static QString file;
    return file;
}

// The web engine's sandbox refuses to run as root and ends the whole process; it must be off before the engine's
// first object exists.
void allowRootWithoutSandbox()
{
#ifdef Q_OS_UNIX
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
}

// The web engine's helper program, where the engine looks for it: without it the engine ends the whole process at
// its first page, where the clerk should get the connection message.
bool helperProgramFound()
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("/QtWebEngineProcess.exe");
#else
    const QString name = QStringLiteral("/QtWebEngineProcess");
#endif
    // A path set in the environment is the only one the engine tries.
    if (const QString chosen = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH"); !chosen.isEmpty())
        return QFileInfo::exists(chosen);
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + name) ||
           QFileInfo::exists(QCoreApplication::applicationDirPath() + name);
}

BrowserFactory *loadFactory(QString *error)
{
    const QString file = BrowserLauncher::pluginFile();
    if (file.isEmpty()) {
        *error = QStringLiteral("the program was built without a web browser component");
        return nullptr;
    }
    if (!helperProgramFound()) {
        *error = QStringLiteral("the web engine's helper program QtWebEngineProcess was not found");
        return nullptr;
    }
#if QT_CONFIG(opengl)
    // The engine would dereference the missing context and end the process.
    if (!QOpenGLContext::globalShareContext()) {
        *error = QStringLiteral("the application was started without a shared OpenGL context");
        return nullptr;
    }
#endif
    // One loader per file for the life of the program: the plugin stays loaded once it has been used.
    static QHash<QString, QPluginLoader *> loaders;
    QPluginLoader *&loader = loaders[file];
    if (!loader)
        loader = new QPluginLoader(file, QCoreApplication::instance());
    allowRootWithoutSandbox();
    auto *factory = qobject_cast<BrowserFactory *>(loader->instance());
    if (!factory)
        *error = loader->errorString();
    return factory;
}
} // namespace

void BrowserLauncher::prepareApplication()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QString BrowserLauncher::pluginFile()
{
    return chosenFile().isNull() ? pluginFileFor(QCoreApplication::applicationDirPath()) : chosenFile();
}

QString BrowserLauncher::pluginFileFor(const QString &programDir)
{
#ifdef DALVORA_BROWSER_PLUGIN
    const QFileInfo built(QStringLiteral(DALVORA_BROWSER_PLUGIN));
    const QDir folder(programDir);
    for (const QString &candidate :
         {folder.filePath(QStringLiteral(DALVORA_BROWSER_INSTALLED_DIR "/") + built.fileName()),
          folder.filePath(built.fileName())})
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    return built.filePath();
#else
    Q_UNUSED(programDir);
    return {};
#endif
}

void BrowserLauncher::setPluginFile(const QString &file)
{
    chosenFile() = file;
}

QWidget *BrowserLauncher::open(const QUrl &address, QString *error)
{
    QString reason;
    BrowserFactory *factory = loadFactory(&reason);
    QWidget *window = factory ? factory->createBrowser(address) : nullptr;
    if (!window) {
        if (reason.isEmpty())
            reason = QStringLiteral("the browser window could not be created");
        qWarning("Browser: %s", qPrintable(reason));
        if (error)
            *error = reason;
        return nullptr;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Windows still open when the program ends go before the web engine's profile does.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
    new CtrlKeyFilter(window);
    window->resize(Width, Height);
    window->move(Left, Top);
    window->show();
    return window;
}

QRect BrowserLauncher::clearOf(const QRect &wanted, const QRect &keepClear, const QRect &available)
{
    if (!wanted.intersects(keepClear))
        return wanted;
    constexpr int Gap = 4;
    const int left = keepClear.left() - Gap - available.left();
    const int right = available.right() - keepClear.right() - Gap;
    const int above = keepClear.top() - Gap - available.top();
    const int below = available.bottom() - keepClear.bottom() - Gap;
    QRect placed = wanted;
    if (std::max(left, right) >= std::min(wanted.width(), available.width() / 3)) {
        // The left side first, where the window is wanted; a side too narrow for it only when the other is narrower.
        const bool onLeft = left >= wanted.width() || left >= right;
        placed.setWidth(std::min(wanted.width(), onLeft ? left : right));
        placed.moveLeft(onLeft ? keepClear.left() - Gap - placed.width() : keepClear.right() + Gap + 1);
        placed.moveTop(std::clamp(wanted.top(), available.top(), available.bottom() + 1 - placed.height()));
    } else {
        placed.setHeight(std::min(wanted.height(), std::max(above, below)));
        placed.moveTop(above >= below ? keepClear.top() - Gap - placed.height() : keepClear.bottom() + Gap + 1);
        placed.moveLeft(std::clamp(wanted.left(), available.left(), available.right() + 1 - placed.width()));
    }
    return placed;
}
