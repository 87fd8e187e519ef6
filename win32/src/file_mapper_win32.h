// The file port over CreateFileW and ReadFile (only disk files are read), and atomic replacement
// by a temporary file moved over the old one.
#pragma once

#include "platform/file_mapping.h"

namespace pelux::win32 {

class CWin32FileMapper final : public IFileMapper {
public:
    std::unique_ptr<IReadableFile> openRegular(const std::filesystem::path& path) override;
    bool replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) override;
};

// The one mapper of the process, registered with the core when the module loads.
CWin32FileMapper& fileMapperInstance();

}  // namespace pelux::win32
