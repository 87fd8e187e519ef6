// Writes extension/generated/constants.js from src/contract/extension_contract.h, so that the
// extension acts on the very values the core does. With a path, writes that file; else stdout.
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "contract/extension_contract.h"

namespace {

std::string quoted(const std::string& text) { return nlohmann::json(text).dump(); }

std::string constantsScript() {
    std::ostringstream out;
    out << "// Written by the build from src/contract/extension_contract.h "
           "(scripts/write_extension_constants.cpp):\n"
           "// change the header, not this file.\n"
           "'use strict';\n\n"
           "globalThis.PeluxConstants = Object.freeze({\n"
           "  // The reader's switches, in the options page's order, each with the text of its box.\n"
           "  READER_SWITCHES: Object.freeze([\n";
#define PELUX_SWITCH_LINE(name, field, text) \
    out << "    Object.freeze({ name: " << quoted(#name) << ", explain: " << quoted(text) << " }),\n";
    PELUX_READER_SWITCHES(PELUX_SWITCH_LINE)
#undef PELUX_SWITCH_LINE
    out << "  ]),\n"
        << "  COMMAND_BIGGER: " << pelux::kCommandBandBigger << ",\n"
        << "  COMMAND_SMALLER: " << pelux::kCommandBandSmaller << ",\n"
        << "  MAX_TRANSLATE_BYTES: " << pelux::kMaxQueryTextBytes << ",\n"
        << "  MAX_CAPTURED_UNITS: " << pelux::kMaxCapturedUnits << ",\n"
        << "  LAST_ENGLISH_ROAD_CHAR: " << static_cast<unsigned>(pelux::kLastEnglishRoadChar) << ",\n"
        << "});\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string script = constantsScript();
    if (argc < 2) {
        std::cout << script;
        return std::cout ? 0 : 1;
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << script;
    file.close();
    if (!file) {
        std::cerr << "write_extension_constants: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
