// The compiler emits exactly the programs recorded before it was restructured: any change of code
// shape shows here, so that a change of matching behaviour cannot hide behind one.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "brace_program_hash.h"
#include "patterns/brace_regexp.h"

namespace pelux {
namespace {

TEST(BraceEmit, EveryTestedPatternCompilesToItsRecordedProgram) {
    std::ifstream in(std::filesystem::path(PELUX_SOURCE_DIR) / "tests" / "patterns" / "brace_programs.txt");
    ASSERT_TRUE(in) << "brace_programs.txt is missing";
    std::string line;
    int checked = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        int caseSensitive = 0;
        std::string hash;
        std::string unit;
        fields >> caseSensitive >> hash;
        std::u16string pattern;
        while (fields >> unit) pattern.push_back(static_cast<char16_t>(std::stoul(unit, nullptr, 16)));
        CBraceRegExp regexp;
        regexp.compile(pattern.c_str(), caseSensitive != 0);
        SCOPED_TRACE(line);
        EXPECT_EQ(programHash(regexp.dump()), hash) << regexp.dump();
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

}  // namespace
}  // namespace pelux
