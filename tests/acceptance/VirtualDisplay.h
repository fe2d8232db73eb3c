#pragma once

#include "XClient.h"

#include <QList>
#include <QProcess>
#include <functional>
#include <memory>

// An X server of the test's own (Xvfb, without a window manager) with a client of it, on which the program is run as
// a process the way the user runs it.
class VirtualDisplay
{
public:
    VirtualDisplay() = default;
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    // Xvfb on PATH (Debian package xvfb), empty when there is none.
    static QString serverProgram();
    // Polls the condition, letting events run, until it holds (true) or the time is up (false).
    static bool waitUntil(const std::function<bool()> &condition, int ms);

    // Starts the server and connects to it; what went wrong, or an empty text when the display is ready.
    QString start();
    QByteArray name() const { return m_display; }
    const XClient &client() const { return *m_x; }
    // The environment of a program shown on this display.
    QProcessEnvironment environment() const;
    // The top-level windows on the display that a process shows.
    QList<XClient::Window> windowsOf(const QProcess *process) const;
    // The one window a process shows, once it is on the display; an empty window when none came in time or the
    // process ended first.
    XClient::Window waitForWindow(const QProcess *process, int ms) const;

private:
    QProcess m_server;
    QByteArray m_display;
    std::unique_ptr<XClient> m_x;
};
