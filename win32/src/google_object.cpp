#include "google_object.h"

#include <string>

#include "band/engine.h"
#include "band/settings_values.h"
#include "com_ptr.h"
#include "dialogs.h"
#include "translate/translator.h"
#include "win32_registry.h"
#include "xmlhttp.h"

namespace pelux::win32 {
namespace {

// The text of the argument: the string a string variant holds, any other variant converted to
// one. Reading the string field of a variant of another type would read whatever it holds.
std::optional<std::u16string> argumentText(const VARIANT& txt) {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&txt), 0, VT_BSTR))) return std::nullopt;
    std::u16string out;
    if (text.bstrVal)
        out.assign(reinterpret_cast<const char16_t*>(text.bstrVal), SysStringLen(text.bstrVal));
    VariantClear(&text);
    return out;
}

// "TranslationTimeLimit", in milliseconds ("%d"), shortens or lengthens the wait for the service;
// absent, zero or negative keeps the standard limit. Tests set it, as they cannot wait the full
// limit for a silent service.
std::chrono::milliseconds timeLimitFromSetting(ISettingsKey& key, std::chrono::milliseconds standard) {
    const std::optional<std::u16string> text = readSettingText(key, u"TranslationTimeLimit");
    const std::optional<int32_t> milliseconds = text ? parseDecimalSetting(*text) : std::nullopt;
    return milliseconds && *milliseconds > 0 ? std::chrono::milliseconds(*milliseconds) : standard;
}

}  // namespace

void* CGoogle::findInterface(REFIID riid) {
    if (IsEqualIID(riid, __uuidof(IGoogle)) || IsEqualIID(riid, IID_IDispatch))
        return static_cast<IGoogle*>(this);
    return nullptr;
}

STDMETHODIMP CGoogle::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                             VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    return invokeThroughTypeLibrary(member, flags, params, result, exception, argError);
}

STDMETHODIMP CGoogle::GoogleTranslate(VARIANT txt) {
    return guarded([&] {
        CWin32Notices notices;
        const std::optional<std::u16string> text = argumentText(txt);
        if (!text) {
            notices.showMessage(u"Exception occurred", u"Error");
            return S_OK;
        }
        CXmlHttpRequest http;
        CWin32SettingsKey key;
        TranslationSettings settings = readTranslationSettings(key);
        settings.timeout = timeLimitFromSetting(key, settings.timeout);
        CTranslator translator(http, notices, settings);
        translator.translate(moduleEngine().store(), *text);
        return S_OK;
    });
}

}  // namespace pelux::win32
