#include "app/player.h"

#include <iostream>

#include "app/main_host.h"
#include "app/main_window.h"
#include "desktop/idle_inhibitor.h"
#include "disc/play_list.h"
#include "mpris/mpris_service.h"

Player::Player(InstanceChannel* channel, ShutdownSignals& shutdownSignals, const std::string& instance)
{
    records_.windows.instance = instance;
    InstallDesktopComponents(records_);
    WirePlayerLogic(records_, windows_);
    parts_ = std::make_unique<PlayerParts>(records_, windows_);
    unwired_ = UnwiredParts(records_);
    host_ = std::make_unique<MainHost>(MainWindowLinksOf(records_), records_.modalLoops, channel, shutdownSignals,
                                       *parts_);
    windows_.dropTarget = &host_->mainWindow();
}

Player::~Player()
{
    idleInhibitor_.reset();
    QDBusConnection::disconnectFromBus("quintara-idle");
    mediaControls_.reset();
    // After an orderly shut-down nothing is left; after a refused start what was made goes
    // now, while Qt still runs, and the components go with the records.
    windows_.release();
    records_.playList.PlayList_Destroy();
    host_.reset();
}

int Player::create()
{
    for (const std::string& part : unwired_)
        std::cerr << "quintara: " << part << " is not wired" << std::endl;
    if (!unwired_.empty())
        return -1;
    const int result = host_->create();
    if (result == 0) {
        mediaControls_ = StartMediaControls(records_);
        idleInhibitor_ = StartIdleInhibition(records_);
    }
    return result;
}

MainWindow& Player::mainWindow()
{
    return host_->mainWindow();
}
