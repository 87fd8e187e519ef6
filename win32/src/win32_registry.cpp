#include "win32_registry.h"

#include <string>
#include <vector>

namespace pelux::win32 {
namespace {

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

HKEY rootKey(RegistryRoot root) {
    return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

int32_t status(LSTATUS error) { return error == ERROR_SUCCESS ? 0 : HRESULT_FROM_WIN32(error); }

class OpenKey {
public:
    OpenKey(HKEY root, const std::wstring& path, REGSAM access) {
        error_ = RegOpenKeyExW(root, path.c_str(), 0, access, &key_);
    }
    ~OpenKey() {
        if (error_ == ERROR_SUCCESS) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    LSTATUS error() const { return error_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
    LSTATUS error_;
};

}  // namespace

int32_t Win32Registry::createKey(RegistryRoot root, std::u16string_view path) {
    HKEY key = nullptr;
    const LSTATUS error = RegCreateKeyExW(rootKey(root), wide(path).c_str(), 0, nullptr, 0,
                                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (error == ERROR_SUCCESS) RegCloseKey(key);
    return status(error);
}

int32_t Win32Registry::deleteTree(RegistryRoot root, std::u16string_view path) {
    return status(RegDeleteTreeW(rootKey(root), wide(path).c_str()));
}

int32_t Win32Registry::deleteKeyIfLeaf(RegistryRoot root, std::u16string_view path) {
    const std::wstring name = wide(path);
    DWORD subkeys = 0;
    {
        OpenKey key(rootKey(root), name, KEY_READ);
        if (key.error() != ERROR_SUCCESS) return status(key.error());
        const LSTATUS error = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys,
                                               nullptr, nullptr, nullptr, nullptr, nullptr,
                                               nullptr, nullptr);
        if (error != ERROR_SUCCESS) return status(error);
    }
    if (subkeys != 0) return 0;
    return status(RegDeleteKeyW(rootKey(root), name.c_str()));
}

int32_t Win32Registry::setValue(RegistryRoot root, std::u16string_view path,
                                std::u16string_view name, std::u16string_view text) {
    OpenKey key(rootKey(root), wide(path), KEY_SET_VALUE);
    if (key.error() != ERROR_SUCCESS) return status(key.error());
    const std::wstring data = wide(text);
    return status(RegSetValueExW(key.get(), name.empty() ? nullptr : wide(name).c_str(), 0,
                                 REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))));
}

int32_t Win32Registry::deleteValue(RegistryRoot root, std::u16string_view path,
                                   std::u16string_view name) {
    OpenKey key(rootKey(root), wide(path), KEY_SET_VALUE);
    if (key.error() != ERROR_SUCCESS) return status(key.error());
    return status(RegDeleteValueW(key.get(), name.empty() ? nullptr : wide(name).c_str()));
}

std::optional<std::u16string> Win32SettingsKey::readValue(std::u16string_view name) {
    OpenKey key(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_READ);
    if (key.error() != ERROR_SUCCESS) return std::nullopt;
    const std::wstring valueName = wide(name);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_MULTI_SZ && type != REG_SZ))
        return std::nullopt;
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 2, L'\0');
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    // The text is the first string: stored data need not end in a NUL, the buffer does.
    const wchar_t* text = data.data();
    return std::u16string(text, text + wcslen(text));
}

bool Win32SettingsKey::writeValue(std::u16string_view name, std::u16string_view text) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    std::wstring data = wide(text);
    data.push_back(L'\0');  // a list of one string ends in two NULs
    const LSTATUS error =
        RegSetValueExW(key, wide(name).c_str(), 0, REG_MULTI_SZ,
                       reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return error == ERROR_SUCCESS;
}

}  // namespace pelux::win32
