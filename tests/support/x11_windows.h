#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include <xcb/xcb.h>

// The X server as a window manager and a user see it: the top-level windows of a process,
// what they tell the window manager, and a pointer that clicks.
class X11Windows {
public:
    X11Windows();
    ~X11Windows();
    X11Windows(const X11Windows&) = delete;
    X11Windows& operator=(const X11Windows&) = delete;

    bool connected() const { return connection_ != nullptr; }
    // The mapped top-level windows of that process.
    std::vector<xcb_window_t> shownWindows(int64_t pid);
    std::optional<xcb_window_t> shownWindowTitled(int64_t pid, const QString& title);
    // A shown pop-up menu of the process.
    std::optional<xcb_window_t> shownMenu(int64_t pid);
    QString title(xcb_window_t window);
    QRect geometry(xcb_window_t window);  // on the root window
    // The largest picture of _NET_WM_ICON; a null image when there is none.
    QImage icon(xcb_window_t window);
    // A left click through the server's test extension, as a user's would be.
    bool click(QPoint onRoot);
    // A key typed into the window, which gets the keyboard's focus first as a window manager
    // would give it; the key is named by its keysym ('3' for the digit).
    bool type(xcb_window_t window, uint32_t keysym);

private:
    xcb_atom_t atom(const char* name);
    std::vector<uint32_t> cardinals(xcb_window_t window, const char* name, xcb_atom_t type);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
};
