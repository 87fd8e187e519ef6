// `peluxbar lookup`: runs what one pointer event runs, for a text given on the command line or
// one text a line on standard input.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "adapters/module_directory_linux.h"
#include "adapters/platform_linux.h"
#include "adapters/utf8.h"
#include "band/engine.h"
#include "cli/commands.h"
#include "cli/command_line.h"
#include "dictionary/loaders.h"
#include "host/host_pointer.h"
#include "lookup/display_text.h"
#include "platform/file_mapping.h"

namespace pelux {

namespace {

constexpr const char* kNoDictionaryHint =
    "pass --dict-dir data for the bundled set, run `peluxbar dict build` for the full dictionaries,\n"
    "or set PELUXBAR_DICT_DIR to the folder that holds them";

// The options as given, before they are checked.
struct LookupArguments {
    std::optional<std::string> dictDir;
    std::optional<std::string> language;
    bool subwords = false;
    bool json = false;
    bool fromStdin = false;
    bool allEntries = false;
    bool standardPinyin = false;
    bool hepburn = false;
    bool deinflect = false;
};

CCommandLine lookupCommandLine(LookupArguments& given) {
    CCommandLine line("lookup", "(TEXT | --stdin)",
                      "Shows what the band shows when the pointer rests on TEXT: a first character up to U+0100\n"
                      "takes the English road (TEXT is the word), any other the Chinese or Japanese road (TEXT runs\n"
                      "from the pointer to the end of its sentence).");
    line.addOption("--dict-dir", given.dictDir, "DIR",
                   "the dictionary files' folder (default: $PELUXBAR_DICT_DIR, else beside peluxbar)");
    line.addOption("--lang", given.language, "zh|ja", "the dictionary to load: Chinese or Japanese", InUsage::Required);
    line.addFlag("--subwords", given.subwords, "also the lines of each character of a phrase");
    line.addFlag("--json", given.json, "one object {\"band\": ..., \"tooltip\": ...} instead of the band text");
    line.addFlag("--stdin", given.fromStdin,
                 "one TEXT a line from standard input (\\t and \\\\ escapes), one JSON line each", InUsage::Hidden);
    line.addFlag("--all-entries", given.allEntries,
                 "every entry of the matched word (at most 8; 10 on the English road), common first");
    line.addFlag("--standard-pinyin", given.standardPinyin,
                 "tone marks as readers learned them (hǎo, lǜ, Běi jīng)");
    line.addFlag("--hepburn", given.hepburn, "modified Hepburn romaji (shashin, kitte, tōkyō, kin'en)");
    line.addFlag("--deinflect", given.deinflect,
                 "conjugated Japanese words are also looked up in their dictionary form");
    return line;
}

std::string lookupUsage() {
    LookupArguments unused;
    return lookupCommandLine(unused).usageText();
}

struct LookupOptions {
    std::filesystem::path dictDir;
    DictionaryLanguage language = None;
    PointerSwitches switches;
    bool json = false;
    bool fromStdin = false;
    std::optional<std::string> text;
};

std::optional<int> readLanguage(const CCommandLine& line, const LookupArguments& given, LookupOptions& options) {
    if (!given.language) return line.usageError("--lang zh or --lang ja is required");
    if (*given.language == "zh") {
        options.language = Chinese;
    } else if (*given.language == "ja") {
        options.language = Japanese;
    } else {
        return line.usageError("unknown language '" + *given.language + "' (use zh or ja)");
    }
    return std::nullopt;
}

// Parses the arguments; returns an exit code when they are unusable.
std::optional<int> parseOptions(const Arguments& args, LookupOptions& options) {
    LookupArguments given;
    CCommandLine line = lookupCommandLine(given);
    if (const std::optional<int> exitCode = line.parse(args)) return exitCode;
    if (const std::optional<int> exitCode = readLanguage(line, given, options)) return exitCode;
    if (line.operands().size() > 1) return line.usageError("more than one TEXT given");
    if (!line.operands().empty()) options.text = line.operands().front();
    options.fromStdin = given.fromStdin;
    if (options.fromStdin == options.text.has_value()) return line.usageError("give either TEXT or --stdin");
    options.json = given.json;
    // The title the pointer road gives the element is the tooltip the JSON reports.
    options.switches.useToolTips = true;
    options.switches.showSubWords = given.subwords;
    options.switches.reader.allEntries = given.allEntries;
    options.switches.reader.standardPinyin = given.standardPinyin;
    options.switches.reader.hepburnRomaji = given.hepburn;
    options.switches.reader.deinflect = given.deinflect;
    options.dictDir = given.dictDir.value_or(linuxDictionaryDirectory().string());
    std::error_code error;
    if (!std::filesystem::is_directory(options.dictDir, error)) {
        std::fprintf(stderr, "peluxbar lookup: dictionary directory '%s' does not exist;\n%s\n", options.dictDir.c_str(),
                     kNoDictionaryHint);
        return 2;
    }
    return std::nullopt;
}

// Load progress goes nowhere; only the last text matters, when it reports a failure.
class CRememberingTextWindow : public ITextWindow {
public:
    void setText(std::u16string_view text) override { m_lastText.assign(text); }
    const std::u16string& lastText() const { return m_lastText; }

private:
    std::u16string m_lastText;
};

// The command line keeps no settings: its switches are its options.
class CNoSettings : public ISettingsKey {
public:
    std::optional<std::u16string> readValue(std::u16string_view) override { return std::nullopt; }
    bool writeValue(std::u16string_view, std::u16string_view) override { return false; }
};

bool anyDictionaryFileOpens(const LookupOptions& options) {
    const bool chinese = options.language == Chinese;
    for (const char* file : {chinese ? kChineseMainFile : kJapaneseMainFile, chinese ? kChineseCharFile : kJapaneseCharFile}) {
        if (openRegularFile(dictionaryFilePath(options.dictDir, file))) return true;
    }
    return false;
}

void loadDictionary(CDictionary& store, const LookupOptions& options) {
    auto window = std::make_shared<CRememberingTextWindow>();
    LoadEnvironment environment;
    environment.textWindow = window;
    environment.directory = options.dictDir;
    environment.keepImage = !isSystemDirectory(options.dictDir);
    if (options.language == Chinese) {
        loadChineseDictionary(store, environment);
    } else {
        loadJapaneseDictionary(store, environment);
    }
    // A load that could not read a file says so as its last text in the band.
    if (window->lastText().starts_with(u"Could not"))
        std::fprintf(stderr, "peluxbar lookup: %s\n", utf16ToUtf8(window->lastText()).c_str());
}

class CCommandLineBand : public IBandView {
public:
    bool isVisible() override { return true; }
    ITextWindow& textArea() override { return m_text; }
    std::u16string text() const { return m_text.text().value_or(std::u16string()); }

private:
    CCollectingTextWindow m_text;
};

// The pointer event of a page whose text at the point is `text`, through the hosts' own road:
// the prompt without a dictionary, nothing for an empty text.
DisplayText lookUp(const CDictionary& store, const std::u16string& text, const LookupOptions& options) {
    PointerMessage pointer;
    if (!text.empty()) pointer.character = text.substr(0, 1);
    pointer.word = text;
    pointer.sentence = text;
    CCapturedEvent event(pointer);
    CCommandLineBand band;
    handleMouseMove(store, event, band, options.switches);
    return {band.text(), event.element().title().value_or(std::u16string())};
}

std::string toJson(const DisplayText& display) {
    nlohmann::json object = {{"band", utf16ToUtf8(display.bandText)}, {"tooltip", utf16ToUtf8(display.tooltipText)}};
    return object.dump();
}

// Standard-input lines carry "\t" for a tab and "\\" for a backslash.
std::string unescapeLine(const std::string& line) {
    std::string out;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == 't' || line[i + 1] == '\\')) {
            out.push_back(line[++i] == 't' ? '\t' : '\\');
        } else {
            out.push_back(line[i]);
        }
    }
    return out;
}

