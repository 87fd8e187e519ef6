// The loads' hand-written line matchers against the pattern object they stand for, shared by the
// differential test and the fuzz target.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/pcre2_pattern.h"
#include "dictionary/english_index.h"
#include "dictionary/load_patterns.h"
#include "dictionary/lower_case.h"

namespace pelux::testing_support {

class CLoadPatternCheck {
public:
    // What differs between the matchers and the pattern object on `text`, and on each lower-cased
    // run between "/" taken as a word (as the loads take definitions); empty when nothing does.
    // The pattern object's CPatternError (its match limit) passes through.
    std::string firstDifference(std::u16string_view text) {
        std::vector<std::u16string_view> runs;
        forEachDefinitionRun(text, [&](std::u16string_view run) { runs.push_back(run); });
        if (runs != groups(*m_runs, text, 0)) return "definition runs differ";

        std::vector<std::u16string_view> definitions;
        forEachSlashedDefinition(text, [&](std::u16string_view definition) { definitions.push_back(definition); });
        if (definitions != groups(*m_definitions, text, 1)) return "slashed definitions differ";

        EntryHead head;
        const bool matched = matchEntryHead(text, head);
        const std::vector<std::u16string_view> headwords = groups(*m_entry, text, 1);
        if (matched != !headwords.empty()) return "entry match differs";
        if (matched && (head.headword != headwords.front() || head.reading != groups(*m_entry, text, 3).front()))
            return "entry groups differ";

        if (!sameStem(text)) return "suffix stem of the text differs";
        for (std::u16string_view run : runs) {
            m_word.assign(run);
            lowerCaseInPlace(m_word);
            if (!sameStem(m_word)) return "suffix stem of a run differs";
        }
        return {};
    }

private:
    static std::unique_ptr<IPerlPattern> objectFor(std::u16string_view pattern, bool global) {
        std::unique_ptr<IPerlPattern> object = createPcre2Pattern();
        object->setPattern(pattern);
        object->setGlobal(global);
        return object;
    }
    // Group `group` of every match (0: the whole match); an unset group reads as empty.
    static std::vector<std::u16string_view> groups(IPerlPattern& object, std::u16string_view text, std::size_t group) {
        std::vector<std::u16string_view> found;
        for (const PerlMatch& match : object.execute(text))
            found.push_back(group == 0 ? match.value : match.subMatches.at(group - 1));
        return found;
    }
    bool sameStem(std::u16string_view word) {
        std::vector<std::u16string_view> expected = groups(*m_short, word, 1);
        if (expected.empty()) expected = groups(*m_long, word, 1);
        std::u16string_view stem;
        const bool matched = matchSuffixStem(word, stem);
        return matched == !expected.empty() && (!matched || stem == expected.front());
    }

    std::unique_ptr<IPerlPattern> m_runs = objectFor(kDefinitionRunPattern, true);
    std::unique_ptr<IPerlPattern> m_definitions = objectFor(kDefinitionPattern, true);
    std::unique_ptr<IPerlPattern> m_entry = objectFor(kEntryPattern, false);
    std::unique_ptr<IPerlPattern> m_short = objectFor(kShortSuffixPattern, false);
    std::unique_ptr<IPerlPattern> m_long = objectFor(kLongSuffixPattern, false);
    std::u16string m_word;
};

}  // namespace pelux::testing_support
