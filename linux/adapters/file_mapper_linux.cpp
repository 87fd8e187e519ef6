#include "adapters/file_mapper_linux.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace pelux {

namespace {

class CMappedFile final : public IMappedFile {
public:
    CMappedFile(void* address, std::size_t size) : m_address(address), m_size(size) {}
    ~CMappedFile() override { munmap(m_address, m_size); }
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;
    const std::byte* data() const override { return static_cast<const std::byte*>(m_address); }
    std::size_t size() const override { return m_size; }

private:
    void* m_address;
    std::size_t m_size;
};

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

std::unique_ptr<IMappedFile> CLinuxFileMapper::mapReadOnly(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat status {};
    void* address = MAP_FAILED;
    std::size_t size = 0;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        size = std::size_t(status.st_size);
        // Every page is read at once by the checks of a load, so they are brought in together.
        address = mmap(nullptr, size, PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
    }
    ::close(fd);
    if (address == MAP_FAILED) return nullptr;
    return std::make_unique<CMappedFile>(address, size);
}

bool CLinuxFileMapper::replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) {
    std::string temporary = path.string() + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = fchmod(fd, 0644) == 0;
    for (std::string_view piece : pieces) ok = ok && writeFully(fd, piece);
    // No fsync: an image cut short by a crash fails its own body hash and is made again, so
    // the load need not wait for the disk.
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace pelux
