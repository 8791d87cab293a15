#pragma once

#include <optional>

#include <QPoint>

class QWidget;

// Moving the panel by its body. The window manager's move where there is one; on a bare X
// server (and on the offscreen platform) the panel follows the pointer itself until release.
class PanelDrag {
public:
    // The left button went down on the body at this global pointer position.
    void begin(QWidget& window, QPoint pointer);
    bool following() const { return follow_.has_value(); }
    // The pointer moved while following: the window moves by as much.
    void follow(QWidget& window, QPoint pointer) const;
    void end() { follow_.reset(); }

private:
    struct Follow {
        QPoint origin;       // the pointer at the press
        QPoint windowStart;  // the window's position then
    };
    std::optional<Follow> follow_;
};
