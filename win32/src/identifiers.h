// The component's own interfaces and identifiers, and the few platform ones that the import
// libraries spell differently or not at all.
#pragma once

#include <oaidl.h>
#include <unknwn.h>

// Dual interface of the band; its IDispatch is the entry point of browser and document events.
struct IPeluxBand : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GoogleTranslate() = 0;
};
__CRT_UUID_DECL(IPeluxBand, 0x04F37BC9, 0x2F86, 0x429B, 0x8E, 0xAA, 0x8A, 0x7D, 0x16, 0xA0, 0x17, 0x7C)

struct IGoogle : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE GoogleTranslate(VARIANT txt) = 0;
};
__CRT_UUID_DECL(IGoogle, 0x8A55A497, 0x1045, 0x48E7, 0xAD, 0x84, 0x95, 0x09, 0x07, 0x9F, 0xD2, 0xCB)

namespace pelux::win32 {

inline constexpr GUID kClsidPeluxBand{0x70D8AE0A, 0x6C0A, 0x4048, {0x9E, 0x09, 0x75, 0x5F, 0x99, 0x62, 0xC0, 0x61}};
inline constexpr GUID kClsidGoogle{0xBA5900C6, 0xFA02, 0x4BD5, {0xB1, 0x08, 0xF3, 0x27, 0xB3, 0x99, 0x20, 0xB4}};
inline constexpr GUID kTypeLibraryGuid{0x260A31FD, 0xEDC5, 0x4A15, {0x96, 0x93, 0xD2, 0x42, 0xD0, 0xE9, 0xCD, 0x9E}};

}  // namespace pelux::win32
