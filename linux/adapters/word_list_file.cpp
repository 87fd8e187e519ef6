#include "adapters/word_list_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "adapters/file_mapper_linux.h"
#include "adapters/settings_file.h"

namespace pelux {

namespace {

constexpr off_t kMaxWordListBytes = 64 * 1024 * 1024;

std::string failure(const char* what, const std::filesystem::path& path) {
    return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) : m_fd(fd) {}
    ~CFileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now, for a close whose failure matters.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::optional<std::string> readAll(int fd, const std::filesystem::path& path, std::string& problem) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) return problem = failure("cannot read", path), std::nullopt;
    if (status.st_size > kMaxWordListBytes) {
        problem = "the word list " + path.string() + " is larger than 64 MB; it is not read";
        return std::nullopt;
    }
    std::string text;
    text.reserve(std::size_t(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return problem = failure("cannot read", path), std::nullopt;
        if (got == 0) return text;
        // A file that grows while it is read is held to the same bound.
        if (text.size() + std::size_t(got) > std::size_t(kMaxWordListBytes)) {
            problem = "the word list " + path.string() + " is larger than 64 MB; it is not read";
            return std::nullopt;
        }
        text.append(buffer, std::size_t(got));
    }
}

// The lock is a file of its own, so that renaming the list into place never drops it. A lock
// path that is not a regular file is refused like the list's own.
int openLock(const std::filesystem::path& lockPath, std::string& problem) {
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return problem = failure("cannot open the lock file", lockPath), -1;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        problem = "the lock file " + lockPath.string() + " is not a regular file";
        return -1;
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        problem = failure("cannot lock", lockPath);
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::filesystem::path defaultWordListPath() { return defaultSettingsPath().parent_path() / "words.tsv"; }

std::optional<std::vector<WordEntry>> CWordListFile::read(std::string& problem) const {
    bool refused = false;
    const int fd = openRegularForReading(m_path, refused);
    if (refused) {
        problem = "the word list " + m_path.string() + " is not a regular file; it is not used";
        return std::nullopt;
    }
    if (fd < 0) {
        if (errno == ENOENT) return std::vector<WordEntry>();
        problem = failure("cannot open the word list", m_path);
        return std::nullopt;
    }
    CFileDescriptor file(fd);
    const std::optional<std::string> text = readAll(fd, m_path, problem);
    if (!text) return std::nullopt;
    std::string why;
    std::optional<std::vector<WordEntry>> entries = parseWordList(*text, why);
    if (!entries) problem = "the word list " + m_path.string() + " was left as it is: " + why;
    return entries;
}

bool CWordListFile::update(const std::function<bool(std::vector<WordEntry>&)>& change, std::string& problem) {
    std::error_code error;
    std::filesystem::create_directories(m_path.parent_path(), error);
    if (error) return problem = "cannot make the folder " + m_path.parent_path().string() + ": " + error.message(), false;
    const CFileDescriptor lock(openLock(m_path.string() + ".lock", problem));
    if (lock.get() < 0) return false;
    std::optional<std::vector<WordEntry>> entries = read(problem);
    if (!entries) return false;
    if (!change(*entries)) return true;
    return replaceFileDurably(m_path, formatWordList(*entries), problem);
}

bool replaceFileDurably(const std::filesystem::path& path, std::string_view text, std::string& problem) {
    const std::string_view pieces[] = {text};
    if (replaceFileAtomically(path, pieces, 0600, true)) return true;
    problem = failure("cannot replace", path);
    return false;
}

}  // namespace pelux
