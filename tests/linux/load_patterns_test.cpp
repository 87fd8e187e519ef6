// The hand-written load matchers against the pattern object they stand for, over tricky texts,
// every line of the bundled dictionaries and, when PELUXBAR_FULL_DICT_DIR is set, of the full ones.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "dictionary/dictionary_file.h"
#include "support/load_pattern_check.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

TEST(LoadPatterns, AgreeWithThePatternObjectOnEdgeCases) {
    testing_support::CLoadPatternCheck check;
    const std::u16string_view texts[] = {
        u"", u"/", u"//", u"///", u"/a", u"a/", u"/a/", u"//a//", u"/a//b/", u"/\n/", u"/a\n/b/", u"/\r/x/\n",
        u"犬 [いぬ] /dog/hound/\n", u"犬\t\t[いぬ]/(n) dog/", u"犬 [いぬ", u"犬 [い\nぬ] /x/", u"犬 x[いぬ]",
        u"犬", u" 犬", u"\v[]", u"犬 \f\r [] /a/", u"犬\u3000[いぬ] /a/", u"犬\u00a0 [a]",
        u"runs", u"ran", u"quickly", u"bees", u"dog's", u"cities", u"rays", u"ably", u"aly", u"xly", u"xs",
        u"xxs", u"possibility", u"abilities", u"a\ns", u"ab\nly", u"abc\nd", u"\nxxly", u"ab\n", u"a\nb\ncs",
        u"run\ns", u"ab\rly", u"Runs", u"ärs", u"ings", u"rings", u"sings", u"e\u00e9s",
    };
    for (std::u16string_view text : texts) EXPECT_EQ(check.firstDifference(text), "") << traceOf(text);
}

TEST(LoadPatterns, AgreeWithThePatternObjectOnEveryDictionaryLine) {
    testing_support::CLoadPatternCheck check;
    std::vector<std::filesystem::path> directories{std::filesystem::path(PELUX_SOURCE_DIR) / "data"};
    if (const char* full = std::getenv("PELUXBAR_FULL_DICT_DIR"); full && *full) directories.emplace_back(full);
    for (const std::filesystem::path& directory : directories) {
        for (const char* name : {"cedict_ts.uni", "edict.uni"}) {
            CDictionaryFile file;
            ASSERT_TRUE(file.open(directory / name, FileMode::Utf16Binary)) << directory / name;
            std::u16string_view line;
            std::size_t lines = 0;
            for (; file.readLine(line); ++lines) ASSERT_EQ(check.firstDifference(line), "") << traceOf(line);
            EXPECT_GT(lines, 10u) << directory / name;
        }
    }
}

}  // namespace
}  // namespace pelux
