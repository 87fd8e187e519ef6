// The Perl-style pattern object: a port that each platform fills with its own regular-expression
// object (PCRE2 on Linux, the VBScript object on Windows).
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace pelux {

// Raised by every failing call of a pattern object; `status` is the platform's failure code.
class CPatternError : public std::runtime_error {
public:
    CPatternError(int32_t status, const char* what) : std::runtime_error(what), m_status(status) {}
    int32_t status() const { return m_status; }

private:
    int32_t m_status;
};

struct PerlMatch {
    std::u16string_view value;
    // Capture groups 1, 2, ... in order; a group that took no part is an empty view.
    std::vector<std::u16string_view> subMatches;
};

class IPerlPattern {
public:
    virtual ~IPerlPattern() = default;
    virtual void setPattern(std::u16string_view pattern) = 0;
    virtual void setGlobal(bool global) = 0;
    // With global off, at most the leftmost match; with global on, every non-overlapping match
    // from left to right. The views stay valid until the next call on this object and while the
    // text lives.
    virtual const std::vector<PerlMatch>& execute(std::u16string_view text) = 0;
};

using PerlPatternFactory = std::unique_ptr<IPerlPattern> (*)();

// The platform registers its factory once at start-up; the core creates objects through it.
// Process-wide, not an engine's: it holds no state, and English lookup keeps its pattern objects
// per thread, beneath callers that pass only the store.
void setPerlPatternFactory(PerlPatternFactory factory);
// Throws CPatternError when no factory is registered or the object cannot be created.
std::unique_ptr<IPerlPattern> createPerlPattern();
// Convenience: a new object with its pattern and global flag already set.
std::unique_ptr<IPerlPattern> createPerlPattern(std::u16string_view pattern, bool global);

}  // namespace pelux
