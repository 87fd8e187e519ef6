#include "band/reader_switches.h"

#include "band/settings_values.h"

namespace pelux {

const std::array<ReaderSwitch, kReaderSwitchCount>& readerSwitches() {
    static const std::array<ReaderSwitch, kReaderSwitchCount> switches{{
#define PELUX_SWITCH_ROW(name, field, text) {kSetting##name, &BandSettings::name},
        PELUX_READER_SWITCHES(PELUX_SWITCH_ROW)
#undef PELUX_SWITCH_ROW
    }};
    return switches;
}

bool setReaderSwitch(std::u16string_view name, bool on, ISettingsKey& settings, BandSettings& record) {
    for (const ReaderSwitch& s : readerSwitches()) {
        if (s.name != name) continue;
        const int32_t value = on ? 1 : 0;
        (record.*s.field).store(value);
        settings.writeValue(s.name, decimalText(value));
        return true;
    }
    return false;
}

}  // namespace pelux
