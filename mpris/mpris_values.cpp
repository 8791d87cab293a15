#include "mpris/mpris_values.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <string>
#include <utility>

#include "components/components.h"
#include "core/player_settings.h"
#include "disc/image_disc.h"
#include "disc/play_list.h"
#include "playback/playback.h"

namespace {
constexpr std::pair<RepeatMode, const char*> kLoopNames[] = {
    {RepeatMode::Off, "None"},
    {RepeatMode::List, "Playlist"},
    {RepeatMode::Track, "Track"},
};

QVariantMap metadataOf(const PlayListStore& playList, const PlayerState& state)
{
    QVariantMap metadata;
    metadata.insert("mpris:trackid", QVariant::fromValue(MprisTrackId(playList, state.currentTrack)));
    std::string path;
    if (state.currentTrack == 0 || !playList.PlayList_GetPath(state.currentTrack - 1, path))
        return metadata;
    // A length the engine does not know is left out rather than given as none.
    if (state.length != 0)
        metadata.insert("mpris:length", qlonglong(state.length) * 1000);
    const QString name = QFile::decodeName(path.c_str());
    metadata.insert("xesam:title", QFileInfo(name).fileName());
    // A track inside a disc image is no file another program could open.
    if (const std::optional<ImagePath> image = SplitImagePath(path); !image || image->inside == "/")
        metadata.insert("xesam:url", QUrl::fromLocalFile(name).toString(QUrl::FullyEncoded));
    metadata.insert("xesam:trackNumber", int(state.currentTrack));
    return metadata;
}

// Under a Video CD's playback control: the list and its item, by kind and number.
QVariantMap pbcMetadataOf(const PbcNow& now, const PlayerState& state)
{
    using Kind = VcdPlayItem::Kind;
    QVariantMap metadata;
    const QString lid = QString::number(now.lid);
    metadata.insert("mpris:trackid",
                    QVariant::fromValue(QDBusObjectPath(QString("/com/halvex/Quintara/Pbc/L%1/I%2").arg(lid).arg(now.item.id))));
    metadata.insert("xesam:album", QString::fromStdString(now.albumId));
    if (now.item.kind == Kind::Segment) {
        metadata.insert("xesam:title", QString(now.menu ? "Menu (list %1)" : "Picture (list %1)").arg(lid));
        return metadata;
    }
    const int track = static_cast<int>(state.currentTrack);
    metadata.insert("xesam:title", now.item.kind == Kind::Entry
                                       ? QString("Track %1 from entry %2").arg(track).arg(now.item.number + 1)
                                       : QString("Track %1").arg(track));
    metadata.insert("xesam:trackNumber", track);
    if (state.length != 0)
        metadata.insert("mpris:length", qlonglong(state.length) * 1000);
    return metadata;
}

struct Property {
    const char* name;
    QVariant (*value)(const MprisValues&);
};

constexpr Property kSignalled[] = {
    {"PlaybackStatus", [](const MprisValues& v) { return QVariant(v.playbackStatus); }},
    {"LoopStatus", [](const MprisValues& v) { return QVariant(v.loopStatus); }},
    {"Metadata", [](const MprisValues& v) { return QVariant(v.metadata); }},
    {"Volume", [](const MprisValues& v) { return QVariant(v.volume); }},
    {"Rate", [](const MprisValues& v) { return QVariant(v.rate); }},
    {"CanGoNext", [](const MprisValues& v) { return QVariant(v.canGoNext); }},
    {"CanGoPrevious", [](const MprisValues& v) { return QVariant(v.canGoPrevious); }},
    {"CanPlay", [](const MprisValues& v) { return QVariant(v.canPlay); }},
    {"CanPause", [](const MprisValues& v) { return QVariant(v.canPause); }},
    {"CanSeek", [](const MprisValues& v) { return QVariant(v.canSeek); }},
};
}  // namespace

MprisValues CurrentMprisValues(const MprisLinks& links, double volume)
{
    const PlayerState& state = links.state;
    const bool loaded = state.trackCount != 0;
    MprisValues values;
    values.playbackStatus = PlaybackStatusName(state.status);
    values.loopStatus = LoopStatusName(state.repeatMode);
    values.metadata = metadataOf(links.playList, state);
    values.volume = volume;
    values.rate = MprisRate(links);
    values.canGoNext = loaded;
    values.canGoPrevious = state.trackCount > 1;
    values.canPlay = loaded;
    values.canPause = loaded;
    values.canSeek = loaded && state.length != 0;
    if (const std::optional<PbcNow> pbc = links.playback.pbcNow()) {
        values.metadata = pbcMetadataOf(*pbc, state);
        if (pbc->followsLinks) {
            values.canGoNext = pbc->canGoNext;
            values.canGoPrevious = pbc->canGoPrevious;
        }
        values.canSeek = values.canSeek && pbc->item.kind != VcdPlayItem::Kind::Segment;
    }
    return values;
}

QVariantMap ChangedMprisProperties(const MprisValues& before, const MprisValues& after)
{
    QVariantMap changed;
    for (const Property& property : kSignalled) {
        const QVariant value = property.value(after);
        if (value != property.value(before))
            changed.insert(property.name, value);
    }
    return changed;
}

QString PlaybackStatusName(uint16_t status)
{
    switch (status) {
    case engine_status::Paused: return "Paused";
    case engine_status::Playing:
    case engine_status::OtherRate:
    case engine_status::Backward: return "Playing";
    default: return "Stopped";
    }
}

QString LoopStatusName(RepeatMode mode)
{
    for (const auto& [each, name] : kLoopNames)
        if (each == mode)
            return name;
    return "None";
}

std::optional<RepeatMode> RepeatModeNamed(const QString& name)
{
    for (const auto& [mode, each] : kLoopNames)
        if (name == QLatin1String(each))
            return mode;
    return std::nullopt;
}

QDBusObjectPath MprisTrackId(const PlayListStore& playList, uint32_t track)
{
    const std::optional<uint64_t> serial = track == 0 ? std::nullopt : playList.PlayList_Serial(track - 1);
    if (!serial)
        return QDBusObjectPath("/org/mpris/MediaPlayer2/TrackList/NoTrack");
    return QDBusObjectPath(QString("/com/halvex/Quintara/track/%1").arg(*serial));
}

double MprisRate(const MprisLinks& links)
{
    // Backward play has no rate on the desktop's scale, whose rates are all forward: it reads
    // as normal play, and each jump is told as it comes.
    if (links.state.status != engine_status::OtherRate)
        return 1.0;
    const int32_t rate = links.components.reelkit->getRate().value_or(1000);
    return rate > 0 ? rate / 1000.0 : 1.0;
}

std::pair<double, double> MprisRateRange(const PlayerSettings& settings)
{
    const double slowest = std::min<uint32_t>({settings.slowForwardRate, settings.fastForwardRate, 1000}) / 1000.0;
    const double fastest = std::max<uint32_t>({settings.slowForwardRate, settings.fastForwardRate, 1000}) / 1000.0;
    return {slowest, fastest};
}
