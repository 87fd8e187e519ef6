// `peluxbar lookup`: runs what one pointer event runs, for a text given on the command line or
// one text a line on standard input.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "browser/pointer_capture.h"
#include "browser/pointer_road.h"
#include "cli/commands.h"
#include "dictionary/dictionary.h"
#include "dictionary/english_index.h"
#include "dictionary/loaders.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "lookup/reader_options.h"
#include "adapters/platform_linux.h"
#include "adapters/utf8.h"

namespace pelux {

namespace {

constexpr const char* kUsage =
    "usage: peluxbar lookup [--dict-dir DIR] --lang zh|ja [--subwords] [--json]\n"
    "                       [--all-entries] [--standard-pinyin] [--hepburn] [--deinflect] (TEXT | --stdin)\n";

struct LookupOptions {
    std::filesystem::path dictDir;
    DictionaryLanguage language = None;
    bool subWords = false;
    ReaderOptions reader;
    bool json = false;
    bool fromStdin = false;
    std::optional<std::string> text;
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "peluxbar lookup: %s\n%s", message.c_str(), kUsage);
    return 2;
}

// Parses the arguments; returns an exit code when they are unusable.
std::optional<int> parseOptions(const Arguments& args, LookupOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--dict-dir" || arg == "--lang") {
            if (i + 1 >= args.size()) return usageError(arg + " needs a value");
            const std::string& value = args[++i];
            if (arg == "--dict-dir") {
                options.dictDir = value;
            } else if (value == "zh") {
                options.language = Chinese;
            } else if (value == "ja") {
                options.language = Japanese;
            } else {
                return usageError("unknown language '" + value + "' (use zh or ja)");
            }
        } else if (arg == "--subwords") {
            options.subWords = true;
        } else if (arg == "--all-entries") {
            options.reader.allEntries = true;
        } else if (arg == "--standard-pinyin") {
            options.reader.standardPinyin = true;
        } else if (arg == "--hepburn") {
            options.reader.hepburnRomaji = true;
        } else if (arg == "--deinflect") {
            options.reader.deinflect = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--stdin") {
            options.fromStdin = true;
        } else if (arg.size() > 1 && arg.rfind("--", 0) == 0 && !options.text) {
            return usageError("unknown option " + arg);
        } else if (!options.text) {
            options.text = arg;
        } else {
            return usageError("more than one TEXT given");
        }
    }
    if (options.language == None) return usageError("--lang zh or --lang ja is required");
    if (options.fromStdin == options.text.has_value()) return usageError("give either TEXT or --stdin");
    if (options.dictDir.empty()) options.dictDir = linuxDictionaryDirectory();
    std::error_code error;
    if (!std::filesystem::is_directory(options.dictDir, error)) {
        std::fprintf(stderr, "peluxbar lookup: dictionary directory '%s' does not exist\n", options.dictDir.c_str());
        return 2;
    }
    return std::nullopt;
}

// Load progress goes nowhere; only the last text matters, when it reports a failure.
class RememberingTextWindow : public ITextWindow {
public:
    void setText(std::u16string_view text) override { lastText.assign(text); }
    std::u16string lastText;
};

void loadDictionary(const LookupOptions& options) {
    auto window = std::make_shared<RememberingTextWindow>();
    LoadEnvironment environment;
    environment.textWindow = window;
    environment.directory = options.dictDir;
    if (options.language == Chinese) {
        loadChineseDictionary(environment);
    } else {
        loadJapaneseDictionary(environment);
    }
    // A load that could not read a file says so as its last text in the band.
    if (window->lastText.starts_with(u"Could not"))
        std::fprintf(stderr, "peluxbar lookup: %s\n", utf16ToUtf8(window->lastText).c_str());
}

DisplayText lookUp(std::u16string text, const LookupOptions& options) {
    if (!theDictionary().isLoaded()) return {loadDictionaryPrompt(0, 0), {}};
    const CapturedText captured = captureFromText(std::move(text));
    // An empty text is no text at the point: the band keeps what it had, which here is nothing.
    if (captured.text.empty()) return {};
    return translateCapturedText(captured, options.subWords, options.reader);
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

int lookUpStdin(const LookupOptions& options) {
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
        std::puts(toJson(lookUp(*text, options)).c_str());
    }
    return status;
}

}  // namespace

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
    initKanaRomajiTable();
    initToneMarkTable();
    loadDictionary(options);

    if (options.fromStdin) return lookUpStdin(options);
    const DisplayText display = lookUp(*text, options);
    const std::string out = options.json ? toJson(display) : utf16ToUtf8(display.bandText);
    std::puts(out.c_str());
    return 0;
}

}  // namespace pelux
