// The settings file: arbitrary bytes as the file, read as the band reads its values, then
// written and read back. What parses must survive being written out again.
#include <string>

#include "adapters/settings_file.h"
#include "band/settings_values.h"
#include "support/fuzz_support.h"

using namespace pelux;
using namespace pelux::fuzzing;
using namespace std::literals;

namespace {

constexpr std::u16string_view kValueNames[] = {kSettingUseToolTips, kSettingShowSubWords, kSettingFontColor,
                                               kSettingFontSize, kSettingHeight, kSettingWidth};

void checkRoundTrip(std::string_view bytes) {
    const std::optional<SettingsValues> values = parseSettingsText(bytes);
    if (!values) return;
    if (parseSettingsText(formatSettingsText(*values)) != values) violated("parsed values do not survive writing");
}

void checkFile(std::string_view bytes) {
    const std::filesystem::path path = scratchDirectory() / "settings";
    writeFile(path, bytes);
    CSettingsFile file(path);
    for (std::u16string_view name : kValueNames) readSettingText(file, name);
    const std::optional<std::u16string> before = file.readValue(kSettingWidth);
    // A written value is read back as written, and the others keep what they held.
    const std::u16string written = u"x\\\r\n\0y"s + before.value_or(u"");
    if (!file.writeValue(kSettingHeight, written)) violated("a write was lost");
    if (file.readValue(kSettingHeight) != written) violated("a written value reads back otherwise");
    if (file.readValue(kSettingWidth) != before) violated("a write changed another value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = bytesOf(data, size);
    checkRoundTrip(bytes);
    checkFile(bytes);
    return 0;
}
