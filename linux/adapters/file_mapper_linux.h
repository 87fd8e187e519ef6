// The file port over open(2) and pread(2), and atomic replacement by a temporary file and
// rename(2).
#pragma once

#include "platform/file_mapping.h"

namespace pelux {

// The descriptor of the regular file at `path`, symbolic links followed, opened for reading
// without waiting on anything else that may be there; -1 when it is missing or cannot be opened,
// with `refused` set when a FIFO, device, folder or socket is there instead.
int openRegularForReading(const std::filesystem::path& path, bool& refused);

class CLinuxFileMapper final : public IFileMapper {
public:
    std::unique_ptr<IReadableFile> openRegular(const std::filesystem::path& path) override;
    bool replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) override;
};

}  // namespace pelux
