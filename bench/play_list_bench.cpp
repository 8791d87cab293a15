// Times listing a folder of many playable files into a sorted list, the way a disc's MpegAV
// folder or a folder on the command line is read.
//
//   build/bench/quintara_bench_play_list [files=10000]

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "core/player_settings.h"
#include "core/settings.h"
#include "disc/play_list.h"

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const fs::path folder = fs::temp_directory_path() / ("quintara-bench-" + std::to_string(::getpid()));
    const std::vector<std::string> paths = MakeShuffledClips(folder, count);

    PlayerSettings settings = Settings_Defaults();
    PlayListStore store(settings);
    store.PlayList_Create();
    PlayList folderList;
    const double listing = secondsOf([&] { store.AddFolderFilesSorted(&folderList, folder.string()); });
    PlayList oneByOne;
    const double single = secondsOf([&] {
        for (const std::string& path : paths)
            store.AddFileSorted(&oneByOne, path);
    });
    std::printf("files %d\nfolder listed and sorted: %.3f s (%zu entries)\nadded one by one:        %.3f s (%zu entries)\n",
                count, listing, folderList.entries.size(), single, oneByOne.entries.size());
    fs::remove_all(folder);
    return folderList.entries.size() == static_cast<size_t>(count) ? 0 : 1;
}
