#include "adapters/platform_linux.h"

#include "adapters/file_mapper_linux.h"
#include "adapters/module_directory_linux.h"
#include "adapters/pcre2_pattern.h"

namespace pelux {

void registerLinuxPlatform() {
    static CLinuxFileMapper mapper;
    setPerlPatternFactory(&createPcre2Pattern);
    setFileMapper(&mapper);
}

std::filesystem::path linuxDictionaryDirectory() { return CLinuxModuleDirectory().directory(); }

}  // namespace pelux
