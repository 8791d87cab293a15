#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "components/discbay/vcd_disc.h"

struct mpv_handle;

// A libmpv stream protocol that reads a Video CD's file through VcdDisc, so that libmpv gets
// the 2,324 data bytes of each Form 2 sector and nothing else. Each stream libmpv opens owns
// its own disc handle: libmpv reads it on its own thread.

// Registers the protocol with a handle, after mpv_initialize.
void RegisterVcdStreams(mpv_handle* handle);

// The address libmpv opens the file by; both strings travel in hexadecimal, so any path works.
std::string VcdStreamUrl(const RawVcdSource& source);
// The source an address of VcdStreamUrl names; nullopt for anything else.
std::optional<RawVcdSource> ParseVcdStreamUrl(std::string_view url);

// Whether the file is on the disc and holds data: what a file's existence is for the engine.
bool VcdStreamHasData(const RawVcdSource& source);
