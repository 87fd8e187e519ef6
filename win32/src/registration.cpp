#include "registration.h"

#include <oleauto.h>

#include <string>

#include "com_ptr.h"
#include "identifiers.h"
#include "module.h"
#include "server/class_table.h"
#include "win32_registry.h"

namespace pelux::win32 {
namespace {

constexpr int kComponentScriptResource = 101;

std::u16string narrowToUtf16(const char* bytes, size_t size) {
    return std::u16string(bytes, bytes + size);
}

// The REGISTRY 101 resource, ASCII text.
std::u16string componentScript() {
    HRSRC found = FindResourceW(moduleHandle(), MAKEINTRESOURCEW(kComponentScriptResource),
                                L"REGISTRY");
    if (!found) return {};
    HGLOBAL loaded = LoadResource(moduleHandle(), found);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) return {};
    return narrowToUtf16(bytes, SizeofResource(moduleHandle(), found));
}

HRESULT registerTypeLibrary(const std::wstring& path) {
    CComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()))) {
        // A type library shipped beside the component under the same name.
        std::wstring tlb = path;
        const size_t dot = tlb.find_last_of(L'.');
        if (dot != std::wstring::npos && tlb.find(L'\\', dot) == std::wstring::npos)
            tlb.resize(dot);
        tlb += L".tlb";
        RETURN_IF_FAILED(LoadTypeLibEx(tlb.c_str(), REGKIND_NONE, library.put()));
    }
    std::wstring pathCopy = path;
    return RegisterTypeLib(library.get(), pathCopy.data(), nullptr);
}

HRESULT unregisterTypeLibrary() {
    return UnRegisterTypeLib(kTypeLibraryGuid, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
}

}  // namespace

HRESULT registerServer(bool install) {
    const std::wstring path = modulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    const std::u16string module(path.begin(), path.end());
    const ScriptMode mode = install ? ScriptMode::Register : ScriptMode::Unregister;
    CWin32Registry registry;
    // The toolbar entries are offered to the browser, not required for the classes to work.
    runRegistrationScript(componentScript(), registrationVariables(module, u""), mode, registry);
    for (const ClassRow& row : kClassTable) {
        RETURN_IF_FAILED(runRegistrationScript(
            classEntryScript(row), registrationVariables(module, row.description), mode, registry));
    }
    return install ? registerTypeLibrary(path) : unregisterTypeLibrary();
}

}  // namespace pelux::win32
