// The core's pattern contract against the VBScript regular-expression object, and the slot
// order of our declarations of its interfaces against the object's own type information.
#include "vbscript_pattern.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include "support/perl_pattern_contract.h"

namespace pelux::win32 {
namespace {

using ::pelux::contract::PerlPatternContract;
INSTANTIATE_TEST_SUITE_P(Vbscript, PerlPatternContract,
                         ::testing::Values(&createVbscriptPattern));

constexpr GUID kRegExpLibrary{0x3F4DACA0, 0x160D, 0x11D2, {0xA8, 0xE9, 0x00, 0x10, 0x4B, 0x36, 0x5C, 0x9F}};

// The object's own description of the interface; objects that offer none at run time (Wine's)
// are described by the type library registered with them.
ITypeInfo* describe(IDispatch* object, REFIID iid) {
    ITypeInfo* info = nullptr;
    if (SUCCEEDED(object->GetTypeInfo(0, 0, &info)) && info) return info;
    ITypeLib* library = nullptr;
    // Version 5.5 holds the "2" interfaces; Wine embeds it in vbscript.dll without registering it.
    if (FAILED(LoadRegTypeLib(kRegExpLibrary, 5, 5, 0, &library)) &&
        FAILED(LoadTypeLibEx(L"vbscript.dll\\3", REGKIND_NONE, &library)))
        return nullptr;
    library->GetTypeInfoOfGuid(iid, &info);
    library->Release();
    return info;
}

// The byte offset of each named member in the vtable, as the object describes itself.
void expectSlots(IDispatch* object, REFIID iid, const std::vector<std::pair<const wchar_t*, int>>& slots,
                 INVOKEKIND kind) {
    ITypeInfo* info = describe(object, iid);
    ASSERT_TRUE(info != nullptr);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    for (const auto& [name, slot] : slots) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        bool found = false;
        for (UINT i = 0; i < attributes->cFuncs; ++i) {
            FUNCDESC* function = nullptr;
            if (FAILED(info->GetFuncDesc(i, &function))) continue;
            BSTR member = nullptr;
            info->GetDocumentation(function->memid, &member, nullptr, nullptr, nullptr);
            const bool wanted = member && wcscmp(member, name) == 0 &&
                                (function->invkind == kind || function->invkind == INVOKE_FUNC);
            if (wanted) {
                found = true;
                EXPECT_EQ(function->oVft, slot * static_cast<int>(sizeof(void*)));
            }
            SysFreeString(member);
            info->ReleaseFuncDesc(function);
            if (found) break;
        }
        EXPECT_TRUE(found);
    }
    info->ReleaseTypeAttr(attributes);
    info->Release();
}

TEST(VbscriptInterfaces, SlotsFollowTheObjectsTypeInformation) {
    IRegExp2* regExp = nullptr;
    ASSERT_EQ(CoCreateInstance(kClsidRegExp, nullptr, CLSCTX_INPROC_SERVER, kIidRegExp2,
                               reinterpret_cast<void**>(&regExp)),
              S_OK);
    expectSlots(regExp, kIidRegExp2, {{L"Pattern", 7}, {L"IgnoreCase", 9}, {L"Global", 11}, {L"Multiline", 13}}, INVOKE_PROPERTYGET);
    expectSlots(regExp, kIidRegExp2, {{L"Execute", 15}, {L"Test", 16}, {L"Replace", 17}}, INVOKE_FUNC);
    BSTR pattern = SysAllocString(L"(a)(b)?");
    BSTR text = SysAllocString(L"a");
    regExp->put_Pattern(pattern);
    IDispatch* result = nullptr;
    ASSERT_EQ(regExp->Execute(text, &result), S_OK);
    IMatchCollection2* matches = nullptr;
    ASSERT_EQ(result->QueryInterface(kIidMatchCollection2, reinterpret_cast<void**>(&matches)), S_OK);
    expectSlots(matches, kIidMatchCollection2, {{L"Item", 7}, {L"Count", 8}}, INVOKE_PROPERTYGET);
    IDispatch* item = nullptr;
    ASSERT_EQ(matches->get_Item(0, &item), S_OK);
    IMatch2* match = nullptr;
    ASSERT_EQ(item->QueryInterface(kIidMatch2, reinterpret_cast<void**>(&match)), S_OK);
    expectSlots(match, kIidMatch2, {{L"Value", 7}, {L"FirstIndex", 8}, {L"Length", 9}, {L"SubMatches", 10}}, INVOKE_PROPERTYGET);
    IDispatch* groups = nullptr;
    ASSERT_EQ(match->get_SubMatches(&groups), S_OK);
    ISubMatches* subMatches = nullptr;
    ASSERT_EQ(groups->QueryInterface(kIidSubMatches, reinterpret_cast<void**>(&subMatches)), S_OK);
    expectSlots(subMatches, kIidSubMatches, {{L"Item", 7}, {L"Count", 8}}, INVOKE_PROPERTYGET);
    subMatches->Release();
    groups->Release();
    match->Release();
    item->Release();
    matches->Release();
    result->Release();
    SysFreeString(pattern);
    SysFreeString(text);
    regExp->Release();
}

}  // namespace
}  // namespace pelux::win32

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
