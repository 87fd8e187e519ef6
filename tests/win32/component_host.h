// What the browser-playing tests share: the component loaded as COM loads it, its identifiers,
// the settings key, and a site of the host's own.
#pragma once

#include <optional>

#include <windows.h>
#include <ocidl.h>
#include <docobj.h>
#include <shlobj.h>
#include <servprov.h>

#include <string>

#include "PeluxBar.h"

namespace pelux::wintest {

// widl's declarations from PeluxBar.idl.
inline const CLSID& kClsidPeluxBand = CLSID_CPeluxBand;
inline const CLSID& kClsidGoogle = CLSID_CGoogle;
inline const IID& kIidPeluxBand = IID_IPeluxBand;
inline const IID& kIidGoogle = IID_IGoogle;
inline const GUID& kTypeLibrary = LIBID_PeluxBarLib;

// The component as the COM runtime loaded it (after a first CoCreateInstance).
HMODULE component();
HRESULT canUnloadNow();
IUnknown* createBand();  // through CoCreateInstance, IUnknown

// HKLM "Software\Tandrel\PeluxBar".
void clearSettings();
void writeSetting(const wchar_t* name, const std::wstring& text);  // REG_MULTI_SZ
std::wstring readSetting(const wchar_t* name, DWORD* type = nullptr);
// The text of value `name` of `key` under `root` (nullptr: the default value), up to its first
// NUL, or "(no key)" or "(no value)"; `type`, when given, receives the value's type.
std::wstring readRegistryText(HKEY root, const wchar_t* key, const wchar_t* name, DWORD* type = nullptr);

// A site of the host: a window, and optionally IInputObjectSite, IOleCommandTarget and a
// service provider that hands out `browser` for SID_SWebBrowserApp.
struct SiteShape {
    bool window = true;
    bool inputObjectSite = true;
    bool commandTarget = true;
    IUnknown* browser = nullptr;
};
IUnknown* createSite(HWND window, const SiteShape& shape);
// Sites `band` in a site of `host` with `shape`, as the browser does, and gives the band's
// window; `siteResult`, when given, receives what SetSite returned.
HWND siteBand(IUnknown* band, HWND host, const SiteShape& shape, HRESULT* siteResult = nullptr);

// A top-level window that stands for the browser's rebar.
HWND createHostWindow(int width, int height);
void pumpWaitingMessages();

// Runs this program again with only the cases named `caseFilter`, `marker` set in its
// environment so the child knows it is one; the band reads its key once per process, so a case
// that needs other settings runs them in a child. The child's exit code (nonzero: failed checks
// or no start), or nullopt when it did not end within `waitMs`.
std::optional<DWORD> runCasesInChild(const wchar_t* caseFilter, const wchar_t* marker, DWORD waitMs);

}  // namespace pelux::wintest
