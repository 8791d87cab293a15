#include "app/player.h"

#include <iostream>

#include "app/main_host.h"
#include "app/main_window.h"
#include "context/app_context.h"
#include "desktop/idle_inhibitor.h"
#include "disc/play_list.h"
#include "mpris/mpris_service.h"

Player::Player(InstanceChannel* channel, ShutdownSignals& shutdownSignals)
{
    resetApp();
    InstallDesktopComponents();
    WirePlayerLogic(windows_);
    parts_ = std::make_unique<PlayerParts>(windows_);
    unwired_ = UnwiredParts();
    host_ = std::make_unique<MainHost>(MainWindowLinksFromApp(), app().modalLoops, channel, shutdownSignals, *parts_);
    windows_.filesDropped = DropsInto(host_->mainWindow());
}

Player::~Player()
{
    idleInhibitor_.reset();
    QDBusConnection::disconnectFromBus("quintara-idle");
    mediaControls_.reset();
    // After an orderly shut-down nothing is left; after a refused start what was made goes
    // now, while Qt still runs, and the components go with the records.
    windows_.release();
    PlayList_Destroy();
    host_.reset();
    resetApp();
}

int Player::create()
{
    for (const std::string& part : unwired_)
        std::cerr << "quintara: " << part << " is not wired" << std::endl;
    if (!unwired_.empty())
        return -1;
    const int result = host_->create();
    if (result == 0) {
        mediaControls_ = StartMediaControls(host_->mainWindow());
        idleInhibitor_ = StartIdleInhibition();
    }
    return result;
}

MainWindow& Player::mainWindow()
{
    return host_->mainWindow();
}
