#include "server/class_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fake_registry.h"

namespace pelux {
namespace {

using testing::CFakeRegistry;
constexpr RegistryRoot kCR = RegistryRoot::ClassesRoot;
constexpr RegistryRoot kLM = RegistryRoot::LocalMachine;
const std::u16string kModule = u"C:\\Program Files\\PeluxBar\\PeluxBar.dll";

std::u16string componentScript() {
    std::ifstream in(PELUX_SOURCE_DIR "/win32/PeluxBar.rgs", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string ascii = bytes.str();
    return std::u16string(ascii.begin(), ascii.end());
}

int32_t runComponentScript(ScriptMode mode, CFakeRegistry& registry) {
    return runRegistrationScript(componentScript(), registrationVariables(kModule, u""), mode,
                                 registry);
}

int32_t runClassScripts(ScriptMode mode, CFakeRegistry& registry) {
    for (const ClassRow& row : kClassTable) {
        const int32_t status = runRegistrationScript(
            classEntryScript(row), registrationVariables(kModule, row.description), mode, registry);
        if (status != 0) return status;
    }
    return 0;
}

TEST(ComponentScript, ListsTheBandAsToolbarAndAddsItsButton) {
    CFakeRegistry registry;
    ASSERT_EQ(runComponentScript(ScriptMode::Register, registry), 0);
    EXPECT_EQ(registry.at(kCR, u"AppID\\PeluxBar.DLL")->at(u"AppID"), u"et todo too?");
    const std::u16string ie = u"Software\\Microsoft\\Internet Explorer\\";
    EXPECT_EQ(registry.at(kLM, ie + u"Toolbar")->at(std::u16string(kPeluxBandClsid)), u"PeluxBar");
    const CFakeRegistry::Values button{
        {u"", u"PeluxBar Button"},
        {u"Default Visible", u"Yes"},
        {u"ButtonText", u"PeluxBar"},
        {u"HotIcon", kModule + u",204"},
        {u"Icon", kModule + u",204"},
        {u"CLSID", u"{E0DD6CAB-2D10-11D2-8F1A-0000F87ABD16}"},
        {u"BandCLSID", std::u16string(kPeluxBandClsid)},
    };
    const auto* written = registry.at(kLM, ie + u"Extensions\\" + std::u16string(kToolbarButtonId));
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(*written, button);
}

TEST(ComponentScript, UnregisterRemovesOnlyOurEntries) {
    CFakeRegistry registry;
    const std::u16string ie = u"Software\\Microsoft\\Internet Explorer\\";
    registry.createKey(kLM, ie + u"Toolbar");
    registry.setValue(kLM, ie + u"Toolbar", u"{OTHER}", u"Another toolbar");
    ASSERT_EQ(runComponentScript(ScriptMode::Register, registry), 0);
    ASSERT_EQ(runComponentScript(ScriptMode::Unregister, registry), 0);
    EXPECT_FALSE(registry.has(kCR, u"AppID\\PeluxBar.DLL"));
    EXPECT_TRUE(registry.has(kCR, u"AppID"));
    EXPECT_EQ(*registry.at(kLM, ie + u"Toolbar"),
              (CFakeRegistry::Values{{u"{OTHER}", u"Another toolbar"}}));
    EXPECT_FALSE(registry.has(kLM, ie + u"Extensions\\" + std::u16string(kToolbarButtonId)));
    EXPECT_TRUE(registry.has(kLM, ie + u"Extensions"));
}

TEST(ClassEntries, WriteBothProgIdsAndTheClassKeyOfEachClass) {
    CFakeRegistry registry;
    ASSERT_EQ(runClassScripts(ScriptMode::Register, registry), 0);
    for (const ClassRow& row : kClassTable) {
        const std::u16string clsid(row.clsid), progId(row.progId),
            independent(row.versionIndependentProgId), description(row.description);
        SCOPED_TRACE(std::string(progId.begin(), progId.end()));
        EXPECT_EQ(registry.at(kCR, progId)->at(u""), description);
        EXPECT_EQ(registry.at(kCR, progId + u"\\CLSID")->at(u""), clsid);
        EXPECT_EQ(registry.at(kCR, independent)->at(u""), description);
        EXPECT_EQ(registry.at(kCR, independent + u"\\CLSID")->at(u""), clsid);
        EXPECT_EQ(registry.at(kCR, independent + u"\\CurVer")->at(u""), progId);
        const std::u16string key = u"CLSID\\" + clsid;
        EXPECT_EQ(*registry.at(kCR, key), (CFakeRegistry::Values{{u"", description}, {u"AppID", u""}}));
        EXPECT_EQ(registry.at(kCR, key + u"\\ProgID")->at(u""), progId);
        EXPECT_EQ(registry.at(kCR, key + u"\\VersionIndependentProgID")->at(u""), independent);
        EXPECT_TRUE(registry.at(kCR, key + u"\\Programmable")->empty());
        EXPECT_EQ(*registry.at(kCR, key + u"\\InprocServer32"),
                  (CFakeRegistry::Values{{u"", kModule}, {u"ThreadingModel", u"apartment"}}));
        EXPECT_EQ(registry.at(kCR, key + u"\\TypeLib")->at(u""), std::u16string(kTypeLibraryId));
    }
}

TEST(ClassEntries, UnregisterLeavesTheClassesRootAsOthersUseIt) {
    CFakeRegistry registry;
    registry.createKey(kCR, u"CLSID\\{OTHER}");
    ASSERT_EQ(runClassScripts(ScriptMode::Register, registry), 0);
    ASSERT_EQ(runClassScripts(ScriptMode::Unregister, registry), 0);
    std::vector<std::u16string> left;
    for (const auto& [key, values] : registry.keys) left.push_back(key.second);
    EXPECT_EQ(left, (std::vector<std::u16string>{u"clsid", u"clsid\\{other}"}));
}

}  // namespace
}  // namespace pelux
