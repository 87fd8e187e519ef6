// The whole of a file as bytes, for tests that compare what was written; empty when it is missing.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace pelux {

inline std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace pelux
