#pragma once

#include <cstdint>
#include <random>
#include <utility>

#include <QObject>

#include "playback/playback.h"

// One disc under playback control: its lists, what plays of them, and how it was asked.
struct Playback::PbcSession {
    PbcSession(uint32_t onDrive, DiscControlReader::Reading read, PbcPlayer& player)
        : drive(onDrive), reading(std::move(read)), navigator(*reading->control, player)
    {
    }
    ~PbcSession() { QObject::disconnect(itemEnd); }
    PbcSession(const PbcSession&) = delete;
    PbcSession& operator=(const PbcSession&) = delete;

    uint32_t drive;
    DiscControlReader::Reading reading;
    PbcNavigator navigator;
    VcdPlayItem item;  // what plays, or opens once its entry's time is known
    uint32_t limitMs = 0;  // the list's play time for each item; 0 for none
    uint32_t startMs = 0;  // where the item begins in its file
    bool awaitingTimes = false;
    bool playWhenOpen = true;
    bool opening = false;
    QMetaObject::Connection itemEnd;
    std::minstd_rand random{std::random_device{}()};
};
