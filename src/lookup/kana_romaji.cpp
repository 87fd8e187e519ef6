#include "lookup/kana_romaji.h"

#include <array>
#include <mutex>

namespace pelux {

namespace {

constexpr char16_t kFirstKana = 0x3041;
constexpr char16_t kLastKana = 0x30FC;

struct KanaEntry {
    const char16_t* text;
    std::initializer_list<char16_t> characters;
};

// Hiragana and katakana alike, small kana like their full-size forms; one syllable a character.
const KanaEntry kKanaEntries[] = {
    {u"a", {0x3041, 0x3042, 0x30A1, 0x30A2}},  {u"i", {0x3043, 0x3044, 0x30A3, 0x30A4}},
    {u"u", {0x3045, 0x3046, 0x30A5, 0x30A6}},  {u"e", {0x3047, 0x3048, 0x30A7, 0x30A8}},
    {u"o", {0x3049, 0x304A, 0x30A9, 0x30AA}},  {u"ka", {0x304B, 0x30AB, 0x30F5}},
    {u"ki", {0x304D, 0x30AD}},                 {u"ku", {0x304F, 0x30AF}},
    {u"ke", {0x3051, 0x30B1, 0x30F6}},         {u"ko", {0x3053, 0x30B3}},
    {u"ga", {0x304C, 0x30AC}},                 {u"gi", {0x304E, 0x30AE}},
    {u"gu", {0x3050, 0x30B0}},                 {u"ge", {0x3052, 0x30B2}},
    {u"go", {0x3054, 0x30B4}},                 {u"sa", {0x3055, 0x30B5}},
    {u"shi", {0x3057, 0x30B7}},                {u"su", {0x3059, 0x30B9}},
    {u"se", {0x305B, 0x30BB}},                 {u"so", {0x305D, 0x30BD}},
    {u"za", {0x3056, 0x30B6}},                 {u"ji", {0x3058, 0x30B8}},
    {u"zu", {0x305A, 0x30BA}},                 {u"ze", {0x305C, 0x30BC}},
    {u"zo", {0x305E, 0x30BE}},                 {u"ta", {0x305F, 0x30BF}},
    {u"chi", {0x3061, 0x30C1}},                {u"tsu", {0x3064, 0x30C4}},
    {u"te", {0x3066, 0x30C6}},                 {u"to", {0x3068, 0x30C8}},
    {u"da", {0x3060, 0x30C0}},                 {u"ji", {0x3062, 0x30C2}},
    {u"zu", {0x3065, 0x30C5}},                 {u"de", {0x3067, 0x30C7}},
    {u"do", {0x3069, 0x30C9}},                 {u"na", {0x306A, 0x30CA}},
    {u"ni", {0x306B, 0x30CB}},                 {u"nu", {0x306C, 0x30CC}},
    {u"ne", {0x306D, 0x30CD}},                 {u"no", {0x306E, 0x30CE}},
    {u"ha", {0x306F, 0x30CF}},                 {u"hi", {0x3072, 0x30D2}},
    {u"fu", {0x3075, 0x30D5}},                 {u"he", {0x3078, 0x30D8}},
    {u"ho", {0x307B, 0x30DB}},                 {u"ba", {0x3070, 0x30D0}},
    {u"bi", {0x3073, 0x30D3}},                 {u"bu", {0x3076, 0x30D6}},
    {u"be", {0x3079, 0x30D9}},                 {u"bo", {0x307C, 0x30DC}},
    {u"pa", {0x3071, 0x30D1}},                 {u"pi", {0x3074, 0x30D4}},
    {u"pu", {0x3077, 0x30D7}},                 {u"pe", {0x307A, 0x30DA}},
    {u"po", {0x307D, 0x30DD}},                 {u"ma", {0x307E, 0x30DE}},
    {u"mi", {0x307F, 0x30DF}},                 {u"mu", {0x3080, 0x30E0}},
    {u"me", {0x3081, 0x30E1}},                 {u"mo", {0x3082, 0x30E2}},
    {u"ya", {0x3083, 0x3084, 0x30E3, 0x30E4}}, {u"yu", {0x3085, 0x3086, 0x30E5, 0x30E6}},
    {u"yo", {0x3087, 0x3088, 0x30E7, 0x30E8}}, {u"ra", {0x3089, 0x30E9}},
    {u"ri", {0x308A, 0x30EA}},                 {u"ru", {0x308B, 0x30EB}},
    {u"re", {0x308C, 0x30EC}},                 {u"ro", {0x308D, 0x30ED}},
    {u"wa", {0x308E, 0x308F, 0x30EE, 0x30EF}}, {u"(wi)", {0x3090, 0x30F0}},
    {u"(we)", {0x3091, 0x30F1}},               {u"(w)o", {0x3092, 0x30F2}},
    {u"va", {0x30F7}},                         {u"vi", {0x30F8}},
    {u"vu", {0x3094, 0x30F4}},                 {u"ve", {0x30F9}},
    {u"vo", {0x30FA}},                         {u"n", {0x3093, 0x30F3}},
    // Small tsu and the long-vowel mark are entries whose text is empty.
    {u"", {0x3063, 0x30C3, 0x30FC}},
};

using KanaTable = std::array<std::u16string, kLastKana - kFirstKana + 1>;

KanaTable g_kanaTable;
std::once_flag g_kanaTableOnce;
const std::u16string kNoRomaji;

}  // namespace

void initKanaRomajiTable() {
    std::call_once(g_kanaTableOnce, [] {
        for (const KanaEntry& entry : kKanaEntries) {
            for (char16_t character : entry.characters) g_kanaTable[character - kFirstKana] = entry.text;
        }
    });
}

const std::u16string& kanaRomaji(char16_t character) {
    if (character < kFirstKana || character > kLastKana) return kNoRomaji;
    return g_kanaTable[character - kFirstKana];
}

void appendRomanizedKana(std::u16string& out, std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (i > 0) out.push_back(u'\u00B7');
        out += kanaRomaji(text[i]);
    }
}

std::u16string romanizeKana(std::u16string_view text) {
    std::u16string result;
    appendRomanizedKana(result, text);
    return result;
}

}  // namespace pelux
