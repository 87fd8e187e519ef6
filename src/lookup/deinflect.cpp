#include "lookup/deinflect.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "lookup/deinflect_rules.h"

namespace pelux {

namespace {

constexpr char16_t kFirstHiragana = 0x3040;
constexpr size_t kHiraganaCount = 0x60;
// A bound on the search, far above what real words reach; a hostile text cannot make it grow.
constexpr size_t kMaxCandidates = 96;

bool isHiragana(char16_t c) { return c >= kFirstHiragana && c < kFirstHiragana + kHiraganaCount; }

// The rules grouped by the end of their ending, so that a word is tried only against the rules
// that can match it: those of one character by that character, the longer ones by their last two.
struct RuleGroups {
    std::array<std::vector<uint16_t>, kHiraganaCount> single;
    std::unordered_map<uint32_t, std::vector<uint16_t>> byLastTwo;
};

uint32_t lastTwo(std::u16string_view text) { return (uint32_t(text[text.size() - 2]) << 16) | text.back(); }

const RuleGroups& ruleGroups() {
    static const RuleGroups groups = [] {
        RuleGroups grouped;
        const std::vector<DeinflectRule>& rules = deinflectRules();
        for (size_t i = 0; i < rules.size(); ++i) {
            const std::u16string& ending = rules[i].ending;
            std::vector<uint16_t>& group =
                ending.size() == 1 ? grouped.single[ending.back() - kFirstHiragana] : grouped.byLastTwo[lastTwo(ending)];
            group.push_back(static_cast<uint16_t>(i));
        }
        // The longer ending is the more particular reading: 待たされる is first 待つ made to wait
        // (たされる), then the passive of 待たす (される).
        for (auto& [key, group] : grouped.byLastTwo) {
            std::stable_sort(group.begin(), group.end(), [&rules](uint16_t a, uint16_t b) {
                return rules[a].ending.size() > rules[b].ending.size();
            });
        }
        return grouped;
    }();
    return groups;
}

bool alreadyProposed(const std::vector<DeinflectCandidate>& found, const std::u16string& word, WordClassMask classes) {
    for (const DeinflectCandidate& candidate : found) {
        if (candidate.classes == classes && candidate.word == word) return true;
    }
    return false;
}

// Tries the rules of one group on the candidate at `from`; false when the bound is reached.
bool applyRules(std::vector<DeinflectCandidate>& found, size_t from, const std::vector<uint16_t>& group, bool stemAlone) {
    const std::vector<DeinflectRule>& rules = deinflectRules();
    for (uint16_t index : group) {
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
        if (found.size() >= kMaxCandidates) return false;
        DeinflectCandidate next{std::move(origin), rule.produces, current.rules, current.depth + 1};
        next.rules[current.depth] = index;
        found.push_back(std::move(next));
    }
    return true;
}

void undoOneForm(std::vector<DeinflectCandidate>& found, size_t from, bool stemAlone) {
    const std::u16string_view word = found[from].word;
    const char16_t last = word.back();
    if (!isHiragana(last)) return;
    const RuleGroups& groups = ruleGroups();
    if (word.size() >= 2) {
        const auto longer = groups.byLastTwo.find(lastTwo(word));
        if (longer != groups.byLastTwo.end() && !applyRules(found, from, longer->second, stemAlone)) return;
    }
    applyRules(found, from, groups.single[last - kFirstHiragana], stemAlone);
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
