#include "band/band_settings.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "dictionary/dictionary.h"
#include "fake_settings_key.h"
#include "lookup/kana_romaji.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

struct Row {
    const char* name;
    std::map<std::u16string, std::u16string> stored;
    int32_t toolTips, subWords;
    uint32_t colour;
};

TEST(ReadBandSettings, GivesTheStoredValuesOrTheDefaults) {
    const Row rows[] = {
        {"no key at all", {}, 0, 0, 0xFF0000},
        {"both switches on, red", {{u"UseToolTips", u"1"}, {u"ShowSubWordTranslations", u"1"}, {u"FontColor", u"#FF0000"}}, 1, 1, 0x0000FF},
        {"lower-case green", {{u"FontColor", u"#00ff00"}}, 0, 0, 0x00FF00},
        {"colour without hash sign keeps the field (black)", {{u"FontColor", u"00FF00"}}, 0, 0, 0},
        {"unparsable switch keeps the field", {{u"UseToolTips", u"yes"}}, 0, 0, 0xFF0000},
        {"colour too long to read is absent", {{u"FontColor", u"#" + std::u16string(60, u'0')}}, 0, 0, 0xFF0000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::CFakeSettingsKey key;
        key.values = row.stored;
        BandSettings settings;
        readBandSettings(key, settings);
        EXPECT_EQ(settings.UseToolTips, row.toolTips);
        EXPECT_EQ(settings.ShowSubWordTranslations, row.subWords);
        EXPECT_EQ(settings.FontColor, row.colour);
    }
}

TEST(InitEngine, DoesItsWorkOnceForTheWholeProcess) {
    testing::CFakeSettingsKey first;
    first.values[u"UseToolTips"] = u"1";
    first.values[u"FontColor"] = u"#FF0000";
    testing::CFakeSettingsKey second;
    second.values[u"UseToolTips"] = u"0";

    std::vector<std::thread> threads;
    initEngine(testing::testEngine(), first);
    for (int i = 0; i < 4; ++i) threads.emplace_back([&second] { initEngine(testing::testEngine(), second); });
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(testing::testEngine().settings().UseToolTips, 1);
    EXPECT_EQ(testing::testEngine().settings().FontColor, 0x0000FFu);
    EXPECT_TRUE(second.reads.empty());
    EXPECT_EQ(first.reads[u"UseToolTips"], 1);
    EXPECT_EQ(first.reads.count(u"FontSize"), 0u);
    EXPECT_EQ(testing::testEngine().store().language(), None);
    EXPECT_EQ(romanizeKana(u"か"), u"ka");
}

}  // namespace
}  // namespace pelux
