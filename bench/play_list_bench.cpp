// Times listing a folder of many playable files into a sorted list, the way a disc's MpegAV
// folder or a folder on the command line is read.
//
//   build/bench/quintara_bench_play_list [files=10000]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/app_context.h"
#include "disc/play_list.h"

namespace fs = std::filesystem;

namespace {
double secondsOf(const auto& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const fs::path folder = fs::temp_directory_path() / ("quintara-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);

    // Names in random order with mixed case, so neither the directory nor the sort is handed
    // a sorted input.
    std::mt19937 random(7);
    std::vector<int> numbers(count);
    for (int i = 0; i < count; ++i)
        numbers[i] = i;
    std::shuffle(numbers.begin(), numbers.end(), random);
    std::vector<std::string> paths;
    for (const int n : numbers) {
        const std::string name = (n % 2 ? "clip" : "CLIP") + std::to_string(n) + (n % 3 ? ".mpg" : ".DAT");
        std::ofstream((folder / name).string()) << 'x';
        paths.push_back((folder / name).string());
    }

    PlayList_Create();
    PlayList folderList;
    const double listing = secondsOf([&] { AddFolderFilesSorted(&folderList, folder.string()); });
    PlayList oneByOne;
    const double single = secondsOf([&] {
        for (const std::string& path : paths)
            AddFileSorted(&oneByOne, path);
    });
    std::printf("files %d\nfolder listed and sorted: %.3f s (%zu entries)\nadded one by one:        %.3f s (%zu entries)\n",
                count, listing, folderList.entries.size(), single, oneByOne.entries.size());
    fs::remove_all(folder);
    return folderList.entries.size() == static_cast<size_t>(count) ? 0 : 1;
}
