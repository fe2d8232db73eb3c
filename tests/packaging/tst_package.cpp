#include "AppInfo.h"
#include "BrowserLauncher.h"
#include "TestEnv.h"
#ifdef DALVORA_HAS_DISPLAY
#include "VirtualDisplay.h"
#endif

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace {

const QString AppId = QLatin1String(AppInfo::DesktopId);
const QString PluginFile = QStringLiteral(DALVORA_PLUGIN_FILE); // under the prefix; empty without the web engine

struct Run
{
    int exitCode = -1;
    QString output; // stdout and stderr together
};

Run run(const QString &program, const QStringList &arguments, const QString &folder = QString())
{
    QProcess process;
    // The tools' messages in plain English, whatever locale the test runs in.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(100000))
        return {-1, program + QStringLiteral(": ") + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

// The key = value lines of a desktop entry's main group.
QHash<QString, QString> desktopEntry(const QString &path)
{
    QHash<QString, QString> entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return entry;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            entry.insert(line.left(equals), line.mid(equals + 1));
    }
    return entry;
}

// Every file under a folder, as paths relative to it.
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QString field(const QString &deb, const QString &name)
{
    return run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb, name}).output.trimmed();
}

} // namespace

// The program as a clerk's machine gets it: the files `cmake --install` lays out, the .deb packages CPack builds
// from them, and the program started from an unpacked package.
class TestPackage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;   // cmake --install --prefix
    QTemporaryDir m_packages; // cpack's output
    QString m_programDeb;
    QString m_manualDeb;

    QString installed(const QString &path) const { return m_prefix.filePath(path); }

    // Builds the packages once, for the tests that look at them.
    void buildPackages()
    {
        if (!m_programDeb.isEmpty())
            return;
        if (QStandardPaths::findExecutable(QStringLiteral("dpkg-shlibdeps")).isEmpty())
            QSKIP("dpkg-shlibdeps was not found (Debian package dpkg-dev): the packages' Depends cannot be computed");
        const Run cpack = run(QStringLiteral(DALVORA_CPACK),
                              {QStringLiteral("--config"), QStringLiteral(DALVORA_BUILD_DIR "/CPackConfig.cmake"),
                               QStringLiteral("-B"), m_packages.path()},
                              m_packages.path());
        QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));
        const QString suffix = u'_' + QLatin1String(AppInfo::Version) + QStringLiteral("_amd64.deb");
        m_programDeb = m_packages.filePath(QStringLiteral("dalvora") + suffix);
        QVERIFY2(QFile::exists(m_programDeb), qPrintable(QDir(m_packages.path()).entryList().join(u' ')));
        if (!PluginFile.isEmpty()) {
            m_manualDeb = m_packages.filePath(QStringLiteral("dalvora-manual") + suffix);
            QVERIFY(QFile::exists(m_manualDeb));
        }
    }

    QStringList debs() const
    {
        return m_manualDeb.isEmpty() ? QStringList{m_programDeb} : QStringList{m_programDeb, m_manualDeb};
    }

