#pragma once

class Window;

// Choosing a play list: the play-list dialog, owned by the given window; true when closed
// with OK. The dialog implements it.
class PlayListChooser {
public:
    virtual bool choose(Window* owner) const = 0;

protected:
    ~PlayListChooser() = default;
};
