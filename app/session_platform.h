#pragma once

#include <string>

// What the session offers, from its environment.
struct SessionEnvironment {
    std::string qpaPlatform;     // QT_QPA_PLATFORM: the user's own choice
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string sessionType;     // XDG_SESSION_TYPE
    std::string display;         // DISPLAY

    static SessionEnvironment current();
};

// The Qt platform the player asks for, or empty for Qt's own choice. A skinned player places
// its windows and cuts their outlines, which Wayland leaves to the compositor: on a Wayland
// session that also has an X display it runs there ("xcb", through XWayland). The user's
// QT_QPA_PLATFORM always wins.
std::string Session_PreferredPlatform(const SessionEnvironment& session);

// Asks for the preferred platform, through QT_QPA_PLATFORM, before the application is made;
// true when it set the variable, which Session_ForgetPlatform then takes back so that the
// programs the player starts get the session's own choice.
bool Session_ChoosePlatform();
void Session_ForgetPlatform(bool chosen);
