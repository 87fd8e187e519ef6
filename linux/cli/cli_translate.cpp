// `peluxbar translate`: one text through the online translation service.
// The service is --base, else the "TranslationService" setting, else the built-in default.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/command_line.h"
#include "adapters/http_curl.h"
#include "adapters/settings_file.h"
#include "translate/translator.h"
#include "adapters/utf8.h"

namespace pelux {

namespace {

struct TranslateArguments {
    std::optional<std::string> base;
    std::optional<std::string> timeout;
};

CCommandLine translateCommandLine(TranslateArguments& given) {
    CCommandLine line("translate", "[--] TEXT",
                      "Translates TEXT through the online service and prints the translation.");
    line.addOption("--base", given.base, "URL",
                   "the service's address (default: the TranslationService setting, else the built-in one)");
    line.addOption("--timeout", given.timeout, "SECONDS", "how long to wait for the answer (at most 3600)");
    return line;
}

std::string translateUsage() {
    TranslateArguments unused;
    return translateCommandLine(unused).usageText();
}

// The translation goes to standard output; messages meant for a message box go to the error
// stream as "caption: text".
class CConsoleNotices final : public INotices {
public:
    void showMessage(std::u16string_view text, std::u16string_view caption) override {
        std::fprintf(stderr, "%s: %s\n", utf16ToUtf8(caption).c_str(), utf16ToUtf8(text).c_str());
    }
    void showTranslation(std::u16string_view text) override {
        const std::string line = utf16ToUtf8(text) + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fflush(stdout);
    }
};

struct TranslateOptions {
    TranslationSettings settings;
    std::string text;
};

std::optional<std::chrono::milliseconds> parseSeconds(const std::string& value) {
    char* end = nullptr;
    const double seconds = std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0' || !(seconds > 0) || seconds > 3600) return std::nullopt;
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000 + 0.5));
}

// Without --base the service is the one the settings name. An exit code when the command stops here.
std::optional<int> parseArguments(const Arguments& args, TranslateOptions& options) {
    TranslateArguments given;
    CCommandLine line = translateCommandLine(given);
    if (const std::optional<int> exitCode = line.parse(args)) return exitCode;
    if (line.operands().size() != 1) return line.usageError("expected one TEXT");
    CSettingsFile settingsFile(defaultSettingsPath());
    options.settings = readTranslationSettings(settingsFile);
    if (given.base) options.settings.baseAddress = *given.base;
    if (given.timeout) {
        const auto timeout = parseSeconds(*given.timeout);
        if (!timeout) return line.usageError("--timeout takes a number of seconds (at most 3600)");
        options.settings.timeout = *timeout;
    }
    options.text = line.operands().front();
    return std::nullopt;
}

int runTranslateCommand(const Arguments& args) {
    TranslateOptions options;
    if (const std::optional<int> exitCode = parseArguments(args, options)) return *exitCode;
    const auto text = utf8ToUtf16(options.text);
    if (!text) {
        std::fputs("peluxbar translate: TEXT is not valid UTF-8\n", stderr);
        return 2;
    }
    CCurlHttpRequest http;
    CConsoleNotices notices;
    CTranslator translator(http, notices, options.settings);
    CDictionary store;
    const TranslationOutcome outcome = translator.translate(store, *text);
    if (outcome.shown) return 0;
    std::fprintf(stderr, "peluxbar translate: %s\n", outcome.failure.c_str());
    return 1;
}

}  // namespace

const Command kTranslateCommand = {"translate", runTranslateCommand, translateUsage};

}  // namespace pelux
