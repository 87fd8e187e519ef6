// A component file whose path is 260 characters or more cannot register itself: its path would
// be written cut short.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "check.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

WIN_TEST(RegistrationRefusesAPathOf260CharactersOrMore) {
    const char* path = std::getenv("PELUX_LONG_PATH_COPY");
    CHECK(path != nullptr);
    if (!path) return;
    const std::wstring name(path, path + strlen(path));
    CHECK(name.size() >= 260);
    HMODULE copy = LoadLibraryW((L"\\\\?\\" + name).c_str());
    CHECK(copy != nullptr);
    if (!copy) return;
    for (const char* entry : {"DllRegisterServer", "DllUnregisterServer"}) {
        auto function = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
            reinterpret_cast<void*>(GetProcAddress(copy, entry)));
        CHECK(function != nullptr);
        if (function) CHECK_EQ(function(), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    }
    FreeLibrary(copy);
}

}  // namespace
}  // namespace pelux::wintest
