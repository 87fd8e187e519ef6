// `peluxbar lookup` through the built executable, over the bundled dictionaries.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/run_peluxbar.h"

namespace pelux {
namespace {

const std::string kData = std::string(PELUX_SOURCE_DIR) + "/data";

TEST(CliLookup, PrintsTheBandTextOfEachRoad) {
    const struct {
        std::vector<std::string> arguments;
        std::string output;
    } rows[] = {
        {{"--lang", "zh", "中国人很多"},
         "中國人 中国人 [zhōng guó rén] /Chinese person/\r\r\n(中 = 0x4E2D)  [M: zhong1 C: zung1] middle; centre; "
         "within; China\n"},
        {{"--lang", "zh", " cats"}, "[root]cat: 貓 猫 [maō] /cat/\r\r\n\n"},
        {{"--lang", "ja", "日本"}, "日本 [にほん ni·ho·n] /Japan/\r\n\r\n(日 = 0x65E5) {day} {sun} {Japan}\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments.back());
        std::vector<std::string> arguments = {"lookup", "--dict-dir", kData};
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        const CommandResult result = runPeluxbar(arguments);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.output, row.output);
    }
}

TEST(CliLookup, JsonCarriesBandAndTooltip) {
    const CommandResult result = runPeluxbar({"lookup", "--dict-dir", kData, "--lang", "zh", "--json", "went"});
    ASSERT_EQ(result.exitCode, 0);
    const nlohmann::json object = nlohmann::json::parse(result.output);
    EXPECT_EQ(object["band"], "[irregular] go: 去 去 [qù] /to go/to leave/\r\r\n: 走 走 [zoŭ] /to walk/to go/to leave/\r\r\n");
    EXPECT_EQ(object["tooltip"], "去 去 [qù] 走 走 [zoŭ] ");
}

TEST(CliLookup, StandardInputGivesOneJsonLineEachWithEscapes) {
    RunOptions options;
    options.input = "\\tDog\nlet's\n\n中\\\\\n";
    const CommandResult result = runPeluxbar({"lookup", "--dict-dir", kData, "--lang", "zh", "--stdin"}, options);
    ASSERT_EQ(result.exitCode, 0);
    std::vector<nlohmann::json> lines;
    size_t start = 0;
    for (size_t end; (end = result.output.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(nlohmann::json::parse(result.output.substr(start, end - start)));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]["band"], "dog: 狗 狗 [goŭ] /dog/\r\r\n");
    EXPECT_EQ(lines[1]["band"].get<std::string>().rfind("(let us): ", 0), 0u);
    EXPECT_EQ(lines[2]["band"], "") << "an empty line is no text at the pointer";
    EXPECT_EQ(lines[3]["band"].get<std::string>().rfind("中 中 [zhōng]", 0), 0u);
}

TEST(CliLookup, BadInputGetsAClearErrorAndExitCodeTwo) {
    const struct {
        std::vector<std::string> arguments;
        const char* message;
    } rows[] = {
        {{"lookup", "--dict-dir", "/nonexistent/folder", "--lang", "zh", "x"}, "does not exist"},
        {{"lookup", "--dict-dir", kData, "--lang", "fr", "x"}, "unknown language"},
        {{"lookup", "--dict-dir", kData, "--lang", "zh", "\xC3("}, "not valid UTF-8"},
        {{"lookup", "--dict-dir", kData, "x"}, "--lang"},
        {{"lookup", "--dict-dir", kData, "--lang", "zh"}, "TEXT or --stdin"},
        {{"lookup", "--dict-dir", kData, "--lang", "zh", "--bogus", "x"}, "unknown option"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        RunOptions options;
        options.withStderr = true;
        const CommandResult result = runPeluxbar(row.arguments, options);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.output.find(row.message), std::string::npos) << result.output;
    }
}

TEST(CliLookup, MissingDictionaryFilesAreNamedThePromptShownAndTheRunFails) {
    RunOptions options;
    options.withStderr = true;
    const CommandResult result = runPeluxbar({"lookup", "--dict-dir", testing::TempDir(), "--lang", "ja", "日本"}, options);
    EXPECT_EQ(result.exitCode, 1);
    for (const char* hint : {"--dict-dir data", "peluxbar dict build", "PELUXBAR_DICT_DIR"})
        EXPECT_NE(result.output.find(hint), std::string::npos) << hint;
    EXPECT_NE(result.output.find("edict.uni"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("<---- Please load dictionary for this window.    0 0"), std::string::npos);
}

}  // namespace
}  // namespace pelux
