// The host and `peluxbar lookup` as separate processes, while their files change under them: each
// keeps answering from what it loaded, and none crashes or waits forever.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/run_peluxbar.h"

namespace pelux {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(20);

// A running peluxbar with its standard input and output held by the test; every read has a
// deadline, so a child that hangs fails the test instead of stopping it.
class CChild {
public:
    CChild(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
        const std::string program = peluxbarPath();
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            for (const std::string& assignment : environment) ::putenv(const_cast<char*>(assignment.c_str()));
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        m_input = in[1];
        m_output = out[0];
    }
    ~CChild() {
        closeInput();
        if (m_output >= 0) ::close(m_output);
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    CChild(const CChild&) = delete;
    CChild& operator=(const CChild&) = delete;

    void send(const std::string& bytes) { EXPECT_EQ(::write(m_input, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    void closeInput() {
        if (m_input >= 0) ::close(m_input);
        m_input = -1;
    }
    // Exactly `count` bytes of output, or nullopt when they do not come in time.
    std::optional<std::string> read(std::size_t count) {
        while (m_buffered.size() < count)
            if (!fill()) return std::nullopt;
        return take(count);
    }
    std::optional<std::string> readLine() {
        while (m_buffered.find('\n') == std::string::npos)
            if (!fill()) return std::nullopt;
        return take(m_buffered.find('\n') + 1);
    }
    std::optional<json> readFrame() {
        const std::optional<std::string> length = read(4);
        if (!length) return std::nullopt;
        uint32_t size = 0;
        std::memcpy(&size, length->data(), 4);
        const std::optional<std::string> body = read(size);
        return body ? std::optional(json::parse(*body)) : std::nullopt;
    }
    // The exit code once the input is closed; -1 when the child crashed or did not end in time.
    int exitCode() {
        closeInput();
        while (Clock::now() < m_deadline) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_reaped = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(10000);
        }
        return -1;
    }

private:
    bool fill() {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now()).count();
        pollfd ready{m_output, POLLIN, 0};
        if (left <= 0 || ::poll(&ready, 1, int(left)) <= 0) return false;
        char chunk[65536];
        const ssize_t got = ::read(m_output, chunk, sizeof chunk);
        if (got <= 0) return false;
        m_buffered.append(chunk, std::size_t(got));
        return true;
    }
    std::string take(std::size_t count) {
        std::string taken = m_buffered.substr(0, count);
        m_buffered.erase(0, count);
        return taken;
    }

    pid_t m_pid = -1;
    int m_input = -1, m_output = -1;
    bool m_reaped = false;
    std::string m_buffered;
    Clock::time_point m_deadline = Clock::now() + kPatience;
};

std::string framed(const json& message) {
    const std::string body = message.dump();
    const uint32_t size = uint32_t(body.size());
    return std::string(reinterpret_cast<const char*>(&size), 4) + body;
}

std::string bytesOf(const fs::path& path) {
    std::stringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

class DiskFaultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::signal(SIGPIPE, SIG_IGN);  // a child that died must fail the test, not end it
        m_dir = fs::temp_directory_path() / ("peluxbar-disk-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "config" / "peluxbar");
        // A folder of links to the dictionary files, as the benchmarks and installations use.
        for (const auto& entry : fs::directory_iterator(fs::path(PELUX_SOURCE_DIR) / "data"))
            if (entry.is_regular_file()) fs::create_symlink(entry.path(), m_dir / entry.path().filename());
        for (const char* language : {"ja", "zh"})
            ASSERT_EQ(runPeluxbar({"lookup", "--dict-dir", m_dir.string(), "--lang", language, "中"}).exitCode, 0);
        m_chinese = bytesOf(image());
        m_japanese = bytesOf(m_dir / "peluxbar-japanese.image");
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path image() const { return m_dir / "peluxbar-chinese.image"; }
    std::vector<std::string> environment() const {
        return {"PELUXBAR_DICT_DIR=" + m_dir.string(), "XDG_CONFIG_HOME=" + (m_dir / "config").string()};
    }

    // One lookup of the command line, and one pointer move in a host that has loaded through its
    // menu; `between` runs after the first answer, and the second must be the same.
    void expectSameAnswerAcross(const std::function<void()>& between) {
        {
            SCOPED_TRACE("peluxbar lookup");
            CChild lookup({"lookup", "--lang", "zh", "--stdin"}, environment());
            lookup.send("中国人\n");
            const std::optional<std::string> before = lookup.readLine();
            ASSERT_TRUE(before && before->find("Chinese person") != std::string::npos) << before.value_or("nothing");
            between();
            lookup.send("中国人\n");
            EXPECT_EQ(lookup.readLine(), before);
            EXPECT_EQ(lookup.exitCode(), 0);
        }
        {
            SCOPED_TRACE("peluxbar host");
            CChild host({"host", "chrome-extension://test/"}, environment());
            host.send(framed({{"type", "command"}, {"tab", 4}, {"id", 32772}, {"bandHeight", 40}}));
            std::optional<json> reply;
            while ((reply = host.readFrame()) && (*reply)["type"] != "loadEnded") {}
            ASSERT_TRUE(reply) << "the load never ended";
            const json pointer = {{"type", "pointer"}, {"tab", 4}, {"frame", 0}, {"seq", 1}, {"x", 1}, {"y", 1},
                                  {"character", "中"}, {"word", "中"}, {"sentence", "中国人。"}, {"hasBody", true}};
            host.send(framed(pointer));
            const std::optional<json> before = host.readFrame();
            ASSERT_TRUE(before && (*before)["text"].get<std::string>().find("Chinese person") != std::string::npos);
            between();
            host.send(framed(pointer));
            EXPECT_EQ(host.readFrame(), before);
            EXPECT_EQ(host.exitCode(), 0);
        }
    }

    fs::path m_dir;
    std::string m_chinese, m_japanese;
};

TEST_F(DiskFaultsTest, ImageChangedAfterTheLoadChangesNoAnswer) {
    const auto inPlace = [this](const std::string& bytes) {
        std::fstream(image(), std::ios::in | std::ios::out | std::ios::binary) << bytes;
    };
    const struct {
        const char* what;
        std::function<void()> damage;
    } rows[] = {
        {"overwritten in place by the Japanese image", [&] { inPlace(m_japanese); }},
        {"copied over by the Japanese image", [&] { std::ofstream(image(), std::ios::binary) << m_japanese; }},
        {"truncated", [&] { fs::resize_file(image(), m_chinese.size() / 3); }},
        {"zeroed in place", [&] { inPlace(std::string(m_chinese.size(), '\0')); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::ofstream(image(), std::ios::binary) << m_chinese;
        expectSameAnswerAcross(row.damage);
    }
}

TEST_F(DiskFaultsTest, FifoAtAnyPathIsRefusedWithoutWaiting) {
    const fs::path settings = m_dir / "config" / "peluxbar" / "settings";
    for (const fs::path& path : {image(), m_dir / "cedict_ts.uni", settings}) {
        SCOPED_TRACE(path.filename().string());
        fs::remove(path);
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        CChild lookup({"lookup", "--lang", "zh", "--stdin"}, environment());
        lookup.send("中国人\n");
        const std::optional<std::string> answer = lookup.readLine();
        EXPECT_TRUE(answer.has_value()) << "no answer";
        EXPECT_EQ(lookup.exitCode(), 0);
        CChild host({"host", "chrome-extension://test/"}, environment());
        host.send(framed({{"type", "command"}, {"tab", 4}, {"id", 32772}, {"bandHeight", 40}}));
        std::optional<json> reply;
        while ((reply = host.readFrame()) && (*reply)["type"] != "loadEnded") {}
        EXPECT_TRUE(reply) << "the load never ended";
        EXPECT_EQ(host.exitCode(), 0);
        fs::remove(path);
        if (path == image()) std::ofstream(image(), std::ios::binary) << m_chinese;
        if (path == m_dir / "cedict_ts.uni") fs::create_symlink(fs::path(PELUX_SOURCE_DIR) / "data" / "cedict_ts.uni", path);
    }
}

}  // namespace
}  // namespace pelux
