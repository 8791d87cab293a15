// Times the play-list dialog on a folder of many playable files: listing the folder into the
// file list, opening the whole dialog on it, and drawing the list while scrolling through it.
//
//   QT_QPA_PLATFORM=offscreen build/bench/quintara_bench_play_list_dialog [files=10000]

#include <QApplication>
#include <QListView>
#include <QScrollBar>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "bench/bench_files.h"
#include "disc/dialog/dialog_lists.h"
#include "disc/dialog/play_list_dialog.h"

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const fs::path root = fs::temp_directory_path() / ("quintara-dialog-bench-" + std::to_string(::getpid()));
    const fs::path folder = root / "disc";
    // Shuffled names of mixed case and extension, a few folders and files that are not shown.
    MakeShuffledClips(folder, count);
    for (int n = 0; n < 20; ++n) {
        fs::create_directories(folder / ("Folder" + std::to_string(n)));
        std::ofstream((folder / ("notes" + std::to_string(n) + ".txt")).string()) << 'x';
    }
    const std::string config = (root / "Quintara.CFG").string();
    std::ofstream(config) << "[Drives]\nD: = " << folder.string() << ", CD-ROM\n";
    PlayerRecords records;
    records.settings.cfgPath = config;
    records.playList.PlayList_Create();

    PlayList files;
    const double listing = secondsOf([&] { ListDirectory(records.playList, nullptr, &files, folder.string()); });

    PlayListDialog dialog({.playList = records.playList,
                           .drives = records.drives,
                           .modalLoops = records.modalLoops,
                           .playback = records.playback},
                          nullptr);
    const double opening = secondsOf([&] {
        dialog.initialise();
        dialog.show();
        QApplication::processEvents();
    });

    // Every page of the list drawn once, top to bottom.
    auto* view = dialog.findChild<QListView*>("fileList");
    QScrollBar* bar = view->verticalScrollBar();
    int frames = 0;
    const double scrolling = secondsOf([&] {
        for (int value = bar->minimum(); value <= bar->maximum(); value += std::max(1, bar->pageStep())) {
            bar->setValue(value);
            view->viewport()->repaint();
            ++frames;
        }
    });
    std::printf("files %d\n"
                "folder listed (ListDirectory):   %.3f s (%zu entries)\n"
                "dialog opened on it:             %.3f s (%d rows)\n"
                "scrolled page by page:           %d frames, %.2f ms a frame\n",
                count, listing, files.entries.size(), opening, view->model()->rowCount(), frames,
                frames ? scrolling * 1000 / frames : 0.0);
    fs::remove_all(root);
    return files.entries.size() == static_cast<size_t>(count + 20) ? 0 : 1;
}
