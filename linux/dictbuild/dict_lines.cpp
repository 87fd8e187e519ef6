#include "dictbuild/dict_lines.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace pelux {

CLineReader::CLineReader(const std::filesystem::path& file) : m_what(file.string()) {
    m_file = std::fopen(file.c_str(), "rb");
    if (!m_file) throw std::runtime_error("cannot open " + m_what + ": " + std::strerror(errno));
}

CLineReader::CLineReader(const std::vector<std::string>& argv) : m_what(argv.at(0)) {
    for (std::size_t i = 1; i < argv.size(); ++i) m_what += " " + argv[i];
    int fds[2];
    int errorFds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("cannot run " + m_what + ": " + std::strerror(errno));
    if (::pipe2(errorFds, O_CLOEXEC) != 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw std::runtime_error("cannot run " + m_what + ": " + std::strerror(errno));
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    m_child = ::fork();
    if (m_child == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::dup2(errorFds[1], STDERR_FILENO);
        ::execvp(args[0], args.data());
        _exit(127);
    }
    ::close(fds[1]);
    ::close(errorFds[1]);
    m_childErrors = errorFds[0];
    if (m_child < 0) {
        ::close(fds[0]);
        ::close(m_childErrors);
        throw std::runtime_error("cannot run " + m_what + ": " + std::strerror(errno));
    }
    m_file = ::fdopen(fds[0], "rb");
}

CLineReader::~CLineReader() {
    if (m_file) std::fclose(m_file);
    if (m_childErrors >= 0) ::close(m_childErrors);
    if (m_child > 0) ::waitpid(m_child, nullptr, 0);
    std::free(m_buffer);
}

bool CLineReader::next(std::string& line) {
    const ssize_t length = ::getline(&m_buffer, &m_capacity, m_file);
    if (length < 0) return false;
    std::size_t size = static_cast<std::size_t>(length);
    if (size > 0 && m_buffer[size - 1] == '\n') --size;
    if (size > 0 && m_buffer[size - 1] == '\r') --size;
    line.assign(m_buffer, size);
    ++m_lineNumber;
    return true;
}

void CLineReader::finish() {
    const bool readFailed = std::ferror(m_file) != 0;
    std::fclose(m_file);
    m_file = nullptr;
    if (readFailed) throw std::runtime_error("cannot read " + m_what);
    if (m_child <= 0) return;
    // The first non-empty line the program wrote to its standard error says what went wrong.
    std::string errors;
    char buffer[512];
    for (ssize_t n; (n = ::read(m_childErrors, buffer, sizeof buffer)) != 0;) {
        if (n > 0) errors.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR) break;
    }
    errors.erase(0, errors.find_first_not_of("\r\n"));
    errors = errors.substr(0, errors.find('\n'));
    int status = 0;
    while (::waitpid(m_child, &status, 0) < 0 && errno == EINTR) {
    }
    m_child = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        throw std::runtime_error("cannot run " + m_what + " (is the program installed?)");
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(m_what + " failed" + (errors.empty() ? std::string() : ": " + errors));
}

}  // namespace pelux
