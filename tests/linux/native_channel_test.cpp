#include "host/native_channel.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

namespace pelux {
namespace {

std::string frame(const std::string& json) {
    const uint32_t length = static_cast<uint32_t>(json.size());
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &length, 4);
    return bytes + json;
}

// The browser's side of a channel: one pipe into the host and one out of it.
class ChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::pipe(m_in), 0);
        ASSERT_EQ(::pipe(m_out), 0);
    }
    void TearDown() override {
        for (int fd : {m_in[0], m_in[1], m_out[0], m_out[1]}) {
            if (fd >= 0) ::close(fd);
        }
    }
    void browserWrites(const std::string& bytes) {
        ASSERT_EQ(::write(m_in[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void browserCloses() {
        ::close(m_in[1]);
        m_in[1] = -1;
    }
    std::string browserReads(std::size_t count) {
        std::string bytes(count, '\0');
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::read(m_out[0], bytes.data() + done, count - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        bytes.resize(done);
        return bytes;
    }

    int m_in[2] = {-1, -1};
    int m_out[2] = {-1, -1};
};

TEST_F(ChannelTest, ReadsMessagesSplitAndJoinedInAnyWay) {
    CNativeChannel channel(m_in[0], m_out[1]);
    const std::string both = frame(R"({"type":"show","visible":true})") + frame(R"({"type":"key"})");
    browserWrites(both.substr(0, 3));
    EXPECT_EQ(channel.takeWaitingMessage(), std::nullopt);
    browserWrites(both.substr(3));
    EXPECT_EQ(channel.takeWaitingMessage(), R"({"type":"show","visible":true})");
    EXPECT_EQ(channel.readMessage(), R"({"type":"key"})");
    EXPECT_EQ(channel.takeWaitingMessage(), std::nullopt);
    EXPECT_FALSE(channel.inputEnded());
}

TEST_F(ChannelTest, SkipsAnOversizedFrameAndKeepsInStep) {
    CNativeChannel channel(m_in[0], m_out[1], 64);
    browserWrites(frame(std::string(200, 'x')) + frame("{\"ok\":1}") + frame(""));
    EXPECT_EQ(channel.readMessage(), "{\"ok\":1}");
    EXPECT_EQ(channel.readMessage(), "");
}

TEST_F(ChannelTest, EndsAtTheEndOfInputEvenInsideAFrame) {
    CNativeChannel channel(m_in[0], m_out[1]);
    browserWrites(frame("{}") + std::string("\x10\x00\x00\x00{\"cut", 9));
    browserCloses();
    EXPECT_EQ(channel.readMessage(), "{}");
    EXPECT_EQ(channel.readMessage(), std::nullopt);
    EXPECT_TRUE(channel.inputEnded());
    EXPECT_EQ(channel.takeWaitingMessage(), std::nullopt);
}

TEST_F(ChannelTest, RemembersTheEndSeenWhilePumping) {
    CNativeChannel channel(m_in[0], m_out[1]);
    browserWrites(frame("{\"a\":1}"));
    browserCloses();
    EXPECT_EQ(channel.takeWaitingMessage(), "{\"a\":1}");
    EXPECT_EQ(channel.takeWaitingMessage(), std::nullopt);
    EXPECT_TRUE(channel.inputEnded());
    EXPECT_EQ(channel.readMessage(), std::nullopt);
}

TEST_F(ChannelTest, FramesRepliesAndRefusesOnesOverTheBrowsersLimit) {
    CNativeChannel channel(m_in[0], m_out[1]);
    ASSERT_TRUE(channel.send("{\"type\":\"text\"}"));
    EXPECT_EQ(browserReads(4 + 15), frame("{\"type\":\"text\"}"));
    EXPECT_FALSE(channel.send(std::string(kMaxOutboundMessageBytes + 1, ' ')));
}

}  // namespace
}  // namespace pelux
