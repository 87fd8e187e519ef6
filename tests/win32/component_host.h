// What the browser-playing tests share: the component loaded as COM loads it, its identifiers,
// the settings key, and a site of the host's own.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <docobj.h>
#include <shlobj.h>
#include <servprov.h>

#include <string>

namespace pelux::wintest {

inline constexpr CLSID kClsidPeluxBand{0x70D8AE0A, 0x6C0A, 0x4048, {0x9E, 0x09, 0x75, 0x5F, 0x99, 0x62, 0xC0, 0x61}};
inline constexpr CLSID kClsidGoogle{0xBA5900C6, 0xFA02, 0x4BD5, {0xB1, 0x08, 0xF3, 0x27, 0xB3, 0x99, 0x20, 0xB4}};
inline constexpr IID kIidPeluxBand{0x04F37BC9, 0x2F86, 0x429B, {0x8E, 0xAA, 0x8A, 0x7D, 0x16, 0xA0, 0x17, 0x7C}};
inline constexpr IID kIidGoogle{0x8A55A497, 0x1045, 0x48E7, {0xAD, 0x84, 0x95, 0x09, 0x07, 0x9F, 0xD2, 0xCB}};
inline constexpr GUID kTypeLibrary{0x260A31FD, 0xEDC5, 0x4A15, {0x96, 0x93, 0xD2, 0x42, 0xD0, 0xE9, 0xCD, 0x9E}};

// The component as the COM runtime loaded it (after a first CoCreateInstance).
HMODULE component();
HRESULT canUnloadNow();
IUnknown* createBand();  // through CoCreateInstance, IUnknown

// HKLM "Software\Tandrel\PeluxBar".
void clearSettings();
void writeSetting(const wchar_t* name, const std::wstring& text);  // REG_MULTI_SZ
std::wstring readSetting(const wchar_t* name, DWORD* type = nullptr);

// A site of the host: a window, and optionally IInputObjectSite, IOleCommandTarget and a
// service provider that hands out `browser` for SID_SWebBrowserApp.
struct SiteShape {
    bool window = true;
    bool inputObjectSite = true;
    bool commandTarget = true;
    IUnknown* browser = nullptr;
};
IUnknown* createSite(HWND window, const SiteShape& shape);

// A top-level window that stands for the browser's rebar.
HWND createHostWindow(int width, int height);
void pumpWaitingMessages();

}  // namespace pelux::wintest
