#include "band/reader_switches.h"

#include <gtest/gtest.h>

#include <vector>

#include "band/band_menu.h"
#include "band/load_at_start.h"
#include "dictionary/load_environment.h"
#include "fake_settings_key.h"
#include "support/store_builder.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

using testing::CFakeSettingsKey;

TEST(ReaderSwitches, EachNameSetsItsOwnFieldAndStoresIt) {
    for (const ReaderSwitch& s : readerSwitches()) {
        SCOPED_TRACE(std::string(s.name.begin(), s.name.end()));
        CFakeSettingsKey settings;
        BandSettings record;
        ASSERT_TRUE(setReaderSwitch(s.name, true, settings, record));
        EXPECT_EQ((record.*s.field).load(), 1);
        EXPECT_EQ(settings.values[std::u16string(s.name)], u"1");
        int32_t others = record.UseToolTips + record.ShowSubWordTranslations;
        for (const ReaderSwitch& other : readerSwitches()) others += (record.*other.field).load();
        EXPECT_EQ(others, 1);
        ASSERT_TRUE(setReaderSwitch(s.name, false, settings, record));
        EXPECT_EQ((record.*s.field).load(), 0);
        EXPECT_EQ(settings.values[std::u16string(s.name)], u"0");
    }
}

TEST(ReaderSwitches, OtherNamesChangeNothing) {
    for (std::u16string_view name : {u"UseToolTips", u"allentries", u"LoadAtStart ", u"", u"FontColor"}) {
        CFakeSettingsKey settings;
        BandSettings record;
        EXPECT_FALSE(setReaderSwitch(name, true, settings, record));
        EXPECT_TRUE(settings.values.empty());
        EXPECT_EQ(record.UseToolTips.load(), 0);
    }
}

// A band whose loads fill the store with one line of their language, or stop at Escape.
class CLoadingBand : public IBandCommandHost {
public:
    std::vector<std::string> loads;
    bool cancel = false;
    bool missingFile = false;

    std::optional<int32_t> currentBandHeight() override { return 40; }
    void setBandHeight(int32_t) override {}
    int32_t currentFontHeight() override { return -19; }
    void setFontHeight(int32_t) override {}
    std::optional<ColorDialogAnswer> askTextColor(std::u16string_view) override { return ColorDialogAnswer{}; }
    void stopAndNavigate(std::u16string_view) override {}
    void loadChineseDictionary() override { load("zh", Chinese); }
    void loadJapaneseDictionary() override { load("ja", Japanese); }

private:
    void load(const char* name, DictionaryLanguage language) {
        loads.push_back(name);
        CStoreBuilder store(language);
        if (!missingFile) store.line(u"line", {u"key"});
        testing::testEngine().store().loadState().setLastCancelled(cancel);
    }
};

TEST(LoadAtStart, LoadsTheRememberedLanguageOnlyWhenSwitchedOn) {
    struct Case {
        int32_t loadAtStart;
        std::optional<std::u16string> remembered;
        std::vector<std::string> loads;
    };
    const Case cases[] = {
        {1, u"0", {"zh"}}, {1, u"1", {"ja"}}, {0, u"1", {}}, {1, std::nullopt, {}}, {1, u"2", {}}, {1, u"ja", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remembered ? std::string(c.remembered->begin(), c.remembered->end()) : "absent");
        CFakeSettingsKey settings;
        if (c.remembered) settings.values[std::u16string(kSettingLastLoadedLanguage)] = *c.remembered;
        CEngine engine;
        engine.settings().LoadAtStart = c.loadAtStart;
        CLoadingBand band;
        EXPECT_EQ(loadRememberedDictionary(band, settings, engine), !c.loads.empty());
        EXPECT_EQ(band.loads, c.loads);
    }
}

TEST(LoadAtStart, RemembersOnlyLoadsThatRanToTheirEndWithTheSwitchOn) {
    struct Case {
        const char* name;
        int32_t loadAtStart;
        bool cancel, missingFile;
        std::optional<std::u16string> stored;
    };
    const Case cases[] = {
        {"completed", 1, false, false, u"1"},
        {"switch off", 0, false, false, std::nullopt},
        {"cancelled", 1, true, false, u"0"},
        {"main file missing", 1, false, true, u"0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFakeSettingsKey settings;
        settings.values[std::u16string(kSettingLastLoadedLanguage)] = u"0";
        if (c.loadAtStart == 0) settings.values.clear();
        // The band's loads fill the shared engine's store, which the command reads afterwards.
        CEngine& engine = testing::testEngine();
        engine.settings().LoadAtStart = c.loadAtStart;
        CLoadingBand band;
        band.cancel = c.cancel;
        band.missingFile = c.missingFile;
        onCommand(kCommandLoadJapanese, band, settings, engine);
        engine.settings().LoadAtStart = 0;
        const auto found = settings.values.find(std::u16string(kSettingLastLoadedLanguage));
        EXPECT_EQ(found == settings.values.end() ? std::nullopt : std::optional(found->second), c.stored);
    }
}

TEST(LoadAtStart, TheFirstCallOfTheProcessOnlyLoads) {
    CFakeSettingsKey settings;
    settings.values[std::u16string(kSettingLastLoadedLanguage)] = u"0";
    testing::testEngine().settings().LoadAtStart = 1;
    CLoadingBand band;
    EXPECT_TRUE(loadRememberedDictionaryOnce(band, settings, testing::testEngine()));
    EXPECT_FALSE(loadRememberedDictionaryOnce(band, settings, testing::testEngine()));
    testing::testEngine().settings().LoadAtStart = 0;
    EXPECT_EQ(band.loads, std::vector<std::string>{"zh"});
}

}  // namespace
}  // namespace pelux
