// The browser-side fakes, written against the C form of the interfaces: each vtable starts
// with every slot answering E_NOTIMPL and gets only the operations the band uses.
#define CINTERFACE
#define COBJMACROS
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <ocidl.h>

#include <cstddef>
#include <cwctype>

#include "fake_dom.h"

namespace pelux::wintest::dom {
namespace {

constexpr IID kDocumentEvents2{0x3050F613, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
constexpr IID kWebBrowserEvents2{0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
constexpr int kCharacterWidth = 10;

HRESULT STDMETHODCALLTYPE notImplemented() { return E_NOTIMPL; }

// Every fake starts with its vtable and its identifiers.
struct Object {
    const void* vtable;
    const IID* iids[3];
};

HRESULT STDMETHODCALLTYPE queryObject(Object* self, REFIID riid, void** out) {
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) *out = self;
    for (const IID* iid : self->iids)
        if (iid && IsEqualIID(riid, *iid)) *out = self;
    return *out ? S_OK : E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE addRef(Object*) { return 2; }  // fakes live as long as the test
ULONG STDMETHODCALLTYPE release(Object*) { return 1; }

template <class Vtable>
struct Table {
    Vtable value;
    Table() {
        auto** slots = reinterpret_cast<void**>(&value);
        for (size_t i = 0; i < sizeof(Vtable) / sizeof(void*); ++i)
            slots[i] = reinterpret_cast<void*>(&notImplemented);
        set(0, &queryObject);
        set(1, &addRef);
        set(2, &release);
    }
    template <class F>
    void set(size_t slot, F function) {
        reinterpret_cast<void**>(&value)[slot] = reinterpret_cast<void*>(function);
    }
};
#define SLOT(Vtable, member) (offsetof(Vtable, member) / sizeof(void*))

BSTR bstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

}  // namespace

struct ConnectionPoint : Object {
    IID events;
    int advises = 0;
    IDispatch* sink = nullptr;
};

struct Container : Object {
    ConnectionPoint* point;
};

struct Range : Object {
    Page* page;
    size_t start = 0, end = 0;
};

struct BodyRanges : Object {
    Page* page;
};

struct Element : Object {
    Page* page;
    BodyRanges* body;
};

struct Document : Object {
    Page* page;
    Container* container;
};

struct EventObject : Object {
    Page* page;
    LONG x, y;
};

struct Page {
    std::wstring text;
    Document document;
    Element element;
    BodyRanges ranges;
    Container container;
    ConnectionPoint point;
    std::wstring title;
    int callsAfterRetirement = 0;
};

struct Browser : Object {
    Page* shown;
    Container container;
    ConnectionPoint point;
    int stops = 0;
    std::vector<std::wstring> navigations;
};

namespace {

HRESULT STDMETHODCALLTYPE advise(ConnectionPoint* self, IUnknown* sink, DWORD* cookie) {
    IDispatch* dispatch = nullptr;
    if (FAILED(sink->lpVtbl->QueryInterface(sink, IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    // Held without a reference: the fakes outlive every band, and the unload test counts the
    // band's references.
    dispatch->lpVtbl->Release(dispatch);
    self->sink = dispatch;
    *cookie = static_cast<DWORD>(++self->advises);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE findPoint(Container* self, REFIID riid, IConnectionPoint** out) {
    *out = nullptr;
    if (!IsEqualIID(riid, self->point->events)) return CONNECT_E_NOCONNECTION;
    *out = reinterpret_cast<IConnectionPoint*>(self->point);
    return S_OK;
}

bool isWordCharacter(wchar_t c) { return c < 0x100 && (std::iswalnum(c) || c == L'\''); }
bool endsSentence(wchar_t c) { return c == L'.' || c == 0x3002 || c == L'!' || c == L'?'; }

HRESULT STDMETHODCALLTYPE moveToPoint(Range* self, LONG x, LONG) {
    const size_t at = static_cast<size_t>(x / kCharacterWidth);
    if (x < 0 || at >= self->page->text.size()) return E_FAIL;
    self->start = self->end = at;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE expand(Range* self, BSTR unit, VARIANT_BOOL* done) {
    const std::wstring& text = self->page->text;
    const std::wstring name(unit);
    size_t start = self->start, end = self->end;
    if (name == L"character") {
        end = start + 1;
    } else if (name == L"word") {
        while (start > 0 && isWordCharacter(text[start - 1])) --start;
        while (end < text.size() && isWordCharacter(text[end])) ++end;
        while (end < text.size() && text[end] == L' ') ++end;  // a word takes its trailing blank
    } else if (name == L"sentence") {
        while (start > 0 && !endsSentence(text[start - 1])) --start;
        while (end < text.size() && !endsSentence(text[end])) ++end;
        if (end < text.size()) ++end;
    } else {
        return E_INVALIDARG;
    }
    *done = (start != self->start || end != self->end) ? VARIANT_TRUE : VARIANT_FALSE;
    self->start = start;
    self->end = end;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE setEndPoint(Range* self, BSTR how, Range* other) {
    if (std::wstring(how) != L"EndToEnd") return E_INVALIDARG;
    self->end = other->end;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE rangeText(Range* self, BSTR* out) {
    *out = bstr(self->page->text.substr(self->start, self->end - self->start));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE createTextRange(BodyRanges* self, IHTMLTxtRange** out) {
    static Table<IHTMLTxtRangeVtbl> table = [] {
        Table<IHTMLTxtRangeVtbl> t;
        t.set(SLOT(IHTMLTxtRangeVtbl, moveToPoint), &moveToPoint);
        t.set(SLOT(IHTMLTxtRangeVtbl, expand), &expand);
        t.set(SLOT(IHTMLTxtRangeVtbl, setEndPoint), &setEndPoint);
        t.set(SLOT(IHTMLTxtRangeVtbl, get_text), &rangeText);
        return t;
    }();
    auto* range = new Range{};
    range->vtable = &table.value;
    range->iids[0] = &IID_IHTMLTxtRange;
    range->page = self->page;
    *out = reinterpret_cast<IHTMLTxtRange*>(range);
    return S_OK;
}

// The element under the pointer is also the body: its document, its title, its text ranges.
HRESULT STDMETHODCALLTYPE queryElement(Element* self, REFIID riid, void** out) {
    if (IsEqualIID(riid, IID_IHTMLBodyElement)) {
        *out = self->body;
        return S_OK;
    }
    return queryObject(self, riid, out);
}

HRESULT STDMETHODCALLTYPE elementDocument(Element* self, IDispatch** out) {
    *out = reinterpret_cast<IDispatch*>(&self->page->document);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE setAttribute(Element* self, BSTR name, VARIANT value, LONG) {
    if (std::wstring(name) == L"title" && value.vt == VT_BSTR) self->page->title = value.bstrVal;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE documentBody(Document* self, IHTMLElement** out) {
    *out = reinterpret_cast<IHTMLElement*>(&self->page->element);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE queryDocument(Document* self, REFIID riid, void** out) {
    if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
        *out = self->container;
        return S_OK;
    }
    return queryObject(self, riid, out);
}

HRESULT STDMETHODCALLTYPE clientX(EventObject* self, LONG* out) {
    *out = self->x;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE clientY(EventObject* self, LONG* out) {
    *out = self->y;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE srcElement(EventObject* self, IHTMLElement** out) {
    *out = reinterpret_cast<IHTMLElement*>(&self->page->element);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE browserDocument(Browser* self, IDispatch** out) {
    *out = self->shown ? reinterpret_cast<IDispatch*>(&self->shown->document) : nullptr;
    return self->shown ? S_OK : E_FAIL;
}
HRESULT STDMETHODCALLTYPE browserStop(Browser* self) {
    ++self->stops;
    return S_OK;
}
HRESULT STDMETHODCALLTYPE browserNavigate(Browser* self, BSTR url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
    self->navigations.push_back(url);
    return S_OK;
}
HRESULT STDMETHODCALLTYPE queryBrowser(Browser* self, REFIID riid, void** out) {
    if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
        *out = &self->container;
        return S_OK;
    }
    return queryObject(self, riid, out);
}

void wire(Container& container, ConnectionPoint& point, const IID& events) {
    static Table<IConnectionPointContainerVtbl> containers = [] {
        Table<IConnectionPointContainerVtbl> t;
        t.set(SLOT(IConnectionPointContainerVtbl, FindConnectionPoint), &findPoint);
        return t;
    }();
    static Table<IConnectionPointVtbl> points = [] {
        Table<IConnectionPointVtbl> t;
        t.set(SLOT(IConnectionPointVtbl, Advise), &advise);
        return t;
    }();
    container.vtable = &containers.value;
    container.iids[0] = &IID_IConnectionPointContainer;
    container.point = &point;
    point.vtable = &points.value;
    point.iids[0] = &IID_IConnectionPoint;
    point.events = events;
}

}  // namespace

Page* newPage(const std::wstring& text) {
    static Table<IHTMLDocument2Vtbl> documents = [] {
        Table<IHTMLDocument2Vtbl> t;
        t.set(0, &queryDocument);
        t.set(SLOT(IHTMLDocument2Vtbl, get_body), &documentBody);
        return t;
    }();
    static Table<IHTMLElementVtbl> elements = [] {
        Table<IHTMLElementVtbl> t;
        t.set(0, &queryElement);
        t.set(SLOT(IHTMLElementVtbl, get_document), &elementDocument);
        t.set(SLOT(IHTMLElementVtbl, setAttribute), &setAttribute);
        return t;
    }();
    static Table<IHTMLBodyElementVtbl> bodies = [] {
        Table<IHTMLBodyElementVtbl> t;
        t.set(SLOT(IHTMLBodyElementVtbl, createTextRange), &createTextRange);
        return t;
    }();
    auto* page = new Page{};
    page->text = text;
    page->document.vtable = &documents.value;
    page->document.iids[0] = &IID_IHTMLDocument2;
    page->document.page = page;
    page->document.container = &page->container;
    page->element.vtable = &elements.value;
    page->element.iids[0] = &IID_IHTMLElement;
    page->element.page = page;
    page->element.body = &page->ranges;
    page->ranges.vtable = &bodies.value;
    page->ranges.iids[0] = &IID_IHTMLBodyElement;
    page->ranges.page = page;
    wire(page->container, page->point, kDocumentEvents2);
    return page;
}

void* documentOf(Page* page) { return &page->document; }

void replaceDocument(Page* page, const std::wstring& text) {
    page->text = text;
    page->title.clear();
    page->point.advises = 0;
    page->point.sink = nullptr;
}

void retire(Page* page) {
    // Any slot: the extra arguments of the real signature are the caller's to clean up.
    static Table<IHTMLDocument2Vtbl> gone = [] {
        Table<IHTMLDocument2Vtbl> t;
        auto touched = [](Document* self) -> HRESULT {
            ++self->page->callsAfterRetirement;
            return E_UNEXPECTED;
        };
        auto* slots = reinterpret_cast<void**>(&t.value);
        for (size_t i = 0; i < sizeof(IHTMLDocument2Vtbl) / sizeof(void*); ++i)
            slots[i] = reinterpret_cast<void*>(+touched);
        return t;
    }();
    page->document.vtable = &gone.value;
}

int callsAfterRetirement(Page* page) { return page->callsAfterRetirement; }
int documentAdvises(Page* page) { return page->point.advises; }
void* documentSink(Page* page) { return page->point.sink; }
std::wstring titleOf(Page* page) { return page->title; }

void* newMouseEvent(Page* page, int x, int y) {
    static Table<IHTMLEventObjVtbl> events = [] {
        Table<IHTMLEventObjVtbl> t;
        t.set(SLOT(IHTMLEventObjVtbl, get_clientX), &clientX);
        t.set(SLOT(IHTMLEventObjVtbl, get_clientY), &clientY);
        t.set(SLOT(IHTMLEventObjVtbl, get_srcElement), &srcElement);
        return t;
    }();
    auto* event = new EventObject{};
    event->vtable = &events.value;
    event->iids[0] = &IID_IHTMLEventObj;
    event->page = page;
    event->x = x;
    event->y = y;
    return event;
}

Browser* newBrowser(Page* shown) {
    static Table<IWebBrowser2Vtbl> browsers = [] {
        Table<IWebBrowser2Vtbl> t;
        t.set(0, &queryBrowser);
        t.set(SLOT(IWebBrowser2Vtbl, get_Document), &browserDocument);
        t.set(SLOT(IWebBrowser2Vtbl, Stop), &browserStop);
        t.set(SLOT(IWebBrowser2Vtbl, Navigate), &browserNavigate);
        return t;
    }();
    auto* browser = new Browser{};
    browser->vtable = &browsers.value;
    browser->iids[0] = &IID_IWebBrowser2;
    browser->iids[1] = &IID_IWebBrowserApp;
    browser->iids[2] = &IID_IWebBrowser;
    browser->shown = shown;
    wire(browser->container, browser->point, kWebBrowserEvents2);
    return browser;
}

void* browserObject(Browser* browser) { return browser; }
void show(Browser* browser, Page* page) { browser->shown = page; }
int browserAdvises(Browser* browser) { return browser->point.advises; }
void* browserSink(Browser* browser) { return browser->point.sink; }
int stops(Browser* browser) { return browser->stops; }
std::vector<std::wstring> navigations(Browser* browser) { return browser->navigations; }

}  // namespace pelux::wintest::dom
