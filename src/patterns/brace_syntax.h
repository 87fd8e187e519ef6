// The brace-group compiler's two halves and what passes between them: the parser builds a tree
// of constructs, numbering groups and slots as it reads; the emitter lays the tree out as a
// program, placing every jump by label. Private to src/patterns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "patterns/brace_regexp.h"

namespace pelux {

struct BraceCompileError {
    BraceStatus status;
};

// A program may not grow beyond this; `+` doubles the code of its item, so nested `+` grows it
// exponentially. Exceeding it reports BraceOutOfMemory.
constexpr size_t kMaxBraceInstructions = size_t(1) << 20;

struct BraceNode {
    enum class Kind : uint8_t {
        Empty,        // matches without consuming: an empty alternative or item
        Char,         // `value` is the character; 0 is the end of the text (a trailing `$`)
        Any,
        Set,          // `ranges`, inverted when `negated`
        Backref,      // `value` is the group
        Plain,        // (X): kids[0]
        Group,        // {X}: kids[0], `value` is the group
        Negation,     // !X: kids[0]; groups [firstGroup, value) are saved around it; slots `slot`, `slot2`
        Sequence,     // kids one after another
        Alternation,  // kids tried in order
        Repeat,       // kids[0] under a quantifier: see the fields below
    };

    Kind kind = Kind::Empty;
    int32_t value = 0;
    int32_t firstGroup = 0;
    bool negated = false;
    std::vector<std::pair<char16_t, char16_t>> ranges;
    std::vector<BraceNode> kids;

    // Repeat: `loop` for `*` and `+` (else `?`), `lazy` for the `?`-suffixed forms. `plus` emits
    // the item once before the loop, whose copy then takes slots `copyShift` higher.
    bool loop = false;
    bool lazy = false;
    bool plus = false;
    int32_t copyShift = 0;
    // The progress slot of a loop (Repeat), or the first slot (Negation); -1 when none.
    int32_t slot = -1;
    int32_t slot2 = -1;

    // Whether the construct can match the empty string, by the rules that guard repetition.
    bool canBeEmpty = false;
    // Whether it can succeed without consuming anything at all (a negation, a back-reference to
    // an empty group): such items need a progress check in lazy loops too.
    bool mayConsumeNothing = false;
    // Instructions the construct emits, counted by the emitter itself.
    size_t size = 0;
};

// The instructions `node` emits, given the sizes already counted for its kids.
size_t measureBraceNode(const BraceNode& node);

// The whole program for a parsed pattern: call, next-start (or give-up when anchored), body,
// accept.
std::vector<BraceInstruction> emitBraceProgram(const BraceNode& body, bool anchored);
size_t measureBraceProgram(const BraceNode& body);

}  // namespace pelux

namespace pelux {

// Recursive descent over the pattern. Groups and slots are numbered in the order the constructs
// are read, which the emitter keeps; the counts stay readable after a failed parse.
class CBraceParser {
public:
    // Parses [begin, end), without a leading `^`. Throws BraceCompileError.
    BraceNode parse(const char16_t* begin, const char16_t* end);

    int groupCount() const { return m_groups; }
    int slotCount() const { return m_slots; }

private:
    struct Source {
        const char16_t* p;
        const char16_t* end;
        bool isAbbreviation;
        bool atEnd() const { return p == end; }
    };

    BraceNode parseSequence(Source& s, int depth);
    BraceNode parseAlternation(Source& s, int depth);
    BraceNode parseQuantified(Source& s, int depth);
    BraceNode parseItem(Source& s, int depth);
    BraceNode parsePlainGroup(Source& s, int depth);
    BraceNode parseMatchGroup(Source& s, int depth);
    BraceNode parseNegation(Source& s, int depth);
    BraceNode parseEscape(Source& s, int depth);
    BraceNode parseAbbreviation(const char16_t* text, int depth);
    BraceNode parseSet(Source& s);

    int32_t newSlot() { return m_slots++; }

    int m_groups = 0;
    int m_slots = 0;
};

}  // namespace pelux
