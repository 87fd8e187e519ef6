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

namespace pelux::win32 {

class CPeluxBand final : public ComObject,
                         public IDeskBand,
                         public IObjectWithSite,
                         public IInputObject,
                         public IOleCommandTarget,
                         public IPeluxBand,
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

    // IPeluxBand (dual: IDispatch first)
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid,
                               DISPID* ids) override;
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
    void onDocumentComplete(const VARIANT& browser);
    void askForDocEvents(IHTMLDocument2* document);
    IDispatch* sink() { return static_cast<IPeluxBand*>(this); }

    DWORD m_dwBandID = 0;
    DWORD m_dwViewMode = 0;
    BOOL m_bEnterHelpMode = FALSE;
    BOOL m_bShow = FALSE;
    HWND m_hwndParent = nullptr;
    CBandWindow m_wnd;
    ComPtr<IInputObjectSite> m_spInputObjectSite;
    ComPtr<IWebBrowser2> m_spWebBrowser;
};

// The type information of the component's type library for guid (an interface or a class).
HRESULT typeInfoOf(REFGUID guid, ITypeInfo** info);

}  // namespace pelux::win32
