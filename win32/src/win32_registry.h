// The core's registry ports over the Windows registry.
#pragma once

#include <windows.h>

#include "platform/registry.h"
#include "platform/settings_key.h"

namespace pelux::win32 {

class CWin32Registry final : public IRegistry {
public:
    int32_t createKey(RegistryRoot root, std::u16string_view path) override;
    int32_t deleteTree(RegistryRoot root, std::u16string_view path) override;
    int32_t deleteKeyIfLeaf(RegistryRoot root, std::u16string_view path) override;
    int32_t setValue(RegistryRoot root, std::u16string_view path, std::u16string_view name,
                     std::u16string_view text) override;
    int32_t deleteValue(RegistryRoot root, std::u16string_view path,
                        std::u16string_view name) override;
};

// HKLM "Software\Tandrel\PeluxBar", values kept as REG_MULTI_SZ. A value of any type is read
// as the text its bytes spell.
class CWin32SettingsKey final : public ISettingsKey {
public:
    std::optional<std::u16string> readValue(std::u16string_view name) override;
    bool writeValue(std::u16string_view name, std::u16string_view text) override;
};

inline constexpr wchar_t kSettingsKeyPath[] = L"Software\\Tandrel\\PeluxBar";

}  // namespace pelux::win32
