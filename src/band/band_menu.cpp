#include "band/band_menu.h"

namespace pelux {

namespace {

MenuItem command(uint32_t id, std::u16string caption, bool checked = false) {
    return MenuItem{MenuItem::Kind::Command, id, std::move(caption), checked, {}};
}

MenuItem separator() { return MenuItem{MenuItem::Kind::Separator, 0, {}, false, {}}; }

MenuItem popup(std::u16string caption, std::vector<MenuItem> items) {
    return MenuItem{MenuItem::Kind::Popup, 0, std::move(caption), false, std::move(items)};
}

}  // namespace

std::vector<MenuItem> bandMenu(const BandSettings& settings) {
    return {
        command(kCommandLoadChinese, u"Load Chinese/English Dictionary"),
        command(kCommandLoadJapanese, u"Load Japanese/English Dictionary"),
        separator(),
        command(kCommandChineseNews, u"Google Chinese News"),
        command(kCommandJapaneseNews, u"Google Japanese News"),
        command(kCommandBabelfish, u"Babelfish Translation"),
        command(kCommandGoogleTranslation, u"Google Translation"),
        command(kCommandMandarinTools, u"Mandarin Tools"),
        command(kCommandWwwjdic, u"Japanese-English Lookup (WWWJDIC)"),
        command(kCommandCharacterLookup, u"Chinese Character Lookup"),
        command(kCommandZhongWen, u"ZhongWen"),
        separator(),
        popup(u"Font", {popup(u"Size", {command(kCommandFontSmaller, u"Smaller"),
                                        command(kCommandFontLarger, u"Larger")}),
                        command(kCommandColor, u"Color")}),
        command(kCommandUseToolTips, u"Use Tooltips", settings.UseToolTips != 0),
        command(kCommandShowSubWords, u"Show sub-word translations",
                settings.ShowSubWordTranslations != 0),
        separator(),
        command(kCommandComments, u"Comments, Bugs, Requests, Updates"),
    };
}

}  // namespace pelux
