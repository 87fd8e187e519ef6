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

class COpenKey {
public:
    COpenKey(HKEY root, const std::wstring& path, REGSAM access) {
        m_error = RegOpenKeyExW(root, path.c_str(), 0, access, &m_key);
    }
    ~COpenKey() {
        if (m_error == ERROR_SUCCESS) RegCloseKey(m_key);
    }
    COpenKey(const COpenKey&) = delete;
    COpenKey& operator=(const COpenKey&) = delete;
    LSTATUS error() const { return m_error; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
    LSTATUS m_error;
};

}  // namespace

int32_t CWin32Registry::createKey(RegistryRoot root, std::u16string_view path) {
    HKEY key = nullptr;
    const LSTATUS error = RegCreateKeyExW(rootKey(root), wide(path).c_str(), 0, nullptr, 0,
                                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (error == ERROR_SUCCESS) RegCloseKey(key);
    return status(error);
}

int32_t CWin32Registry::deleteTree(RegistryRoot root, std::u16string_view path) {
    return status(RegDeleteTreeW(rootKey(root), wide(path).c_str()));
}

int32_t CWin32Registry::deleteKeyIfLeaf(RegistryRoot root, std::u16string_view path) {
    const std::wstring name = wide(path);
    DWORD subkeys = 0;
    {
        COpenKey key(rootKey(root), name, KEY_READ);
        if (key.error() != ERROR_SUCCESS) return status(key.error());
        const LSTATUS error = RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys,
                                               nullptr, nullptr, nullptr, nullptr, nullptr,
                                               nullptr, nullptr);
        if (error != ERROR_SUCCESS) return status(error);
    }
    if (subkeys != 0) return 0;
    return status(RegDeleteKeyW(rootKey(root), name.c_str()));
}

int32_t CWin32Registry::setValue(RegistryRoot root, std::u16string_view path,
                                std::u16string_view name, std::u16string_view text) {
    COpenKey key(rootKey(root), wide(path), KEY_SET_VALUE);
    if (key.error() != ERROR_SUCCESS) return status(key.error());
    const std::wstring data = wide(text);
    return status(RegSetValueExW(key.get(), name.empty() ? nullptr : wide(name).c_str(), 0,
                                 REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))));
}

int32_t CWin32Registry::deleteValue(RegistryRoot root, std::u16string_view path,
                                   std::u16string_view name) {
    COpenKey key(rootKey(root), wide(path), KEY_SET_VALUE);
    if (key.error() != ERROR_SUCCESS) return status(key.error());
    return status(RegDeleteValueW(key.get(), name.empty() ? nullptr : wide(name).c_str()));
}

std::optional<std::u16string> CWin32SettingsKey::readValue(std::u16string_view name) {
    COpenKey key(HKEY_LOCAL_MACHINE, kSettingsKeyPath, KEY_READ);
    if (key.error() != ERROR_SUCCESS) return std::nullopt;
    const std::wstring valueName = wide(name);
    DWORD bytes = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    // The data as it is stored, whatever its type, read as UTF-16 text (an odd last byte is
    // padded with a zero one). It comes whole, so the caller's size limit (100 bytes for the
    // band's settings) applies to the stored data.
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    size_t units = (bytes + 1) / sizeof(wchar_t);
    if (units > 0 && data[units - 1] == L'\0') --units;  // the terminator of a text value
    return std::u16string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(units));
}

bool CWin32SettingsKey::writeValue(std::u16string_view name, std::u16string_view text) {
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
