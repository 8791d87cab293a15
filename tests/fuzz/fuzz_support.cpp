#include "tests/fuzz/fuzz_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fuzz {

namespace {

struct ScratchFolder {
    std::string path;
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quintara-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a scratch folder");
        path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& Scratch()
{
    static const ScratchFolder folder;
    return folder.path;
}

std::string WriteFile(std::string_view relativePath, std::string_view bytes)
{
    const std::filesystem::path path = std::filesystem::path(Scratch()) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

}  // namespace fuzz
