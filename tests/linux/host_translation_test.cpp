// A translation whose service never answers holds up only the tab that asked: the host, fed
// through a pipe as the browser feeds it, goes on answering every other tab meanwhile.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "dictionary/dictionary.h"
#include "support/host_harness.h"
#include "support/local_http_server.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

using nlohmann::json;
using testing::frame;
using testing::CLocalHttpServer;
using testing::CMemorySettings;

// The host on a thread of its own, between two pipes.
class CPipedHost {
public:
    explicit CPipedHost(ISettingsKey& settings) {
        EXPECT_EQ(::pipe(m_toHost), 0);
        EXPECT_EQ(::pipe(m_fromHost), 0);
        m_thread = std::thread([this, &settings] {
            CNativeChannel channel(m_toHost[0], m_fromHost[1]);
            CNativeHost host(testing::testEngine(), channel, settings, std::filesystem::path(PELUX_SOURCE_DIR) / "data");
            host.run();
            ::close(m_fromHost[1]);
        });
    }
    ~CPipedHost() {
        endInput();
        m_thread.join();
        ::close(m_toHost[0]);
        ::close(m_fromHost[0]);
    }
    void send(const json& message) {
        const std::string bytes = frame(message.dump());
        EXPECT_EQ(::write(m_toHost[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void endInput() {
        if (m_toHost[1] >= 0) ::close(m_toHost[1]);
        m_toHost[1] = -1;
    }
    // True when the host closes its output within 10 s, writing nothing more.
    bool endsSilently() {
        pollfd ready{m_fromHost[0], POLLIN, 0};
        char byte = 0;
        return ::poll(&ready, 1, 10000) == 1 && ::read(m_fromHost[0], &byte, 1) == 0;
    }
    // The next reply, or null when none comes within 10 s.
    json read() {
        uint32_t length = 0;
        if (!readExactly(&length, 4)) return nullptr;
        std::string body(length, '\0');
        if (!readExactly(body.data(), length)) return nullptr;
        return json::parse(body);
    }

private:
    bool readExactly(void* to, std::size_t size) {
        auto* bytes = static_cast<char*>(to);
        for (std::size_t done = 0; done < size;) {
            pollfd ready{m_fromHost[0], POLLIN, 0};
            if (::poll(&ready, 1, 10000) <= 0) return false;
            const ssize_t got = ::read(m_fromHost[0], bytes + done, size - done);
            if (got <= 0) return false;
            done += static_cast<std::size_t>(got);
        }
        return true;
    }

    int m_toHost[2] = {-1, -1};
    int m_fromHost[2] = {-1, -1};
    std::thread m_thread;
};

TEST(HostTranslation, ASilentServiceHoldsUpOnlyTheTabThatAsked) {
    testing::prepareHostProcess();
    {
        DictionaryLock lock(testing::testEngine().store().mutex());
        testing::testEngine().store().setLanguage(Chinese);
    }
    CMemorySettings settings;
    auto service = std::make_unique<CLocalHttpServer>("", CLocalHttpServer::Behaviour::StaySilent);
    const std::string base = service->baseUrl();
    settings.values[u"TranslationService"] = std::u16string(base.begin(), base.end());
    CPipedHost host(settings);
    host.send({{"type", "translate"}, {"tab", 7}, {"text", "你好"}});
    for (int seq = 1; seq <= 3; ++seq) {
        host.send({{"type", "pointer"}, {"tab", 8}, {"frame", 0}, {"seq", seq}, {"x", 1}, {"y", 2},
                   {"character", "a"}, {"word", "a"}, {"sentence", ""}, {"hasBody", true}});
        const json reply = host.read();
        ASSERT_FALSE(reply.is_null()) << "tab 8 got no answer while the translation waits";
        EXPECT_EQ(reply["seq"], seq);
    }
    // The service gives up on the connection: the tab that asked hears of it.
    service.reset();
    EXPECT_EQ(host.read(),
              (json{{"type", "notice"}, {"tab", 7}, {"text", "Exception occurred"}, {"caption", "Error"}}));
}

TEST(HostTranslation, TheInputsEndStopsAWaitingTranslationAndTheHostAnswersNothingMore) {
    testing::prepareHostProcess();
    {
        DictionaryLock lock(testing::testEngine().store().mutex());
        testing::testEngine().store().setLanguage(Chinese);
    }
    CMemorySettings settings;
    CLocalHttpServer service("", CLocalHttpServer::Behaviour::StaySilent);
    const std::string base = service.baseUrl();
    settings.values[u"TranslationService"] = std::u16string(base.begin(), base.end());
    CPipedHost host(settings);
    host.send({{"type", "translate"}, {"tab", 7}, {"text", "你好"}});
    // Once the request has reached the service, it waits out the 30 s limit unless stopped.
    for (int tries = 0; service.requestLines().empty() && tries < 1000; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(service.requestLines().empty());
    host.endInput();
    EXPECT_TRUE(host.endsSilently());
}

}  // namespace
}  // namespace pelux
