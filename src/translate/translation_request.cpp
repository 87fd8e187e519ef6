#include "translate/translation_request.h"

#include <algorithm>

#include "patterns/brace_regexp.h"
#include "text/utf8_codec.h"

namespace pelux {

namespace {

// Kept as the text it has always been and read one character at a time: the backslash and the
// letter t are members, a tab is not.
constexpr std::u16string_view kLeadInCharacters = u"\\'.0123456789 \\t[(<";

// A noncharacter, which no pattern here names, in the place of each NUL of a reply.
constexpr char16_t kNulStandIn = u'\uFFFF';

}  // namespace

TranslationDirection translationDirection(std::u16string_view text) {
    for (const char16_t unit : text) {
        if (kLeadInCharacters.find(unit) != std::u16string_view::npos) continue;
        return unit >= 0x100 ? TranslationDirection::IntoEnglish : TranslationDirection::FromEnglish;
    }
    return TranslationDirection::FromEnglish;
}

std::string_view languagePair(TranslationDirection direction, DictionaryLanguage language) {
    const bool japanese = language == Japanese;
    if (direction == TranslationDirection::IntoEnglish) return japanese ? "ja|en" : "zh-CN|en";
    return japanese ? "en|ja" : "en|zh-CN";
}

std::string utf8ForQuery(std::u16string_view text, size_t maxBytes) {
    std::string out;
    out.reserve(std::min(maxBytes, text.size() * 3));
    size_t i = 0;
    while (i < text.size()) {
        char bytes[4];
        const size_t length = encodeUtf8(nextUtf16CodePoint(text, i), bytes);
        if (length > maxBytes - out.size()) break;
        out.append(bytes, length);
    }
    return out;
}

std::string percentEscapeAll(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out.push_back('%');
        out.push_back(kHex[byte >> 4]);
        out.push_back(kHex[byte & 0x0F]);
    }
    return out;
}

std::string translationUrl(std::string_view base, std::u16string_view text, std::string_view pair) {
    while (!base.empty() && base.back() == '/') base.remove_suffix(1);
    std::string url(base);
    url += "/translate_t?text=";
    url += percentEscapeAll(utf8ForQuery(text));
    url += "&langpair=";
    url += pair;
    return url;
}

// The pattern is run only where it can succeed. Searched over a whole page whose textarea is
// never closed, its two lazy parts try every '>' against every later position, which takes
// minutes on a page of a few hundred kilobytes. Every match begins at a "<textarea" and ends
// with a "</textarea>", and only the first "<textarea" can begin one (a later one would need a
// '>' before the last closing tag, which the first one then has too), so the range from there
// to the end of the last closing tag gives the same match, found in one pass.
//
// The engine reads its text up to the first NUL, but a reply may hold NULs anywhere. Each one is
// searched as a character the pattern never names ('.' matches it as it would a NUL), and the
// translation is then copied from the reply itself, NULs and all.
std::u16string extractTranslation(const std::u16string& reply) {
    const std::u16string_view page(reply);
    const size_t open = page.find(u"<textarea");
    const size_t lastClose = page.rfind(u"</textarea>");
    if (open == std::u16string_view::npos || lastClose == std::u16string_view::npos) return {};
    const size_t tagEnd = page.find(u'>', open + 9);
    if (tagEnd == std::u16string_view::npos || tagEnd >= lastClose) return {};
    std::u16string candidate(page.substr(open, lastClose + 11 - open));
    std::replace(candidate.begin(), candidate.end(), u'\0', kNulStandIn);

    CBraceRegExp pattern;
    pattern.compile(u"<textarea.*?>{.*?}<\\/textarea>", true);
    CBraceMatch match(256);
    if (!pattern.search(candidate.c_str(), &match) || match.groupCount() < 1) return {};
    const BraceSpan translation = match.group(0);
    if (translation.length() < 1) return {};
    return std::u16string(page.substr(open + static_cast<size_t>(translation.start),
                                      static_cast<size_t>(translation.length())));
}

}  // namespace pelux
