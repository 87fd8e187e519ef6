// An owned BSTR for one call, freed when it goes out of scope.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string_view>

namespace pelux::win32 {

class Bstr {
public:
    explicit Bstr(std::u16string_view text)
        : value_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {}
    ~Bstr() { SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    // Null when the string could not be allocated: each caller decides what that failure means.
    BSTR get() const { return value_; }

private:
    BSTR value_;
};

}  // namespace pelux::win32
