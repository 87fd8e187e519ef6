#include "platform_linux.h"

#include "module_directory_linux.h"
#include "pcre2_pattern.h"

namespace pelux {

void registerLinuxPlatform() { setPerlPatternFactory(&createPcre2Pattern); }

std::filesystem::path linuxDictionaryDirectory() { return CLinuxModuleDirectory().directory(); }

}  // namespace pelux
