#include "band/reader_switches.h"

#include "band/settings_values.h"

namespace pelux {

const std::array<ReaderSwitch, kReaderSwitchCount>& readerSwitches() {
    static const std::array<ReaderSwitch, kReaderSwitchCount> switches{{
        {kSettingAllEntries, &BandSettings::AllEntries},
        {kSettingStandardPinyin, &BandSettings::StandardPinyin},
        {kSettingHepburnRomaji, &BandSettings::HepburnRomaji},
        {kSettingDeinflect, &BandSettings::Deinflect},
        {kSettingReaderPopup, &BandSettings::ReaderPopup},
        {kSettingLoadAtStart, &BandSettings::LoadAtStart},
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
