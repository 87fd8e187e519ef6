#include "xmlhttp.h"

#include <windows.h>
#include <msxml2.h>

#include <new>
#include <string>

#include "bstr.h"
#include "com_ptr.h"
#include "dialogs.h"

namespace pelux::win32 {
namespace {

// IXMLHTTPRequest as the object registers it; the import library's symbol is spelt otherwise.
constexpr IID kIidXmlHttpRequest{0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};

void check(HRESULT hr, const char* what) {
    if (FAILED(hr)) throw HttpRequestError(std::string(what) + " failed");
}

VARIANT missing() {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_ERROR;
    value.scode = DISP_E_PARAMNOTFOUND;
    return value;
}

}  // namespace

HttpReply XmlHttpRequest::get(const std::string& url, std::chrono::milliseconds) {
    CLSID clsid;
    check(CLSIDFromProgID(L"Msxml2.XMLHTTP", &clsid), "Msxml2.XMLHTTP lookup");
    ComPtr<IUnknown> object;
    check(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IUnknown, object.putVoid()),
          "Msxml2.XMLHTTP creation");
    ComPtr<IXMLHTTPRequest> request;
    check(object->QueryInterface(kIidXmlHttpRequest, request.putVoid()), "IXMLHTTPRequest");
    if (!request) throw HttpRequestError("no IXMLHTTPRequest");
    VARIANT synchronous;
    VariantInit(&synchronous);
    synchronous.vt = VT_BOOL;
    synchronous.boolVal = VARIANT_FALSE;
    const std::u16string wideUrl(url.begin(), url.end());
    Bstr method(u"GET"), address(wideUrl);
    if (!method.get() || !address.get()) throw std::bad_alloc();
    check(request->open(method.get(), address.get(), synchronous, missing(), missing()), "open");
    check(request->send(missing()), "send");
    HttpReply reply;
    LONG status = 0;
    if (SUCCEEDED(request->get_status(&status))) reply.status = static_cast<int>(status);
    BSTR text = nullptr;
    check(request->get_responseText(&text), "responseText");
    if (text) {
        reply.text.assign(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
        SysFreeString(text);
    }
    return reply;
}

void Win32Notices::showMessage(std::u16string_view text, std::u16string_view caption) {
    const std::wstring body(text.begin(), text.end()), title(caption.begin(), caption.end());
    MessageBoxW(nullptr, body.c_str(), title.c_str(), MB_OK);
}

void Win32Notices::showTranslation(std::u16string_view text) {
    showTranslationDialog(std::wstring(text.begin(), text.end()));
}

}  // namespace pelux::win32
