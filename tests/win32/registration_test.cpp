// What `regsvr32` wrote for the component (the script registers it before it starts this
// program, and checks after it that unregistering removes it all). The values are read with the
// registry functions in this process rather than with one `wine reg query` each, whose output
// Wine has been seen to lose.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "component_host.h"
#include "server/class_table.h"

namespace pelux::wintest {
namespace {

std::wstring wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// The text of value `name` of `key` (nullptr: its default value), "(no key)" or "(no value)";
// a value of another type than a string reads "(not a string)".
std::wstring valueOf(HKEY root, const std::wstring& key, const wchar_t* name) {
    DWORD type = 0;
    const std::wstring text = readRegistryText(root, key.c_str(), name, &type);
    if (text == L"(no key)" || text == L"(no value)") return text;
    return type == REG_SZ ? text : L"(not a string)";
}

struct Expected {
    HKEY root;
    std::wstring key;
    const wchar_t* name;
    std::wstring text;
};

WIN_TEST(RegistrationWritesEveryKeyOfBothClassesAndTheButton) {
    const char* registered = std::getenv("PELUX_REGISTERED_DLL");
    CHECK(registered != nullptr);
    if (!registered) return;
    const std::wstring dll(registered, registered + std::strlen(registered));
    const std::wstring typelib = wide(kTypeLibraryId);
    const std::wstring ie = L"Software\\Microsoft\\Internet Explorer";
    const std::wstring button = ie + L"\\Extensions\\" + wide(kToolbarButtonId);
    const std::wstring band = wide(kPeluxBandClsid);

    std::vector<Expected> rows;
    const struct {
        std::u16string_view clsid;
        const wchar_t* progId;
        const wchar_t* description;
    } classes[] = {{kPeluxBandClsid, L"PeluxBar.PeluxBand", L"CPeluxBand Object"},
                   {kGoogleClsid, L"PeluxBar.Google", L"CGoogle Object"}};
    for (const auto& one : classes) {
        const std::wstring clsid = wide(one.clsid), progId = one.progId, versioned = progId + L".1";
        const std::wstring classKey = L"CLSID\\" + clsid;
        rows.insert(rows.end(), {
            {HKEY_CLASSES_ROOT, versioned, nullptr, one.description},
            {HKEY_CLASSES_ROOT, versioned + L"\\CLSID", nullptr, clsid},
            {HKEY_CLASSES_ROOT, progId, nullptr, one.description},
            {HKEY_CLASSES_ROOT, progId + L"\\CLSID", nullptr, clsid},
            {HKEY_CLASSES_ROOT, progId + L"\\CurVer", nullptr, versioned},
            {HKEY_CLASSES_ROOT, classKey, nullptr, one.description},
            {HKEY_CLASSES_ROOT, classKey + L"\\ProgID", nullptr, versioned},
            {HKEY_CLASSES_ROOT, classKey + L"\\VersionIndependentProgID", nullptr, progId},
            {HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", nullptr, dll},
            {HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel", L"apartment"},
            {HKEY_CLASSES_ROOT, classKey + L"\\TypeLib", nullptr, typelib},
        });
        // Present, whatever they hold.
        CHECK(valueOf(HKEY_CLASSES_ROOT, classKey, L"AppID") != L"(no value)");
        CHECK(valueOf(HKEY_CLASSES_ROOT, classKey + L"\\Programmable", nullptr) != L"(no key)");
    }
    rows.insert(rows.end(), {
        {HKEY_CLASSES_ROOT, L"AppID\\PeluxBar.DLL", L"AppID", L"et todo too?"},
        {HKEY_LOCAL_MACHINE, ie + L"\\Toolbar", band.c_str(), L"PeluxBar"},
        {HKEY_LOCAL_MACHINE, button, nullptr, L"PeluxBar Button"},
        {HKEY_LOCAL_MACHINE, button, L"Default Visible", L"Yes"},
        {HKEY_LOCAL_MACHINE, button, L"ButtonText", L"PeluxBar"},
        {HKEY_LOCAL_MACHINE, button, L"HotIcon", dll + L",204"},
        {HKEY_LOCAL_MACHINE, button, L"Icon", dll + L",204"},
        {HKEY_LOCAL_MACHINE, button, L"CLSID", L"{E0DD6CAB-2D10-11D2-8F1A-0000F87ABD16}"},
        {HKEY_LOCAL_MACHINE, button, L"BandCLSID", band},
        {HKEY_CLASSES_ROOT, L"TypeLib\\" + typelib + L"\\1.0", nullptr, L"PeluxBar 1.0 Type Library"},
        {HKEY_CLASSES_ROOT, L"TypeLib\\" + typelib + L"\\1.0\\0\\win64", nullptr, dll},
    });
    for (const Expected& row : rows) {
        const std::wstring shown = row.key + L" [" + (row.name ? row.name : L"(default)") + L"]";
        CHECK_EQ(shown + L" = " + valueOf(row.root, row.key, row.name), shown + L" = " + row.text);
    }
}

}  // namespace
}  // namespace pelux::wintest
