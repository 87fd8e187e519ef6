#include "xmlhttp.h"

#include <windows.h>
#include <msxml2.h>

#include <algorithm>
#include <new>
#include <string>

#include "bstr.h"
#include "com_ptr.h"
#include "platform_win32.h"

namespace pelux::win32 {
namespace {

// IXMLHTTPRequest as the object registers it; the import library's symbol is spelt otherwise.
constexpr IID kIidXmlHttpRequest{0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
constexpr LONG kReadyStateComplete = 4;
// The longest single sleep of the wait: short enough that a reply is taken up promptly even
// when its arrival wakes nothing on this thread.
constexpr ULONGLONG kWaitSliceMs = 50;

void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw CHttpRequestError(std::string(what) + " failed");
}

VARIANT missing() {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_ERROR;
    value.scode = DISP_E_PARAMNOTFOUND;
    return value;
}

// A quit request taken from the queue during the wait reaches the host's own loop afterwards,
// with exit code 0 as during a load, whichever way the wait ends.
class CQuitHeldBack {
public:
    ~CQuitHeldBack() {
        if (m_taken) PostQuitMessage(0);
    }
    void pump() {
        if (!dispatchWaitingMessages()) m_taken = true;
    }

private:
    bool m_taken = false;
};

// The object reports its progress through window messages of this thread: they are handled
// while it waits, as a load handles them.
void waitForReply(IXMLHTTPRequest& request, std::chrono::milliseconds limit) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(limit.count());
    CQuitHeldBack quit;
    for (;;) {
        quit.pump();
        LONG state = 0;
        check(request.get_readyState(&state), "readyState");
        if (state == kReadyStateComplete) return;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            request.abort();
            throw CHttpRequestError("no reply within the time limit");
        }
        const auto slice = static_cast<DWORD>(std::min(deadline - now, kWaitSliceMs));
        MsgWaitForMultipleObjectsEx(0, nullptr, slice, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

}  // namespace

HttpReply CXmlHttpRequest::get(const std::string& url, std::chrono::milliseconds timeout) {
    CLSID clsid;
    check(CLSIDFromProgID(L"Msxml2.XMLHTTP", &clsid), "Msxml2.XMLHTTP lookup");
    CComPtr<IUnknown> object;
    check(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IUnknown, object.putVoid()),
          "Msxml2.XMLHTTP creation");
    auto request = object.try_query<IXMLHTTPRequest>(kIidXmlHttpRequest);
    if (!request) throw CHttpRequestError("no IXMLHTTPRequest");
    VARIANT asynchronous;
    VariantInit(&asynchronous);
    asynchronous.vt = VT_BOOL;
    asynchronous.boolVal = VARIANT_TRUE;
    const std::u16string wideUrl(url.begin(), url.end());
    CBstr method(u"GET"), address(wideUrl);
    if (!method.get() || !address.get()) throw std::bad_alloc();
    check(request->open(method.get(), address.get(), asynchronous, missing(), missing()), "open");
    check(request->send(missing()), "send");
    waitForReply(*request.get(), timeout);
    HttpReply reply;
    LONG status = 0;
    check(request->get_status(&status), "status");
    // A request that ended without any reply (no connection, a broken transfer) completes with
    // no HTTP status.
    if (status == 0) throw CHttpRequestError("no reply");
    reply.status = static_cast<int>(status);
    CBstr text;
    check(request->get_responseText(text.put()), "responseText");
    reply.text = text.text();
    return reply;
}

}  // namespace pelux::win32
