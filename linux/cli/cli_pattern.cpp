// `peluxbar pattern`: compiles a brace-group pattern (case-sensitive), searches a text and shows
// the status, the match and every group. Offsets are UTF-16 code units of TEXT.
//
// Exit codes: 0 when the pattern compiled (matched or not), 1 when it did not compile, 2 for
// wrong usage or arguments that are not UTF-8, 3 when the search spent its step budget and gave
// up (it is then reported as unmatched, and standard error says why). With --json the one output line is
//   {"status": N, "matched": bool, "match": [start, end] | null, "groups": [[start, end] | null, ...]}
// where an unmatched search gives "match": null and one null per group, and a failed compile
// gives "groups": []. --dump lists the compiled program (on stderr together with --json, so that
// standard output stays one JSON line).
#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/command_line.h"
#include "patterns/brace_regexp.h"
#include "adapters/utf8.h"

namespace pelux {

namespace {

struct PatternOptions {
    bool json = false;
    bool dump = false;
    std::u16string pattern;
    std::u16string text;
};

CCommandLine patternCommandLine(PatternOptions& given) {
    CCommandLine line("pattern", "[--] PATTERN TEXT",
                      "Compiles PATTERN in the brace-group dialect (case-sensitive), searches TEXT and shows the\n"
                      "compile status, whether it matched, the match and every group, in UTF-16 offsets of TEXT.\n"
                      "Exit 0 when the pattern compiled, 1 when it did not. Options come before \"--\", so that a\n"
                      "pattern may start with dashes.");
    line.addFlag("--json", given.json,
                 "one line {\"status\": N, \"matched\": bool, \"match\": [start, end], \"groups\": [...]}");
    line.addFlag("--dump", given.dump, "also list the compiled program (on standard error with --json)");
    line.takeDashedOperands();
    return line;
}

std::string patternUsage() {
    PatternOptions unused;
    return patternCommandLine(unused).usageText();
}

// Parses the arguments; returns an exit code when they are unusable.
std::optional<int> parseOptions(const Arguments& args, PatternOptions& options) {
    CCommandLine line = patternCommandLine(options);
    if (const std::optional<int> exitCode = line.parse(args)) return exitCode;
    if (line.operands().size() != 2) return line.usageError("expected PATTERN and TEXT");
    const std::optional<std::u16string> pattern = utf8ToUtf16(line.operands()[0]);
    if (!pattern) return line.usageError("PATTERN is not valid UTF-8");
    const std::optional<std::u16string> text = utf8ToUtf16(line.operands()[1]);
    if (!text) return line.usageError("TEXT is not valid UTF-8");
    options.pattern = *pattern;
    options.text = *text;
    return std::nullopt;
}

using Json = nlohmann::ordered_json;

Json spanJson(int32_t start, int32_t end) { return Json::array({start, end}); }

// One line in the spacing people read most easily: `{"a": 1, "b": [2, 3]}`.
std::string oneLine(const Json& value) {
    std::string out;
    if (value.is_object()) {
        for (const auto& [key, member] : value.items()) {
            out += (out.empty() ? "{" : ", ") + Json(key).dump() + ": " + oneLine(member);
        }
        return out.empty() ? "{}" : out + "}";
    }
    if (value.is_array()) {
        for (const Json& element : value) out += (out.empty() ? "[" : ", ") + oneLine(element);
        return out.empty() ? "[]" : out + "]";
    }
    return value.dump();
}

void printJson(BraceStatus status, bool matched, const CBraceMatch& match, int groupCount) {
    Json out;
    out["status"] = static_cast<int>(status);
    out["matched"] = matched;
    out["match"] = matched ? spanJson(match.matchStart(), match.matchEnd()) : Json(nullptr);
    Json groups = Json::array();
    for (int i = 0; i < groupCount; ++i) {
        const BraceSpan group = matched ? match.group(i) : BraceSpan();
        groups.push_back(group.isSet() ? spanJson(group.start, group.end) : Json(nullptr));
    }
    out["groups"] = std::move(groups);
    std::printf("%s\n", oneLine(out).c_str());
}

std::string spanText(const std::u16string& text, const BraceSpan& span) {
    char bounds[48];
    std::snprintf(bounds, sizeof bounds, "[%d, %d] ", span.start, span.end);
    return bounds + nlohmann::json(utf16ToUtf8(span.in(text.c_str()))).dump();
}

void printText(BraceStatus status, bool matched, const CBraceMatch& match, int groupCount,
               const std::u16string& text) {
    std::printf("status: %d (%s)\n", static_cast<int>(status), braceStatusName(status));
    if (status != BraceOk) return;
    std::printf("matched: %s\n", matched ? "yes" : match.budgetSpent() ? "no (step budget spent)" : "no");
    if (!matched) return;
    BraceSpan whole;
    whole.start = match.matchStart();
    whole.end = match.matchEnd();
    std::printf("match: %s\n", spanText(text, whole).c_str());
    for (int i = 0; i < groupCount; ++i) {
        const BraceSpan group = match.group(i);
        std::printf("group %d: %s\n", i, group.isSet() ? spanText(text, group).c_str() : "unset");
    }
}

int runPatternCommand(const Arguments& args) {
    PatternOptions options;
    if (const std::optional<int> exit = parseOptions(args, options)) return *exit;
    CBraceRegExp regexp;
    const BraceStatus status = regexp.compile(options.pattern.c_str(), true);
    if (options.dump) std::fputs(regexp.dump().c_str(), options.json ? stderr : stdout);
    CBraceMatch match(256);
    const bool matched = status == BraceOk && regexp.search(options.text.c_str(), &match);
    const int groupCount = status == BraceOk ? regexp.groupCount() : 0;
    if (options.json) {
        printJson(status, matched, match, groupCount);
    } else {
        printText(status, matched, match, groupCount, options.text);
    }
    if (match.budgetSpent()) {
        std::fprintf(stderr, "peluxbar pattern: the search gave up after %llu steps: the step budget was spent\n",
                     static_cast<unsigned long long>(CBraceMatch::kDefaultStepBudget));
        return 3;
    }
    return status == BraceOk ? 0 : 1;
}

}  // namespace

const Command kPatternCommand = {"pattern", runPatternCommand, patternUsage};

}  // namespace pelux
