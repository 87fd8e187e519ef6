// The pieces of an online translation that need no network: which way to translate, the
// service's language pair, the escaped query and the translation picked out of the reply page.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "contract/extension_contract.h"
#include "dictionary/dictionary.h"

namespace pelux {

// Where translations are sent unless the caller names another service (scheme and host only;
// the request path is added to it).
inline constexpr std::string_view kDefaultTranslationBase = "http://translate.google.com";
// A service that accepts the connection and then never answers must not hold the caller forever.
inline constexpr std::chrono::milliseconds kDefaultTranslationTimeout = std::chrono::seconds(30);

enum class TranslationDirection { IntoEnglish, FromEnglish };

// Decided by the first character that is not a digit, blank or similar lead-in: a code of 0x100
// or more means the text is in the dictionary's language. A text with no such character is
// treated as English.
TranslationDirection translationDirection(std::u16string_view text);

// The service's "langpair" value: "zh-CN|en", "ja|en", "en|zh-CN" or "en|ja".
std::string_view languagePair(TranslationDirection direction, DictionaryLanguage language);

// The UTF-8 form of the text, cut before the first character that would take it beyond
// `maxBytes`, so no sequence is ever split. A surrogate without its partner becomes U+FFFD.
std::string utf8ForQuery(std::u16string_view text, size_t maxBytes = kMaxQueryTextBytes);

// Every byte as '%' and two upper-case hexadecimal digits, letters and digits included.
std::string percentEscapeAll(std::string_view bytes);

// base + "/translate_t?text=" + escaped text + "&langpair=" + pair (its bar left as it is).
// A trailing slash of the base is dropped so the path never starts with two.
std::string translationUrl(std::string_view base, std::u16string_view text, std::string_view pair);

// The content of the first textarea element of the reply page, up to the first closing tag
// after it; empty when the page has none.
std::u16string extractTranslation(const std::u16string& reply);

}  // namespace pelux
