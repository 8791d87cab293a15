#include "tests/support/x11_windows.h"

#include <xcb/xtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {
template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
Owned<Reply> own(Reply* reply)
{
    return Owned<Reply>(reply, &std::free);
}
}  // namespace

X11Windows::X11Windows()
{
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i)
        xcb_screen_next(&screens);
    connection_ = connection;
    root_ = screens.data->root;
}

X11Windows::~X11Windows()
{
    if (connection_)
        xcb_disconnect(connection_);
}

xcb_atom_t X11Windows::atom(const char* name)
{
    const auto reply = own(xcb_intern_atom_reply(
        connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::vector<uint32_t> X11Windows::cardinals(xcb_window_t window, const char* name, xcb_atom_t type)
{
    const auto reply = own(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, atom(name), type, 0, 1u << 22), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
}

std::vector<xcb_window_t> X11Windows::shownWindows(int64_t pid)
{
    std::vector<xcb_window_t> shown;
    if (!connection_)
        return shown;
    const auto tree = own(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    if (!tree)
        return shown;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const auto attributes = own(xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        const std::vector<uint32_t> owner = cardinals(children[i], "_NET_WM_PID", XCB_ATOM_CARDINAL);
        if (!owner.empty() && owner.front() == pid)
            shown.push_back(children[i]);
    }
    return shown;
}

std::optional<xcb_window_t> X11Windows::shownWindowTitled(int64_t pid, const QString& wanted)
{
    for (xcb_window_t window : shownWindows(pid)) {
        if (title(window) == wanted)
            return window;
    }
    return std::nullopt;
}

std::optional<xcb_window_t> X11Windows::shownMenu(int64_t pid)
{
    // A menu takes the pointer past the window manager; of such windows a tip names itself.
    const xcb_atom_t tip = atom("_NET_WM_WINDOW_TYPE_TOOLTIP");
    for (xcb_window_t window : shownWindows(pid)) {
        const auto attributes =
            own(xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr));
        const std::vector<uint32_t> types = cardinals(window, "_NET_WM_WINDOW_TYPE", XCB_ATOM_ATOM);
        if (attributes && attributes->override_redirect && std::find(types.begin(), types.end(), tip) == types.end())
            return window;
    }
    return std::nullopt;
}

QString X11Windows::title(xcb_window_t window)
{
    const xcb_atom_t name = atom("_NET_WM_NAME");
    const auto reply = own(xcb_get_property_reply(
        connection_, xcb_get_property(connection_, 0, window, name, atom("UTF8_STRING"), 0, 1024), nullptr));
    if (!reply)
        return {};
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

QRect X11Windows::geometry(xcb_window_t window)
{
    const auto size = own(xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    const auto corner = own(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr));
    if (!size || !corner)
        return {};
    return QRect(corner->dst_x, corner->dst_y, size->width, size->height);
}

QImage X11Windows::icon(xcb_window_t window)
{
    // Pictures one after the other: width, height, then ARGB pixels, a row at a time.
    const std::vector<uint32_t> data = cardinals(window, "_NET_WM_ICON", XCB_ATOM_CARDINAL);
    QImage largest;
    for (size_t at = 0; at + 2 <= data.size();) {
        const uint32_t width = data[at], height = data[at + 1];
        const size_t count = size_t{width} * height;
        if (width == 0 || height == 0 || count > data.size() - at - 2)
            break;
        QImage picture(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x)
                picture.setPixel(static_cast<int>(x), static_cast<int>(y), data[at + 2 + y * width + x]);
        }
        if (picture.width() > largest.width())
            largest = picture;
        at += 2 + count;
    }
    return largest;
}

bool X11Windows::type(xcb_window_t window, uint32_t keysym)
{
    if (!connection_)
        return false;
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const uint8_t count = static_cast<uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    const auto mapping = own(xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, count), nullptr));
    if (!mapping)
        return false;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int perCode = mapping->keysyms_per_keycode;
    const int total = xcb_get_keyboard_mapping_keysyms_length(mapping.get());
    const auto found = std::find(symbols, symbols + total, keysym);
    if (found == symbols + total || perCode == 0)
        return false;
    const auto code = static_cast<uint8_t>(setup->min_keycode + (found - symbols) / perCode);
    xcb_set_input_focus(connection_, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    xcb_test_fake_input(connection_, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    const auto focus = own(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return focus != nullptr;
}

bool X11Windows::click(QPoint onRoot)
{
    if (!connection_)
        return false;
    xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, static_cast<int16_t>(onRoot.x()),
                        static_cast<int16_t>(onRoot.y()), 0);
    xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    // A round trip: the server has taken all three when it answers.
    const auto focus = own(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    return focus != nullptr;
}
