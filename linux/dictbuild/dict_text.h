// Text conversions used while turning dictionary sources into the files the loaders read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pelux {

// Tone-marked pinyin ("zhōng", "lǜ", "gèng gēng") as numbered pinyin in the dictionary's own
// spelling ("zhong1", "lu:4", "geng4 geng1"): ü is written u:, an unmarked syllable gets tone 5.
std::string numberedPinyin(std::string_view toneMarked);

// Text reduced to single bytes (Latin-1): accented Latin letters outside Latin-1 lose their
// marks, typographic quotes and dashes become ASCII ones, anything else becomes "U+XXXX".
// Tabs and line ends become spaces, so the result is safe as one field of a tab-separated line.
std::string toSingleByte(std::string_view utf8);

// Appends text as UTF-16 little-endian bytes.
void appendUtf16Le(std::string& out, std::u16string_view text);

// EUC-JP (JIS X 0208, JIS X 0212 and half-width katakana) to UTF-16 through iconv. A byte
// sequence that is not EUC-JP becomes U+FFFD, counted in invalidSequences().
class CEucJpDecoder {
public:
    CEucJpDecoder();
    ~CEucJpDecoder();
    CEucJpDecoder(const CEucJpDecoder&) = delete;
    CEucJpDecoder& operator=(const CEucJpDecoder&) = delete;

    std::u16string decode(std::string_view bytes);
    std::size_t invalidSequences() const { return m_invalid; }

private:
    void* m_handle;
    std::size_t m_invalid = 0;
};

}  // namespace pelux
