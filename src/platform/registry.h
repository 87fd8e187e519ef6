// The system registry as the registration scripts need it: keys under two roots, named text
// values, each operation answering with a status (0 for success, an HRESULT-style code else).
#pragma once

#include <cstdint>
#include <string_view>

namespace pelux {

enum class RegistryRoot { ClassesRoot, LocalMachine };

// The status of a key or value that does not exist: HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND).
inline constexpr int32_t kRegistryNotFound = static_cast<int32_t>(0x80070002u);

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Paths are key names joined with backslashes, relative to the root.
    // Opens the key, creating it and any missing parents.
    virtual int32_t createKey(RegistryRoot root, std::u16string_view path) = 0;
    // Removes the key with every key and value below it; kRegistryNotFound when it is absent.
    virtual int32_t deleteTree(RegistryRoot root, std::u16string_view path) = 0;
    // Removes the key and its values when it has no subkeys; a key that still has subkeys is
    // kept and the result is success. kRegistryNotFound when it is absent.
    virtual int32_t deleteKeyIfLeaf(RegistryRoot root, std::u16string_view path) = 0;
    // Writes a text value of an existing key; an empty name is the key's default value.
    virtual int32_t setValue(RegistryRoot root, std::u16string_view path, std::u16string_view name,
                             std::u16string_view text) = 0;
    // kRegistryNotFound when the key or the value is absent.
    virtual int32_t deleteValue(RegistryRoot root, std::u16string_view path,
                                std::u16string_view name) = 0;
};

}  // namespace pelux
