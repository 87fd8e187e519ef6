// The hand-written load matchers against the pattern object they stand for, over tricky texts,
// every line of the bundled dictionaries and, when PELUXBAR_FULL_DICT_DIR is set, of the full ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "adapters/pcre2_pattern.h"
#include "dictionary/dictionary_file.h"
#include "dictionary/english_index.h"
#include "dictionary/load_patterns.h"
#include "dictionary/lower_case.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

class CPatternTwin {
public:
    CPatternTwin(std::u16string_view pattern, bool global) : m_object(createPcre2Pattern()) {
        m_object->setPattern(pattern);
        m_object->setGlobal(global);
    }
    // Group `group` of every match (0: the whole match); an unset group reads as empty.
    std::vector<std::u16string_view> groups(std::u16string_view text, std::size_t group) {
        std::vector<std::u16string_view> found;
        for (const PerlMatch& match : m_object->execute(text))
            found.push_back(group == 0 ? match.value : match.subMatches.at(group - 1));
        return found;
    }

private:
    std::unique_ptr<IPerlPattern> m_object;
};

class LoadPatterns : public ::testing::Test {
protected:
    // Every matcher against its pattern on `text`, and the suffix matcher on each word of it.
    void compare(std::u16string_view text) {
        SCOPED_TRACE(traceOf(text));
        std::vector<std::u16string_view> runs;
        forEachDefinitionRun(text, [&](std::u16string_view run) { runs.push_back(run); });
        ASSERT_EQ(runs, m_runs.groups(text, 0));

        std::vector<std::u16string_view> definitions;
        forEachSlashedDefinition(text, [&](std::u16string_view definition) { definitions.push_back(definition); });
        ASSERT_EQ(definitions, m_definitions.groups(text, 1));

        EntryHead head;
        const std::vector<std::u16string_view> headwords = m_entry.groups(text, 1);
        ASSERT_EQ(matchEntryHead(text, head), !headwords.empty());
        if (!headwords.empty()) {
            ASSERT_EQ(head.headword, headwords.front());
            ASSERT_EQ(head.reading, m_entry.groups(text, 3).front());
        }

        compareSuffix(text);
        for (std::u16string_view run : runs) {
            m_word.assign(run);
            lowerCaseInPlace(m_word);
            compareSuffix(m_word);
        }
    }

    void compareSuffix(std::u16string_view word) {
        std::vector<std::u16string_view> expected = m_short.groups(word, 1);
        if (expected.empty()) expected = m_long.groups(word, 1);
        std::u16string_view stem;
        const bool matched = matchSuffixStem(word, stem);
        ASSERT_EQ(matched, !expected.empty()) << traceOf(word);
        if (matched) {
            ASSERT_EQ(stem, expected.front()) << traceOf(word);
        }
    }

    void compareFile(const std::filesystem::path& path) {
        CDictionaryFile file;
        ASSERT_TRUE(file.open(path, FileMode::Utf16Binary)) << path;
        std::u16string_view line;
        std::size_t lines = 0;
        while (file.readLine(line)) {
            compare(line);
            if (HasFatalFailure()) return;
            ++lines;
        }
        EXPECT_GT(lines, 10u) << path;
    }

    CPatternTwin m_runs{kDefinitionRunPattern, true};
    CPatternTwin m_definitions{kDefinitionPattern, true};
    CPatternTwin m_entry{kEntryPattern, false};
    CPatternTwin m_short{kShortSuffixPattern, false};
    CPatternTwin m_long{kLongSuffixPattern, false};
    std::u16string m_word;
};

TEST_F(LoadPatterns, AgreeWithThePatternObjectOnEdgeCases) {
    const std::u16string_view texts[] = {
        u"", u"/", u"//", u"///", u"/a", u"a/", u"/a/", u"//a//", u"/a//b/", u"/\n/", u"/a\n/b/", u"/\r/x/\n",
        u"犬 [いぬ] /dog/hound/\n", u"犬\t\t[いぬ]/(n) dog/", u"犬 [いぬ", u"犬 [い\nぬ] /x/", u"犬 x[いぬ]",
        u"犬", u" 犬", u"\v[]", u"犬 \f\r [] /a/", u"犬\u3000[いぬ] /a/", u"犬\u00a0 [a]",
        u"runs", u"ran", u"quickly", u"bees", u"dog's", u"cities", u"rays", u"ably", u"aly", u"xly", u"xs",
        u"xxs", u"possibility", u"abilities", u"a\ns", u"ab\nly", u"abc\nd", u"\nxxly", u"ab\n", u"a\nb\ncs",
        u"run\ns", u"ab\rly", u"Runs", u"ärs", u"ings", u"rings", u"sings", u"e\u00e9s",
    };
    for (std::u16string_view text : texts) {
        compare(text);
        if (HasFatalFailure()) return;
    }
}

TEST_F(LoadPatterns, AgreeWithThePatternObjectOnEveryDictionaryLine) {
    std::vector<std::filesystem::path> directories{std::filesystem::path(PELUX_SOURCE_DIR) / "data"};
    if (const char* full = std::getenv("PELUXBAR_FULL_DICT_DIR"); full && *full) directories.emplace_back(full);
    for (const std::filesystem::path& directory : directories) {
        for (const char* name : {"cedict_ts.uni", "edict.uni"}) {
            compareFile(directory / name);
            if (HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace pelux