int lookUpStdin(const CDictionary& store, const LookupOptions& options) {
    std::string line;
    int status = 0;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::optional<std::u16string> text = utf8ToUtf16(unescapeLine(line));
        if (!text) {
            std::fputs("peluxbar lookup: input line is not valid UTF-8\n", stderr);
            std::puts("null");
            status = 2;
            continue;
        }
        std::puts(toJson(lookUp(store, *text, options)).c_str());
    }
    return status;
}

int runLookupCommand(const Arguments& args) {
    LookupOptions options;
    if (const std::optional<int> exitCode = parseOptions(args, options)) return *exitCode;
    std::optional<std::u16string> text;
    if (options.text) {
        text = utf8ToUtf16(*options.text);
        if (!text) {
            std::fputs("peluxbar lookup: TEXT is not valid UTF-8\n", stderr);
            return 2;
        }
    }

    registerLinuxPlatform();
    CNoSettings settings;
    CEngine engine;
    initEngine(engine, settings);
    const bool anyFile = anyDictionaryFileOpens(options);
    loadDictionary(engine.store(), options);

    const int status = options.fromStdin ? lookUpStdin(engine.store(), options) : 0;
    if (!options.fromStdin) {
        const DisplayText display = lookUp(engine.store(), *text, options);
        std::puts((options.json ? toJson(display) : utf16ToUtf8(display.bandText)).c_str());
    }
    if (anyFile) return status;
    std::fprintf(stderr, "peluxbar lookup: none of the dictionary files could be opened in '%s':\n%s\n",
                 options.dictDir.c_str(), kNoDictionaryHint);
    return 1;
}

}  // namespace

const Command kLookupCommand = {"lookup", runLookupCommand, lookupUsage};

}  // namespace pelux
