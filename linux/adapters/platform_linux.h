// Wires the Linux adapters into the core's ports. Call once at start-up, before any load.
#pragma once

#include <filesystem>

namespace pelux {

void registerLinuxPlatform();

// Where the dictionary files are when no --dict-dir is given: PELUXBAR_DICT_DIR when set,
// otherwise the directory that holds the running executable.
std::filesystem::path linuxDictionaryDirectory();

}  // namespace pelux
