#include "band/band_menu.h"

#include <gtest/gtest.h>

namespace pelux {
namespace {

TEST(BandMenu, ListsEveryItemInOrderWithTheSwitchesChecked) {
    BandSettings settings;
    settings.UseToolTips = 1;
    settings.ShowSubWordTranslations = 0;
    const std::vector<MenuItem> menu = bandMenu(settings);
    ASSERT_EQ(menu.size(), 17u);
    const uint32_t ids[] = {32772, 32773, 0, 32788, 32789, 32790, 32791, 32804, 32803,
                            32793, 32794, 0, 0, 32795, 32799, 0, 32798};
    for (std::size_t i = 0; i < menu.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(menu[i].id, ids[i]);
    }
    EXPECT_EQ(menu[2].kind, MenuItem::Kind::Separator);
    EXPECT_EQ(menu[0].caption, u"Load Chinese/English Dictionary");
    EXPECT_EQ(menu[8].caption, u"Japanese-English Lookup (WWWJDIC)");
    EXPECT_TRUE(menu[13].checked);
    EXPECT_FALSE(menu[14].checked);

    const MenuItem& font = menu[12];
    ASSERT_EQ(font.kind, MenuItem::Kind::Popup);
    EXPECT_EQ(font.caption, u"Font");
    ASSERT_EQ(font.items.size(), 2u);
    EXPECT_EQ(font.items[0].caption, u"Size");
    ASSERT_EQ(font.items[0].items.size(), 2u);
    EXPECT_EQ(font.items[0].items[0].id, 32786u);
    EXPECT_EQ(font.items[0].items[1].caption, u"Larger");
    EXPECT_EQ(font.items[1].id, 32802u);
}

TEST(BandMenu, FollowsTheSharedRecordAtEachOpening) {
    BandSettings settings;
    EXPECT_FALSE(bandMenu(settings)[13].checked);
    settings.UseToolTips = 1;
    settings.ShowSubWordTranslations = 1;
    EXPECT_TRUE(bandMenu(settings)[13].checked);
    EXPECT_TRUE(bandMenu(settings)[14].checked);
}

}  // namespace
}  // namespace pelux
