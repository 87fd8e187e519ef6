#include "host/native_channel.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pelux {

CNativeChannel::CNativeChannel(int inFd, int outFd, std::size_t maxInbound)
    : m_inFd(inFd), m_outFd(outFd), m_maxInbound(maxInbound) {}

std::optional<std::string> CNativeChannel::readMessage() {
    for (;;) {
        if (std::optional<std::string> message = extractMessage()) return message;
        if (m_inputEnded) return std::nullopt;
        fill(true);
    }
}

std::optional<std::string> CNativeChannel::takeWaitingMessage() {
    for (;;) {
        if (std::optional<std::string> message = extractMessage()) return message;
        if (m_inputEnded) return std::nullopt;
        const std::size_t before = m_buffer.size() - m_start;
        const uint64_t skipBefore = m_bytesToSkip;
        fill(false);
        if (m_buffer.size() - m_start == before && m_bytesToSkip == skipBefore) return std::nullopt;
    }
}

std::optional<std::string> CNativeChannel::extractMessage() {
    for (;;) {
        std::size_t available = m_buffer.size() - m_start;
        if (m_bytesToSkip > 0) {
            const std::size_t skipped =
                static_cast<std::size_t>(std::min<uint64_t>(m_bytesToSkip, available));
            m_start += skipped;
            m_bytesToSkip -= skipped;
            available -= skipped;
            if (m_bytesToSkip > 0) break;
        }
        if (available < 4) break;
        uint32_t length = 0;
        std::memcpy(&length, m_buffer.data() + m_start, 4);
        if (length > m_maxInbound) {
            std::fprintf(stderr, "peluxbar: refused a message of %u bytes (limit %zu)\n",
                         static_cast<unsigned>(length), m_maxInbound);
            m_start += 4;
            m_bytesToSkip = length;
            continue;
        }
        if (available - 4 < length) break;
        std::string message = m_buffer.substr(m_start + 4, length);
        m_start += 4 + length;
        return message;
    }
    if (m_start > 0 && (m_start == m_buffer.size() || m_start > 64 * 1024)) {
        m_buffer.erase(0, m_start);
        m_start = 0;
    }
    return std::nullopt;
}

void CNativeChannel::fill(bool block) {
    pollfd waiting{m_inFd, POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&waiting, 1, block ? -1 : 0);
    } while (ready < 0 && errno == EINTR);
    if (ready < 0) {
        m_inputEnded = true;
        return;
    }
    if (ready == 0) return;
    char chunk[64 * 1024];
    ssize_t n = 0;
    do {
        n = ::read(m_inFd, chunk, sizeof chunk);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        // A partial frame left at the end can never complete.
        m_inputEnded = true;
        return;
    }
    m_buffer.append(chunk, static_cast<std::size_t>(n));
}

bool CNativeChannel::send(const std::string& json) {
    if (json.size() > kMaxOutboundMessageBytes) {
        std::fprintf(stderr, "peluxbar: dropped a reply of %zu bytes\n", json.size());
        return false;
    }
    const uint32_t length = static_cast<uint32_t>(json.size());
    std::string frame(4, '\0');
    std::memcpy(frame.data(), &length, 4);
    frame += json;
    std::lock_guard lock(m_sendMutex);
    for (std::size_t done = 0; done < frame.size();) {
        const ssize_t n = ::write(m_outFd, frame.data() + done, frame.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace pelux
