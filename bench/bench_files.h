#pragma once

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// Wall time of one run of the work, in seconds.
inline double secondsOf(const auto& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Writes count playable files named in random order with mixed case and extension, so that
// neither the folder nor a sort is handed a sorted input; answers their paths in that order.
inline std::vector<std::string> MakeShuffledClips(const std::filesystem::path& folder, int count)
{
    std::filesystem::create_directories(folder);
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
    return paths;
}
