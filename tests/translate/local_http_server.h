// A one-thread HTTP server on 127.0.0.1 for the translation tests: it answers every request
// with one canned reply, or accepts and never answers. Port 0 is asked for, so the system
// picks a free port.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pelux::testing {

class LocalHttpServer {
public:
    enum class Behaviour { Answer, StaySilent };

    explicit LocalHttpServer(std::string rawReply, Behaviour behaviour = Behaviour::Answer);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

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
std::string httpReply(int status, const std::string& body, const std::string& contentType = "text/html; charset=UTF-8");

// A loopback port on which nothing listens: bound once to learn a free number, then closed.
int unusedLoopbackPort();

}  // namespace pelux::testing
