#include "translate/translation_settings.h"

#include <gtest/gtest.h>

#include <map>

namespace pelux {
namespace {

class CMapSettingsKey final : public ISettingsKey {
public:
    std::map<std::u16string, std::u16string, std::less<>> values;
    std::optional<std::u16string> readValue(std::u16string_view name) override {
        const auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    bool writeValue(std::u16string_view name, std::u16string_view text) override {
        values[std::u16string(name)] = std::u16string(text);
        return true;
    }
};

TEST(TranslationServiceSetting, OnlyPlainHttpAddressesAreTaken) {
    struct Row {
        std::u16string stored;
        std::optional<std::string> base;
    };
    const Row rows[] = {
        {u"http://127.0.0.1:8080", "http://127.0.0.1:8080"},
        {u"https://translate.example/", "https://translate.example/"},
        {u"HTTP://Translate.Example", "HTTP://Translate.Example"},
        {u"", std::nullopt},
        {u"http://", std::nullopt},
        {u"ftp://translate.example", std::nullopt},
        {u"translate.example", std::nullopt},
        {u"http://translate.example/ x", std::nullopt},
        {u"http://翻译.example", std::nullopt},
        {u"http://a\r\nHost: b", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.stored.begin(), row.stored.end()));
        EXPECT_EQ(translationBaseFromSetting(row.stored), row.base);
    }
}

TEST(TranslationServiceSetting, MissingOrUnfitValueKeepsTheDefault) {
    CMapSettingsKey key;
    EXPECT_EQ(readTranslationSettings(key).baseAddress, kDefaultTranslationBase);
    key.values[u"TranslationService"] = u"javascript:alert(1)";
    EXPECT_EQ(readTranslationSettings(key).baseAddress, kDefaultTranslationBase);
    key.values[u"TranslationService"] = u"http://127.0.0.1:5000";
    const TranslationSettings settings = readTranslationSettings(key);
    EXPECT_EQ(settings.baseAddress, "http://127.0.0.1:5000");
    EXPECT_EQ(settings.timeout, std::chrono::seconds(30));
}

}  // namespace
}  // namespace pelux
