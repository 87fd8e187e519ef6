// The file port over open(2) and pread(2), and atomic replacement by a temporary file and
// rename(2).
#pragma once

#include "platform/file_mapping.h"

namespace pelux {

// The descriptor of the regular file at `path`, symbolic links followed, opened for reading
// without waiting on anything else that may be there; -1 when it is missing or cannot be opened,
// with `refused` set when a FIFO, device, folder or socket is there instead.
int openRegularForReading(const std::filesystem::path& path, bool& refused);

// Writes the pieces, one after another, to a new file beside `path` with the permission bits
// `mode`, and renames it over `path`; false, leaving `path` as it was, when any step fails. With
// `durable`, the data reaches the disk before the rename and the folder after it, so that a crash
// leaves the old file or the whole new one.
bool replaceFileAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces, unsigned mode,
                           bool durable);

class CLinuxFileMapper final : public IFileMapper {
public:
    std::unique_ptr<IReadableFile> openRegular(const std::filesystem::path& path) override;
    bool replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) override;
};

}  // namespace pelux
