#include "playback/play_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "components/discbay/drive_table.h"
#include "context/app_context.h"
#include "context/components.h"
#include "disc/image_disc.h"
#include "disc/play_list.h"
#include "playback/tracks.h"
#include "playback/transport.h"

namespace fs = std::filesystem;

namespace {
PlayList listOf(const std::vector<std::string>& paths)
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
            AddFolderFilesSorted(&folder, disc.empty() ? path.string() : disc);
            // Among other names, a disc's folder without files of its own gives its streams.
            if (folder.entries.empty())
                if (const std::string streams = FindDiscStreamFolder(path.string()); !streams.empty())
                    AddFolderFilesSorted(&folder, streams);
            for (PlayListEntry& entry : folder.entries)
                list.entries.push_back(std::move(entry));
        } else if (fs::is_regular_file(status) && IsDiscImageName(path.string())) {
            // A disc image stays in the drives from now on, so that its door and the Disc
            // menu reach it like any drive's.
            app().drives.addImage(path.string());
            PlayList disc;
            AddListedFilesSorted(&disc, ImageDiscFiles(path.string()));
            for (PlayListEntry& entry : disc.entries)
                list.entries.push_back(std::move(entry));
        } else if (fs::exists(status)) {
            // A file named on its own is wanted whatever its extension.
            list.entries.push_back({path.string(), 0});
        }
    }
    return list;
}
}  // namespace

bool PlayFiles(const std::vector<std::string>& paths, Then then)
{
    if (!app().playList)
        return Answer(then, false);
    const size_t drivesBefore = app().drives.images().size();
    PlayList list = listOf(paths);
    // A new image drive is watched from now on, so that its going is heard.
    if (app().drives.images().size() != drivesBefore)
        app().components.discbay->deviceChange(0, nullptr);
    if (list.entries.empty() || !CopyList(&*app().playList, &list))
        return Answer(then, false);

    // Entries that fail to open are dropped on the way to the first that opens.
    return ResultOrAsked(then, [](const Then& done) {
        OpenTrack(1, [done](bool opened) {
            if (opened) {
                done(Play(true));
                return;
            }
            Stop(false, false);
            app().components.reelkit->close();
            ResetPlayback();
            done(false);
        });
    });
}
