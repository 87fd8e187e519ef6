// An owning interface pointer, and the error-return helpers of the component's COM code.
#pragma once

#include <unknwn.h>

#include <utility>

namespace pelux::win32 {

// A failing HRESULT carried out of code that cannot return it; guarded() (module.h) turns it
// back into the method's result.
class CComError {
public:
    explicit CComError(HRESULT hr) : m_hr(hr) {}
    HRESULT code() const { return m_hr; }

private:
    HRESULT m_hr;
};

inline void throwIfFailed(HRESULT hr) {
    if (FAILED(hr)) throw CComError(hr);
}

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    CComPtr(const CComPtr& other) : m_p(other.m_p) {
        if (m_p) m_p->AddRef();
    }
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CComPtr& operator=(CComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~CComPtr() { reset(); }

    // Takes over a reference the caller already owns.
    static CComPtr attach(T* p) {
        CComPtr out;
        out.m_p = p;
        return out;
    }
    // Adds a reference of its own.
    static CComPtr share(T* p) {
        if (p) p->AddRef();
        return attach(p);
    }
    T* detach() { return std::exchange(m_p, nullptr); }
    void reset() {
        if (T* old = std::exchange(m_p, nullptr)) old->Release();
    }
    // Releases what it held and hands out its address for an out-parameter.
    T** put() {
        reset();
        return &m_p;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // The same object seen through interface U (or the interface iid, for interfaces that the
    // SDK headers do not name); null when it offers none, or when this pointer is null.
    template <class U>
    CComPtr<U> try_query(REFIID iid = __uuidof(U)) const {
        CComPtr<U> out;
        if (m_p && FAILED(m_p->QueryInterface(iid, out.putVoid()))) out.reset();
        return out;
    }
    // As try_query, but an object that offers no such interface throws CComError with the
    // query's HRESULT (E_POINTER for a null pointer).
    template <class U>
    CComPtr<U> query(REFIID iid = __uuidof(U)) const {
        if (!m_p) throw CComError(E_POINTER);
        CComPtr<U> out;
        throwIfFailed(m_p->QueryInterface(iid, out.putVoid()));
        if (!out) throw CComError(E_NOINTERFACE);
        return out;
    }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

}  // namespace pelux::win32

// Returns the HRESULT of the expression from the enclosing function when it is a failure.
#define RETURN_IF_FAILED(expression)                   \
    do {                                               \
        const HRESULT pelux_hr_ = (expression);        \
        if (FAILED(pelux_hr_)) return pelux_hr_;       \
    } while (0)
