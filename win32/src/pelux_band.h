// CPeluxBand: the toolbar band the browser hosts, and the sink of its events.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>
#include <ocidl.h>
#include <docobj.h>
#include <shlobj.h>

#include "band_window.h"
#include "com_ptr.h"
#include "identifiers.h"
#include "module.h"
#include "type_library_dispatch.h"

namespace pelux::win32 {

struct DocumentOrigin;

class CPeluxBand final : public CComObject,
                         public IDeskBand,
                         public IObjectWithSite,
                         public IInputObject,
                         public IOleCommandTarget,
                         public CTypeLibraryDispatch<IPeluxBand>,
                         public IProvideClassInfo {
public:
    explicit CPeluxBand(IUnknown* outer);

    PELUX_FORWARD_IUNKNOWN

    // IDeskBand (with IOleWindow and IDockingWindow)
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL fEnterMode) override;
    STDMETHODIMP ShowDW(BOOL fShow) override;
    STDMETHODIMP CloseDW(DWORD dwReserved) override;
    STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* site, BOOL reserved) override;
    STDMETHODIMP GetBandInfo(DWORD dwBandID, DWORD dwViewMode, DESKBANDINFO* pdbi) override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID riid, void** ppvSite) override;

    // IInputObject
    STDMETHODIMP UIActivateIO(BOOL activate, MSG* msg) override;
    STDMETHODIMP HasFocusIO() override;
    STDMETHODIMP TranslateAcceleratorIO(MSG* msg) override;

    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID* group, ULONG cCmds, OLECMD* prgCmds,
                             OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD option, VARIANT* in,
                      VARIANT* out) override;

    // IPeluxBand (dual: IDispatch first, its other methods from CTypeLibraryDispatch)
    STDMETHODIMP Invoke(DISPID member, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        VARIANT* result, EXCEPINFO* exception, UINT* argError) override;
    STDMETHODIMP GoogleTranslate() override;

    // IProvideClassInfo
    STDMETHODIMP GetClassInfo(ITypeInfo** info) override;

protected:
    ~CPeluxBand() override;
    void* findInterface(REFIID riid) override;

private:
    HRESULT siteBand(IUnknown* site);
    DocumentOrigin originOf(IUnknown* browser) const;
    void onBeforeNavigate(IUnknown* browser);
    void onDocumentComplete(IUnknown* browser);
    // `document` null: the document the browser shows.
    void askForDocEvents(IHTMLDocument2* document, const DocumentOrigin& origin);
    IDispatch* sink() { return static_cast<IPeluxBand*>(this); }

    DWORD m_dwBandID = 0;
    DWORD m_dwViewMode = 0;
    BOOL m_bEnterHelpMode = FALSE;
    BOOL m_bShow = FALSE;
    HWND m_hwndParent = nullptr;
    CBandWindow m_wnd;
    CComPtr<IInputObjectSite> m_spInputObjectSite;
    CComPtr<IWebBrowser2> m_spWebBrowser;
};

}  // namespace pelux::win32
