// The registration-script language: trees of registry keys under HKCR and HKLM, with
// NoRemove and ForceRemove marks, default values (`= s 'text'`), named values (`val name = s
// 'text'`) and %VARIABLES% replaced inside names and texts. A script is parsed whole before
// anything is written, so a script with a fault changes nothing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace pelux {

// Returned for a script that does not parse or names an unknown variable:
// HRESULT_FROM_WIN32(ERROR_INVALID_DATA).
inline constexpr int32_t kScriptSyntaxError = static_cast<int32_t>(0x8007000Du);

enum class KeyMark { None, NoRemove, ForceRemove };

struct ScriptValue {
    std::u16string name;
    std::u16string text;
};

struct ScriptKey {
    KeyMark mark = KeyMark::None;
    std::u16string name;
    std::optional<std::u16string> defaultText;
    std::vector<ScriptValue> values;
    std::vector<ScriptKey> children;
};

struct ScriptRoot {
    RegistryRoot root = RegistryRoot::ClassesRoot;
    std::vector<ScriptKey> keys;
};

struct ParsedScript {
    std::vector<ScriptRoot> roots;
};

using ScriptVariables = std::map<std::u16string, std::u16string, std::less<>>;

// Parses the script with every variable replaced; nullopt when it does not parse.
std::optional<ParsedScript> parseRegistrationScript(std::u16string_view script,
                                                    const ScriptVariables& variables);

enum class ScriptMode { Register, Unregister };

// Runs a parsed script. Register mode stops at the first failing operation and returns its
// status. Unregister mode treats what is already absent as removed and stops at any other
// failure. 0 when everything succeeded.
int32_t runRegistrationScript(const ParsedScript& script, ScriptMode mode, IRegistry& registry);

// Parse and run in one: kScriptSyntaxError when the script does not parse.
int32_t runRegistrationScript(std::u16string_view script, const ScriptVariables& variables,
                              ScriptMode mode, IRegistry& registry);

}  // namespace pelux
