#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/main_window.h"

// A main window host made of the test's functions; one left unset does nothing, and answers no
// user name and no modal loop to wait for.
class FunctionHost : public MainWindowHost {
public:
    void post(const Message& message) override
    {
        if (onPost)
            onPost(message);
    }
    void postQuit(int status) override
    {
        if (onPostQuit)
            onPostQuit(status);
    }
    std::string userName() const override { return onUserName ? onUserName() : std::string(); }
    void complain(std::string_view line) override
    {
        if (onComplain)
            onComplain(line);
    }
    bool endModalLoops() override { return onEndModalLoops && onEndModalLoops(); }

    std::function<void(const Message&)> onPost;
    std::function<void(int status)> onPostQuit;
    std::function<std::string()> onUserName;
    std::function<void(std::string_view)> onComplain;
    std::function<bool()> onEndModalLoops;
};