private Q_SLOTS:
    void initTestCase()
    {
        const Run install =
            run(QStringLiteral(DALVORA_CMAKE), {QStringLiteral("--install"), QStringLiteral(DALVORA_BUILD_DIR),
                                                QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    }

    void installedFiles()
    {
        QStringList wanted{QStringLiteral("bin/dalvora"),
                           QStringLiteral("share/applications/") + AppId + QStringLiteral(".desktop"),
                           QStringLiteral("share/icons/hicolor/scalable/apps/") + AppId + QStringLiteral(".svg"),
                           QStringLiteral("share/metainfo/") + AppId + QStringLiteral(".metainfo.xml"),
                           QStringLiteral("share/man/man1/dalvora.1.gz"),
                           QStringLiteral("share/doc/dalvora/README.md"),
                           QStringLiteral("share/doc/dalvora/copyright"),
                           QStringLiteral("share/doc/dalvora/changelog.gz")};
        // The README's pictures beside it, where its links point.
        for (const QString &picture :
             QDir(QStringLiteral(DALVORA_SOURCE_DIR "/docs/screenshots")).entryList(QDir::Files))
            wanted << QStringLiteral("share/doc/dalvora/docs/screenshots/") + picture;
        if (!PluginFile.isEmpty())
            wanted << PluginFile << QStringLiteral("share/doc/dalvora-manual/copyright");
        for (const QString &path : std::as_const(wanted))
            QVERIFY2(QFile::exists(installed(path)), qPrintable(path));
        QVERIFY(QFileInfo(installed(QStringLiteral("bin/dalvora"))).isExecutable());
        QCOMPARE(BrowserLauncher::pluginFileFor(installed(QStringLiteral("bin"))),
                 PluginFile.isEmpty() ? QString() : installed(PluginFile));

        // Each PNG lies in the folder of its own size, so the menu picks the right one.
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QString name = QStringLiteral("%1x%1").arg(size);
            const QImage icon(
                installed(QStringLiteral("share/icons/hicolor/%1/apps/").arg(name) + AppId + QStringLiteral(".png")));
            QCOMPARE(icon.size(), QSize(size, size));
        }
    }

    void desktopEntryNamesTheProgram()
    {
        const QHash<QString, QString> entry =
            desktopEntry(installed(QStringLiteral("share/applications/") + AppId + QStringLiteral(".desktop")));
        QCOMPARE(entry.value(QStringLiteral("Name")), QLatin1String(AppInfo::Title));
        for (const char *key : {"Name[pt]", "Name[es]", "Comment", "Comment[pt]", "Comment[es]"})
            QVERIFY2(!entry.value(QLatin1String(key)).isEmpty(), key);
        QVERIFY(entry.value(QStringLiteral("Categories")).split(u';').contains(QStringLiteral("Office")));
        QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("dalvora"));
        QCOMPARE(entry.value(QStringLiteral("Icon")), AppId);
    }

    // The release is the program's own version, and every picture of the README is shown.
    void metainfoCarriesTheVersionAndScreenshots()
    {
        QFile file(installed(QStringLiteral("share/metainfo/") + AppId + QStringLiteral(".metainfo.xml")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList releases;
        QStringList screenshots;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"release")
                releases << xml.attributes().value(QStringLiteral("version")).toString();
            else if (xml.name() == u"image")
                screenshots << xml.readElementText().section(u'/', -1);
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(releases, QStringList{QLatin1String(AppInfo::Version)});
        screenshots.sort();
        QCOMPARE(screenshots, QDir(QStringLiteral(DALVORA_SOURCE_DIR "/docs/screenshots")).entryList(QDir::Files));
    }

    void validatorsAccept_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("package");
        QTest::newRow("desktop entry") << QStringLiteral("desktop-file-validate")
                                       << QStringList{QStringLiteral("share/applications/") + AppId +
                                                      QStringLiteral(".desktop")}
                                       << QStringLiteral("desktop-file-utils");
        QTest::newRow("AppStream metainfo")
            << QStringLiteral("appstreamcli")
            << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                           QStringLiteral("share/metainfo/") + AppId + QStringLiteral(".metainfo.xml")}
            << QStringLiteral("appstream");
    }

    void validatorsAccept()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        QFETCH(QString, package);
        if (QStandardPaths::findExecutable(tool).isEmpty())
            QSKIP(qPrintable(tool + QStringLiteral(" was not found (Debian package ") + package +
                             QStringLiteral("): the installed file is not validated")));
        const Run check = run(tool, arguments, m_prefix.path());
        QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    }

    // Depends come from the linked libraries and the plugins Qt loads; the clerk's store and EDI/BL folder are never
    // the package's: no file outside /usr and no script that runs on install, upgrade or removal.
    void packageFields()
    {
        buildPackages();
        for (const QString &deb : debs()) {
            QCOMPARE(field(deb, QStringLiteral("Version")), QLatin1String(AppInfo::Version));
            const Run contents = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
            QCOMPARE(contents.exitCode, 0);
            for (const QString &line : contents.output.split(u'\n', Qt::SkipEmptyParts)) {
                const QString path = line.section(u' ', -1);
                QVERIFY2(path == u"./" || path.startsWith(u"./usr/"), qPrintable(line));
            }
            QTemporaryDir control;
            QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-e"), deb, control.path()}).exitCode, 0);
            QCOMPARE(QDir(control.path()).entryList(QDir::Files),
                     (QStringList{QStringLiteral("control"), QStringLiteral("md5sums")}));
        }

        const QString depends = field(m_programDeb, QStringLiteral("Depends"));
        for (const char *package : {"libc6", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6sql6-sqlite",
                                    "libqt6printsupport6", "libsqlite3-0"})
            QVERIFY2(depends.contains(QLatin1String(package)), qPrintable(depends));
        QVERIFY2(!depends.contains(u"fonts-liberation"), qPrintable(depends));
        QVERIFY2(!depends.contains(u"webengine"), qPrintable(depends));
        QCOMPARE(field(m_programDeb, QStringLiteral("Suggests")), QStringLiteral("libqt6sql6-psql"));
        if (m_manualDeb.isEmpty())
            return;
        const QString exact = QStringLiteral(" (= ") + QLatin1String(AppInfo::Version) + u')';
        QCOMPARE(field(m_programDeb, QStringLiteral("Recommends")), QStringLiteral("dalvora-manual") + exact);
        const QString manualDepends = field(m_manualDeb, QStringLiteral("Depends"));
        QVERIFY2(manualDepends.contains(QStringLiteral("dalvora") + exact), qPrintable(manualDepends));
        QVERIFY2(manualDepends.contains(u"libqt6webenginewidgets6"), qPrintable(manualDepends));
    }

    // lintian's errors fail the test; its warnings are listed in the test's output.
    void lintianFindsNoError()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty())
            QSKIP("lintian was not found (Debian package lintian): the packages are not checked");
        buildPackages();
        const Run lintian = run(QStringLiteral("lintian"), QStringList{QStringLiteral("--allow-root")} + debs());
        QStringList errors;
        for (const QString &line : lintian.output.split(u'\n', Qt::SkipEmptyParts)) {
            if (line.startsWith(u"E: "))
                errors << line;
            else
                qInfo("%s", qPrintable(line));
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'\n')));
        QVERIFY2(lintian.exitCode == 0, qPrintable(lintian.output));
    }

    // The packages unpacked into a root of their own: the program starts from there, shows its main window, keeps
    // its store in the working folder, writes nothing into the root, and ends through its close box.
    void unpackedPackageStarts()
    {
#ifdef DALVORA_HAS_DISPLAY
        if (VirtualDisplay::serverProgram().isEmpty())
            QSKIP("Xvfb was not found on PATH (Debian package xvfb): the program cannot be run on a display");
        buildPackages();
        QTemporaryDir root;
        for (const QString &deb : debs())
            QCOMPARE(run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root.path()}).exitCode, 0);
        const QStringList rootFiles = filesUnder(root.path());
        if (!PluginFile.isEmpty())
            QVERIFY(rootFiles.contains(QStringLiteral("usr/") + PluginFile));

        VirtualDisplay display;
        const QString failure = display.start();
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QTemporaryDir work;
        QVERIFY(QDir(work.path()).mkpath(QStringLiteral("home")) && QDir(work.path()).mkpath(QStringLiteral("run")));
        QVERIFY(QFile::setPermissions(work.filePath(QStringLiteral("run")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QProcessEnvironment environment = display.environment();
        environment.insert(QStringLiteral("HOME"), work.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.filePath(QStringLiteral("run")));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(work.path());
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(root.filePath(QStringLiteral("usr/bin/dalvora")), {});
        QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

        const XClient::Window mainWindow = display.waitForWindow(&program, 30000);
        QCOMPARE(mainWindow.title, QLatin1String(AppInfo::Title));
        QVERIFY(!mainWindow.dialog);
        QVERIFY(QFile::exists(work.filePath(QStringLiteral("dalvora.db"))));
        QVERIFY(display.client().requestClose(mainWindow.id));
        QVERIFY2(program.waitForFinished(15000), "the program was still running after its close box");
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(filesUnder(root.path()), rootFiles);
#else
        QSKIP(
            "built without libxcb or its XTEST extension (Debian packages libxcb1-dev, libxcb-xtest0-dev): the program "
            "cannot be run on a display");
#endif
    }
};

DALVORA_TEST_MAIN(TestPackage)
#include "tst_package.moc"
