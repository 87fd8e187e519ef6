#define PCRE2_CODE_UNIT_WIDTH 16
#include "adapters/pcre2_pattern.h"

#include <pcre2.h>

#include <string>
#include <vector>

namespace pelux {

namespace {

constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
// A repeated group takes about 20 bytes of JIT stack per repetition, so this covers runs of
// some three million code units; the pages are only touched as deep as a match goes.
constexpr PCRE2_SIZE kJitStackMax = 64 * 1024 * 1024;

std::string errorText(int code, const char* context) {
    PCRE2_UCHAR16 buffer[256];
    std::string text = context;
    if (pcre2_get_error_message(code, buffer, sizeof buffer / sizeof buffer[0]) > 0) {
        text += ": ";
        for (const PCRE2_UCHAR16* c = buffer; *c; ++c) text.push_back(*c < 0x80 ? char(*c) : '?');
    }
    return text;
}

class CPcre2Pattern final : public IPerlPattern {
public:
    CPcre2Pattern();
    ~CPcre2Pattern() override;
    CPcre2Pattern(const CPcre2Pattern&) = delete;
    CPcre2Pattern& operator=(const CPcre2Pattern&) = delete;

    void setPattern(std::u16string_view pattern) override;
    void setGlobal(bool global) override { m_global = global; }
    const std::vector<PerlMatch>& execute(std::u16string_view text) override;

private:
    void release();
    PerlMatch& nextMatch();
    void trimMatches();
    void record(std::u16string_view text);

    pcre2_compile_context* m_compileContext = nullptr;
    pcre2_match_context* m_matchContext = nullptr;
    pcre2_jit_stack* m_jitStack = nullptr;
    pcre2_code* m_code = nullptr;
    pcre2_match_data* m_matchData = nullptr;
    uint32_t m_groupCount = 0;
    bool m_global = false;
    std::vector<PerlMatch> m_matches;
    std::size_t m_used = 0;
    std::vector<std::vector<std::u16string_view>> m_spareGroups;
};

CPcre2Pattern::CPcre2Pattern() {
    m_compileContext = pcre2_compile_context_create(nullptr);
    m_matchContext = pcre2_match_context_create(nullptr);
    if (!m_compileContext || !m_matchContext) {
        release();
        throw CPatternError(PCRE2_ERROR_NOMEMORY, "pattern object: out of memory");
    }
    // The line feed alone ends a line, so "." still takes a carriage return.
    pcre2_set_newline(m_compileContext, PCRE2_NEWLINE_LF);
    m_jitStack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
    if (m_jitStack) pcre2_jit_stack_assign(m_matchContext, nullptr, m_jitStack);
    setPattern(u"");
}

CPcre2Pattern::~CPcre2Pattern() { release(); }

void CPcre2Pattern::release() {
    pcre2_match_data_free(m_matchData);
    pcre2_code_free(m_code);
    pcre2_jit_stack_free(m_jitStack);
    pcre2_match_context_free(m_matchContext);
    pcre2_compile_context_free(m_compileContext);
    m_matchData = nullptr;
    m_code = nullptr;
    m_jitStack = nullptr;
    m_matchContext = nullptr;
    m_compileContext = nullptr;
}

void CPcre2Pattern::setPattern(std::u16string_view pattern) {
    static const char16_t kEmpty = 0;
    const char16_t* units = pattern.empty() ? &kEmpty : pattern.data();
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(units), pattern.size(), PCRE2_DOLLAR_ENDONLY,
                                     &error, &errorOffset, m_compileContext);
    if (!code) throw CPatternError(error, errorText(error, "pattern does not compile").c_str());
    pcre2_match_data* matchData = pcre2_match_data_create_from_pattern(code, nullptr);
    if (!matchData) {
        pcre2_code_free(code);
        throw CPatternError(PCRE2_ERROR_NOMEMORY, "pattern object: out of memory");
    }
    // Where JIT is not available the interpreter gives the same results, only slower.
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
    pcre2_match_data_free(m_matchData);
    pcre2_code_free(m_code);
    m_code = code;
    m_matchData = matchData;
    pcre2_pattern_info(m_code, PCRE2_INFO_CAPTURECOUNT, &m_groupCount);
}

// Match records are reused from one execute to the next, so a steady stream of lines costs no
// allocation once the largest match count has been seen.
PerlMatch& CPcre2Pattern::nextMatch() {
    if (m_used == m_matches.size()) {
        m_matches.emplace_back();
        if (!m_spareGroups.empty()) {
            m_matches.back().subMatches = std::move(m_spareGroups.back());
            m_spareGroups.pop_back();
        }
    }
    return m_matches[m_used++];
}

void CPcre2Pattern::trimMatches() {
    while (m_matches.size() > m_used) {
        m_spareGroups.push_back(std::move(m_matches.back().subMatches));
        m_matches.pop_back();
    }
}

void CPcre2Pattern::record(std::u16string_view text) {
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_matchData);
    PerlMatch& match = nextMatch();
    match.value = text.substr(ovector[0], ovector[1] - ovector[0]);
    match.subMatches.resize(m_groupCount);
    for (uint32_t group = 1; group <= m_groupCount; ++group) {
        const PCRE2_SIZE start = ovector[2 * group];
        const PCRE2_SIZE end = ovector[2 * group + 1];
        match.subMatches[group - 1] =
            start == PCRE2_UNSET ? std::u16string_view() : text.substr(start, end - start);
    }
}

const std::vector<PerlMatch>& CPcre2Pattern::execute(std::u16string_view text) {
    static const char16_t kEmpty = 0;
    const char16_t* units = text.empty() ? &kEmpty : text.data();
    const PCRE2_SPTR subject = reinterpret_cast<PCRE2_SPTR>(units);
    m_used = 0;
    PCRE2_SIZE start = 0;
    while (start <= text.size()) {
        int rc = pcre2_match(m_code, subject, text.size(), start, 0, m_matchData, m_matchContext);
        // The JIT keeps one frame per repetition on its own stack, which a long enough run
        // outgrows; the interpreter keeps them on the heap and finds the same match.
        if (rc == PCRE2_ERROR_JIT_STACKLIMIT) {
            rc = pcre2_match(m_code, subject, text.size(), start, PCRE2_NO_JIT, m_matchData, m_matchContext);
        }
        if (rc == PCRE2_ERROR_NOMATCH) break;
        if (rc < 0) {
            m_used = 0;
            trimMatches();
            throw CPatternError(rc, errorText(rc, "pattern match failed").c_str());
        }
        record(text);
        if (!m_global) break;
        const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(m_matchData);
        // An empty match moves the search on by one character, so a global search always ends.
        const PCRE2_SIZE next = ovector[1] > ovector[0] ? ovector[1] : ovector[0] + 1;
        start = next > start ? next : start + 1;
    }
    trimMatches();
    return m_matches;
}

}  // namespace

std::unique_ptr<IPerlPattern> createPcre2Pattern() { return std::make_unique<CPcre2Pattern>(); }

}  // namespace pelux
