// Test helpers for the native messaging host: settings held in memory, framing, and a host run
// over a file of framed messages whose replies are read back.
#pragma once

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/native_host.h"
#include "platform/settings_key.h"
#include "adapters/platform_linux.h"
#include "support/test_engine.h"

namespace pelux::testing {

class CMemorySettings : public ISettingsKey {
public:
    std::map<std::u16string, std::u16string> values;
    std::optional<std::u16string> readValue(std::u16string_view name) override {
        const auto found = values.find(std::u16string(name));
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    bool writeValue(std::u16string_view name, std::u16string_view text) override {
        values[std::u16string(name)] = std::u16string(text);
        return true;
    }
};

// What the host process does once at start: the platform's adapters and the engine, here with
// no stored settings.
inline void prepareHostProcess() {
    registerLinuxPlatform();
    CMemorySettings none;
    initEngine(testing::testEngine(), none);
}

// One message as Chromium frames it: its length in native byte order, then its bytes.
inline std::string frame(const std::string& body) {
    const uint32_t length = static_cast<uint32_t>(body.size());
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &length, 4);
    return bytes + body;
}

// The replies whose frames are complete in a stream of them.
inline std::vector<nlohmann::json> parseReplies(const std::string& bytes) {
    std::vector<nlohmann::json> replies;
    uint32_t length = 0;
    for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4 + length) {
        std::memcpy(&length, bytes.data() + at, 4);
        if (bytes.size() - at - 4 < length) break;
        replies.push_back(nlohmann::json::parse(bytes.substr(at + 4, length)));
    }
    return replies;
}

// Runs a host over the given input as the browser feeds it: the input stays open until the
// host has written `awaited` replies (or has been silent for 10 s), and then ends. The host
// answers nothing once its input has ended, so replies that come from threads of their own
// are awaited this way. Returns every reply the host wrote.
inline std::vector<nlohmann::json> runHostUntilReplies(
    const std::vector<std::string>& messages, ISettingsKey& settings, std::size_t awaited,
    const std::filesystem::path& dictionaryDir = std::filesystem::path(PELUX_SOURCE_DIR) / "data") {
    int toHost[2], fromHost[2];
    EXPECT_EQ(::pipe(toHost), 0);
    EXPECT_EQ(::pipe(fromHost), 0);
    std::thread host([&] {
        CNativeChannel channel(toHost[0], fromHost[1]);
        EXPECT_EQ(CNativeHost(testEngine(), channel, settings, dictionaryDir).run(), 0);
        ::close(fromHost[1]);
    });
    std::thread writer([&] {
        for (const std::string& message : messages) {
            const std::string bytes = frame(message);
            EXPECT_EQ(::write(toHost[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        }
    });
    std::string output;
    const auto readSome = [&](int timeoutMs) {
        pollfd ready{fromHost[0], POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) <= 0) return false;
        char chunk[4096];
        const ssize_t got = ::read(fromHost[0], chunk, sizeof chunk);
        if (got <= 0) return false;
        output.append(chunk, static_cast<std::size_t>(got));
        return true;
    };
    while (parseReplies(output).size() < awaited && readSome(10000)) {}
    writer.join();
    ::close(toHost[1]);
    while (readSome(-1)) {}
    host.join();
    ::close(toHost[0]);
    ::close(fromHost[0]);
    return parseReplies(output);
}

// Runs a host over the given input, which then ends, and returns every reply it wrote.
inline std::vector<nlohmann::json> runHost(
    const std::vector<std::string>& messages, ISettingsKey& settings,
    const std::filesystem::path& dictionaryDir = std::filesystem::path(PELUX_SOURCE_DIR) / "data") {
    // The input is a file rather than a pipe, so that any amount of it can wait for the host.
    FILE* in = std::tmpfile();
    std::string bytes;
    for (const std::string& message : messages) bytes += frame(message);
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), in), bytes.size());
    std::fflush(in);
    std::rewind(in);
    FILE* out = std::tmpfile();
    CNativeChannel channel(::fileno(in), ::fileno(out));
    CNativeHost host(testEngine(), channel, settings, dictionaryDir);
    EXPECT_EQ(host.run(), 0);
    std::fclose(in);

    std::vector<nlohmann::json> replies;
    std::rewind(out);
    uint32_t length = 0;
    while (std::fread(&length, 4, 1, out) == 1) {
        std::string body(length, '\0');
        EXPECT_EQ(std::fread(body.data(), 1, length, out), length);
        replies.push_back(nlohmann::json::parse(body));
    }
    std::fclose(out);
    return replies;
}

}  // namespace pelux::testing
