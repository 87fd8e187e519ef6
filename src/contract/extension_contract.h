// The facts that the core and the Chromium extension both act on, written once. The extension
// reads them from extension/generated/constants.js, which the build writes from this header
// (scripts/write_extension_constants.cpp); a test fails when the committed file lags behind.
#pragma once

#include <cstddef>
#include <cstdint>

// The reader's switches, in the order the options page lists them: each is "%d" in the settings
// key, 0 when absent, a field of the band's settings record, and a box of the options page with
// the text given here. X(Name, field, text): Name is the setting's and the record field's name,
// field the ReaderOptions member. Those of the lookups become ReaderOptions; the others are
// acted on by the shells.
#define PELUX_LOOKUP_SWITCHES(X)                                                                          \
    X(AllEntries, allEntries,                                                                             \
      "Show every entry of the word under the pointer, common ones first, not only the first.")           \
    X(StandardPinyin, standardPinyin,                                                                     \
      "Write pinyin as readers learned it: the tone mark on a, e or the o of ou, and ǎ for tone 3.")      \
    X(HepburnRomaji, hepburnRomaji,                                                                       \
      "Write Japanese readings in modified Hepburn romaji (shi, chū, kitte) without dots.")               \
    X(Deinflect, deinflect, "Also look conjugated Japanese verbs and adjectives up under their dictionary form.")
#define PELUX_SHELL_SWITCHES(X)                                                                           \
    X(ReaderPopup, readerPopup,                                                                           \
      "Also show the entries in a popup beside the word, and mark the matched characters.")               \
    X(LoadAtStart, loadAtStart,                                                                           \
      "Load the dictionary of the last completed load by itself when the browser starts.")
#define PELUX_READER_SWITCHES(X) PELUX_LOOKUP_SWITCHES(X) PELUX_SHELL_SWITCHES(X)

namespace pelux {

// Command values of the band's two height buttons.
inline constexpr uint32_t kCommandBandBigger = 107;
inline constexpr uint32_t kCommandBandSmaller = 108;

// Upper bound of the UTF-8 form of a text to translate, before escaping; the escaped query is
// three times it.
inline constexpr size_t kMaxQueryTextBytes = 9999;

// The longest captured word or sentence (UTF-16 code units) the host reads; a page can hold one
// "word" of megabytes (a data blob).
inline constexpr size_t kMaxCapturedUnits = 4096;

// Characters up to this one take the English road; anything above takes the Chinese/Japanese road.
inline constexpr char16_t kLastEnglishRoadChar = 0x100;

}  // namespace pelux
