#include "playback/playback.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "components/discbay/drive_table.h"
#include "components/discbay/drive_view.h"
#include "components/components.h"
#include "core/player_state.h"
#include "disc/image_disc.h"
#include "disc/play_list.h"

namespace fs = std::filesystem;
PlayList Playback::listOf(const std::vector<std::string>& paths)
{
    PlayList list;
    for (const std::string& named : paths) {
        std::error_code error;
        const fs::path path = fs::absolute(named, error).lexically_normal();
        if (error)
            continue;
        const fs::file_status status = fs::status(path, error);
        if (error)
            continue;
        if (fs::is_directory(status)) {
            // A Video CD's folder named alone (what a file manager hands over for a disc) is
            // the disc: its tracks, as its drive gives them at insertion.
            const std::string disc = paths.size() == 1 ? DiscFolderOf(path.string()) : std::string();
            PlayList folder;
            playList_.AddFolderFilesSorted(&folder, disc.empty() ? path.string() : disc);
            // Among other names, a disc's folder without files of its own gives its streams.
            if (folder.entries.empty())
                if (const std::string streams = FindDiscStreamFolder(path.string()); !streams.empty())
                    playList_.AddFolderFilesSorted(&folder, streams);
            for (PlayListEntry& entry : folder.entries)
                list.entries.push_back(std::move(entry));
        } else if (fs::is_regular_file(status) && IsDiscImageName(path.string())) {
            // A disc image stays in the drives from now on, so that its door and the Disc
            // menu reach it like any drive's.
            drives_.addImage(path.string());
            PlayList disc;
            playList_.AddListedFilesSorted(&disc, ImageDiscFiles(path.string()));
            for (PlayListEntry& entry : disc.entries)
                list.entries.push_back(std::move(entry));
        } else if (fs::exists(status)) {
            // A file named on its own is wanted whatever its extension.
            list.entries.push_back({path.string(), 0});
        }
    }
    return list;
}

bool Playback::PlayFiles(const std::vector<std::string>& paths, Then then)
{
    if (!playList_.list())
        return Answer(then, false);
    const size_t drivesBefore = drives_.images().size();
    PlayList list = listOf(paths);
    // A new image drive is watched from now on, so that its going is heard.
    if (drives_.images().size() != drivesBefore)
        components_.discbay->deviceChange(0, nullptr);
    if (list.entries.empty() || !CopyList(&*playList_.list(), &list))
        return Answer(then, false);
    // A disc image named alone is a disc that arrives: with playback control its lists say
    // what plays first.
    leavePbc();
    std::error_code error;
    const std::string named = paths.size() == 1 ? fs::absolute(paths.front(), error).lexically_normal().string() : "";
    const std::optional<uint32_t> disc = named.empty() || error ? std::nullopt : drives_.current().driveOf(named);
    if (disc && drives_.current().slot(*disc).root == named && chapters_.arrived(*disc, drives_.current()) &&
        awaitControl(*disc, engine_status::Playing))
        return Answer(then, true);

    // Entries that fail to open are dropped on the way to the first that opens.
    return ResultOrAsked(then, [this](const Then& done) {
        OpenTrack(1, [this, done](bool opened) {
            if (opened) {
                done(Play(true));
                return;
            }
            Stop(false, false);
            engine().close();
            ResetPlayback();
            done(false);
        });
    });
}
