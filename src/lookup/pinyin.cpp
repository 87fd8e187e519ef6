#include "lookup/pinyin.h"

#include <array>
#include <mutex>

#include "text/until_nul.h"

namespace pelux {

namespace {

constexpr int kToneCount = 5;
constexpr char16_t kUmlautU = u'\u00FC';

struct ToneRow {
    char16_t vowel;
    std::array<char16_t, kToneCount> forms;
};

// Tone 3 of a, e, i, o and u is written with a breve; tone 3 of ü with a caron. Tone 5 is plain.
const ToneRow kToneRows[] = {
    {u'a', {u'\u0101', u'\u00E1', u'\u0103', u'\u00E0', u'a'}},
    {u'e', {u'\u0113', u'\u00E9', u'\u0115', u'\u00E8', u'e'}},
    {u'i', {u'\u012B', u'\u00ED', u'\u012D', u'\u00EC', u'i'}},
    {u'o', {u'\u014D', u'\u00F3', u'\u014F', u'\u00F2', u'o'}},
    {u'u', {u'\u016B', u'\u00FA', u'\u016D', u'\u00F9', u'u'}},
    {kUmlautU, {u'\u01D6', u'\u01D8', u'\u01DA', u'\u01DC', kUmlautU}},
};

// Indexed by vowel; zero where a character is not one of the six vowels.
std::array<std::array<char16_t, kToneCount>, kUmlautU + 1> g_toneMarks{};
std::once_flag g_toneMarksOnce;

// The vowels of the syllable rule: lower-case only; v and the upper-case vowels are not among them.
bool isToneVowel(char16_t c) {
    return c == u'a' || c == u'e' || c == u'i' || c == u'o' || c == u'u' || c == kUmlautU;
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Letters, digits and colons: what one run of the pinyin is made of.
bool isRunCharacter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || isDigit(c) || c == u':';
}

// The tone digit that closes a syllable whose rest starts at `from`: the first digit, provided
// no vowel comes before it. Returns the digit's index, or npos.
size_t toneDigitFrom(std::u16string_view run, size_t from) {
    for (size_t i = from; i < run.size(); ++i) {
        if (isDigit(run[i])) return i;
        if (isToneVowel(run[i])) break;
    }
    return std::u16string_view::npos;
}

// The rest after the marked vowel: at most one more vowel, then up to the tone digit.
size_t restEndFrom(std::u16string_view run, size_t from) {
    if (from < run.size() && isToneVowel(run[from])) {
        const size_t digit = toneDigitFrom(run, from + 1);
        if (digit != std::u16string_view::npos) return digit + 1;
    }
    const size_t digit = toneDigitFrom(run, from);
    return digit == std::u16string_view::npos ? digit : digit + 1;
}

char16_t toneForm(char16_t vowel, char16_t digit) {
    if (vowel > kUmlautU || digit < u'1' || digit > u'5') return 0;
    return g_toneMarks[vowel][static_cast<size_t>(digit - u'1')];
}

}  // namespace

void initToneMarkTable() {
    std::call_once(g_toneMarksOnce, [] {
        for (const ToneRow& row : kToneRows) g_toneMarks[row.vowel] = row.forms;
    });
}

// The syllable is read as a lead-in of consonants and at most one vowel, the vowel that takes the
// mark, and a rest of at most one vowel and consonants up to the tone digit. Where it begins is
// the leftmost place that allows this: each vowel in turn is tried as the marked one (preferring
// the one after it when two vowels stand together), and a vowel that fails moves the start past
// it. Each character is looked at a bounded number of times, whatever the run holds.
std::optional<SyllableParts> findSyllable(std::u16string_view run) {
    const std::u16string_view text = untilNul(run);
    // Every syllable ends at a tone digit, so no vowel after the last digit can take the mark.
    size_t lastDigit = text.size();
    while (lastDigit > 0 && !isDigit(text[lastDigit - 1])) --lastDigit;
    if (lastDigit-- == 0) return std::nullopt;
    size_t start = 0;
    for (size_t vowel = 0; vowel < lastDigit; ++vowel) {
        if (!isToneVowel(text[vowel])) continue;
        if (vowel + 1 < text.size() && isToneVowel(text[vowel + 1])) {
            const size_t restEnd = restEndFrom(text, vowel + 2);
            if (restEnd != std::u16string_view::npos) {
                return SyllableParts{text.substr(start, vowel + 1 - start), text[vowel + 1],
                                     text.substr(vowel + 2, restEnd - vowel - 2)};
            }
        }
        const size_t restEnd = restEndFrom(text, vowel + 1);
        if (restEnd != std::u16string_view::npos) {
            return SyllableParts{text.substr(start, vowel - start), text[vowel],
                                 text.substr(vowel + 1, restEnd - vowel - 1)};
        }
        start = vowel + 1;
    }
    return std::nullopt;
}

void appendMarkedSyllable(std::u16string& out, std::u16string_view run) {
    const std::optional<SyllableParts> syllable = findSyllable(run);
    if (!syllable) return;
    out.append(syllable->leadIn);
    // A digit outside 1 to 5 has no tone form: the vowel stays unmarked and the digit still goes.
    const char16_t marked = toneForm(syllable->vowel, syllable->rest.back());
    out.push_back(marked ? marked : syllable->vowel);
    out.append(syllable->rest.substr(0, syllable->rest.size() - 1));
}

std::u16string markSyllable(std::u16string_view run) {
    std::u16string result;
    appendMarkedSyllable(result, run);
    return result;
}

// The pinyin is what follows the first "[" whose stretch up to the next "[" holds a "]"; it ends
// at the last "]" of that stretch. The head runs from just after the previous "[" (or the start
// of the line) up to and including its "[".
std::optional<PinyinLineParts> splitPinyinLine(std::u16string_view line) {
    const std::u16string_view text = untilNul(line);
    size_t headStart = 0;
    size_t open = text.find(u'[');
    while (open != std::u16string_view::npos) {
        const size_t nextOpen = text.find(u'[', open + 1);
        const std::u16string_view stretch = text.substr(open + 1, nextOpen == std::u16string_view::npos
                                                                      ? std::u16string_view::npos
                                                                      : nextOpen - open - 1);
        const size_t close = stretch.rfind(u']');
        if (close != std::u16string_view::npos) {
            return PinyinLineParts{text.substr(headStart, open + 1 - headStart), stretch.substr(0, close),
                                   text.substr(open + 1 + close)};
        }
        headStart = open + 1;
        open = nextOpen;
    }
    return std::nullopt;
}

std::u16string renderPinyinLine(std::u16string_view line) {
    std::u16string output;
    // Marking never lengthens a run, and each space stands for at least one character between runs.
    output.reserve(line.size());
    appendPinyinLine(output, line);
    return output;
}

void appendPinyinLine(std::u16string& output, std::u16string_view line) {
    const std::optional<PinyinLineParts> parts = splitPinyinLine(line);
    if (!parts) {
        output.append(line);
        return;
    }
    output.append(parts->head);
    // Runs are taken from the pinyin only, so that a syllable quoted in the definitions after
    // the closing bracket never lands between the brackets.
    const std::u16string_view pinyin = parts->pinyin;
    size_t position = 0;
    while (position < pinyin.size()) {
        size_t runStart = position;
        while (runStart < pinyin.size() && !isRunCharacter(pinyin[runStart])) ++runStart;
        if (runStart == pinyin.size()) break;
        size_t runEnd = runStart;
        while (runEnd < pinyin.size() && isRunCharacter(pinyin[runEnd])) ++runEnd;
        appendMarkedSyllable(output, pinyin.substr(runStart, runEnd - runStart));
        position = runEnd;
        if (position < pinyin.size()) output.push_back(u' ');
    }
    output.append(parts->tail);
}

}  // namespace pelux
