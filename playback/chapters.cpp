#include "playback/chapters.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "components/discbay/drive_table.h"
#include "core/text.h"

std::optional<uint32_t> NextChapter(const std::vector<uint32_t>& starts, uint32_t position)
{
    if (starts.size() < 2)
        return std::nullopt;
    const auto next = std::upper_bound(starts.begin(), starts.end(), position);
    return next == starts.end() ? std::nullopt : std::optional(*next);
}

std::optional<uint32_t> PreviousChapter(const std::vector<uint32_t>& starts, uint32_t position)
{
    if (starts.size() < 2)
        return std::nullopt;
    const auto after = std::upper_bound(starts.begin(), starts.end(), position);
    const size_t current = after == starts.begin() ? 0 : static_cast<size_t>(after - starts.begin()) - 1;
    if (position > starts[current] + kChapterRestartMs)
        return starts[current];
    if (current > 0)
        return starts[current - 1];
    return std::nullopt;
}

DiscChapters::DiscChapters()
{
    connect(&reader_, &DiscControlReader::controlRead, this, &DiscChapters::controlRead);
    connect(&reader_, &DiscControlReader::entryTimesRead, this, &DiscChapters::timesRead);
}

bool DiscChapters::arrived(uint32_t drive, const DriveTable& table)
{
    left(drive);
    return discOf(drive, table) != nullptr;
}

void DiscChapters::left(uint32_t drive)
{
    reader_.forget(drive);
    discs_.erase(drive);
}

DiscChapters::Disc* DiscChapters::discOf(uint32_t drive, const DriveTable& table)
{
    if (const auto known = discs_.find(drive); known != discs_.end())
        return &known->second;
    // Only a drive with a door holds a disc with entry points.
    if (!table.isCdRomDrive(drive) || !table.presentRoot(drive))
        return nullptr;
    Disc& disc = discs_[drive];
    disc.source = VcdDiscSourceOf(table.slot(drive));
    disc.root = table.slot(drive).root == "/" ? "" : table.slot(drive).root;
    reader_.read(drive, disc.source);
    return &disc;
}

std::vector<uint32_t> DiscChapters::startsOf(const std::string& path, const DriveTable& table)
{
    const std::optional<uint32_t> drive = table.driveOf(path);
    Disc* disc = drive ? discOf(*drive, table) : nullptr;
    if (disc && !disc->reading)
        disc->wanted = path;
    const std::optional<uint8_t> cdTrack = disc ? cdTrackOf(*disc, path) : std::nullopt;
    const DiscControlReader::EntryTimes* times = cdTrack ? timesIn(*drive, *disc, *cdTrack) : nullptr;
    std::vector<uint32_t> starts;
    for (const std::optional<double>& seconds : times ? *times : DiscControlReader::EntryTimes{})
        if (seconds && *seconds >= 0)
            starts.push_back(static_cast<uint32_t>(std::lround(*seconds * 1000)));
    std::ranges::sort(starts);
    return starts;
}

DiscControlReader::Reading DiscChapters::readingOf(uint32_t drive) const
{
    const auto disc = discs_.find(drive);
    return disc == discs_.end() ? nullptr : disc->second.reading;
}

std::string DiscChapters::rootOf(uint32_t drive) const
{
    const auto disc = discs_.find(drive);
    return disc == discs_.end() ? std::string() : disc->second.root;
}

std::optional<DiscControlReader::EntryTimes> DiscChapters::timesOf(uint32_t drive, uint8_t cdTrack)
{
    const auto disc = discs_.find(drive);
    if (disc == discs_.end() || !disc->second.reading)
        return std::nullopt;
    const DiscControlReader::EntryTimes* times = timesIn(drive, disc->second, cdTrack);
    return times ? std::optional(*times) : std::nullopt;
}

const DiscControlReader::EntryTimes* DiscChapters::knownTimesOf(uint32_t drive, uint8_t cdTrack) const
{
    const auto disc = discs_.find(drive);
    if (disc == discs_.end())
        return nullptr;
    const auto times = disc->second.times.find(cdTrack);
    return times == disc->second.times.end() ? nullptr : &times->second;
}

std::optional<uint8_t> DiscChapters::cdTrackOf(const Disc& disc, const std::string& path) const
{
    if (!disc.reading)
        return std::nullopt;
    const std::string inside = path.substr(std::min(path.size(), disc.root.size()));
    const auto file = std::ranges::find_if(disc.reading->trackFiles,
                                           [&](const auto& track) { return EqualsIgnoringCase(track.second, inside); });
    return file == disc.reading->trackFiles.end() ? std::nullopt : std::optional(file->first);
}

const DiscControlReader::EntryTimes* DiscChapters::timesIn(uint32_t drive, Disc& disc, uint8_t cdTrack)
{
    if (const auto known = disc.times.find(cdTrack); known != disc.times.end())
        return &known->second;
    if (disc.asked.insert(cdTrack).second)
        reader_.readEntryTimes(drive, disc.source, disc.reading, cdTrack);
    return nullptr;
}

void DiscChapters::controlRead(uint32_t drive, const DiscControlReader::Reading& reading)
{
    const auto disc = discs_.find(drive);
    if (disc == discs_.end())
        return;
    disc->second.reading = reading;
    if (const std::string wanted = std::exchange(disc->second.wanted, {}); !wanted.empty())
        if (const std::optional<uint8_t> cdTrack = cdTrackOf(disc->second, wanted))
            timesIn(drive, disc->second, *cdTrack);
    emit controlKnown(drive);
}

void DiscChapters::timesRead(uint32_t drive, uint8_t cdTrack, const DiscControlReader::EntryTimes& times)
{
    const auto disc = discs_.find(drive);
    if (disc == discs_.end())
        return;
    disc->second.times[cdTrack] = times;
    emit timesKnown(drive);
}
