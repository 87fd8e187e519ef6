// The native host over a stream of messages: each line of the input is one message, framed as
// Chromium frames it, and the host answers them all until the input ends. Every reply must be
// a frame of valid JSON within Chromium's limit.
#include <cstring>
#include <string>

#include <nlohmann/json.hpp>

#include "adapters/platform_linux.h"
#include "band/band_settings.h"
#include "band/engine.h"
#include "dictionary/dictionary.h"
#include "host/native_host.h"
#include "support/fuzz_support.h"
#include "support/memory_file.h"
#include "translate/translation_settings.h"

using namespace pelux;
using namespace pelux::fuzzing;

namespace {

CEngine g_engine;

// Nothing listens on port 1: a translation fails at once instead of reaching the network.
constexpr std::u16string_view kUnreachableService = u"http://127.0.0.1:1";

std::string framedLines(std::string_view bytes) {
    std::string stream;
    while (!bytes.empty()) {
        const auto [line, rest] = splitAt(bytes, '\n');
        stream += framed(line);
        bytes = rest;
    }
    return stream;
}

// Each input starts from a fresh process's state: no dictionary, default settings.
void resetProcessState(CMemorySettings& settings) {
    {
        DictionaryLock lock(g_engine.store().mutex());
        g_engine.store().resetForLoad(None);
    }
    readBandSettings(settings, g_engine.settings());
}

void checkReplies(const std::string& output) {
    for (size_t at = 0; at < output.size();) {
        uint32_t length = 0;
        if (output.size() - at < 4) violated("a reply frame is cut short");
        std::memcpy(&length, output.data() + at, 4);
        if (length > kMaxOutboundMessageBytes) violated("a reply is over Chromium's limit");
        if (output.size() - at - 4 < length) violated("a reply's bytes are cut short");
        if (!nlohmann::json::accept(output.substr(at + 4, length))) violated("a reply is not JSON");
        at += 4 + length;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    registerLinuxPlatform();
    CMemorySettings none;
    initEngine(g_engine, none);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemorySettings settings;
    settings.values[std::u16string(kSettingTranslationService)] = kUnreachableService;
    resetProcessState(settings);

    const CMemoryFile input(framedLines(bytesOf(data, size)));
    const CMemoryFile output;
    CNativeChannel channel(input.fd(), output.fd());
    CNativeHost host(g_engine, channel, settings, PELUX_DATA_DIR);
    if (host.run() != 0) violated("the host ended with a failure");
    checkReplies(output.contents());
    return 0;
}
