// An owned BSTR, freed when it goes out of scope.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace pelux::win32 {

class CBstr {
public:
    CBstr() = default;
    explicit CBstr(std::u16string_view text)
        : m_value(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                    static_cast<UINT>(text.size()))) {}
    ~CBstr() { SysFreeString(m_value); }
    CBstr(CBstr&& other) noexcept : m_value(std::exchange(other.m_value, nullptr)) {}
    CBstr& operator=(CBstr&& other) noexcept {
        std::swap(m_value, other.m_value);
        return *this;
    }
    CBstr(const CBstr&) = delete;
    // Takes over a string the caller owns.
    static CBstr attach(BSTR owned) {
        CBstr out;
        out.m_value = owned;
        return out;
    }
    CBstr& operator=(const CBstr&) = delete;

    // Null when the string could not be allocated: each caller decides what that failure means.
    BSTR get() const { return m_value; }
    // Frees what it held and hands out its address for an out-parameter.
    BSTR* put() {
        SysFreeString(std::exchange(m_value, nullptr));
        return &m_value;
    }
    // The text, NULs included; empty for a null BSTR.
    std::u16string text() const {
        if (!m_value) return {};
        return std::u16string(reinterpret_cast<const char16_t*>(m_value), SysStringLen(m_value));
    }

private:
    BSTR m_value = nullptr;
};

}  // namespace pelux::win32
