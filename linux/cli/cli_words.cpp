// `peluxbar words list`, `peluxbar words export (--anki FILE | --csv FILE)` and
// `peluxbar words remove N`: the word list that the card's `w` key fills, from the command line.
// A list that cannot be read is reported and left exactly as it is (exit 1).
#include <cstdio>
#include <optional>
#include <string>

#include "adapters/word_list_file.h"
#include "cli/commands.h"
#include "cli/command_line.h"

namespace pelux {

namespace {

struct WordsArguments {
    std::optional<std::string> anki;
    std::optional<std::string> csv;
};

CCommandLine wordsListCommandLine(WordsArguments&) {
    return CCommandLine(
        "words list", "",
        "Lists the saved words, one a line and numbered: number, written forms, reading, meanings,\n"
        "sentence, page and time, tab-separated, with tabs, line breaks, backslashes and other\n"
        "control characters escaped. The list is words.tsv beside the settings file.");
}

CCommandLine wordsExportCommandLine(WordsArguments& given) {
    CCommandLine line(
        "words export", "(--anki FILE | --csv FILE)",
        "Writes the saved words to FILE: a text file that Anki imports as it is (its headers name the\n"
        "separator and the columns Front, Reading, Meaning, Sentence, Source and Added), or\n"
        "comma-separated values with a header row and CR LF line ends. FILE is replaced whole.");
    line.addOption("--anki", given.anki, "FILE", "write Anki's text import format", InUsage::Hidden);
    line.addOption("--csv", given.csv, "FILE", "write comma-separated values", InUsage::Hidden);
    return line;
}

CCommandLine wordsRemoveCommandLine(WordsArguments&) {
    return CCommandLine("words remove", "N", "Removes the word numbered N by \"peluxbar words list\".");
}

using CommandLineOf = CCommandLine (*)(WordsArguments&);
constexpr CommandLineOf kWordsCommandLines[] = {wordsListCommandLine, wordsExportCommandLine, wordsRemoveCommandLine};

std::string wordsUsage() {
    WordsArguments unused;
    std::string text;
    for (CommandLineOf commandLine : kWordsCommandLines) text += commandLine(unused).usageText();
    return text;
}

std::string wordsHelp() {
    WordsArguments unused;
    std::string text;
    for (CommandLineOf commandLine : kWordsCommandLines) {
        if (!text.empty()) text += '\n';
        text += commandLine(unused).helpText();
    }
    return text;
}

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

int runList(const Arguments& args) {
    WordsArguments given;
    CCommandLine line = wordsListCommandLine(given);
    if (const std::optional<int> exitCode = line.parse(Arguments(args.begin() + 1, args.end()))) return *exitCode;
    if (!line.operands().empty()) return line.usageError("unexpected argument '" + line.operands().front() + "'");
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
    WordsArguments given;
    CCommandLine line = wordsExportCommandLine(given);
    if (const std::optional<int> exitCode = line.parse(Arguments(args.begin() + 1, args.end()))) return *exitCode;
    if (!line.operands().empty()) return line.usageError("unexpected argument '" + line.operands().front() + "'");
    const std::optional<std::string>& anki = given.anki;
    if (anki.has_value() == given.csv.has_value()) return line.usageError("expected one of --anki FILE and --csv FILE");
    const std::string& file = anki ? *anki : *given.csv;
    if (file.empty()) return line.usageError("FILE is empty");
    std::string problem;
    const std::optional<std::vector<WordEntry>> entries = CWordListFile(defaultWordListPath()).read(problem);
    if (!entries) return fail(problem);
    if (!replaceFileDurably(file, anki ? exportForAnki(*entries) : exportAsCsv(*entries), problem)) return fail(problem);
    std::printf("%zu words written to %s\n", entries->size(), file.c_str());
    return 0;
}

int runRemove(const Arguments& args) {
    WordsArguments given;
    CCommandLine line = wordsRemoveCommandLine(given);
    if (const std::optional<int> exitCode = line.parse(Arguments(args.begin() + 1, args.end()))) return *exitCode;
    if (line.operands().size() != 1) return line.usageError("expected N");
    const std::string& text = line.operands().front();
    std::size_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9' || number > 100000000) return line.usageError("N is not a word's number: '" + text + "'");
        number = number * 10 + std::size_t(c - '0');
    }
    if (number == 0) return line.usageError("N is not a word's number: '" + text + "'");
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


}  // namespace

int runWordsCommand(const Arguments& args) {
    if (args.empty()) {
        std::fputs(wordsUsage().c_str(), stderr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        std::fputs(wordsHelp().c_str(), stdout);
        return 0;
    }
    if (args[0] == "list") return runList(args);
    if (args[0] == "export") return runExport(args);
    if (args[0] == "remove") return runRemove(args);
    std::fprintf(stderr, "peluxbar words: unknown subcommand '%s'\n", args[0].c_str());
    std::fputs(wordsUsage().c_str(), stderr);
    return 2;
}

const Command kWordsCommand = {"words", runWordsCommand, wordsUsage};

}  // namespace pelux
