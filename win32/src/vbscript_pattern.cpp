#include "vbscript_pattern.h"

#include <deque>
#include <string>
#include <vector>

#include "bstr.h"
#include "com_ptr.h"

namespace pelux::win32 {
namespace {

void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw CPatternError(hr, what);
}

// The object's interfaces as the pattern port reports their failures.
template <class T>
CComPtr<T> queryChecked(const CComPtr<IDispatch>& object, REFIID iid, const char* what) {
    try {
        return object.query<T>(iid);
    } catch (const CComError& error) {
        throw CPatternError(error.code(), what);
    }
}

// The object reports group texts, not positions; the views the port promises are found again
// in the match: each group after the previous group's end, else after its start, else anywhere
// in the match (nested groups lie inside the one before them).
std::u16string_view locate(std::u16string_view match, size_t& from, size_t& previousEnd,
                           std::u16string_view group) {
    size_t at = match.find(group, previousEnd);
    if (at == std::u16string_view::npos) at = match.find(group, from);
    if (at == std::u16string_view::npos) at = match.find(group);
    if (at == std::u16string_view::npos) return {};
    from = at;
    previousEnd = at + group.size();
    return match.substr(at, group.size());
}

// The VBScript dot takes every character but the line feed. Wine's object also stops at a
// carriage return, which would cut every CRLF dictionary line short of its last field; spelling
// the dot out as a class gives the same results on both.
std::u16string dotAsClass(std::u16string_view pattern) {
    std::u16string out;
    bool inClass = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c == u'\\' && i + 1 < pattern.size()) {
            out += c;
            out += pattern[++i];
        } else if (inClass) {
            inClass = c != u']';
            out += c;
        } else if (c == u'[') {
            inClass = true;
            out += c;
        } else if (c == u'.') {
            out += u"[^\\n]";
        } else {
            out += c;
        }
    }
    return out;
}

bool runningOnWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class CVbscriptPattern final : public IPerlPattern {
public:
    CVbscriptPattern() {
        check(CoCreateInstance(kClsidRegExp, nullptr, CLSCTX_INPROC_SERVER, kIidRegExp2,
                               m_regExp.putVoid()),
              "IRegExp2");
    }

    void setPattern(std::u16string_view pattern) override {
        CBstr text(dotAsClass(pattern));
        if (!text.get()) throw CPatternError(E_OUTOFMEMORY, "SysAllocStringLen");
        check(m_regExp->put_Pattern(text.get()), "IRegExp2");
    }
    void setGlobal(bool global) override {
        m_global = global;
        const bool native = global && !m_stepGlobalSearch;
        check(m_regExp->put_Global(native ? VARIANT_TRUE : VARIANT_FALSE), "IRegExp2");
    }

    const std::vector<PerlMatch>& execute(std::u16string_view text) override {
        m_matches.clear();
        if (!m_global || !m_stepGlobalSearch) {
            executeOnce(text);
            return m_matches;
        }
        // One leftmost search at a time; after an empty match the next starts one further on.
        for (size_t from = 0; from <= text.size();) {
            const size_t before = m_matches.size();
            executeOnce(text.substr(from));
            if (m_matches.size() == before) break;
            const std::u16string_view found = m_matches.back().value;
            from = static_cast<size_t>(found.data() - text.data()) + found.size() + (found.empty() ? 1 : 0);
        }
        return m_matches;
    }

private:
    PerlMatch readMatch(std::u16string_view text, const CComPtr<IMatch2>& match) {
        LONG first = 0, length = 0;
        check(match->get_FirstIndex(&first), "IMatch2");
        check(match->get_Length(&length), "IMatch2");
        if (first < 0 || length < 0 || static_cast<size_t>(first) + length > text.size())
            throw CPatternError(E_UNEXPECTED, "IMatch2");
        PerlMatch out;
        out.value = text.substr(first, length);
        CComPtr<IDispatch> groups;
        check(match->get_SubMatches(groups.put()), "IMatch2");
        auto subMatches = queryChecked<ISubMatches>(groups, kIidSubMatches, "ISubMatches");
        LONG count = 0;
        check(subMatches->get_Count(&count), "ISubMatches");
        size_t from = 0, previousEnd = 0;
        for (LONG k = 0; k < count; ++k) {
            VARIANT value;
            VariantInit(&value);
            check(subMatches->get_Item(k, &value), "ISubMatches");
            const std::u16string group =
                value.vt == VT_BSTR ? CBstr::attach(value.bstrVal).text() : std::u16string();
            if (value.vt != VT_BSTR) VariantClear(&value);
            out.subMatches.push_back(group.empty() ? std::u16string_view()
                                                   : locate(out.value, from, previousEnd, group));
        }
        return out;
    }

    void executeOnce(std::u16string_view text) {
        CBstr source(text);
        if (!source.get()) throw CPatternError(E_OUTOFMEMORY, "SysAllocStringLen");
        CComPtr<IDispatch> result;
        check(m_regExp->Execute(source.get(), result.put()), "IRegExp2");
        auto collection = queryChecked<IMatchCollection2>(result, kIidMatchCollection2, "IMatchCollection2");
        LONG count = 0;
        check(collection->get_Count(&count), "IMatchCollection2");
        for (LONG i = 0; i < count; ++i) {
            CComPtr<IDispatch> item;
            check(collection->get_Item(i, item.put()), "IMatchCollection2");
            m_matches.push_back(readMatch(text, queryChecked<IMatch2>(item, kIidMatch2, "IMatch2")));
        }
    }

    CComPtr<IRegExp2> m_regExp;
    std::vector<PerlMatch> m_matches;
    bool m_global = false;
    // Wine's object never gets past an empty match of a global search; there the search is
    // stepped here instead. The patterns run globally hold no ^ or \b, so a search that starts
    // inside the text finds what the object's own global search would.
    const bool m_stepGlobalSearch = runningOnWine();
};

}  // namespace

std::unique_ptr<IPerlPattern> createVbscriptPattern() { return std::make_unique<CVbscriptPattern>(); }

}  // namespace pelux::win32
