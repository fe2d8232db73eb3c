#include "VirtualDisplay.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

VirtualDisplay::~VirtualDisplay()
{
    m_x.reset();
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }
}

QString VirtualDisplay::serverProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
}

bool VirtualDisplay::waitUntil(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qWait(50);
    }
    return true;
}

QString VirtualDisplay::start()
{
    // -displayfd: the server picks a free display number and writes it on stdout once it accepts clients.
    m_server.setProgram(serverProgram());
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp")});
    // Its complaints go to the test's output, and never fill a pipe nobody reads.
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start();
    if (!m_server.waitForStarted(10000))
        return m_server.errorString();
    waitUntil([this] { return m_server.canReadLine() || m_server.state() != QProcess::Running; }, 20000);
    const QByteArray number = m_server.readLine().trimmed();
    if (number.isEmpty())
        return QStringLiteral("Xvfb gave no display number");
    m_display = ':' + number;
    m_x = std::make_unique<XClient>(m_display);
    return m_x->isConnected() ? QString()
                              : QStringLiteral("no connection to display ") + QString::fromLatin1(m_display);
}

QProcessEnvironment VirtualDisplay::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_display));
    return environment;
}

QList<XClient::Window> VirtualDisplay::windowsOf(const QProcess *process) const
{
    QList<XClient::Window> windows;
    for (const XClient::Window &window : m_x->viewableTopLevels())
        if (window.pid == process->processId())
            windows << window;
    return windows;
}

XClient::Window VirtualDisplay::waitForWindow(const QProcess *process, int ms) const
{
    QList<XClient::Window> windows;
    waitUntil(
        [&] {
            windows = windowsOf(process);
            return !windows.isEmpty() || process->state() == QProcess::NotRunning;
        },
        ms);
    return windows.size() == 1 ? windows.constFirst() : XClient::Window{};
}
