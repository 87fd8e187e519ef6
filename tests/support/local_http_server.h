// A one-thread HTTP server on 127.0.0.1 for the translation tests: it answers every request
// with one canned reply, or accepts and never answers. Port 0 is asked for, so the system
// picks a free port.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace pelux::testing {

class CLocalHttpServer {
public:
    enum class Behaviour { Answer, StaySilent };

    explicit CLocalHttpServer(std::string rawReply, Behaviour behaviour = Behaviour::Answer);
    ~CLocalHttpServer();
    CLocalHttpServer(const CLocalHttpServer&) = delete;
    CLocalHttpServer& operator=(const CLocalHttpServer&) = delete;

    int port() const { return m_port; }
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(m_port); }
    // The first lines ("GET /path HTTP/1.1") of the requests received so far.
    std::vector<std::string> requestLines() const;

private:
    void serve();
    void handle(int connection);
    bool waitReadable(int fd, int milliseconds) const;

    std::string m_reply;
    Behaviour m_behaviour;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requestLines;
    std::thread m_thread;
};

// A complete HTTP/1.1 reply with a body.
inline std::string httpReply(int status, const std::string& body,
                             const std::string& contentType = "text/html; charset=UTF-8");

// A loopback port on which nothing listens: bound once to learn a free number, then closed.
inline int unusedLoopbackPort();

namespace local_http_detail {

constexpr int kPollMilliseconds = 20;
// No test needs a connection longer than this; every loop below ends by then at the latest.
constexpr auto kLongestConnection = std::chrono::seconds(20);
constexpr size_t kMaxRequestBytes = 64 * 1024;

inline int boundLoopbackSocket(int* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("bind to 127.0.0.1 failed");
    }
    *port = ntohs(address.sin_port);
    return fd;
}

}  // namespace local_http_detail

inline CLocalHttpServer::CLocalHttpServer(std::string rawReply, Behaviour behaviour)
    : m_reply(std::move(rawReply)), m_behaviour(behaviour) {
    m_listener = local_http_detail::boundLoopbackSocket(&m_port);
    if (::listen(m_listener, 8) != 0) {
        ::close(m_listener);
        throw std::runtime_error("listen failed");
    }
    m_thread = std::thread([this] { serve(); });
}

inline CLocalHttpServer::~CLocalHttpServer() {
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

inline std::vector<std::string> CLocalHttpServer::requestLines() const {
    std::lock_guard lock(m_mutex);
    return m_requestLines;
}

inline bool CLocalHttpServer::waitReadable(int fd, int milliseconds) const {
    pollfd entry{fd, POLLIN, 0};
    return ::poll(&entry, 1, milliseconds) > 0;
}

inline void CLocalHttpServer::serve() {
    while (!m_stop) {
        if (!waitReadable(m_listener, local_http_detail::kPollMilliseconds)) continue;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        handle(connection);
        ::close(connection);
    }
}

inline void CLocalHttpServer::handle(int connection) {
    const auto giveUp = std::chrono::steady_clock::now() + local_http_detail::kLongestConnection;
    std::string request;
    while (!m_stop && std::chrono::steady_clock::now() < giveUp && request.find("\r\n\r\n") == std::string::npos &&
           request.size() < local_http_detail::kMaxRequestBytes) {
        if (!waitReadable(connection, local_http_detail::kPollMilliseconds)) continue;
        char buffer[4096];
        const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        request.append(buffer, static_cast<size_t>(got));
    }
    {
        std::lock_guard lock(m_mutex);
        m_requestLines.push_back(request.substr(0, request.find("\r\n")));
    }
    if (m_behaviour == Behaviour::StaySilent) {
        // Hold the connection open without a byte of reply until the client gives up or the
        // test ends.
        while (!m_stop && std::chrono::steady_clock::now() < giveUp) {
            char buffer[256];
            if (waitReadable(connection, local_http_detail::kPollMilliseconds) &&
                ::recv(connection, buffer, sizeof buffer, 0) <= 0) {
                return;
            }
        }
        return;
    }
    size_t sent = 0;
    while (sent < m_reply.size() && !m_stop) {
        const ssize_t wrote = ::send(connection, m_reply.data() + sent, m_reply.size() - sent, MSG_NOSIGNAL);
        if (wrote <= 0) return;
        sent += static_cast<size_t>(wrote);
    }
}

inline std::string httpReply(int status, const std::string& body, const std::string& contentType) {
    return "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
           "\r\nContent-Type: " + contentType + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

inline int unusedLoopbackPort() {
    int port = 0;
    ::close(local_http_detail::boundLoopbackSocket(&port));
    return port;
}

}  // namespace pelux::testing
