#include "dictionary/load_guard.h"

#include <atomic>

namespace pelux {

namespace {
constexpr unsigned kCommandBit = 1;
constexpr unsigned kLoaderBit = 2;
// Atomic so that isLoadRunning may be asked from any thread without the store's lock.
std::atomic<unsigned> g_running{0};

unsigned bitOf(CLoadGuard::Entry entry) { return entry == CLoadGuard::Entry::Command ? kCommandBit : kLoaderBit; }
}  // namespace

CLoadGuard::CLoadGuard(Entry entry) {
    const unsigned bit = bitOf(entry);
    unsigned state = g_running.load();
    do {
        if (entry == Entry::Command ? state != 0 : (state & kLoaderBit) != 0) return;
    } while (!g_running.compare_exchange_weak(state, state | bit));
    m_held = bit;
}

CLoadGuard::~CLoadGuard() {
    if (m_held) g_running.fetch_and(~m_held);
}

bool isLoadRunning() { return g_running.load() != 0; }

}  // namespace pelux
