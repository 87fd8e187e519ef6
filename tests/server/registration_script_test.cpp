#include "server/registration_script.h"

#include <gtest/gtest.h>

#include "fake_registry.h"

namespace pelux {
namespace {

using testing::CFakeRegistry;
constexpr RegistryRoot kCR = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kLM = RegistryRoot::LocalMachine;

const ScriptVariables kVariables{{u"MODULE", u"C:\\Programme\\Pelux\\PeluxBar.dll"},
                                 {u"NAME", u"字典"}};

TEST(RegistrationScript, WritesKeysDefaultValuesAndNamedValuesWithVariablesReplaced) {
    CFakeRegistry registry;
    const auto status = runRegistrationScript(
        u"HKCR { 'Pelux.Test' = s '漢字 %NAME%' { val Path = s '%MODULE%,204' "
        u"Sub { val Percent = s '100%%' val Quote = s 'it''s' } } }",
        kVariables, ScriptMode::Register, registry);
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(registry.has(kCR, u"Pelux.Test\\Sub"));
    EXPECT_EQ(registry.at(kCR, u"Pelux.Test")->at(u""), u"漢字 字典");
    EXPECT_EQ(registry.at(kCR, u"Pelux.Test")->at(u"Path"), u"C:\\Programme\\Pelux\\PeluxBar.dll,204");
    EXPECT_EQ(registry.at(kCR, u"Pelux.Test\\Sub")->at(u"Percent"), u"100%");
    EXPECT_EQ(registry.at(kCR, u"Pelux.Test\\Sub")->at(u"Quote"), u"it's");
}

TEST(RegistrationScript, ReadsBareGuidNamesAsKeysNotBlocks) {
    CFakeRegistry registry;
    ASSERT_EQ(runRegistrationScript(u"HKLM { NoRemove CLSID { {0002DF01-0000-0000-C000-000000000046} "
                                    u"= s 'Browser' { val {ABCDEF01-0000-0000-0000-000000000000} = s 'x' } } }",
                                    kVariables, ScriptMode::Register, registry),
              0);
    const auto* values = registry.at(kLM, u"CLSID\\{0002DF01-0000-0000-C000-000000000046}");
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values->at(u"{ABCDEF01-0000-0000-0000-000000000000}"), u"x");
}

TEST(RegistrationScript, RefusesFaultyScriptsWithoutTouchingTheRegistry) {
    const struct {
        const char* name;
        std::u16string_view script;
    } rows[] = {
        {"unknown root", u"HKCU { Key }"},
        {"missing closing brace", u"HKCR { Key { val A = s 'a' }"},
        {"unknown variable", u"HKCR { Key = s '%NOSUCH%' }"},
        {"unterminated variable", u"HKCR { Key = s '100%' }"},
        {"unterminated quote", u"HKCR { Key = s 'open }"},
        {"value type other than s", u"HKCR { Key = d '1' }"},
        {"named value directly under a root", u"HKCR { val A = s 'a' }"},
        {"mark without a key", u"HKCR { NoRemove }"},
        {"unterminated bare GUID", u"HKCR { {0002DF01 }"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CFakeRegistry registry;
        EXPECT_EQ(runRegistrationScript(row.script, kVariables, ScriptMode::Register, registry),
                  kScriptSyntaxError);
        EXPECT_EQ(registry.operations, 0);
    }
}

TEST(RegistrationScript, ForceRemoveRewritesTheKeyFromScratch) {
    CFakeRegistry registry;
    registry.createKey(kCR, u"CLSID\\{X}\\Stale");
    registry.setValue(kCR, u"CLSID\\{X}", u"Old", u"value");
    ASSERT_EQ(runRegistrationScript(u"HKCR { NoRemove CLSID { ForceRemove '{X}' = s 'New' { Fresh } } }",
                                    kVariables, ScriptMode::Register, registry),
              0);
    EXPECT_FALSE(registry.has(kCR, u"CLSID\\{X}\\Stale"));
    EXPECT_TRUE(registry.has(kCR, u"CLSID\\{X}\\Fresh"));
    EXPECT_EQ(*registry.at(kCR, u"CLSID\\{X}"), (CFakeRegistry::Values{{u"", u"New"}}));
}

TEST(RegistrationScript, UnregisterKeepsNoRemoveKeysAndKeysOthersStillUse) {
    const std::u16string_view script =
        u"HKCR { NoRemove Shared { val Mine = s 'm' Plain { Leaf } ForceRemove Owned { Deep } } }";
    CFakeRegistry registry;
    ASSERT_EQ(runRegistrationScript(script, kVariables, ScriptMode::Register, registry), 0);
    registry.setValue(kCR, u"Shared", u"Theirs", u"t");
    registry.createKey(kCR, u"Shared\\Plain\\Foreign");
    ASSERT_EQ(runRegistrationScript(script, kVariables, ScriptMode::Unregister, registry), 0);
    EXPECT_EQ(*registry.at(kCR, u"Shared"), (CFakeRegistry::Values{{u"Theirs", u"t"}}));
    EXPECT_TRUE(registry.has(kCR, u"Shared\\Plain\\Foreign"));
    EXPECT_FALSE(registry.has(kCR, u"Shared\\Plain\\Leaf"));
    EXPECT_FALSE(registry.has(kCR, u"Shared\\Owned"));
    EXPECT_FALSE(registry.has(kCR, u"Shared\\Owned\\Deep"));
}

TEST(RegistrationScript, UnregisterOfWhatIsAlreadyGoneSucceeds) {
    CFakeRegistry registry;
    EXPECT_EQ(runRegistrationScript(u"HKLM { NoRemove A { val V = s 'v' B { C } ForceRemove D } }",
                                    kVariables, ScriptMode::Unregister, registry),
              0);
    EXPECT_TRUE(registry.keys.empty());
}

TEST(RegistrationScript, RegisterStopsAtTheFirstFailureAndReportsIt) {
    CFakeRegistry registry;
    registry.failCreating = u"a\\b";
    EXPECT_EQ(runRegistrationScript(u"HKCR { A { B { C } } After } HKLM { Later }", kVariables,
                                    ScriptMode::Register, registry),
              registry.failure);
    EXPECT_TRUE(registry.has(kCR, u"A"));
    EXPECT_FALSE(registry.has(kCR, u"After"));
    EXPECT_FALSE(registry.has(kLM, u"Later"));
}

}  // namespace
}  // namespace pelux
