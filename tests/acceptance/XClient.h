#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

struct xcb_connection_t;

// A plain client of an X server without a window manager: lists the top-level windows as the server knows them and
// asks one to close the way a window manager's close box does, with a WM_DELETE_WINDOW client message.
class XClient
{
public:
    struct Window
    {
        quint32 id = 0;
        QString title;       // _NET_WM_NAME, or WM_NAME when the window has no UTF-8 title
        qint64 pid = 0;      // _NET_WM_PID, 0 when the window does not say
        bool dialog = false; // _NET_WM_WINDOW_TYPE lists _NET_WM_WINDOW_TYPE_DIALOG
        QSize size;
    };

    explicit XClient(const QByteArray &display);
    ~XClient();
    XClient(const XClient &) = delete;
    XClient &operator=(const XClient &) = delete;

    bool isConnected() const;
    // The mapped children of the root window: without a window manager these are the clients' top-level windows.
    QList<Window> viewableTopLevels() const;
    // Sends WM_DELETE_WINDOW to a window that takes part in that protocol; false (nothing sent) when the window does
    // not list WM_DELETE_WINDOW in its WM_PROTOCOLS.
    bool requestClose(quint32 window) const;

private:
    quint32 atom(const char *name) const;
    QByteArray property(quint32 window, quint32 property, quint32 type) const;

    xcb_connection_t *m_connection = nullptr;
    quint32 m_root = 0;
};
