// A tiny HTTP server on the loopback address that serves the page of Chinese, Japanese and
// English text that `peluxbar browse` opens when no address is given.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace pelux {

class CDemoPageServer {
public:
    CDemoPageServer() = default;
    CDemoPageServer(const CDemoPageServer&) = delete;
    CDemoPageServer& operator=(const CDemoPageServer&) = delete;
    ~CDemoPageServer() { stop(); }

    // Listens on 127.0.0.1 on a free port and serves from a thread of its own.
    bool start(std::string& error);
    void stop();
    std::string url() const;

private:
    void serve();
    void answer(int connection);

    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

// The page's HTML (UTF-8): /, and the frame it embeds at /frame.
const std::string& demoPageHtml();
const std::string& demoFrameHtml();

}  // namespace pelux
