#include "lookup/deinflect.h"

#include <algorithm>
#include <array>

#include "lookup/deinflect_rules.h"

namespace pelux {

namespace {

constexpr char16_t kFirstHiragana = 0x3040;
constexpr size_t kHiraganaCount = 0x60;
// A bound on the search, far above what real words reach; a hostile text cannot make it grow.
constexpr size_t kMaxCandidates = 96;

bool isHiragana(char16_t c) { return c >= kFirstHiragana && c < kFirstHiragana + kHiraganaCount; }

// The rules grouped by the last character of their ending, so that a word is tried only against
// the rules that can match it.
using RulesByLastCharacter = std::array<std::vector<uint16_t>, kHiraganaCount>;

const RulesByLastCharacter& rulesByLastCharacter() {
    static const RulesByLastCharacter table = [] {
        RulesByLastCharacter grouped;
        const std::vector<DeinflectRule>& rules = deinflectRules();
        for (size_t i = 0; i < rules.size(); ++i) {
            grouped[rules[i].ending.back() - kFirstHiragana].push_back(static_cast<uint16_t>(i));
        }
        // The longer ending is the more particular reading: 待たされる is first 待つ made to wait
        // (たされる), then the passive of 待たす (される).
        for (std::vector<uint16_t>& group : grouped) {
            std::stable_sort(group.begin(), group.end(), [&rules](uint16_t a, uint16_t b) {
                return rules[a].ending.size() > rules[b].ending.size();
            });
        }
        return grouped;
    }();
    return table;
}

bool alreadyProposed(const std::vector<DeinflectCandidate>& found, const std::u16string& word, WordClassMask classes) {
    for (const DeinflectCandidate& candidate : found) {
        if (candidate.classes == classes && candidate.word == word) return true;
    }
    return false;
}

void undoOneForm(std::vector<DeinflectCandidate>& found, size_t from, bool stemAlone) {
    const std::vector<DeinflectRule>& rules = deinflectRules();
    const char16_t last = found[from].word.back();
    if (!isHiragana(last)) return;
    for (uint16_t index : rulesByLastCharacter()[last - kFirstHiragana]) {
        const DeinflectRule& rule = rules[index];
        const DeinflectCandidate& current = found[from];
        if ((rule.appliesTo & current.classes) == 0 || (rule.stemAlone && !stemAlone)) continue;
        const std::u16string_view word = current.word;
        if (word.size() < rule.ending.size() || word.substr(word.size() - rule.ending.size()) != rule.ending) continue;
        std::u16string origin(word.substr(0, word.size() - rule.ending.size()));
        origin += rule.replacement;
        // No verb or adjective is a single kana, and this keeps bare endings (ました) from
        // turning into one.
        if (origin.size() < 2 || alreadyProposed(found, origin, rule.produces)) continue;
        if (found.size() >= kMaxCandidates) return;
        DeinflectCandidate next{std::move(origin), rule.produces, current.rules, current.depth + 1};
        next.rules[current.depth] = index;
        found.push_back(std::move(next));
    }
}

}  // namespace

std::vector<DeinflectCandidate> deinflect(std::u16string_view inflected, bool stemAlone) {
    std::vector<DeinflectCandidate> found;
    if (inflected.empty()) return found;
    found.push_back({std::u16string(inflected), word_class::kAny, {}, 0});
    // Breadth first: every candidate of a chain of n rules comes before those of n + 1.
    for (size_t i = 0; i < found.size(); ++i) {
        // A stem alone is only ever the outermost form.
        if (found[i].depth < kMaxDeinflectDepth) undoOneForm(found, i, stemAlone && i == 0);
    }
    found.erase(found.begin());
    return found;
}

std::u16string formName(const DeinflectCandidate& candidate) {
    const std::vector<DeinflectRule>& rules = deinflectRules();
    std::u16string name;
    for (size_t i = candidate.depth; i > 0; --i) {
        if (!name.empty()) name.push_back(u' ');
        name += rules[candidate.rules[i - 1]].name;
    }
    return name;
}

}  // namespace pelux
