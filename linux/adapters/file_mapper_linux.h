// The file port over open(2) and pread(2), and atomic replacement by a temporary file and
// rename(2).
#pragma once

#include "platform/file_mapping.h"

namespace pelux {

class CLinuxFileMapper final : public IFileMapper {
public:
    std::unique_ptr<IReadableFile> openRegular(const std::filesystem::path& path) override;
    bool replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) override;
};

}  // namespace pelux
