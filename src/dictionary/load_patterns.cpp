#include "dictionary/load_patterns.h"

#include <algorithm>
#include <string>
#include <vector>

#include "dictionary/english_index.h"
#include "text/ascii_chars.h"

namespace pelux {

namespace {

// The endings of one suffix pattern "(.+[^aeiou])(a|b|...)$", read from the pattern text itself so
// that the lookups' patterns and this matcher cannot drift apart.
class CSuffixEndings {
public:
    explicit CSuffixEndings(std::u16string_view pattern) {
        constexpr std::u16string_view kHead = u"(.+[^aeiou])(";
        constexpr std::u16string_view kTail = u")$";
        std::u16string_view alternatives = pattern.substr(kHead.size(), pattern.size() - kHead.size() - kTail.size());
        std::u16string ending;
        for (std::size_t i = 0; i <= alternatives.size(); ++i) {
            if (i == alternatives.size() || alternatives[i] == u'|') {
                if (ending.size() >= m_bySize.size()) m_bySize.resize(ending.size() + 1);
                m_bySize[ending.size()].push_back(std::move(ending));
                ending.clear();
            } else if (alternatives[i] != u'\\') {
                ending.push_back(alternatives[i]);
            }
        }
    }
    std::size_t longest() const { return m_bySize.size() - 1; }
    bool contains(std::u16string_view ending) const {
        if (ending.size() >= m_bySize.size()) return false;
        const std::vector<std::u16string>& sameSize = m_bySize[ending.size()];
        return std::find(sameSize.begin(), sameSize.end(), ending) != sameSize.end();
    }

private:
    std::vector<std::vector<std::u16string>> m_bySize;  // the endings by their length
};

bool isStemEnd(char16_t c) { return c != u'a' && c != u'e' && c != u'i' && c != u'o' && c != u'u'; }

// "(.+[^aeiou])(endings)$": the leftmost match, and of those the longest group 1, as the greedy
// ".+" backs off one unit at a time.
bool matchSuffix(std::u16string_view word, const CSuffixEndings& endings, std::u16string_view& stem) {
    const std::size_t size = word.size();
    if (size < 3) return false;
    const std::size_t lowestEnd = size > endings.longest() + 1 ? size - endings.longest() - 1 : 1;
    for (std::size_t start = 0; start + 2 < size; ++start) {
        const std::size_t feed = word.find(u'\n', start);
        if (feed == start) continue;  // "." takes at least one unit, and not a line feed
        // The last unit of the stem: after at least one unit taken by ".", and no further than
        // a line feed, which "[^aeiou]" takes but "." does not.
        const std::size_t highest = std::min(feed == std::u16string_view::npos ? size : feed, size - 2);
        for (std::size_t end = highest; end >= std::max(start + 1, lowestEnd) && end <= highest; --end) {
            if (isStemEnd(word[end]) && endings.contains(word.substr(end + 1))) {
                stem = word.substr(start, end + 1 - start);
                return true;
            }
        }
        // A later start before the same line feed (or with none ahead) only narrows the same
        // choices; the next start that can differ is past the line feed.
        if (feed == std::u16string_view::npos) return false;
        start = feed;
    }
    return false;
}

}  // namespace

bool matchEntryHead(std::u16string_view line, EntryHead& head) {
    const std::size_t space = std::find_if(line.begin(), line.end(), isAsciiSpace) - line.begin();
    if (space == line.size()) return false;
    head.headword = line.substr(0, space);
    head.reading = {};
    std::size_t at = space;
    while (at < line.size() && isAsciiSpace(line[at])) ++at;
    if (at < line.size() && line[at] == u'[') {
        std::size_t close = at + 1;
        while (close < line.size() && line[close] != u']' && line[close] != u'\n') ++close;
        if (close < line.size() && line[close] == u']') head.reading = line.substr(at + 1, close - at - 1);
    }
    return true;
}

bool matchSuffixStem(std::u16string_view word, std::u16string_view& stem) {
    static const CSuffixEndings shortEndings(kShortSuffixPattern);
    static const CSuffixEndings longEndings(kLongSuffixPattern);
    return matchSuffix(word, shortEndings, stem) || matchSuffix(word, longEndings, stem);
}

}  // namespace pelux
