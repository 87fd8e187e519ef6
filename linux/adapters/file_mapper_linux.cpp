#include "adapters/file_mapper_linux.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace pelux {

namespace {

class CReadableFile final : public IReadableFile {
public:
    CReadableFile(int fd, uint64_t size) : m_fd(fd), m_size(size) {}
    ~CReadableFile() override { ::close(m_fd); }
    CReadableFile(const CReadableFile&) = delete;
    CReadableFile& operator=(const CReadableFile&) = delete;
    uint64_t size() const override { return m_size; }
    bool readAt(uint64_t offset, std::span<std::byte> into) override {
        while (!into.empty()) {
            const ssize_t got = ::pread(m_fd, into.data(), into.size(), off_t(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            into = into.subspan(std::size_t(got));
            offset += uint64_t(got);
        }
        return true;
    }

private:
    int m_fd;
    uint64_t m_size;
};

void refuse(const std::filesystem::path& path) {
    std::fprintf(stderr, "peluxbar: %s is not a regular file; it is not read\n", path.c_str());
}

bool writeFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

}  // namespace

int openRegularForReading(const std::filesystem::path& path, bool& refused) {
    // The look before the open keeps devices from being opened at all; the look at the opened
    // file catches one swapped in between. O_NONBLOCK: opening a FIFO must not wait for a writer.
    refused = false;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return -1;
    if (!S_ISREG(status.st_mode)) {
        refused = true;
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        refused = !S_ISREG(status.st_mode);
        ::close(fd);
        return -1;
    }
    return fd;
}

std::unique_ptr<IReadableFile> CLinuxFileMapper::openRegular(const std::filesystem::path& path) {
    bool refused = false;
    const int fd = openRegularForReading(path, refused);
    if (refused) refuse(path);
    struct stat status {};
    if (fd < 0) return nullptr;
    if (::fstat(fd, &status) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<CReadableFile>(fd, uint64_t(status.st_size));
}

bool replaceFileAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces, unsigned mode,
                           bool durable) {
    std::string temporary = path.string() + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fchmod(fd, mode_t(mode)) == 0;
    for (std::string_view piece : pieces) ok = ok && writeFully(fd, piece);
    if (durable) ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // The rename itself is on disk only once the folder is. The new file is in place either way,
    // so a folder that cannot be synced does not make the change a failure.
    if (durable) {
        const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
        const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (directory >= 0) {
            ::fsync(directory);
            ::close(directory);
        }
    }
    return true;
}

bool CLinuxFileMapper::replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) {
    // Not durable: an image cut short by a crash fails its own body hash and is made again, so
    // the load need not wait for the disk.
    return replaceFileAtomically(path, pieces, 0644, false);
}

}  // namespace pelux
