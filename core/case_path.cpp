#include "core/case_path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/text.h"

namespace fs = std::filesystem;

namespace {

// The entry of folder named like piece; the smallest such name wins, so two names differing
// in case only resolve the same way on every run.
std::string findIgnoringCase(const fs::path& folder, std::string_view piece)
{
    const NameMatcher matches(piece);
    std::error_code error;
    std::string found;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (matches(name) && (found.empty() || name < found))
            found = name;
    }
    return found;
}

}  // namespace

std::string ResolvePathIgnoringCase(const std::string& folder, std::string_view relative)
{
    fs::path current(folder);
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t end = std::min(relative.find_first_of("/\\", start), relative.size());
        const std::string piece(relative.substr(start, end - start));
        start = end + 1;
        if (piece.empty())
            continue;
        std::error_code error;
        if (fs::exists(current / piece, error)) {
            current /= piece;
            continue;
        }
        if (piece == "." || piece == "..")
            return {};
        const std::string found = findIgnoringCase(current, piece);
        if (found.empty())
            return {};
        current /= found;
    }
    return current.string();
}
