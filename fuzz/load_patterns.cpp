// The loads' hand-written line matchers against the pattern object they stand for: any text, the
// same matches.
#include <string>

#include "support/fuzz_support.h"
#include "support/load_pattern_check.h"

using namespace pelux;
using namespace pelux::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static testing_support::CLoadPatternCheck check;
    try {
        const std::string difference = check.firstDifference(textOf(bytesOf(data, size)));
        if (!difference.empty()) violated(difference.c_str());
    } catch (const CPatternError&) {
        // The pattern object gave up on this text (its match limit): nothing to compare.
    }
    return 0;
}
