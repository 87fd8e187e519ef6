// The word list file: any bytes read as a list either give a clear problem or entries that write
// back to a text which reads to the same entries, and that every export and change accepts.
#include <string>
#include <vector>

#include "support/fuzz_support.h"
#include "words/word_list.h"

using namespace pelux;
using namespace pelux::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string problem;
    const std::optional<std::vector<WordEntry>> entries = parseWordList(bytesOf(data, size), problem);
    if (!entries) {
        if (problem.empty()) violated("an unreadable list without a problem");
        return 0;
    }
    const std::string written = formatWordList(*entries);
    std::string again;
    const std::optional<std::vector<WordEntry>> reread = parseWordList(written, again);
    if (!reread || *reread != *entries) violated("a list does not read back to its entries");
    if (formatWordList(*reread) != written) violated("a list is not written the same twice");
    exportForAnki(*entries);
    exportAsCsv(*entries);
    if (!entries->empty()) {
        std::vector<WordEntry> changed = *entries;
        if (addWord(changed, entries->front())) violated("a word already in the list was added again");
        if (!removeWord(changed, 0, entries->front().forms)) violated("the first word could not be removed");
        if (changed.size() + 1 != entries->size()) violated("removing one word changed more");
    }
    return 0;
}
