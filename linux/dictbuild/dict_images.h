// The prepared images that `peluxbar dict build` writes beside the files it made.
#pragma once

#include <filesystem>

namespace pelux {

// Loads each language from `directory` once, which writes its image there. False when an image
// could not be written; the dictionary files stay usable all the same.
bool writeDictionaryImages(const std::filesystem::path& directory);

}  // namespace pelux
