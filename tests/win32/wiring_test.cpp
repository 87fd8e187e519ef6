// Siting with a browser, document subscriptions through DocumentComplete, and mouse moves that
// end in the band's text and the element's title.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include "check.h"
#include "fake_dom.h"
#include "component_host.h"

namespace pelux::wintest {
namespace {

struct SitedBand {
    HWND host = createHostWindow(600, 40);
    IUnknown* unknown = createBand();
    IDispatch* dispatch = nullptr;
    IDockingWindow* docking = nullptr;
    dom::Browser* browser;

    explicit SitedBand(dom::Page* shown) : browser(dom::newBrowser(shown)) {
        unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        unknown->QueryInterface(IID_IDockingWindow, reinterpret_cast<void**>(&docking));
        IObjectWithSite* withSite = nullptr;
        unknown->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(&withSite));
        IUnknown* site = createSite(host, {.browser = static_cast<IUnknown*>(dom::browserObject(browser))});
        CHECK_EQ(withSite->SetSite(site), S_OK);
        site->Release();
        withSite->Release();
    }
    ~SitedBand() {
        docking->Release();
        dispatch->Release();
        unknown->Release();
        DestroyWindow(host);
    }
    HWND window() const {
        HWND out = nullptr;
        IOleWindow* ole = nullptr;
        unknown->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&ole));
        ole->GetWindow(&out);
        ole->Release();
        return out;
    }
    std::wstring text() const {
        wchar_t buffer[1024] = L"";
        GetWindowTextW(FindWindowExW(window(), nullptr, L"Pelux Edit", nullptr), buffer, 1024);
        return buffer;
    }
    HRESULT documentComplete(dom::Browser* frame) {
        VARIANT arguments[2];
        VariantInit(&arguments[0]);  // the address, unused
        VariantInit(&arguments[1]);
        arguments[1].vt = VT_DISPATCH;
        arguments[1].pdispVal = static_cast<IDispatch*>(dom::browserObject(frame));
        DISPPARAMS params{arguments, nullptr, 2, 0};
        return dispatch->Invoke(259, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    HRESULT beforeNavigate(dom::Browser* frame) {
        VARIANT arguments[7];  // the frame is the first parameter, so the last element
        for (VARIANT& argument : arguments) VariantInit(&argument);
        arguments[6].vt = VT_DISPATCH;
        arguments[6].pdispVal = static_cast<IDispatch*>(dom::browserObject(frame));
        DISPPARAMS params{arguments, nullptr, 7, 0};
        return dispatch->Invoke(250, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
    // Through `target` when given, as the document delivers its events to its subscriber.
    HRESULT mouseMove(dom::Page* page, int x, int y, IDispatch* target = nullptr) {
        VARIANT argument;
        VariantInit(&argument);
        argument.vt = VT_DISPATCH;
        argument.pdispVal = static_cast<IDispatch*>(dom::newMouseEvent(page, x, y));
        DISPPARAMS params{&argument, nullptr, 1, 0};
        return (target ? target : dispatch)
            ->Invoke(-606, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    }
};

WIN_TEST(SitingSubscribesToTheBrowserAndItsPage) {
    dom::Page* page = dom::newPage(L"\x6211\x4EEC\x5B66\x4E60\x4E2D\x6587\x3002");
    SitedBand band(page);
    CHECK_EQ(dom::browserAdvises(band.browser), 1);
    CHECK(dom::browserSink(band.browser) == band.dispatch);
    CHECK_EQ(dom::documentAdvises(page), 1);
    CHECK(dom::documentSink(page) == band.dispatch);
}

WIN_TEST(EachDocumentIsSubscribedOnceWhateverTheFrames) {
    dom::Page* top = dom::newPage(L"top");
    dom::Page* left = dom::newPage(L"left");
    dom::Page* right = dom::newPage(L"right");
    SitedBand band(nullptr);  // nothing shown yet
    dom::Browser* leftFrame = dom::newBrowser(left);
    dom::Browser* rightFrame = dom::newBrowser(right);
    dom::show(band.browser, top);
    CHECK_EQ(band.documentComplete(leftFrame), S_OK);
    CHECK_EQ(band.documentComplete(rightFrame), S_OK);
    CHECK_EQ(band.documentComplete(band.browser), S_OK);
    CHECK_EQ(band.documentComplete(leftFrame), S_OK);  // again: already subscribed
    for (dom::Page* page : {top, left, right}) CHECK_EQ(dom::documentAdvises(page), 1);
}

// Documents of a new page, top-level or in frames, that take the addresses of the old page's
// documents are subscribed afresh; the old ones, gone, are never called; a navigation, a
// closed band and another browser's page change no subscription.
WIN_TEST(DocumentsAtReusedAddressesAreSubscribedAfresh) {
    dom::Page* top = dom::newPage(L"first page");
    dom::Page* goneFrame = dom::newPage(L"old frame");
    dom::Page* reusedFrame = dom::newPage(L"old frame too");
    SitedBand band(top);
    dom::Page* elsewhere = dom::newPage(L"another browser");
    SitedBand bystander(elsewhere);
    dom::Browser* oldFrames[] = {dom::newBrowser(goneFrame), dom::newBrowser(reusedFrame)};
    for (dom::Browser* frame : oldFrames) band.documentComplete(frame);
    band.documentComplete(band.browser);

    CHECK_EQ(band.beforeNavigate(band.browser), S_OK);
    for (dom::Page* page : {top, goneFrame, reusedFrame}) CHECK_EQ(dom::documentAdvises(page), 1);
    dom::retire(goneFrame);
    dom::replaceDocument(top, L"\x4E2D\x6587\x3002");  // found whichever dictionary is loaded
    dom::replaceDocument(reusedFrame, L"new frame");
    dom::Browser* newFrame = dom::newBrowser(reusedFrame);
    band.documentComplete(newFrame);  // frames complete before their page
    band.documentComplete(band.browser);
    band.documentComplete(newFrame);  // again: the new page's frame kept its entry
    CHECK_EQ(dom::documentAdvises(top), 1);
    CHECK_EQ(dom::documentAdvises(reusedFrame), 1);
    CHECK_EQ(dom::callsAfterRetirement(goneFrame), 0);

    // A frame navigating on its own, its new document at the old one's address.
    band.beforeNavigate(newFrame);
    dom::replaceDocument(reusedFrame, L"next frame");
    band.documentComplete(newFrame);
    CHECK_EQ(dom::documentAdvises(reusedFrame), 1);

    // The second page's events reach the band through its new subscription.
    band.docking->ShowDW(TRUE);
    SetWindowTextW(FindWindowExW(band.window(), nullptr, L"Pelux Edit", nullptr), L"");
    auto* sink = static_cast<IDispatch*>(dom::documentSink(top));
    CHECK(sink == band.dispatch);
    if (sink) CHECK_EQ(band.mouseMove(top, 5, 5, sink), S_OK);
    CHECK(!band.text().empty());

    bystander.docking->CloseDW(0);
    bystander.documentComplete(bystander.browser);
    band.docking->CloseDW(0);
    band.documentComplete(band.browser);
    CHECK_EQ(dom::documentAdvises(top), 1);
    CHECK_EQ(dom::documentAdvises(elsewhere), 1);
    clearSettings();
}

WIN_TEST(MouseMovesShowTheTranslationAndTheTitle) {
    dom::Page* chinese = dom::newPage(L"\x6211\x4EEC\x5B66\x4E60\x4E2D\x6587\x3002\x5F88\x597D\x3002");
    dom::Page* english = dom::newPage(L"I like dogs. They bark.");
    SitedBand band(chinese);
    band.docking->ShowDW(TRUE);

    CHECK_EQ(band.mouseMove(chinese, 45, 7), S_OK);
    CHECK_EQ(band.text(), std::wstring(L"<---- Please load dictionary for this window.    45 7"));

    SendMessageW(band.window(), WM_COMMAND, 32772, 0);  // the bundled dictionary, beside the DLL
    writeSetting(L"UseToolTips", L"0");

    CHECK_EQ(band.mouseMove(chinese, 45, 7), S_OK);  // on the fifth character, 中
    const std::wstring zhongwen = L"\x4E2D\x6587 \x4E2D\x6587 [Zh\x014Dng w\x00E9n] /Chinese language/Chinese writing/";
    CHECK_EQ(band.text().substr(0, zhongwen.size()), zhongwen);
    CHECK(dom::titleOf(chinese).empty());

    SendMessageW(band.window(), WM_COMMAND, 32795, 0);  // tooltips on
    CHECK_EQ(band.mouseMove(english, 85, 3), S_OK);     // "dogs"
    CHECK(band.text().find(L"/dog/") != std::wstring::npos);
    CHECK(dom::titleOf(english).find(L"\x72D7") != std::wstring::npos);

    const std::wstring before = band.text();
    band.docking->ShowDW(FALSE);
    CHECK_EQ(band.mouseMove(chinese, 45, 7), S_OK);
    CHECK_EQ(band.text(), before);  // a hidden band does nothing
    SendMessageW(band.window(), WM_COMMAND, 32795, 0);
    clearSettings();
}

}  // namespace
}  // namespace pelux::wintest
