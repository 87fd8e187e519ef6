// The load's hand-written line matchers against the pattern object they stand for: any text, any
// word, the same matches. The input is the text; its lower-cased runs between "/" are also tried
// as words, as the loads try the definitions.
#include <memory>
#include <vector>

#include "adapters/pcre2_pattern.h"
#include "dictionary/english_index.h"
#include "dictionary/load_patterns.h"
#include "dictionary/lower_case.h"
#include "support/fuzz_support.h"

using namespace pelux;
using namespace pelux::fuzzing;

namespace {

std::unique_ptr<IPerlPattern> objectFor(std::u16string_view pattern, bool global) {
    std::unique_ptr<IPerlPattern> object = createPcre2Pattern();
    object->setPattern(pattern);
    object->setGlobal(global);
    return object;
}

std::vector<std::u16string_view> groupsOf(IPerlPattern& object, std::u16string_view text, std::size_t group) {
    std::vector<std::u16string_view> found;
    for (const PerlMatch& match : object.execute(text))
        found.push_back(group == 0 ? match.value : match.subMatches.at(group - 1));
    return found;
}

struct Objects {
    std::unique_ptr<IPerlPattern> runs = objectFor(kDefinitionRunPattern, true);
    std::unique_ptr<IPerlPattern> definitions = objectFor(kDefinitionPattern, true);
    std::unique_ptr<IPerlPattern> entry = objectFor(kEntryPattern, false);
    std::unique_ptr<IPerlPattern> shortSuffix = objectFor(kShortSuffixPattern, false);
    std::unique_ptr<IPerlPattern> longSuffix = objectFor(kLongSuffixPattern, false);
};

void checkSuffix(Objects& objects, std::u16string_view word) {
    std::vector<std::u16string_view> expected = groupsOf(*objects.shortSuffix, word, 1);
    if (expected.empty()) expected = groupsOf(*objects.longSuffix, word, 1);
    std::u16string_view stem;
    const bool matched = matchSuffixStem(word, stem);
    if (matched != !expected.empty() || (matched && stem != expected.front())) violated("suffix stem differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Objects objects;
    const std::u16string text = textOf(bytesOf(data, size));
    try {
        std::vector<std::u16string_view> runs;
        forEachDefinitionRun(text, [&](std::u16string_view run) { runs.push_back(run); });
        if (runs != groupsOf(*objects.runs, text, 0)) violated("definition runs differ");

        std::vector<std::u16string_view> definitions;
        forEachSlashedDefinition(text, [&](std::u16string_view definition) { definitions.push_back(definition); });
        if (definitions != groupsOf(*objects.definitions, text, 1)) violated("slashed definitions differ");

        EntryHead head;
        const bool matched = matchEntryHead(text, head);
        const std::vector<std::u16string_view> headwords = groupsOf(*objects.entry, text, 1);
        if (matched != !headwords.empty()) violated("entry match differs");
        if (matched && (head.headword != headwords.front() || head.reading != groupsOf(*objects.entry, text, 3).front()))
            violated("entry groups differ");

        checkSuffix(objects, text);
        std::u16string word;
        for (std::u16string_view run : runs) {
            word.assign(run);
            lowerCaseInPlace(word);
            checkSuffix(objects, word);
        }
    } catch (const CPatternError&) {
        // The pattern object gave up on this text (its match limit): nothing to compare.
    }
    return 0;
}
