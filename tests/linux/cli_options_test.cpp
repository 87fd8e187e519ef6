// The subcommands' shared option handling and the reader options of `peluxbar lookup`, through
// the built executable.
#include <gtest/gtest.h>

#include "support/run_peluxbar.h"

namespace pelux {
namespace {

const std::string kData = std::string(PELUX_SOURCE_DIR) + "/data";

TEST(CliOptions, EverySubcommandExplainsItsOptionsOnHelp) {
    const struct {
        std::vector<std::string> arguments;
        const char* explained;
    } rows[] = {
        {{"lookup", "--help"}, "--hepburn "},         {{"pattern", "-h"}, "--dump "},
        {{"dict", "--help"}, "make-data [--src DIR]"}, {{"dict", "build", "--help"}, "--out DIR "},
        {{"translate", "--help"}, "--timeout SECONDS "}, {{"host", "--help"}, "native messaging host"},
        {{"install", "--help"}, "--user-data-dir DIR "}, {{"uninstall", "--help"}, "--user-data-dir DIR "},
        {{"browse", "--help"}, "--profile DIR "},     {{"--help"}, "COMMAND --help"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.front());
        const CommandResult result = runPeluxbar(row.arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.output.find(row.explained), std::string::npos) << result.output;
    }
}

TEST(CliOptions, MisusedOptionsAreUsageErrors) {
    RunOptions options;
    options.withStderr = true;
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"lookup", "--lang", "zh", "--dict-dir"}, {"install", "--user-data-dir"}, {"browse", "--frobnicate"},
             {"translate", "--timeout", "x", "text"}, {"host", "--unknown"}, {"browse", "--profile", ""}}) {
        SCOPED_TRACE(arguments.front());
        const CommandResult result = runPeluxbar(arguments, options);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.output.find("usage: peluxbar " + arguments.front()), std::string::npos) << result.output;
    }
    const CommandResult dashed = runPeluxbar({"lookup", "--dict-dir", kData, "--lang", "zh", "--", "--json"});
    EXPECT_EQ(dashed.exitCode, 0);
    EXPECT_EQ(dashed.output.rfind("--json", 0), 0u) << dashed.output;
}

TEST(CliOptions, ReaderFlagsChangeTheLookup) {
    const struct {
        std::vector<std::string> arguments;
        const char* shown;
    } rows[] = {
        {{"--lang", "zh", "--all-entries", "行"}, "[háng] /row/trade/line of business/\r\n"},
        {{"--lang", "zh", "--standard-pinyin", "綠"}, "綠 绿 [lǜ] /green/"},
        {{"--lang", "ja", "--hepburn", "切手"}, "切手 [きって kitte]"},
        {{"--lang", "ja", "--hepburn", "--all-entries", "生物"}, "生物 [せいぶつ seibutsu] /(n) living thing/organism/(P)/\r\n生物 [なまもの namamono]"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.back());
        std::vector<std::string> arguments = {"lookup", "--dict-dir", kData};
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        const CommandResult result = runPeluxbar(arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.output.find(row.shown), std::string::npos) << result.output;
    }
}

}  // namespace
}  // namespace pelux
