#include "pelux_band.h"

#include "band/band_geometry.h"
#include "band/engine.h"
#include "band/load_at_start.h"
#include "mshtml_document.h"
#include "pelux_band_documents.h"
#include "win32_registry.h"

namespace pelux::win32 {
namespace {

constexpr DISPID kDispidDocumentComplete = 259;
constexpr DISPID kDispidBeforeNavigate2 = 250;
constexpr DISPID kDispidBeforeNavigate = 100;
constexpr DISPID kDispidMouseMove = -606;

constexpr GUID kSidWebBrowserApp{0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kDiidWebBrowserEvents2{0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
constexpr GUID kDiidDocumentEvents2{0x3050F613, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};

CSubscribedDocuments g_documents;

// The identity of a COM object, kept only as a key: the reference taken here is given back.
IUnknown* identityOf(IUnknown* object) {
    return CComPtr<IUnknown>::share(object).try_query<IUnknown>().get();
}

// The object a browser event passes as a browser (by value or by reference), not yet queried.
IUnknown* browserArgument(const VARIANT& argument) {
    switch (argument.vt) {
    case VT_DISPATCH:
    case VT_UNKNOWN:
        return argument.punkVal;
    case VT_BYREF | VT_DISPATCH:
        return argument.ppdispVal ? *argument.ppdispVal : nullptr;
    case VT_BYREF | VT_VARIANT:
        return argument.pvarVal ? browserArgument(*argument.pvarVal) : nullptr;
    default:
        return nullptr;
    }
}

DWORD advise(IUnknown* source, REFIID events, IUnknown* sink) {
    auto container = CComPtr<IUnknown>::share(source).try_query<IConnectionPointContainer>();
    if (!container) return 0;
    CComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(events, point.put())) || !point) return 0;
    DWORD cookie = 0;
    if (FAILED(point->Advise(sink, &cookie))) return 0;
    return cookie;
}

}  // namespace

CPeluxBand::CPeluxBand(IUnknown* outer) : CComObject(outer) {
    CWin32SettingsKey key;
    initEngine(moduleEngine(), key);
}

CPeluxBand::~CPeluxBand() { m_wnd.destroy(); }

void* CPeluxBand::findInterface(REFIID riid) {
    if (IsEqualIID(riid, IID_IOleWindow) || IsEqualIID(riid, IID_IDockingWindow) ||
        IsEqualIID(riid, IID_IDeskBand))
        return static_cast<IDeskBand*>(this);
    if (IsEqualIID(riid, IID_IObjectWithSite)) return static_cast<IObjectWithSite*>(this);
    if (IsEqualIID(riid, IID_IInputObject)) return static_cast<IInputObject*>(this);
    if (IsEqualIID(riid, IID_IOleCommandTarget)) return static_cast<IOleCommandTarget*>(this);
    if (IsEqualIID(riid, __uuidof(IPeluxBand)) || IsEqualIID(riid, IID_IDispatch))
        return static_cast<IPeluxBand*>(this);
    if (IsEqualIID(riid, IID_IProvideClassInfo)) return static_cast<IProvideClassInfo*>(this);
    return nullptr;
}

STDMETHODIMP CPeluxBand::GetWindow(HWND* phwnd) {
    if (!phwnd) return E_INVALIDARG;
    *phwnd = m_wnd.hwnd();
    return S_OK;
}

STDMETHODIMP CPeluxBand::ContextSensitiveHelp(BOOL fEnterMode) {
    m_bEnterHelpMode = fEnterMode;
    return S_OK;
}

STDMETHODIMP CPeluxBand::ShowDW(BOOL fShow) {
    m_bShow = fShow;
    if (m_wnd.hwnd()) ShowWindow(m_wnd.hwnd(), fShow ? SW_SHOW : SW_HIDE);
    return S_OK;
}

STDMETHODIMP CPeluxBand::CloseDW(DWORD) {
    return guarded([&] {
        m_wnd.saveBandSize();
        static_cast<IDockingWindow*>(this)->ShowDW(FALSE);
        return S_OK;
    });
}

STDMETHODIMP CPeluxBand::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP CPeluxBand::GetBandInfo(DWORD dwBandID, DWORD dwViewMode, DESKBANDINFO* pdbi) {
    if (!pdbi) return E_INVALIDARG;
    return guarded([&] {
        m_dwBandID = dwBandID;
        m_wnd.setBandId(dwBandID);
        m_dwViewMode = dwViewMode;
        if (pdbi->dwMask & DBIM_MINSIZE) pdbi->ptMinSize = {100, 30};
        if (pdbi->dwMask & DBIM_MAXSIZE) pdbi->ptMaxSize = {-1, -1};
        if (pdbi->dwMask & DBIM_INTEGRAL) pdbi->ptIntegral = {1, 1};
        if (pdbi->dwMask & DBIM_ACTUAL) {
            CWin32SettingsKey key;
            const BandSize size = savedBandSize(key);
            pdbi->ptActual = {size.width, size.height};
        }
        if (pdbi->dwMask & DBIM_MODEFLAGS) pdbi->dwModeFlags = DBIMF_VARIABLEHEIGHT | DBIMF_BREAK;
        pdbi->dwMask &= ~static_cast<DWORD>(DBIM_BKCOLOR);
        return S_OK;
    });
}

STDMETHODIMP CPeluxBand::SetSite(IUnknown* site) {
    return guarded([&] {
        m_spInputObjectSite.reset();
        if (!site) return S_OK;
        return siteBand(site);
    });
}

HRESULT CPeluxBand::siteBand(IUnknown* site) {
    m_hwndParent = nullptr;
    const auto siteUnknown = CComPtr<IUnknown>::share(site);
    if (auto window = siteUnknown.try_query<IOleWindow>()) window->GetWindow(&m_hwndParent);
    if (!IsWindow(m_hwndParent)) return E_FAIL;
    RECT client{};
    GetClientRect(m_hwndParent, &client);
    if (!m_wnd.hwnd()) m_wnd.create(m_hwndParent, client);
    if (CWin32SettingsKey key; m_wnd.hwnd()) loadRememberedDictionaryOnce(m_wnd, key, moduleEngine());
    if (FAILED(site->QueryInterface(IID_IInputObjectSite, m_spInputObjectSite.putVoid())))
        return E_FAIL;
    auto commands = siteUnknown.try_query<IOleCommandTarget>();
    if (!commands) return S_OK;
    auto services = commands.try_query<IServiceProvider>();
    if (!services) return S_OK;
    if (FAILED(services->QueryService(kSidWebBrowserApp, IID_IWebBrowser2,
                                      m_spWebBrowser.putVoid())) ||
        !m_spWebBrowser)
        return S_OK;
    m_wnd.setBrowser(m_spWebBrowser.get());
    advise(m_spWebBrowser.get(), kDiidWebBrowserEvents2, sink());
    askForDocEvents(nullptr, originOf(m_spWebBrowser.get()));
    return S_OK;
}

STDMETHODIMP CPeluxBand::GetSite(REFIID riid, void** ppvSite) {
    if (!ppvSite) return E_POINTER;
    *ppvSite = nullptr;
    if (!m_spInputObjectSite) return E_FAIL;
    return m_spInputObjectSite->QueryInterface(riid, ppvSite);
}

STDMETHODIMP CPeluxBand::UIActivateIO(BOOL, MSG*) { return S_OK; }

STDMETHODIMP CPeluxBand::HasFocusIO() {
    return m_wnd.hwnd() && GetFocus() == m_wnd.hwnd() ? S_OK : S_FALSE;
}

STDMETHODIMP CPeluxBand::TranslateAcceleratorIO(MSG*) { return S_FALSE; }

STDMETHODIMP CPeluxBand::QueryStatus(const GUID*, ULONG cCmds, OLECMD* prgCmds, OLECMDTEXT*) {
    if (cCmds && !prgCmds) return E_POINTER;
    for (ULONG i = 0; i < cCmds; ++i) prgCmds[i].cmdf = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    return S_OK;
}

STDMETHODIMP CPeluxBand::Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) { return S_OK; }

