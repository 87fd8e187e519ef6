// Test doubles for the load ports and helpers that write small dictionary files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <algorithm>
#include <unistd.h>

#include "dictionary/dictionary.h"
#include "dictionary/load_environment.h"
#include "adapters/platform_linux.h"
#include "dictionary/dictionary_inspection.h"
#include "support/test_engine.h"

namespace pelux::testing_support {

// Every text the load shows, in order; outlives the window so that a destroyed window can be
// checked for calls after its end.
struct TextLog {
    std::vector<std::u16string> texts;
};

class CRecordingWindow : public ITextWindow {
public:
    explicit CRecordingWindow(std::shared_ptr<TextLog> log) : m_log(std::move(log)) {}
    void setText(std::u16string_view text) override { m_log->texts.emplace_back(text); }

private:
    std::shared_ptr<TextLog> m_log;
};

class CScriptedPump : public IMessagePump {
public:
    void pumpMessages() override {
        ++calls;
        if (onPump) onPump(calls);
    }
    int calls = 0;
    std::function<void(int)> onPump;  // receives the number of this call, from 1
};

// Answers the Escape polls from a script: poll i (from 0) answers answers[i], later polls the last.
class CScriptedKeys : public IKeyState {
public:
    explicit CScriptedKeys(std::vector<bool> answers = {false}) : m_answers(std::move(answers)) {}
    bool pollEscape() override {
        const std::size_t i = std::min<std::size_t>(polls++, m_answers.size() - 1);
        return m_answers[i];
    }
    std::size_t polls = 0;

private:
    std::vector<bool> m_answers;
};

inline std::string utf16LeBytes(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(char(c & 0xFF));
        bytes.push_back(char(c >> 8));
    }
    return bytes;
}

class LoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        registerLinuxPlatform();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_directory = std::filesystem::temp_directory_path() /
                      (std::string("peluxbar-") + info->test_suite_name() + "-" + info->name() + "-" +
                       std::to_string(::getpid()));
        std::filesystem::remove_all(m_directory);
        std::filesystem::create_directories(m_directory);
        m_window = std::make_shared<CRecordingWindow>(m_log);
        CDictionary& store = testing::testEngine().store();
        store.resetForLoad(None);
        CDictionaryInspection::clearStems(store);
        store.clearIrregular();
    }
    void TearDown() override { std::filesystem::remove_all(m_directory); }

    void writeBytes(const char* name, const std::string& bytes) {
        std::ofstream(m_directory / name, std::ios::binary) << bytes;
    }
    // A UTF-16LE file: the header line with its byte-order mark, then `body` as it stands.
    void writeUnicodeFile(const char* name, std::u16string_view body) {
        writeBytes(name, utf16LeBytes(u"\uFEFF# header line\r\n") + utf16LeBytes(body));
    }

    LoadEnvironment environment() {
        LoadEnvironment env;
        env.textWindow = m_window;
        env.pump = &m_pump;
        env.keys = &m_keys;
        env.directory = m_directory;
        return env;
    }

    CDictionary& store() { return testing::testEngine().store(); }
    const std::vector<std::u16string>& texts() const { return m_log->texts; }

    std::filesystem::path m_directory;
    std::shared_ptr<TextLog> m_log = std::make_shared<TextLog>();
    std::shared_ptr<CRecordingWindow> m_window;
    CScriptedPump m_pump;
    CScriptedKeys m_keys;
};

// Every indexed line number is a stored line, and every list ascends.
inline void expectStoreInvariants(CDictionary& store) {
    for (const std::u16string& key : inspect(store).keysInOrder()) {
        const LineList lines = store.entriesFor(key);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_TRUE(inspect(store).hasLine(lines[i])) << "line " << lines[i] << " indexed but not stored";
            if (i > 0) {
                EXPECT_LE(lines[i - 1], lines[i]);
            }
        }
    }
}

inline LineList lines(std::initializer_list<LineNumber> numbers) { return LineList(numbers); }

}  // namespace pelux::testing_support
