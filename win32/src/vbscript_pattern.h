// The Perl-style pattern port over the VBScript regular-expression object, with the interfaces
// of that object declared here in their slot order (the SDK headers of mingw-w64 have none).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "platform/perl_pattern.h"

struct IRegExp2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Pattern(BSTR* pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Pattern(BSTR pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IgnoreCase(VARIANT_BOOL* ignoreCase) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IgnoreCase(VARIANT_BOOL ignoreCase) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Global(VARIANT_BOOL* global) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Global(VARIANT_BOOL global) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Multiline(VARIANT_BOOL* multiline) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Multiline(VARIANT_BOOL multiline) = 0;
    virtual HRESULT STDMETHODCALLTYPE Execute(BSTR source, IDispatch** matches) = 0;
    virtual HRESULT STDMETHODCALLTYPE Test(BSTR source, VARIANT_BOOL* matched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Replace(BSTR source, VARIANT replacement, BSTR* result) = 0;
};

struct IMatchCollection2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, IDispatch** match) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) = 0;
};

struct IMatch2 : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FirstIndex(LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Length(LONG* length) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SubMatches(IDispatch** subMatches) = 0;
};

struct ISubMatches : public IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown** enumerator) = 0;
};

namespace pelux::win32 {

inline constexpr CLSID kClsidRegExp{0x3F4DACA4, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID kIidRegExp2{0x3F4DACB0, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID kIidMatchCollection2{0x3F4DACB2, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID kIidMatch2{0x3F4DACB1, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};
inline constexpr IID kIidSubMatches{0x3F4DACB3, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};

// A new VBScript pattern object; throws CPatternError when it cannot be created.
std::unique_ptr<IPerlPattern> createVbscriptPattern();

}  // namespace pelux::win32
