// peluxbar translate [--base URL] [--timeout SECONDS] TEXT
// The service is --base, else the "TranslationService" setting, else the built-in default.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "adapters/http_curl.h"
#include "adapters/settings_file.h"
#include "translate/google.h"
#include "adapters/utf8.h"

namespace pelux {

namespace {

constexpr const char* kUsage = "usage: peluxbar translate [--base URL] [--timeout SECONDS] TEXT\n";

// The translation goes to standard output; messages meant for a message box go to the error
// stream as "caption: text".
class ConsoleNotices final : public INotices {
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

// Returns nullopt after printing what was wrong with the arguments. Without --base the service
// is the one the settings name.
std::optional<TranslateOptions> parseArguments(const Arguments& args) {
    TranslateOptions options;
    CSettingsFile settingsFile(defaultSettingsPath());
    options.settings = readTranslationSettings(settingsFile);
    std::optional<std::string> text;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--base" && hasValue) {
            options.settings.baseAddress = args[++i];
        } else if (arg == "--timeout" && hasValue) {
            const auto timeout = parseSeconds(args[++i]);
            if (!timeout) {
                std::fputs("peluxbar translate: --timeout takes a number of seconds (at most 3600)\n", stderr);
                return std::nullopt;
            }
            options.settings.timeout = *timeout;
        } else if (arg == "--" && i + 2 == args.size() && !text) {
            text = args[++i];
        } else if (arg.starts_with("--") || text) {
            std::fputs(kUsage, stderr);
            return std::nullopt;
        } else {
            text = arg;
        }
    }
    if (!text) {
        std::fputs(kUsage, stderr);
        return std::nullopt;
    }
    options.text = *text;
    return options;
}

}  // namespace

int runTranslateCommand(const Arguments& args) {
    const auto options = parseArguments(args);
    if (!options) return 2;
    const auto text = utf8ToUtf16(options->text);
    if (!text) {
        std::fputs("peluxbar translate: TEXT is not valid UTF-8\n", stderr);
        return 2;
    }
    CurlHttpRequest http;
    ConsoleNotices notices;
    CGoogle google(http, notices, options->settings);
    const TranslationOutcome outcome = google.GoogleTranslate(*text);
    if (outcome.shown) return 0;
    std::fprintf(stderr, "peluxbar translate: %s\n", outcome.failure.c_str());
    return 1;
}

}  // namespace pelux
