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
#include "patterns/brace_regexp.h"
#include "adapters/utf8.h"

namespace pelux {

namespace {

constexpr const char* kUsage = "usage: peluxbar pattern [--json] [--dump] [--] PATTERN TEXT\n";

struct PatternOptions {
    bool json = false;
    bool dump = false;
    std::vector<std::string> operands;
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "peluxbar pattern: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// Options come before the operands; `--` lets a pattern start with dashes.
std::optional<int> parseOptions(const Arguments& args, PatternOptions& options) {
    bool optionsDone = false;
    for (const std::string& arg : args) {
        if (!optionsDone && arg == "--json") {
            options.json = true;
        } else if (!optionsDone && arg == "--dump") {
            options.dump = true;
        } else if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && (arg == "--help" || arg == "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            options.operands.push_back(arg);
        }
    }
    if (options.operands.size() != 2) return usageError("expected PATTERN and TEXT");
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
    out["match"] = matched ? spanJson(match.matchStart, match.matchEnd) : Json(nullptr);
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
    whole.start = match.matchStart;
    whole.end = match.matchEnd;
    std::printf("match: %s\n", spanText(text, whole).c_str());
    for (int i = 0; i < groupCount; ++i) {
        const BraceSpan group = match.group(i);
        std::printf("group %d: %s\n", i, group.isSet() ? spanText(text, group).c_str() : "unset");
    }
}

}  // namespace

int runPatternCommand(const Arguments& args) {
    PatternOptions options;
    if (const std::optional<int> exit = parseOptions(args, options)) return *exit;
    const std::optional<std::u16string> pattern = utf8ToUtf16(options.operands[0]);
    if (!pattern) return usageError("PATTERN is not valid UTF-8");
    const std::optional<std::u16string> text = utf8ToUtf16(options.operands[1]);
    if (!text) return usageError("TEXT is not valid UTF-8");

    CBraceRegExp regexp;
    const BraceStatus status = regexp.compile(pattern->c_str(), true);
    if (options.dump) std::fputs(regexp.dump().c_str(), options.json ? stderr : stdout);
    CBraceMatch match(256);
    const bool matched = status == BraceOk && regexp.search(text->c_str(), &match);
    const int groupCount = status == BraceOk ? regexp.groupCount() : 0;
    if (options.json) {
        printJson(status, matched, match, groupCount);
    } else {
        printText(status, matched, match, groupCount, *text);
    }
    if (match.budgetSpent()) {
        std::fprintf(stderr, "peluxbar pattern: the search gave up after %llu steps: the step budget was spent\n",
                     static_cast<unsigned long long>(CBraceMatch::kDefaultStepBudget));
        return 3;
    }
    return status == BraceOk ? 0 : 1;
}

}  // namespace pelux
