#include "dictbuild/dict_images.h"

#include <cstdio>

#include "dictionary/loaders.h"
#include "dictionary/store_image.h"
#include "adapters/platform_linux.h"

namespace pelux {

bool writeDictionaryImages(const std::filesystem::path& directory) {
    registerLinuxPlatform();
    bool allWritten = true;
    CDictionary store;
    for (DictionaryLanguage language : {Chinese, Japanese}) {
        // An image already in place would make the load use it rather than write a new one.
        std::error_code ignored;
        const std::filesystem::path image = imagePathFor(directory, language);
        std::filesystem::remove(image, ignored);
        LoadEnvironment environment;
        environment.directory = directory;
        const LoadReport report = language == Chinese ? loadChineseDictionary(store, environment)
                                                          : loadJapaneseDictionary(store, environment);
        if (report.imageWritten) {
            std::printf("  %-22s prepared image written\n", image.filename().c_str());
        } else {
            std::fprintf(stderr, "peluxbar dict: could not write %s\n", image.c_str());
            allWritten = false;
        }
    }
    return allWritten;
}

}  // namespace pelux
