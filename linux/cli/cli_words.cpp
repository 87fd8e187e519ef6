// `peluxbar words list`, `peluxbar words export (--anki FILE | --csv FILE)` and
// `peluxbar words remove N`: the word list that the card's `w` key fills, from the command line.
// A list that cannot be read is reported and left exactly as it is (exit 1).
#include <cstdio>
#include <optional>
#include <string>

#include "adapters/word_list_file.h"
#include "cli/commands.h"
#include "cli/option_parser.h"

namespace pelux {

const CommandInfo kWordsListInfo = {
    "words list",
    "",
    "Lists the saved words, one a line and numbered: number, written forms, reading, meanings,\n"
    "sentence, page and time, tab-separated, with tabs, line breaks, backslashes and other\n"
    "control characters escaped. The list is words.tsv beside the settings file.",
    {},
};

const CommandInfo kWordsExportInfo = {
    "words export",
    "(--anki FILE | --csv FILE)",
    "Writes the saved words to FILE: a text file that Anki imports as it is (its headers name the\n"
    "separator and the columns Front, Reading, Meaning, Sentence, Source and Added), or\n"
    "comma-separated values with a header row and CR LF line ends. FILE is replaced whole.",
    {{"--anki", "FILE", "write Anki's text import format", InUsage::Hidden},
     {"--csv", "FILE", "write comma-separated values", InUsage::Hidden}},
};

const CommandInfo kWordsRemoveInfo = {
    "words remove",
    "N",
    "Removes the word numbered N by \"peluxbar words list\".",
    {},
};

namespace {

// The text of a list line for a terminal: no byte of a page's text may act as a control there.
// The line's own tabs are its separators; those inside a field are escaped already.
std::string escapeControls(std::string_view line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        // C1 controls are U+0080..U+009F, C2 80..C2 9F in UTF-8.
        const bool c1 = byte == 0xC2 && i + 1 < line.size() && static_cast<unsigned char>(line[i + 1]) < 0xA0;
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F || c1) {
            const unsigned code = c1 ? static_cast<unsigned char>(line[++i]) : byte;
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
            out += escaped;
        } else {
            out += line[i];
        }
    }
    return out;
}

int fail(const std::string& problem) {
    std::fprintf(stderr, "peluxbar words: %s\n", problem.c_str());
    return 1;
}

std::optional<int> parseNoOperands(const CommandInfo& info, const Arguments& args, CParsedOptions& parsed) {
    if (const std::optional<int> exitCode = parseCommandLine(info, Arguments(args.begin() + 1, args.end()), parsed))
        return exitCode;
    return std::nullopt;
}

int runList(const Arguments& args) {
    CParsedOptions parsed;
    if (const std::optional<int> exitCode = parseNoOperands(kWordsListInfo, args, parsed)) return *exitCode;
    if (!parsed.operands().empty()) return usageError(kWordsListInfo, "unexpected argument '" + parsed.operands().front() + "'");
    std::string problem;
    const std::optional<std::vector<WordEntry>> entries = CWordListFile(defaultWordListPath()).read(problem);
    if (!entries) return fail(problem);
    for (std::size_t i = 0; i < entries->size(); ++i) {
        std::string line = formatWordLine((*entries)[i]);
        line.pop_back();
        std::printf("%zu\t%s\n", i + 1, escapeControls(line).c_str());
    }
    return 0;
}

int runExport(const Arguments& args) {
    CParsedOptions parsed;
    if (const std::optional<int> exitCode = parseNoOperands(kWordsExportInfo, args, parsed)) return *exitCode;
    if (!parsed.operands().empty()) return usageError(kWordsExportInfo, "unexpected argument '" + parsed.operands().front() + "'");
    const std::optional<std::string> anki = parsed.value("--anki");
    const std::optional<std::string> csv = parsed.value("--csv");
    if (anki.has_value() == csv.has_value()) return usageError(kWordsExportInfo, "expected one of --anki FILE and --csv FILE");
    const std::string& file = anki ? *anki : *csv;
    if (file.empty()) return usageError(kWordsExportInfo, "FILE is empty");
    std::string problem;
    const std::optional<std::vector<WordEntry>> entries = CWordListFile(defaultWordListPath()).read(problem);
    if (!entries) return fail(problem);
    if (!replaceFileDurably(file, anki ? exportForAnki(*entries) : exportAsCsv(*entries), problem)) return fail(problem);
    std::printf("%zu words written to %s\n", entries->size(), file.c_str());
    return 0;
}

int runRemove(const Arguments& args) {
    CParsedOptions parsed;
    if (const std::optional<int> exitCode = parseNoOperands(kWordsRemoveInfo, args, parsed)) return *exitCode;
    if (parsed.operands().size() != 1) return usageError(kWordsRemoveInfo, "expected N");
    const std::string& text = parsed.operands().front();
    std::size_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || number > 100000000) return usageError(kWordsRemoveInfo, "N is not a word's number: '" + text + "'");
        number = number * 10 + std::size_t(c - '0');
    }
    if (number == 0) return usageError(kWordsRemoveInfo, "N is not a word's number: '" + text + "'");
    std::string problem;
    std::optional<WordEntry> removed;
    std::size_t count = 0;
    const bool ok = CWordListFile(defaultWordListPath()).update(
        [&](std::vector<WordEntry>& entries) {
            count = entries.size();
            if (number > entries.size()) return false;
            removed = entries[number - 1];
            return removeWord(entries, number - 1, removed->forms);
        },
        problem);
    if (!ok) return fail(problem);
    if (!removed) return fail("there is no word " + text + "; the list has " + std::to_string(count));
    std::printf("removed %zu\t%s\n", number, escapeControls(removed->forms).c_str());
    return 0;
}

void printWordsUsage(FILE* out) {
    for (const CommandInfo* info : {&kWordsListInfo, &kWordsExportInfo, &kWordsRemoveInfo}) std::fputs(usageText(*info).c_str(), out);
}

}  // namespace

int runWordsCommand(const Arguments& args) {
    if (args.empty()) {
        printWordsUsage(stderr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        std::printf("%s\n%s\n%s", helpText(kWordsListInfo).c_str(), helpText(kWordsExportInfo).c_str(),
                    helpText(kWordsRemoveInfo).c_str());
        return 0;
    }
    if (args[0] == "list") return runList(args);
    if (args[0] == "export") return runExport(args);
    if (args[0] == "remove") return runRemove(args);
    std::fprintf(stderr, "peluxbar words: unknown subcommand '%s'\n", args[0].c_str());
    printWordsUsage(stderr);
    return 2;
}

}  // namespace pelux