// The entry point of the browser's and the documents' events; the parameters arrive in
// reverse order in the argument array.
STDMETHODIMP CPeluxBand::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                EXCEPINFO*, UINT*) {
    return guarded([&]() -> HRESULT {
        switch (member) {
        case kDispidDocumentComplete:
            if (params && params->cArgs >= 2) onDocumentComplete(browserArgument(params->rgvarg[1]));
            return S_OK;
        case kDispidBeforeNavigate2:
            if (params && params->cArgs >= 1)
                onBeforeNavigate(browserArgument(params->rgvarg[params->cArgs - 1]));
            return S_OK;
        case kDispidBeforeNavigate:  // the older event set raises it for the top-level page only
            onBeforeNavigate(m_spWebBrowser.get());
            return S_OK;
        case kDispidMouseMove: {
            if (!params || params->cArgs < 1) return S_OK;
            const VARIANT& argument = params->rgvarg[0];
            if ((argument.vt != VT_DISPATCH && argument.vt != VT_UNKNOWN) || !argument.pdispVal)
                return S_OK;
            auto event = CComPtr<IDispatch>::share(argument.pdispVal).try_query<IHTMLEventObj>();
            if (!event) return S_OK;
            CMshtmlEvent adapter(std::move(event));
            handleMouseMove(moduleEngine().store(), adapter, m_wnd, pointerSwitches(moduleEngine().settings()));
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    });
}

DocumentOrigin CPeluxBand::originOf(IUnknown* browser) const {
    return {identityOf(m_spWebBrowser.get()), identityOf(browser)};
}

// Subscriptions stay as they are: the navigation may yet be cancelled or end in a download.
void CPeluxBand::onBeforeNavigate(IUnknown* browser) {
    if (browser) g_documents.navigationStarted(originOf(browser));
}

// A completed page replaces the documents of the page before it, which may be gone by now and
// whose addresses the new documents may take: their entries are dropped, and nothing is called
// on them.
void CPeluxBand::onDocumentComplete(IUnknown* browser) {
    auto page = CComPtr<IUnknown>::share(browser).try_query<IWebBrowser2>();
    if (!page) return;
    const DocumentOrigin origin = originOf(browser);
    g_documents.pageCompleted(origin);
    CComPtr<IDispatch> document;
    if (FAILED(page->get_Document(document.put())) || !document) return;
    auto html = document.try_query<IHTMLDocument2>();
    if (html) askForDocEvents(html.get(), origin);
}

void CPeluxBand::askForDocEvents(IHTMLDocument2* document, const DocumentOrigin& origin) {
    CComPtr<IHTMLDocument2> subject = CComPtr<IHTMLDocument2>::share(document);
    if (!subject) {
        if (!m_spWebBrowser) return;
        CComPtr<IDispatch> current;
        if (FAILED(m_spWebBrowser->get_Document(current.put())) || !current) return;
        subject = current.try_query<IHTMLDocument2>();
        if (!subject) return;
    }
    // Identity is the IUnknown of the document, whatever interface reached us.
    CComPtr<IUnknown> identity = subject.try_query<IUnknown>();
    if (g_documents.isSubscribed(identity.get(), origin)) return;
    // Not under the table's lock: a connection point may call back into this thread.
    const DWORD cookie = advise(subject.get(), kDiidDocumentEvents2, sink());
    g_documents.record(identity.get(), origin, cookie);
}

STDMETHODIMP CPeluxBand::GoogleTranslate() { return S_OK; }

STDMETHODIMP CPeluxBand::GetClassInfo(ITypeInfo** info) {
    return guarded([&] { return typeInfoOf(kClsidPeluxBand, info); });
}

}  // namespace pelux::win32
