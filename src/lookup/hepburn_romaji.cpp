#include "lookup/hepburn_romaji.h"

#include <algorithm>
#include <vector>

#include "lookup/kana_romaji.h"

namespace pelux {

namespace {

enum class SyllableKind { Kana, SmallTsu, LongMark, SyllabicN, Other };

struct Syllable {
    SyllableKind kind;
    std::u16string romaji;
    size_t start = 0;  // where its kana start
};

bool isOneOf(char16_t c, std::u16string_view set) { return set.find(c) != std::u16string_view::npos; }

bool isSmallTsu(char16_t c) { return c == u'っ' || c == u'ッ'; }
bool isSyllabicN(char16_t c) { return c == u'ん' || c == u'ン'; }
bool isSmallY(char16_t c) { return isOneOf(c, u"ゃゅょャュョ"); }
bool isSmallVowel(char16_t c) { return isOneOf(c, u"ぁぃぅぇぉァィゥェォ"); }
bool isVowel(char16_t c) { return isOneOf(c, u"aeiou"); }

// A kanji or an iteration mark stands for a sound the reading does not give: the romaji leaves
// it out rather than copy it (ヶ月 is ke). Digits and letters stay as they are written.
bool hasNoSound(char16_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
           isOneOf(c, u"々〆ゝゞヽヾ");
}

char16_t withMacron(char16_t vowel) {
    switch (vowel) {
        case u'a': return u'ā';
        case u'i': return u'ī';
        case u'u': return u'ū';
        case u'e': return u'ē';
        case u'o': return u'ō';
        default: return 0;
    }
}

// The table's syllable, except where Hepburn writes the old kana by their sound.
std::u16string fullSizeRomaji(char16_t c) {
    if (c == u'ゐ' || c == u'ヰ') return u"i";
    if (c == u'ゑ' || c == u'ヱ') return u"e";
    if (c == u'を' || c == u'ヲ') return u"o";
    return kanaRomaji(c);
}

// A small ya, yu or yo joins the consonant of the syllable before it: ki + ya is kya, shi + ya is
// sha, fu + yu is fyu, de + yu is dyu.
void joinSmallY(std::vector<Syllable>& syllables, const std::u16string& small, size_t start) {
    Syllable* previous = syllables.empty() ? nullptr : &syllables.back();
    const bool joinable = previous != nullptr && previous->kind == SyllableKind::Kana && previous->romaji.size() >= 2 &&
                          isVowel(previous->romaji.back());
    if (!joinable) {
        syllables.push_back({SyllableKind::Kana, small, start});
        return;
    }
    std::u16string& romaji = previous->romaji;
    romaji.pop_back();
    const bool palatal = romaji == u"sh" || romaji == u"ch" || romaji == u"j";
    romaji += palatal ? small.substr(1) : small;
}

// A small vowel replaces the vowel of the syllable before it (fa, ti, che, tsa), makes a w of a
// lone u (wi, we, wo) and a y of a lone i (ye).
void joinSmallVowel(std::vector<Syllable>& syllables, const std::u16string& small, size_t start) {
    Syllable* previous = syllables.empty() ? nullptr : &syllables.back();
    if (previous == nullptr || previous->kind != SyllableKind::Kana || previous->romaji.empty() ||
        !isVowel(previous->romaji.back())) {
        syllables.push_back({SyllableKind::Kana, small, start});
        return;
    }
    std::u16string& romaji = previous->romaji;
    if (romaji == u"u") {
        romaji = u"w" + small;
    } else if (romaji == u"i") {
        romaji = u"y" + small;
    } else if (romaji.size() < 2) {
        syllables.push_back({SyllableKind::Kana, small, start});
    } else if (romaji == u"ku" || romaji == u"gu") {
        romaji.back() = u'w';
        romaji += small;
    } else {
        romaji.back() = small.front();
    }
}

std::vector<Syllable> splitSyllables(std::u16string_view kana) {
    std::vector<Syllable> syllables;
    for (size_t i = 0; i < kana.size(); ++i) {
        const char16_t c = kana[i];
        if (isSmallTsu(c)) {
            syllables.push_back({SyllableKind::SmallTsu, {}, i});
        } else if (c == u'ー') {
            syllables.push_back({SyllableKind::LongMark, {}, i});
        } else if (isSyllabicN(c)) {
            syllables.push_back({SyllableKind::SyllabicN, u"n", i});
        } else if (isSmallY(c) && !kanaRomaji(c).empty()) {
            joinSmallY(syllables, kanaRomaji(c), i);
        } else if (isSmallVowel(c) && !kanaRomaji(c).empty()) {
            joinSmallVowel(syllables, kanaRomaji(c), i);
        } else if (std::u16string romaji = fullSizeRomaji(c); !romaji.empty()) {
            syllables.push_back({SyllableKind::Kana, std::move(romaji), i});
        } else if (!hasNoSound(c)) {
            syllables.push_back({SyllableKind::Other, std::u16string(1, c), i});
        }
    }
    return syllables;
}

// A lone vowel that lengthens the vowel written just before it: aa, uu, ee, oo and ou. Hepburn
// keeps ii as it is.
bool lengthens(const std::u16string& out, const std::u16string& vowel) {
    if (out.empty() || vowel.size() != 1) return false;
    const char16_t last = out.back();
    if (vowel[0] == u'u') return last == u'u' || last == u'o';
    return vowel[0] != u'i' && last == vowel[0];
}

const Syllable* kanaAt(const std::vector<Syllable>& syllables, size_t i) {
    if (i >= syllables.size() || syllables[i].kind != SyllableKind::Kana) return nullptr;
    return &syllables[i];
}

}  // namespace

std::u16string hepburnRomaji(std::u16string_view kana, std::span<const size_t> boundaries) {
    const std::vector<Syllable> syllables = splitSyllables(kana);
    std::u16string out;
    for (size_t i = 0; i < syllables.size(); ++i) {
        const Syllable& syllable = syllables[i];
        const Syllable* next = kanaAt(syllables, i + 1);
        switch (syllable.kind) {
            case SyllableKind::SmallTsu:
                // Doubles the consonant that follows; before ch it is written t (matcha).
                if (next != nullptr && !isVowel(next->romaji.front()))
                    out.push_back(next->romaji.starts_with(u"ch") ? u't' : next->romaji.front());
                break;
            case SyllableKind::LongMark:
                if (!out.empty() && withMacron(out.back()) != 0) out.back() = withMacron(out.back());
                break;
            case SyllableKind::SyllabicN:
                out += syllable.romaji;
                if (next != nullptr && (isVowel(next->romaji.front()) || next->romaji.front() == u'y')) out.push_back(u'\'');
                break;
            case SyllableKind::Kana:
                if (i > 0 && kanaAt(syllables, i - 1) != nullptr && lengthens(out, syllable.romaji) &&
                    std::find(boundaries.begin(), boundaries.end(), syllable.start) == boundaries.end()) {
                    out.back() = withMacron(out.back());
                } else {
                    out += syllable.romaji;
                }
                break;
            case SyllableKind::Other: out += syllable.romaji; break;
        }
    }
    return out;
}

}  // namespace pelux
