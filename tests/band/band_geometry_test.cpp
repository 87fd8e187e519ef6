#include "band/band_geometry.h"

#include <gtest/gtest.h>

#include "fake_settings_key.h"

namespace pelux {
namespace {

TEST(LayoutBand, PlacesTheFourControlsOfABand500By40) {
    const BandLayout layout = layoutBand({0, 0, 500, 40});
    EXPECT_EQ(layout.menuButton, (ControlPlacement{0, 0, 35, 40}));
    EXPECT_EQ(layout.text, (ControlPlacement{35, 0, 440, 40}));
    EXPECT_EQ(layout.smallerButton, (ControlPlacement{476, 0, 24, 20}));
    EXPECT_EQ(layout.biggerButton, (ControlPlacement{476, 21, 24, 19}));
}

TEST(LayoutBand, SplitsAnOddHeightWithOneBlankRow) {
    const BandLayout layout = layoutBand({0, 0, 1000, 41});
    EXPECT_EQ(layout.smallerButton, (ControlPlacement{976, 0, 24, 20}));
    EXPECT_EQ(layout.biggerButton, (ControlPlacement{976, 21, 24, 20}));
    EXPECT_EQ(layout.text.width, 1000 - 60);
}

TEST(SavedBandSize, ReadsWidthAndHeightOrTheDefaults) {
    struct Row {
        const char* name;
        std::optional<std::u16string> height, width;
        BandSize expected;
    };
    const Row rows[] = {
        {"nothing stored", std::nullopt, std::nullopt, {1000, 40}},
        {"120 by 800", u"120", u"800", {800, 120}},
        {"45 by 1200", u"45", u"1200", {1200, 45}},
        {"height only", u"75", std::nullopt, {1000, 75}},
        {"unparsable height keeps 40", u"tall", u"640", {640, 40}},
        {"too long to read", std::u16string(60, u'9'), u"700", {700, 40}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        testing::CFakeSettingsKey key;
        if (row.height) key.values[u"Height"] = *row.height;
        if (row.width) key.values[u"Width"] = *row.width;
        const BandSize size = savedBandSize(key);
        EXPECT_EQ(size.width, row.expected.width);
        EXPECT_EQ(size.height, row.expected.height);
    }
}

TEST(SaveBandSize, NeverStoresAHeightUnder35AndReadsBackTheSame) {
    testing::CFakeSettingsKey key;
    saveBandSize(key, {0, 0, 900, 30});
    EXPECT_EQ(key.values[u"Height"], u"35");
    EXPECT_EQ(key.values[u"Width"], u"900");
    saveBandSize(key, {0, 0, 1280, 60});
    EXPECT_EQ(key.values[u"Height"], u"60");
    const BandSize size = savedBandSize(key);
    EXPECT_EQ(size.width, 1280);
    EXPECT_EQ(size.height, 60);
}

TEST(BandHeightAfterCommand, StepsBy35AndStopsAt35) {
    EXPECT_EQ(bandHeightAfterCommand(40, kCommandBandBigger), 75);
    EXPECT_EQ(bandHeightAfterCommand(60, kCommandBandSmaller), 35);
    EXPECT_EQ(bandHeightAfterCommand(35, kCommandBandSmaller), 35);
    EXPECT_EQ(bandHeightAfterCommand(20, kCommandBandSmaller), 35);
    EXPECT_EQ(bandHeightAfterCommand(60, 32772), 60);
    EXPECT_EQ(bandHeightAfterCommand(INT32_MAX, kCommandBandBigger), INT32_MAX);
}

TEST(BandFontHeight, ComesFromFontSizeWithMinus19AsDefault) {
    testing::CFakeSettingsKey key;
    EXPECT_EQ(bandFontHeight(key, -11), -19);
    key.values[u"FontSize"] = u"-27";
    EXPECT_EQ(bandFontHeight(key, -11), -27);
    EXPECT_EQ(fontPixelHeight(bandFontHeight(key, -11)), 27);
    key.values[u"FontSize"] = u"large";
    EXPECT_EQ(bandFontHeight(key, -11), -11);
}

}  // namespace
}  // namespace pelux
