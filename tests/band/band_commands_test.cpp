#include "band/band_commands.h"

#include <gtest/gtest.h>

#include <vector>

#include "band/band_menu.h"
#include "band/load_commands.h"
#include "band/reference_pages.h"
#include "fake_settings_key.h"

namespace pelux {
namespace {

using testing::CFakeSettingsKey;

// A band that records what the commands asked of it.
class CRecordingBand : public IBandCommandHost {
public:
    std::optional<int32_t> bandHeight = 40;
    int32_t fontHeight = -19;
    ColorDialogAnswer answer;
    std::vector<std::u16string> dialogTexts;
    std::vector<std::u16string> navigations;
    std::vector<std::string> loads;
    int heightWrites = 0;
    std::function<void()> duringLoad;

    std::optional<int32_t> currentBandHeight() override { return bandHeight; }
    void setBandHeight(int32_t height) override { bandHeight = height, ++heightWrites; }
    int32_t currentFontHeight() override { return fontHeight; }
    void setFontHeight(int32_t height) override { fontHeight = height; }
    std::optional<ColorDialogAnswer> askTextColor(std::u16string_view initial) override {
        dialogTexts.emplace_back(initial);
        return answer;
    }
    void stopAndNavigate(std::u16string_view address) override { navigations.emplace_back(address); }
    void loadChineseDictionary() override { loads.push_back("zh"), runDuringLoad(); }
    void loadJapaneseDictionary() override { loads.push_back("ja"), runDuringLoad(); }

private:
    void runDuringLoad() {
        if (duringLoad) duringLoad();
    }
};

struct CommandsTest : ::testing::Test {
    CRecordingBand band;
    CFakeSettingsKey settings;
    CEngine engine;
    BandSettings& record = engine.settings();

