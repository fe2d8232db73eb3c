#include "XClient.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace {

// xcb replies are malloc'ed and released with free().
template <class Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply> ReplyPtr<Reply> own(Reply *reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

QList<quint32> cardinals(const QByteArray &data)
{
    QList<quint32> values(data.size() / qsizetype(sizeof(quint32)));
    std::memcpy(values.data(), data.constData(), values.size() * sizeof(quint32));
    return values;
}

constexpr quint32 TabKeysym = 0xff09;
constexpr quint32 ShiftKeysym = 0xffe1;

} // namespace

XClient::XClient(const QByteArray &display)
{
    int screenNumber = 0;
    m_connection = xcb_connect(display.constData(), &screenNumber);
    if (xcb_connection_has_error(m_connection))
        return;
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    m_root = screens.data->root;
}

XClient::~XClient()
{
    xcb_disconnect(m_connection);
}

bool XClient::isConnected() const
{
    return m_root != 0 && !xcb_connection_has_error(m_connection);
}

quint32 XClient::atom(const char *name) const
{
    const auto reply = own(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, false, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : quint32(XCB_ATOM_NONE);
}

QByteArray XClient::property(quint32 window, quint32 property, quint32 type) const
{
    const auto reply = own(xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, false, window, property, type, 0, 1024), nullptr));
    if (!reply || reply->type == XCB_ATOM_NONE)
        return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

QList<XClient::Window> XClient::viewableTopLevels() const
{
    QList<Window> windows;
    if (!isConnected())
        return windows;
    const auto tree = own(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
    if (!tree)
        return windows;
    const xcb_window_t *children = xcb_query_tree_children(tree.get());
    const quint32 netWmName = atom("_NET_WM_NAME");
    const quint32 utf8 = atom("UTF8_STRING");
    const quint32 netWmPid = atom("_NET_WM_PID");
    const quint32 windowType = atom("_NET_WM_WINDOW_TYPE");
    const quint32 dialogType = atom("_NET_WM_WINDOW_TYPE_DIALOG");
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t id = children[i];
        const auto attributes =
            own(xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, id), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        Window window;
        window.id = id;
        const QByteArray utf8Title = property(id, netWmName, utf8);
        window.title = utf8Title.isNull() ? QString::fromLatin1(property(id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING))
                                          : QString::fromUtf8(utf8Title);
        window.pid = cardinals(property(id, netWmPid, XCB_ATOM_CARDINAL)).value(0);
        window.dialog = cardinals(property(id, windowType, XCB_ATOM_ATOM)).contains(dialogType);
        if (const auto geometry =
                own(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, id), nullptr)))
            window.size = QSize(geometry->width, geometry->height);
        windows << window;
    }
    return windows;
}

bool XClient::requestClose(quint32 window) const
{
    const quint32 protocols = atom("WM_PROTOCOLS");
    const quint32 deleteWindow = atom("WM_DELETE_WINDOW");
    if (!cardinals(property(window, protocols, XCB_ATOM_ATOM)).contains(deleteWindow))
        return false;
    // ICCCM 4.2.8.1: a ClientMessage of type WM_PROTOCOLS, sent to the window with an empty event mask, so it goes
    // to the client that created the window.
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = protocols;
    event.data.data32[0] = deleteWindow;
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, false, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
    return xcb_flush(m_connection) > 0;
}

QPoint XClient::origin(quint32 window) const
{
    const auto reply = own(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0), nullptr));
    return reply ? QPoint(reply->dst_x, reply->dst_y) : QPoint();
}

void XClient::focus(quint32 window) const
{
    xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_flush(m_connection);
}

void XClient::fake(quint8 type, quint8 detail, QPoint position) const
{
    xcb_test_fake_input(m_connection, type, detail, XCB_CURRENT_TIME, m_root, qint16(position.x()),
                        qint16(position.y()), 0);
}

void XClient::click(QPoint position) const
{
    fake(XCB_MOTION_NOTIFY, 0, position);
    fake(XCB_BUTTON_PRESS, 1);
    fake(XCB_BUTTON_RELEASE, 1);
    // A round trip: once it returns the server has put the click in the program's queue.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
}

QPair<quint8, bool> XClient::keyOf(quint32 keysym) const
{
    const xcb_setup_t *setup = xcb_get_setup(m_connection);
    const quint8 first = setup->min_keycode;
    const auto map = own(xcb_get_keyboard_mapping_reply(
        m_connection, xcb_get_keyboard_mapping(m_connection, first, quint8(setup->max_keycode - first + 1)), nullptr));
    if (!map)
        return {0, false};
    const xcb_keysym_t *keysyms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perKey = map->keysyms_per_keycode;
    const int keys = xcb_get_keyboard_mapping_keysyms_length(map.get()) / std::max(perKey, 1);
    // The unshifted level first, so a key is pressed without Shift whenever it can be.
    for (int level = 0; level < std::min(perKey, 2); ++level)
        for (int key = 0; key < keys; ++key)
            if (keysyms[key * perKey + level] == keysym)
                return {quint8(first + key), level == 1};
    return {0, false};
}

bool XClient::type(const QString &text) const
{
    const quint8 shift = keyOf(ShiftKeysym).first;
    QList<QPair<quint8, bool>> keys;
    for (const QChar c : text) {
        const auto key = keyOf(c == u'\t' ? TabKeysym : c.unicode());
        if (key.first == 0 || (key.second && shift == 0) || c.unicode() > 0x7e)
            return false;
        keys << key;
    }
    for (const auto &[key, shifted] : std::as_const(keys)) {
        if (shifted)
            fake(XCB_KEY_PRESS, shift);
        fake(XCB_KEY_PRESS, key);
        fake(XCB_KEY_RELEASE, key);
        if (shifted)
            fake(XCB_KEY_RELEASE, shift);
    }
    return xcb_flush(m_connection) > 0;
}
