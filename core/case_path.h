#pragma once

#include <string>
#include <string_view>

// The path of relative below folder, each of its pieces found without regard to case, so that
// names written on Windows find their files here. "\" separates pieces as "/" does, empty
// pieces are skipped, and an exact name wins over one differing in case only. Empty when a
// piece matches nothing. An empty folder is the current one, and the answer is then relative.
std::string ResolvePathIgnoringCase(const std::string& folder, std::string_view relative);
