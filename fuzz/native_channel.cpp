// The native-message reader: a byte stream arriving in pieces, read by the channel and by a
// plain model of the framing side by side, then every message parsed as the host parses it.
// The first two bytes set the channel's size limit, the third the size of the pieces.
#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/native_channel.h"
#include "host/native_messages.h"
#include "support/fuzz_support.h"

using namespace pelux;
using namespace pelux::fuzzing;

namespace {

// Frames over the limit are skipped whole; a partial frame at the end is never delivered.
std::vector<std::string> modelMessages(std::string_view stream, size_t limit) {
    std::vector<std::string> messages;
    size_t at = 0;
    while (stream.size() - at >= 4) {
        uint32_t length = 0;
        std::memcpy(&length, stream.data() + at, 4);
        at += 4;
        if (length > limit) {
            if (stream.size() - at <= length) break;
            at += length;
            continue;
        }
        if (stream.size() - at < length) break;
        messages.emplace_back(stream.substr(at, length));
        at += length;
    }
    return messages;
}

class CPipe {
public:
    CPipe() {
        if (::pipe2(m_fds, O_CLOEXEC | O_NONBLOCK) != 0) violated("pipe2 failed");
    }
    ~CPipe() {
        closeWriter();
        ::close(m_fds[0]);
    }
    int reader() const { return m_fds[0]; }
    void write(std::string_view bytes) {
        if (::write(m_fds[1], bytes.data(), bytes.size()) != ssize_t(bytes.size())) violated("a pipe write was short");
    }
    void closeWriter() {
        if (m_fds[1] >= 0) ::close(m_fds[1]);
        m_fds[1] = -1;
    }

private:
    int m_fds[2];
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const size_t limit = size_t(data[0]) | size_t(data[1]) << 8;
    const size_t piece = size_t(data[2]) + 1;
    const std::string_view stream = bytesOf(data + 3, size - 3);

    CPipe pipe;
    CNativeChannel channel(pipe.reader(), -1, limit);
    std::vector<std::string> read;
    // The input is far below a pipe's buffer, so no write waits for the reader.
    for (size_t at = 0; at < stream.size(); at += piece) {
        pipe.write(stream.substr(at, piece));
        while (std::optional<std::string> message = channel.takeWaitingMessage()) read.push_back(std::move(*message));
    }
    pipe.closeWriter();
    while (std::optional<std::string> message = channel.readMessage()) read.push_back(std::move(*message));
    if (!channel.inputEnded()) violated("the reader did not see the end of the input");
    if (read != modelMessages(stream, limit)) violated("the reader's messages differ from the framing");

    for (const std::string& message : read) {
        std::string error;
        if (!parseInboundMessage(message, error) && error.empty()) violated("a refused message has no reason");
    }
    return 0;
}
