#include "dictbuild/dict_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "dictbuild/dict_text.h"

namespace pelux {

namespace {

constexpr std::size_t kFlushSize = 1 << 20;

std::runtime_error systemError(const std::string& what, const std::filesystem::path& path) {
    return std::runtime_error(what + " " + path.string() + ": " + std::strerror(errno));
}

// Makes the rename itself durable; a directory that cannot be opened only loses that guarantee.
void syncDirectory(const std::filesystem::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

CAtomicFile::CAtomicFile(const std::filesystem::path& dir, const std::string& name)
    : m_final(dir / name), m_temporary(dir / (name + ".tmp")) {
    m_fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0) throw systemError("cannot create", m_temporary);
}

CAtomicFile::~CAtomicFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_committed) ::unlink(m_temporary.c_str());
}

void CAtomicFile::write(std::string_view bytes) {
    m_buffer.append(bytes);
    if (m_buffer.size() >= kFlushSize) flushBuffer();
}

void CAtomicFile::flushBuffer() {
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t written = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw systemError("cannot write", m_temporary);
        done += static_cast<std::size_t>(written);
    }
    m_buffer.clear();
}

void CAtomicFile::commit() {
    flushBuffer();
    if (::fsync(m_fd) != 0) throw systemError("cannot sync", m_temporary);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) throw systemError("cannot close", m_temporary);
    if (::rename(m_temporary.c_str(), m_final.c_str()) != 0) throw systemError("cannot replace", m_final);
    m_committed = true;
    syncDirectory(m_final.parent_path().empty() ? std::filesystem::path(".") : m_final.parent_path());
}

CUniFileWriter::CUniFileWriter(const std::filesystem::path& dir, const std::string& name, std::u16string_view header)
    : m_file(dir, name) {
    appendUtf16Le(m_bytes, u"\uFEFF");
    appendUtf16Le(m_bytes, header);
    appendUtf16Le(m_bytes, u"\r\n");
    m_file.write(m_bytes);
}

void CUniFileWriter::writeLine(std::u16string_view line) {
    m_bytes.clear();
    appendUtf16Le(m_bytes, line);
    appendUtf16Le(m_bytes, u"\r\n");
    m_file.write(m_bytes);
    ++m_lines;
}

CByteFileWriter::CByteFileWriter(const std::filesystem::path& dir, const std::string& name, std::string_view header)
    : m_file(dir, name) {
    m_file.write(header);
    m_file.write("\r\n");
}

void CByteFileWriter::writeLine(std::string_view line) {
    m_file.write(line);
    m_file.write("\r\n");
    ++m_lines;
}

}  // namespace pelux
