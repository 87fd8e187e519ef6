#include "adapters/platform_linux.h"

#include "adapters/module_directory_linux.h"
#include "adapters/pcre2_pattern.h"

namespace pelux {

void registerLinuxPlatform() { setPerlPatternFactory(&createPcre2Pattern); }

std::filesystem::path linuxDictionaryDirectory() { return CLinuxModuleDirectory().directory(); }

}  // namespace pelux
