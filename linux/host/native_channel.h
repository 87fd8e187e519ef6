// Chromium's native messaging framing on a pair of file descriptors: each message is a 32-bit
// length in native byte order followed by that many bytes of UTF-8 JSON.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace pelux {

// Chromium refuses a message from the host larger than this.
inline constexpr std::size_t kMaxOutboundMessageBytes = 1024 * 1024;
// Our own messages are small; a longer frame is refused unread (its bytes are skipped).
inline constexpr std::size_t kMaxInboundMessageBytes = 1024 * 1024;

class CNativeChannel {
public:
    CNativeChannel(int inFd, int outFd, std::size_t maxInbound = kMaxInboundMessageBytes);

    // Waits for the next complete message; nullopt at the end of the input.
    std::optional<std::string> readMessage();
    // The next complete message among the bytes already waiting, never blocking.
    std::optional<std::string> takeWaitingMessage();
    // True once the input has ended (the browser closed the port).
    bool inputEnded() const { return m_inputEnded; }

    // Frames and writes one message; false (and nothing written) when it is too long or the
    // output failed. Any thread may send: each message is written whole.
    bool send(const std::string& json);

private:
    std::optional<std::string> extractMessage();
    // Reads what the input has; with `block`, waits for at least one byte or the end.
    void fill(bool block);

    int m_inFd;
    int m_outFd;
    std::size_t m_maxInbound;
    std::string m_buffer;
    std::size_t m_start = 0;
    uint64_t m_bytesToSkip = 0;
    bool m_inputEnded = false;
    std::mutex m_sendMutex;
};

}  // namespace pelux
