// Compiler of the brace-group dialect: parse the pattern into a tree of constructs, then emit the
// tree as a program whose jumps are placed by label.
#include <iterator>
#include <new>
#include <string>

#include "patterns/brace_syntax.h"

namespace pelux {

const char* braceStatusName(BraceStatus status) {
    static const char* const names[] = {
        "BraceOk",        "BraceOutOfMemory", "BraceMissingBrace",  "BraceMissingParen",
        "BraceMissingBracket", "BraceBadAbbreviation", "BraceEmptyClass", "BraceBadBackref",
        "BraceBadRange",  "BraceEmptyRepeat", "BraceNoPattern",
    };
    const auto index = static_cast<size_t>(status);
    return index < std::size(names) ? names[index] : "BraceUnknown";
}

BraceStatus CBraceRegExp::compile(const char16_t* pattern, bool caseSensitive) {
    if (!pattern) return m_status = BraceNoPattern;
    m_program.clear();
    m_groupCount = 0;
    m_slotCount = 0;
    m_caseSensitive = caseSensitive;
    CBraceParser parser;
    try {
        std::u16string_view source(pattern);
        std::u16string lowered;
        if (!caseSensitive) {
            lowered.assign(source);
            for (char16_t& c : lowered) {
                if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
            }
            source = lowered;
        }
        const bool anchored = !source.empty() && source.front() == u'^';
        if (anchored) source.remove_prefix(1);
        const BraceNode body = parser.parse(source.data(), source.data() + source.size());
        if (measureBraceProgram(body) > kMaxBraceInstructions) throw BraceCompileError{BraceOutOfMemory};
        m_program = emitBraceProgram(body, anchored);
        m_status = BraceOk;
    } catch (const BraceCompileError& error) {
        m_status = error.status;
    } catch (const std::bad_alloc&) {
        m_status = BraceOutOfMemory;
    }
    m_groupCount = parser.groupCount();
    m_slotCount = parser.slotCount();
    return m_status;
}

}  // namespace pelux
