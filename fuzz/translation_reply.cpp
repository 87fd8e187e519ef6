// The translation service's reply: its body decoded as the Linux request decodes it (the first
// byte of the input chooses the content type), then the translation picked out of it.
#include <string>

#include "adapters/http_curl.h"
#include "support/fuzz_support.h"
#include "translate/translation_request.h"

using namespace pelux;
using namespace pelux::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view contentType = data[0] & 1 ? "text/html; charset=ISO-8859-1" : "text/html; charset=utf-8";
    const std::u16string reply = decodeReplyText(bytesOf(data + 1, size - 1), contentType);
    const std::u16string translation = extractTranslation(reply);
    if (!translation.empty() && reply.find(translation) == std::u16string::npos)
        violated("the translation is not a part of the reply");
    return 0;
}
