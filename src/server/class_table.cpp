#include "server/class_table.h"

namespace pelux {

ScriptVariables registrationVariables(std::u16string_view modulePath,
                                      std::u16string_view friendlyName) {
    return ScriptVariables{
        {u"MODULE", std::u16string(modulePath)},
        {u"MODULETYPE", u"InprocServer32"},
        {u"MODULEGUID", std::u16string(kTypeLibraryId)},
        {u"APPID", u""},
        {u"FriendlyName", std::u16string(friendlyName)},
        {u"BANDCLSID", std::u16string(kPeluxBandClsid)},
        {u"BUTTONID", std::u16string(kToolbarButtonId)},
    };
}

std::u16string classEntryScript(const ClassRow& row) {
    const std::u16string clsid(row.clsid), progId(row.progId),
        independent(row.versionIndependentProgId);
    return u"HKCR\n{\n"
           u"  '" + progId + u"' = s '%FriendlyName%'\n  {\n"
           u"    CLSID = s '" + clsid + u"'\n  }\n"
           u"  '" + independent + u"' = s '%FriendlyName%'\n  {\n"
           u"    CLSID = s '" + clsid + u"'\n"
           u"    CurVer = s '" + progId + u"'\n  }\n"
           u"  NoRemove CLSID\n  {\n"
           u"    ForceRemove '" + clsid + u"' = s '%FriendlyName%'\n    {\n"
           u"      ProgID = s '" + progId + u"'\n"
           u"      VersionIndependentProgID = s '" + independent + u"'\n"
           u"      ForceRemove Programmable\n"
           u"      %MODULETYPE% = s '%MODULE%'\n      {\n"
           u"        val ThreadingModel = s 'apartment'\n      }\n"
           u"      val AppID = s '%APPID%'\n"
           u"      TypeLib = s '%MODULEGUID%'\n    }\n  }\n}\n";
}

}  // namespace pelux
