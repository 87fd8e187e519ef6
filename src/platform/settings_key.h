// The settings key "Software\Tandrel\PeluxBar": named text values, each read or written on its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pelux {

class ISettingsKey {
public:
    virtual ~ISettingsKey() = default;
    // The stored text of a value, without its terminating NUL; nullopt when the key or the value
    // is missing or cannot be read. Data that holds more than one string (a registry multi-
    // string) comes whole, so its size is the stored size: callers take the text before the
    // first NUL. Size limits are the caller's business.
    virtual std::optional<std::u16string> readValue(std::u16string_view name) = 0;
    // Stores the text under the name; false when the write was lost.
    virtual bool writeValue(std::u16string_view name, std::u16string_view text) = 0;
};

}  // namespace pelux
