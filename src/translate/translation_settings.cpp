#include "translate/translation_settings.h"

namespace pelux {

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

std::optional<std::string> translationBaseFromSetting(std::u16string_view stored) {
    std::string base;
    base.reserve(stored.size());
    for (const char16_t unit : stored) {
        if (unit <= 0x20 || unit >= 0x7F) return std::nullopt;
        base.push_back(static_cast<char>(unit));
    }
    const bool http = startsWithIgnoringCase(base, "http://") && base.size() > 7;
    const bool https = startsWithIgnoringCase(base, "https://") && base.size() > 8;
    if (!http && !https) return std::nullopt;
    return base;
}

TranslationSettings readTranslationSettings(ISettingsKey& key) {
    TranslationSettings settings;
    if (const auto stored = key.readValue(kSettingTranslationService)) {
        // The text is what comes before the first NUL (a multi-string holds more).
        const std::u16string_view text = std::u16string_view(*stored).substr(0, stored->find(u'\0'));
        if (auto base = translationBaseFromSetting(text)) settings.baseAddress = std::move(*base);
    }
    return settings;
}

}  // namespace pelux
