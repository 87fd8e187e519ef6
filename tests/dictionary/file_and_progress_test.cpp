#include <gtest/gtest.h>

#include "dictionary/dictionary_file.h"
#include "dictionary/load_environment.h"
#include "dictionary/lower_case.h"
#include "load_fixture.h"

namespace pelux {
namespace {

using testing_support::LoadTest;
using testing_support::utf16LeBytes;

class DictionaryFileTest : public LoadTest {
protected:
    std::vector<std::u16string> readAll(const char* name, FileMode mode) {
        CDictionaryFile file;
        EXPECT_TRUE(file.open(m_directory / name, mode));
        std::vector<std::u16string> result;
        std::u16string_view line;
        while (file.readLine(line)) result.emplace_back(line);
        return result;
    }
};

TEST_F(DictionaryFileTest, BinaryLinesKeepTheirLineEnds) {
    writeBytes("a.uni", utf16LeBytes(u"\uFEFFhead\r\n中國 中国\r\nlast"));
    EXPECT_EQ(readAll("a.uni", FileMode::Utf16Binary),
              (std::vector<std::u16string>{u"\uFEFFhead\r\n", u"中國 中国\r\n", u"last"}));
}

TEST_F(DictionaryFileTest, LongLineArrivesWhole) {
    const std::u16string longLine = std::u16string(2498, u'長') + u"\r\n";
    writeBytes("long.uni", utf16LeBytes(u"h\r\n" + longLine + u"next\r\n"));
    const std::vector<std::u16string> lines = readAll("long.uni", FileMode::Utf16Binary);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], u"next\r\n");
}

TEST_F(DictionaryFileTest, OddTrailingByteIsDropped) {
    writeBytes("odd.uni", utf16LeBytes(u"ab\n") + "\x41");
    EXPECT_EQ(readAll("odd.uni", FileMode::Utf16Binary), (std::vector<std::u16string>{u"ab\n"}));
}

TEST_F(DictionaryFileTest, TextModeJoinsCrLfAndKeepsByteValues) {
    writeBytes("t.txt", "h\r\nna\xEFve\tx\r\nlone\rcr\n\r\r\n");
    EXPECT_EQ(readAll("t.txt", FileMode::SingleByteText),
              (std::vector<std::u16string>{u"h\n", u"na\u00EFve\tx\n", u"lone\rcr\n", u"\r\n"}));
}

TEST_F(DictionaryFileTest, EmptyAndMissingFiles) {
    writeBytes("empty.uni", "");
    EXPECT_TRUE(readAll("empty.uni", FileMode::Utf16Binary).empty());
    CDictionaryFile file;
    EXPECT_FALSE(file.open(m_directory / "absent.uni", FileMode::Utf16Binary));
    std::u16string_view line;
    EXPECT_FALSE(file.readLine(line));
}

TEST(DictionaryFilePath, FileLiesInTheComponentDirectory) {
    EXPECT_EQ(dictionaryFilePath("/opt/peluxbar", "cedict_ts.uni"), std::filesystem::path("/opt/peluxbar/cedict_ts.uni"));
}

TEST(Progress, TextsAreExact) {
    EXPECT_EQ(formatProgress(kChineseProgressFormat, 0), u"0/34000 lines read.\t\tPress Escape to Cancel");
    EXPECT_EQ(formatProgress(kJapaneseProgressFormat, 117000), u"117000/116000 lines read.\t\tPress Escape to Cancel");
    EXPECT_EQ(std::u16string(kLoadingText), u"Loading . . .");
}

class ProgressStepTest : public LoadTest {};

TEST_F(ProgressStepTest, DoesNothingBetweenThousands) {
    m_keys = testing_support::CScriptedKeys({true});
    EXPECT_FALSE(loadProgressStep(environment(), 999, kChineseProgressFormat));
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(m_pump.calls, 0);
    EXPECT_EQ(m_keys.polls, 0u);
}

TEST_F(ProgressStepTest, ShowsPumpsThenPollsAtEveryThousand) {
    m_keys = testing_support::CScriptedKeys({false, true});
    m_pump.onPump = [&](int call) { EXPECT_EQ(m_keys.polls, std::size_t(call - 1)) << "Escape polled before the messages were handled"; };
    EXPECT_FALSE(loadProgressStep(environment(), 0, kChineseProgressFormat));
    EXPECT_TRUE(loadProgressStep(environment(), 2000, kJapaneseProgressFormat));
    EXPECT_EQ(texts(), (std::vector<std::u16string>{u"0/34000 lines read.\t\tPress Escape to Cancel",
                                                    u"2000/116000 lines read.\t\tPress Escape to Cancel"}));
    EXPECT_EQ(m_pump.calls, 2);
}

TEST_F(ProgressStepTest, DestroyedWindowIsLeftAlone) {
    LoadEnvironment env = environment();
    m_window.reset();
    EXPECT_FALSE(loadProgressStep(env, 1000, kChineseProgressFormat));
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(m_pump.calls, 1);
}

TEST(LowerCase, SimpleMappingPerCodeUnit) {
    struct Row {
        char16_t in, out;
    } rows[] = {{u'A', u'a'},          {u'Z', u'z'},          {u'a', u'a'},          {u'É', u'é'},
                {u'Σ', u'σ'},          {u'\u0130', u'i'},     {u'\uFF21', u'\uFF41'}, {u'\u1E9E', u'ß'},
                {u'ß', u'ß'},          {u'中', u'中'},        {u'Д', u'д'},          {char16_t(0xD801), char16_t(0xD801)}};
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.in));
        EXPECT_EQ(lowerCaseChar(row.in), row.out);
    }
    std::u16string word = u"ÉCOLE Straße";
    lowerCaseInPlace(word);
    EXPECT_EQ(word, u"école straße");
}

TEST(LowerCase, WhiteSpaceIsTheUnicodeProperty) {
    for (char16_t c : {u' ', u'\t', u'\n', u'\r', u'\v', u'\f', u'\u0085', u'\u00A0', u'\u2003', u'\u3000', u'\u2029'}) {
        SCOPED_TRACE(int(c));
        EXPECT_TRUE(isUnicodeWhiteSpace(c));
    }
    for (char16_t c : {u'a', u'\u200B', u'\u180E', u'\uFEFF', u'\u001F'}) {
        SCOPED_TRACE(int(c));
        EXPECT_FALSE(isUnicodeWhiteSpace(c));
    }
}

}  // namespace
}  // namespace pelux
