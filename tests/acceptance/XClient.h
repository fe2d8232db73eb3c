#pragma once

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>

struct xcb_connection_t;

// A plain client of an X server without a window manager: lists the top-level windows as the server knows them, asks
// one to close the way a window manager's close box does, with a WM_DELETE_WINDOW client message, and plays the
// user's keyboard and mouse through the XTEST extension.
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

    // Where a window's top-left corner lies on the screen.
    QPoint origin(quint32 window) const;
    // Gives a window the keyboard, as a window manager does when the user clicks into it.
    void focus(quint32 window) const;
    // A left click at a point of the screen: the pointer moves there, the button goes down and up.
    void click(QPoint position) const;
    // Presses and releases the keys of a text (printable ASCII, and '\t' for Tab), with Shift where the keyboard
    // map puts a character on the shifted level; false (nothing sent) when a character has no key.
    bool type(const QString &text) const;

private:
    quint32 atom(const char *name) const;
    QByteArray property(quint32 window, quint32 property, quint32 type) const;
    // The keycode and shift level of a keysym in the server's keyboard map; keycode 0 when no key carries it.
    QPair<quint8, bool> keyOf(quint32 keysym) const;
    void fake(quint8 type, quint8 detail, QPoint position = {}) const;

    xcb_connection_t *m_connection = nullptr;
    quint32 m_root = 0;
};
