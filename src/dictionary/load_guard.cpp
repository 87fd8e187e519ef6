#include "dictionary/load_guard.h"

namespace pelux {

namespace {
constexpr unsigned kCommandBit = 1;
constexpr unsigned kLoaderBit = 2;

unsigned bitOf(CLoadGuard::Entry entry) { return entry == CLoadGuard::Entry::Command ? kCommandBit : kLoaderBit; }
}  // namespace

CLoadGuard::CLoadGuard(CLoadState& state, Entry entry) : m_state(state) {
    const unsigned bit = bitOf(entry);
    unsigned running = m_state.m_running.load();
    do {
        if (entry == Entry::Command ? running != 0 : (running & kLoaderBit) != 0) return;
    } while (!m_state.m_running.compare_exchange_weak(running, running | bit));
    m_held = bit;
}

CLoadGuard::~CLoadGuard() {
    if (m_held) m_state.m_running.fetch_and(~m_held);
}

}  // namespace pelux
