// Where translations go and how long one may take, with the stored setting that names the service.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_key.h"
#include "translate/translation_request.h"

namespace pelux {

// The settings value that names the translation service, e.g. "http://translate.google.com".
inline constexpr std::u16string_view kSettingTranslationService = u"TranslationService";

struct TranslationSettings {
    std::string baseAddress{kDefaultTranslationBase};
    std::chrono::milliseconds timeout = kDefaultTranslationTimeout;
};

// The base address a stored value names, when it is a plain ASCII http or https address without
// blanks or control characters; nullopt sends the caller back to the default.
std::optional<std::string> translationBaseFromSetting(std::u16string_view stored);

// The settings with the stored service address, or the defaults when the value is missing or unfit.
TranslationSettings readTranslationSettings(ISettingsKey& key);

}  // namespace pelux
