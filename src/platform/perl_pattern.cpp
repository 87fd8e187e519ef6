#include "platform/perl_pattern.h"

#include <atomic>

namespace pelux {

namespace {
std::atomic<PerlPatternFactory> g_factory{nullptr};
}

void setPerlPatternFactory(PerlPatternFactory factory) { g_factory.store(factory); }

std::unique_ptr<IPerlPattern> createPerlPattern() {
    PerlPatternFactory factory = g_factory.load();
    if (!factory) throw CPatternError(-1, "no pattern object factory registered");
    std::unique_ptr<IPerlPattern> object = factory();
    if (!object) throw CPatternError(-1, "the pattern object could not be created");
    return object;
}

std::unique_ptr<IPerlPattern> createPerlPattern(std::u16string_view pattern, bool global) {
    std::unique_ptr<IPerlPattern> object = createPerlPattern();
    object->setPattern(pattern);
    object->setGlobal(global);
    return object;
}

}  // namespace pelux
