// An anonymous in-memory file: the host's input and output without a pipe's size limit or the
// disk.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "support/fuzz_support.h"

namespace pelux::fuzzing {

class CMemoryFile {
public:
    CMemoryFile() : m_fd(::memfd_create("peluxbar-fuzz", MFD_CLOEXEC)) {
        if (m_fd < 0) violated("memfd_create failed");
    }
    explicit CMemoryFile(std::string_view bytes) : CMemoryFile() {
        for (size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(m_fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) violated("the memory file could not be written");
            done += size_t(n);
        }
        ::lseek(m_fd, 0, SEEK_SET);
    }
    CMemoryFile(const CMemoryFile&) = delete;
    CMemoryFile& operator=(const CMemoryFile&) = delete;
    ~CMemoryFile() { ::close(m_fd); }

    int fd() const { return m_fd; }

    // Everything written so far, from the start.
    std::string contents() const {
        std::string bytes;
        char chunk[64 * 1024];
        for (off_t at = 0;;) {
            const ssize_t n = ::pread(m_fd, chunk, sizeof chunk, at);
            if (n <= 0) return bytes;
            bytes.append(chunk, size_t(n));
            at += n;
        }
    }

private:
    int m_fd;
};

// Chromium's framing: a 32-bit length in native byte order, then the bytes.
inline std::string framed(std::string_view body) {
    const uint32_t length = uint32_t(body.size());
    std::string bytes(reinterpret_cast<const char*>(&length), 4);
    bytes.append(body);
    return bytes;
}

}  // namespace pelux::fuzzing
