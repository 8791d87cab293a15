#pragma once

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/wiring.h"
#include "disc/play_list.h"

// Parts that make no windows: the main window is made, and destroyed, without them.
template <class Base>
class WithoutWindows : public Base {
public:
    using Base::Base;
    bool loadCursors() override { return false; }
    void destroyCursors() override {}
    bool createPanel(std::string&) override { return true; }
    void destroyPanel() override {}
    bool createVideoFrame(std::string&) override { return true; }
    void destroyVideoFrame() override {}
    bool createPlayList(std::string&) override { return true; }
    void destroyPlayList() override {}
};

// The logic's parts as the player has them, without windows.
using WindowlessParts = WithoutWindows<LogicParts>;

// Parts that do nothing at all; a test overrides what it records.
class NoLogicParts : public MainWindowParts {
public:
    void readMuteState(bool) override {}
    void readVolumeLevel(bool) override {}
    void loadDisc(uintptr_t, intptr_t) override {}
    bool dispatchCommand(CommandId, CommandPhase) override { return false; }
    bool appCommandPost(uintptr_t, intptr_t) override { return false; }
    bool appCommandRun(uintptr_t, intptr_t) override { return false; }
    bool pollPosition() override { return true; }
    void pbcWaitElapsed() override {}
    void playFiles(const std::vector<std::string>&) override {}
};
using NoParts = WithoutWindows<NoLogicParts>;

// The logic's parts with the player's play list, without its other windows.
class ListParts : public WindowlessParts {
public:
    using WindowlessParts::WindowlessParts;
    bool createPlayList(std::string&) override { return records_.playList.PlayList_Create(); }
    void destroyPlayList() override { records_.playList.PlayList_Destroy(); }
};
