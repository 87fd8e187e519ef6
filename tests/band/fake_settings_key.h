// A settings key in memory, counting its reads.
#pragma once

#include <map>
#include <string>

#include "platform/settings_key.h"

namespace pelux::testing {

class CFakeSettingsKey : public ISettingsKey {
public:
    std::map<std::u16string, std::u16string> values;
    std::map<std::u16string, int> reads;
    bool failWrites = false;

    std::optional<std::u16string> readValue(std::u16string_view name) override {
        ++reads[std::u16string(name)];
        const auto found = values.find(std::u16string(name));
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    bool writeValue(std::u16string_view name, std::u16string_view text) override {
        if (failWrites) return false;
        values[std::u16string(name)] = std::u16string(text);
        return true;
    }
};

}  // namespace pelux::testing
