#include "band/reference_pages.h"

#include <array>

#include "band/band_menu.h"

namespace pelux {

namespace {

// Each service at its public address. Those that still answer over TLS are asked that way; the
// others keep the plain address they were published under.
constexpr std::array kPages{
    ReferencePage{kCommandChineseNews, u"https://news.google.com/news?ned=cn"},
    ReferencePage{kCommandJapaneseNews, u"https://news.google.com/news?ned=jp"},
    ReferencePage{kCommandBabelfish, u"http://babelfish.altavista.com/tr"},
    ReferencePage{kCommandGoogleTranslation, u"https://translate.google.com/translate_t"},
    ReferencePage{kCommandMandarinTools, u"https://www.mandarintools.com/"},
    ReferencePage{kCommandWwwjdic, u"http://www.csse.monash.edu.au/~jwb/wwwjdic.html"},
    ReferencePage{kCommandCharacterLookup, u"http://www.zhongwen.com/chinese/c.html"},
    ReferencePage{kCommandZhongWen, u"http://www.zhongwen.com/"},
    ReferencePage{kCommandComments, u"http://www.tandrel.com/peluxbarIE/"},
};

}  // namespace

std::span<const ReferencePage> referencePages() { return kPages; }

std::optional<std::u16string_view> referencePageAddress(uint32_t command) {
    for (const ReferencePage& page : kPages) {
        if (page.command == command) return page.address;
    }
    return std::nullopt;
}

}  // namespace pelux
