// `peluxbar pattern` through the built executable, as scripts use it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/run_peluxbar.h"

namespace {

using pelux::CommandResult;

// Runs `peluxbar pattern ARGS`; standard error goes with the output only when asked.
CommandResult runPattern(const std::vector<std::string>& args, bool withStderr = false) {
    std::vector<std::string> arguments = {"pattern"};
    arguments.insert(arguments.end(), args.begin(), args.end());
    pelux::RunOptions options;
    options.withStderr = withStderr;
    return pelux::runPeluxbar(arguments, options);
}

struct JsonRow {
    std::vector<std::string> args;
    std::string line;
    int exitCode;
};

TEST(CliPattern, PrintsOneJsonLineWithUtf16Offsets) {
    const JsonRow rows[] = {
        {{"--json", "{[^aeiouü]*?[aeiouü]?}{[aeiouü]}{[aeiouü]?[^aeiouü]*?[0-9]}", "shian5"},
         R"({"status": 0, "matched": true, "match": [0, 6], "groups": [[0, 3], [3, 4], [4, 6]]})", 0},
        {{"--json", "{.*?}((\\b)+\\[{.*?}\\])?{(\\b)+/.*}", "ホットドッグ /(n) hot dog/"},
         R"({"status": 0, "matched": true, "match": [0, 20], "groups": [[0, 6], null, [6, 20]]})", 0},
        // The astral character before 中 takes two code units.
        {{"--json", "{中}", "\xF0\x9F\x98\x80中文"},
         R"({"status": 0, "matched": true, "match": [2, 3], "groups": [[2, 3]]})", 0},
        {{"--json", "{x}{y}?", "日本語"}, R"({"status": 0, "matched": false, "match": null, "groups": [null, null]})", 0},
        {{"--json", "", ""}, R"({"status": 0, "matched": true, "match": [0, 0], "groups": []})", 0},
        {{"--json", "{ab", "ab"}, R"({"status": 2, "matched": false, "match": null, "groups": []})", 1},
        {{"--json", "(a*)*", "aa"}, R"({"status": 9, "matched": false, "match": null, "groups": []})", 1},
        {{"--json", "--", "--json", "a--json"}, R"({"status": 0, "matched": true, "match": [1, 7], "groups": []})", 0},
    };
    for (const JsonRow& row : rows) {
        SCOPED_TRACE(row.args[1]);
        const CommandResult result = runPattern(row.args);
        EXPECT_EQ(result.exitCode, row.exitCode);
        EXPECT_EQ(result.output, row.line + "\n");
        EXPECT_TRUE(nlohmann::json::accept(result.output));
    }
}

TEST(CliPattern, PrintsStatusMatchAndGroupsAsText) {
    const CommandResult result = runPattern({"{(\\a|:)+}", "ni3:hao3 /hello/"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output,
              "status: 0 (BraceOk)\n"
              "matched: yes\n"
              "match: [0, 8] \"ni3:hao3\"\n"
              "group 0: [0, 8] \"ni3:hao3\"\n");
    const CommandResult unset = runPattern({"{中}|{日}", "日本"});
    EXPECT_NE(unset.output.find("group 0: unset\ngroup 1: [0, 1] \"日\"\n"), std::string::npos);
    const CommandResult failed = runPattern({"[z-a]", "x"});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.output, "status: 8 (BraceBadRange)\n");
}

TEST(CliPattern, DumpListsTheProgramAndKeepsJsonOnItsOwnLine) {
    const CommandResult listing = runPattern({"--dump", "a|b", "b"});
    EXPECT_EQ(listing.exitCode, 0);
    EXPECT_NE(listing.output.find("opPushPos"), std::string::npos);
    EXPECT_NE(listing.output.find("opAccept"), std::string::npos);
    const CommandResult json = runPattern({"--json", "--dump", "a|b", "b"});
    EXPECT_EQ(json.output, "{\"status\": 0, \"matched\": true, \"match\": [0, 1], \"groups\": []}\n");
}

TEST(CliPattern, RejectsMalformedUtf8AndWrongUsageWithExitCodeTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"--json", "a\xFF", "a"},
        {"--json", "a", "\xE4\xB8"},
        {"--json", "a"},
        {},
        {"a", "b", "c"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size());
        EXPECT_EQ(runPattern(args).exitCode, 2);
        EXPECT_EQ(runPattern(args).output, "");
    }
    EXPECT_NE(runPattern({"a\xFF", "a"}, true).output.find("UTF-8"), std::string::npos);
    EXPECT_NE(runPattern({"a"}, true).output.find("usage: peluxbar pattern"), std::string::npos);
}

TEST(CliPattern, SaysWhenTheStepBudgetIsSpent) {
    const CommandResult text = runPattern({"(a+)+b", std::string(28, 'a')}, true);
    EXPECT_EQ(text.exitCode, 3);
    EXPECT_NE(text.output.find("matched: no (step budget spent)\n"), std::string::npos);
    EXPECT_NE(text.output.find("step budget was spent"), std::string::npos);
    const CommandResult json = runPattern({"--json", "{(\\wa)*b}", std::string(40, 'a') + "+"});
    EXPECT_EQ(json.exitCode, 3);
    EXPECT_EQ(json.output, R"({"status": 0, "matched": false, "match": null, "groups": [null]})" "\n");
}

}  // namespace