    BandCommandOutcome run(uint64_t command) { return onCommand(command, band, settings, engine); }
    std::optional<std::u16string> stored(std::u16string_view name) {
        const auto found = settings.values.find(std::u16string(name));
        if (found == settings.values.end()) return std::nullopt;
        return found->second;
    }
};

TEST_F(CommandsTest, HeightButtonsStepBy35AndNeverGoBelow35) {
    const struct {
        const char* name;
        uint32_t command;
        int32_t before, after;
    } rows[] = {
        {"bigger from 40", 107, 40, 75},   {"smaller from 60", 108, 60, 35},
        {"smaller from 35", 108, 35, 35},  {"smaller from 20", 108, 20, 35},
        {"bigger from 20", 107, 20, 55},   {"smaller from 110", 108, 110, 75},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        band.bandHeight = row.before;
        EXPECT_EQ(run(row.command), BandCommandOutcome::Carried);
        EXPECT_EQ(band.bandHeight, row.after);
    }
    EXPECT_TRUE(settings.values.empty()) << "the height is stored only when the band closes";
}

TEST_F(CommandsTest, HeightButtonsChangeNothingWhenTheBandIsNotInTheToolbar) {
    band.bandHeight = std::nullopt;
    run(107);
    EXPECT_EQ(band.heightWrites, 0);
}

TEST_F(CommandsTest, FontCommandsStepBy4HoldAtMinus8AndStoreFontSize) {
    const struct {
        const char* name;
        std::vector<uint32_t> commands;
        int32_t before, after;
        const char16_t* stored;
    } rows[] = {
        {"larger three times from the default", {32787, 32787, 32787}, -19, -31, u"-31"},
        {"smaller from -11 reaches the limit", {32786}, -11, -8, u"-8"},
        {"smaller at the limit stays", {32786}, -8, -8, u"-8"},
        {"smaller from -9 is held", {32786}, -9, -8, u"-8"},
        {"larger has no upper limit", {32787}, -200, -204, u"-204"},
        {"a positive cell height is held at the limit", {32787}, 10, -8, u"-8"},
        {"larger then smaller comes back", {32787, 32786}, -19, -19, u"-19"},
        {"no overflow at the bottom of the range", {32787}, INT32_MIN + 1, INT32_MIN, u"-2147483648"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        band.fontHeight = row.before;
        for (uint32_t command : row.commands) run(command);
        EXPECT_EQ(band.fontHeight, row.after);
        EXPECT_EQ(stored(u"FontSize"), row.stored);
    }
}

TEST_F(CommandsTest, TogglesFlipByExclusiveOrAndStoreTheirValue) {
    record.UseToolTips = 1;
    run(kCommandUseToolTips);
    EXPECT_EQ(record.UseToolTips, 0);
    EXPECT_EQ(stored(u"UseToolTips"), u"0");
    run(kCommandUseToolTips);
    EXPECT_EQ(stored(u"UseToolTips"), u"1");

    // A value other than 0 or 1 read from the settings flips its lowest bit only.
    record.ShowSubWordTranslations = 6;
    run(kCommandShowSubWords);
    EXPECT_EQ(record.ShowSubWordTranslations, 7);
    EXPECT_EQ(stored(u"ShowSubWordTranslations"), u"7");
    EXPECT_EQ(record.UseToolTips, 1) << "each switch stands on its own";
}

TEST_F(CommandsTest, TheMenuChecksFollowTheRecord) {
    record.UseToolTips = 1;
    auto checked = [this](uint32_t id) {
        for (const MenuItem& item : bandMenu(record))
            if (item.id == id) return item.checked;
        return false;
    };
    EXPECT_TRUE(checked(kCommandUseToolTips));
    EXPECT_FALSE(checked(kCommandShowSubWords));
    run(kCommandUseToolTips);
    run(kCommandShowSubWords);
    EXPECT_FALSE(checked(kCommandUseToolTips));
    EXPECT_TRUE(checked(kCommandShowSubWords));
}

TEST_F(CommandsTest, ColorDialogOpensWithTheCurrentColourAndAppliesWhatOkReturns) {
    const struct {
        const char* name;
        uint32_t colourBefore;
        int32_t result;
        const char16_t* entered;
        const char16_t* shown;
        uint32_t colourAfter;
        const char16_t* stored;  // nullptr: nothing written
    } rows[] = {
        {"default blue, red entered", 0xFF0000, 1, u"#FF0000", u"#0000FF", 0x0000FF, u"#FF0000"},
        {"lower-case green", 0x0000FF, 1, u"#00ff00", u"#FF0000", 0x00FF00, u"#00ff00"},
        {"not a colour keeps it but is stored", 0x0000FF, 1, u"red", u"#FF0000", 0x0000FF, u"red"},
        {"nine characters are cut to seven", 0, 1, u"#00FF00FF", u"#000000", 0x00FF00, u"#00FF00"},
        {"cancel changes nothing", 0x0000FF, 2, u"#00FF00", u"#FF0000", 0x0000FF, nullptr},
        {"a dialog that failed counts as cancel", 0x0000FF, -1, u"#00FF00", u"#FF0000", 0x0000FF, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        settings.values.clear();
        band.dialogTexts.clear();
        record.FontColor = row.colourBefore;
        band.answer = {row.result, row.entered};
        run(kCommandColor);
        ASSERT_EQ(band.dialogTexts.size(), 1u);
        EXPECT_EQ(band.dialogTexts[0], row.shown);
        EXPECT_EQ(record.FontColor, row.colourAfter);
        if (row.stored) {
            EXPECT_EQ(stored(u"FontColor"), row.stored);
        } else {
            EXPECT_FALSE(stored(u"FontColor"));
        }
        EXPECT_TRUE(band.navigations.empty());
    }
}

TEST_F(CommandsTest, OtherColorsOpensTheColourNamesAndChangesNothing) {
    record.FontColor = 0xFF0000;
    band.answer = {kColorDialogOtherColors, u"#00FF00"};
    run(kCommandColor);
    EXPECT_EQ(band.navigations, std::vector<std::u16string>{std::u16string(kColourNamesPage)});
    EXPECT_EQ(record.FontColor, 0xFF0000u);
    EXPECT_FALSE(stored(u"FontColor"));
}

TEST_F(CommandsTest, EveryReferencePageOpensItsAddressWithTheFixedPath) {
    const struct {
        uint32_t command;
        const char16_t* ending;
    } rows[] = {
        {32788, u"/news?ned=cn"}, {32789, u"/news?ned=jp"},     {32790, u"/tr"},
        {32791, u"/translate_t"}, {32804, u"/"},                {32803, u"/wwwjdic.html"},
        {32793, u"/chinese/c.html"}, {32794, u"/"},             {32798, u"/peluxbarIE/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        band.navigations.clear();
        EXPECT_EQ(run(row.command), BandCommandOutcome::Carried);
        ASSERT_EQ(band.navigations.size(), 1u);
        const std::u16string& address = band.navigations[0];
        EXPECT_TRUE(address.ends_with(row.ending));
        EXPECT_TRUE(address.starts_with(u"http://") || address.starts_with(u"https://"));
        // The host ends where the fixed path begins; only the dictionary page's folder is ours.
        if (row.command != kCommandWwwjdic) {
            EXPECT_EQ(address.find(u'/', address.find(u"//") + 2),
                      address.size() - std::u16string_view(row.ending).size());
        }
    }
    EXPECT_EQ(referencePages().size(), std::size(rows));
    EXPECT_TRUE(kColourNamesPage.ends_with(u"/TR/REC-html40/types.html#h-6.5"));
}

TEST_F(CommandsTest, LoadCommandsRunTheirLoaderAndNeverNest) {
    EXPECT_EQ(run(kCommandLoadChinese), BandCommandOutcome::Carried);
    EXPECT_EQ(run(kCommandLoadJapanese), BandCommandOutcome::Carried);
    BandCommandOutcome nested = BandCommandOutcome::Ignored;
    band.duringLoad = [&] { nested = run(kCommandLoadJapanese); };
    run(kCommandLoadChinese);
    EXPECT_EQ(nested, BandCommandOutcome::IgnoredDuringLoad);
    EXPECT_EQ(band.loads, (std::vector<std::string>{"zh", "ja", "zh"}));
}

TEST_F(CommandsTest, ValuesWithANotificationCodeOrUnknownIdentifiersDoNothing) {
    for (uint64_t command : {uint64_t{0x10000} | 32772, uint64_t{0x10000} | 107, uint64_t{1} << 32 | 32795,
                             uint64_t{32800}, uint64_t{0}, uint64_t{206}, uint64_t{32792}}) {
        SCOPED_TRACE(command);
        EXPECT_EQ(run(command), BandCommandOutcome::Ignored);
    }
    EXPECT_TRUE(band.loads.empty());
    EXPECT_EQ(band.heightWrites, 0);
    EXPECT_TRUE(band.dialogTexts.empty());
    EXPECT_TRUE(band.navigations.empty());
    EXPECT_TRUE(settings.values.empty());
    EXPECT_EQ(record.UseToolTips, 0);
}

}  // namespace
}  // namespace pelux
