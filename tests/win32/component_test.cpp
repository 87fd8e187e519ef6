// The component's entry points, class objects, aggregation and type library.
#include <windows.h>
#include <oleauto.h>

#include "check.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

GetClassObjectFunction getClassObject() {
    return reinterpret_cast<GetClassObjectFunction>(
        reinterpret_cast<void*>(GetProcAddress(component(), "DllGetClassObject")));
}

// An outer object that counts the references its inner object forwards to it.
struct Outer final : IUnknown {
    ULONG refs = 1;
    IUnknown* inner = nullptr;
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, out) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
};

WIN_TEST(ComponentLoadsThroughItsRegistration) {
    IUnknown* band = createBand();
    CHECK(band != nullptr);
    CHECK(component() != nullptr);
    if (band) band->Release();
}

WIN_TEST(ClassObjectsAreMadeOnceAndUnknownClassesRefused) {
    auto get = getClassObject();
    CHECK(get != nullptr);
    if (!get) return;
    IClassFactory* first = nullptr;
    IClassFactory* second = nullptr;
    CHECK_EQ(get(kClsidPeluxBand, IID_IClassFactory, reinterpret_cast<void**>(&first)), S_OK);
    CHECK_EQ(get(kClsidPeluxBand, IID_IClassFactory, reinterpret_cast<void**>(&second)), S_OK);
    CHECK(first != nullptr && first == second);
    void* none = nullptr;
    CHECK_EQ(get(kIidGoogle, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
    CHECK_EQ(get(kClsidGoogle, IID_IClassFactory, nullptr), E_POINTER);
    CHECK_EQ(get(kClsidGoogle, IID_IDispatch, &none), E_NOINTERFACE);
    if (first) first->Release();
    if (second) second->Release();
}

WIN_TEST(UnloadIsRefusedWhileObjectsOrLocksLive) {
    CHECK_EQ(canUnloadNow(), S_OK);
    IUnknown* band = createBand();
    CHECK_EQ(canUnloadNow(), S_FALSE);
    if (band) band->Release();
    CHECK_EQ(canUnloadNow(), S_OK);
    IClassFactory* factory = nullptr;
    getClassObject()(kClsidGoogle, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    CHECK(factory != nullptr);
    if (!factory) return;
    factory->LockServer(TRUE);
    factory->Release();
    CHECK_EQ(canUnloadNow(), S_FALSE);
    factory->LockServer(FALSE);
    CHECK_EQ(canUnloadNow(), S_OK);
}

WIN_TEST(BothClassesAggregateAndForwardToTheOuterObject) {
    for (const CLSID* clsid : {&kClsidPeluxBand, &kClsidGoogle}) {
        Outer outer;
        void* refused = nullptr;
        CHECK_EQ(CoCreateInstance(*clsid, &outer, CLSCTX_INPROC_SERVER, IID_IDispatch, &refused),
                 CLASS_E_NOAGGREGATION);
        CHECK_EQ(CoCreateInstance(*clsid, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  reinterpret_cast<void**>(&outer.inner)),
                 S_OK);
        if (!outer.inner) continue;
        IDispatch* dispatch = nullptr;
        CHECK_EQ(outer.QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
        CHECK_EQ(outer.refs, 2ul);  // the inner object's interface counts on the outer one
        IUnknown* identity = nullptr;
        dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
        CHECK(identity == static_cast<IUnknown*>(&outer));
        identity->Release();
        dispatch->Release();
        CHECK_EQ(outer.refs, 1ul);
        outer.inner->Release();
    }
    CHECK_EQ(canUnloadNow(), S_OK);
}

WIN_TEST(TypeLibraryDescribesBothClassesAndInterfaces) {
    ITypeLib* library = nullptr;
    CHECK_EQ(LoadRegTypeLib(kTypeLibrary, 1, 0, LOCALE_NEUTRAL, &library), S_OK);
    if (!library) return;
    BSTR doc = nullptr;
    library->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr);
    CHECK_EQ(std::wstring(doc ? doc : L""), std::wstring(L"PeluxBar 1.0 Type Library"));
    SysFreeString(doc);
    const struct {
        const GUID* guid;
        const wchar_t* name;
        const wchar_t* text;
    } rows[] = {
        {&kClsidGoogle, L"CGoogle", L"Google Class"},
        {&kClsidPeluxBand, L"CPeluxBand", L"PeluxBand Class"},
        {&kIidGoogle, L"IGoogle", L"IGoogle Interface"},
        {&kIidPeluxBand, L"IPeluxBand", L"IPeluxBand Interface"},
    };
    for (const auto& row : rows) {
        ITypeInfo* info = nullptr;
        CHECK_EQ(library->GetTypeInfoOfGuid(*row.guid, &info), S_OK);
        if (!info) continue;
        BSTR name = nullptr, text = nullptr;
        info->GetDocumentation(MEMBERID_NIL, &name, &text, nullptr, nullptr);
        CHECK_EQ(std::wstring(name ? name : L""), std::wstring(row.name));
        CHECK_EQ(std::wstring(text ? text : L""), std::wstring(row.text));
        SysFreeString(name);
        SysFreeString(text);
        info->Release();
    }
    library->Release();
}

// GoogleTranslate must sit right after the four IDispatch slots, where the classes put it.
WIN_TEST(TypeLibrarySlotsMatchTheClasses) {
    for (const IID* iid : {&kIidPeluxBand, &kIidGoogle}) {
        IUnknown* object = nullptr;
        CoCreateInstance(*iid == kIidGoogle ? kClsidGoogle : kClsidPeluxBand, nullptr,
                         CLSCTX_INPROC_SERVER, IID_IUnknown, reinterpret_cast<void**>(&object));
        IDispatch* dispatch = nullptr;
        if (object) object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        CHECK(dispatch != nullptr);
        if (!dispatch) continue;
        ITypeInfo* info = nullptr;
        CHECK_EQ(dispatch->GetTypeInfo(0, 0, &info), S_OK);
        if (info) {
            ITypeInfo* vtable = nullptr;
            HREFTYPE ref = 0;
            // The dual interface's vtable side.
            if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &ref))) info->GetRefTypeInfo(ref, &vtable);
            ITypeInfo* described = vtable ? vtable : info;
            LPOLESTR name = const_cast<LPOLESTR>(L"GoogleTranslate");
            MEMBERID id = 0;
            CHECK_EQ(described->GetIDsOfNames(&name, 1, &id), S_OK);
            TYPEATTR* attributes = nullptr;
            described->GetTypeAttr(&attributes);
            bool found = false;
            for (UINT i = 0; attributes && i < attributes->cFuncs; ++i) {
                FUNCDESC* function = nullptr;
                if (FAILED(described->GetFuncDesc(i, &function))) continue;
                if (function->memid == id) {
                    found = true;
                    CHECK_EQ(function->oVft, static_cast<SHORT>(7 * sizeof(void*)));
                }
                described->ReleaseFuncDesc(function);
            }
            CHECK(found);
            if (attributes) described->ReleaseTypeAttr(attributes);
            if (vtable) vtable->Release();
            info->Release();
        }
        dispatch->Release();
        object->Release();
    }
}

}  // namespace
}  // namespace pelux::wintest
