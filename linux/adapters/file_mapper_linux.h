// The file-mapping port over mmap, and atomic replacement by a temporary file and rename(2).
#pragma once

#include "platform/file_mapping.h"

namespace pelux {

class CLinuxFileMapper final : public IFileMapper {
public:
    std::unique_ptr<IMappedFile> mapReadOnly(const std::filesystem::path& path) override;
    bool replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) override;
};

}  // namespace pelux
