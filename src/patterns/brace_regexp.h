// The brace-group pattern dialect: a small backtracking engine over UTF-16 text whose
// match groups are written with braces. Compile once, search any number of times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelux {

enum BraceStatus : int32_t {
    BraceOk = 0,
    BraceOutOfMemory = 1,
    BraceMissingBrace = 2,
    BraceMissingParen = 3,
    BraceMissingBracket = 4,
    BraceBadAbbreviation = 5,
    BraceEmptyClass = 6,
    BraceBadBackref = 7,
    BraceBadRange = 8,
    BraceEmptyRepeat = 9,
    BraceNoPattern = 10,
};

// The name of a status ("BraceOk", ...), for messages and listings.
const char* braceStatusName(BraceStatus status);

// Offsets of a group in the searched text, in code units; start == -1 when the group took no part.
struct BraceSpan {
    int32_t start = -1;
    int32_t end = -1;
    bool isSet() const { return start >= 0 && end >= start; }
    int32_t length() const { return isSet() ? end - start : 0; }
    // The group's text, or an empty view when it is unset.
    std::u16string_view in(const char16_t* text) const {
        return isSet() ? std::u16string_view(text + start, static_cast<size_t>(end - start)) : std::u16string_view();
    }
};

// Instruction kinds of a compiled program. Operands are a character, a group, a slot or an
// instruction index, by kind; a class's (low, high) bounds follow its opInSet / opNotInSet as
// opNop pairs so that control landing among them just runs through.
enum class BraceOp : uint8_t {
    opNop,
    opChar,
    opAny,
    opInSet,
    opNotInSet,
    opBackref,
    opGroupStart,
    opGroupEnd,
    opSaveGroup,
    opRestoreGroup,
    opJump,
    opCall,
    opReturn,
    opPushPos,
    opPopPos,
    opPushSlot,
    opPopSlot,
    opStorePos,
    opLoadPos,
    opStoreDepth,
    opLoadDepth,
    opCutIfNoProgress,
    opNextStart,
    opGiveUp,
    opAccept,
};

const char* braceOpName(BraceOp op);

struct BraceInstruction {
    BraceOp kind;
    int32_t operand;
};

class CBraceRegExp;

// Per-search state: match bounds, group and slot tables and the explicit backtracking stack.
class CBraceMatch {
public:
    explicit CBraceMatch(size_t initialStackEntries = 256);

    int groupCount() const { return static_cast<int>(m_groups.size()); }
    BraceSpan group(int i) const { return m_groups.at(static_cast<size_t>(i)); }

    // Both -1 after a failed search.
    int32_t matchStart() const { return m_matchStart; }
    int32_t matchEnd() const { return m_matchEnd; }

    // The backtracking stack never grows beyond the limit (64M entries unless lowered); a
    // search that would need more fails instead.
    static constexpr size_t kMaxStackEntries = size_t(64) << 20;
    void setStackLimit(size_t entries) { m_stackLimit = entries < kMaxStackEntries ? entries : kMaxStackEntries; }

    // Every executed instruction is a step. A search that would take more steps than the budget
    // fails and says so here, as a match limit does: a pattern that backtracks exponentially
    // ends in bounded time. The system's own patterns take at most about 30 steps per code unit
    // of a well-formed line (31M on a line of a million units); the default leaves three times
    // that, and gives up on `(a+)+b` against 28 a's within a second.
    static constexpr uint64_t kDefaultStepBudget = 100'000'000;
    // Whether the last search ended because its step budget was spent.
    bool budgetSpent() const { return m_budgetSpent; }

private:
    friend class CBraceRegExp;
    bool push(intptr_t value) {
        if (m_depth + 1 >= m_stack.size() && !grow()) return false;
        m_stack[++m_depth] = value;
        return true;
    }
    bool grow();
    bool groupStep(const BraceInstruction& in, intptr_t pos);
    void reset(int groups, int slots);
    void clearResult();

    std::vector<BraceSpan> m_groups;
    std::vector<intptr_t> m_slots;
    std::vector<intptr_t> m_stack;  // entry 0 is never used
    size_t m_depth = 0;
    size_t m_stackLimit = kMaxStackEntries;
    bool m_budgetSpent = false;
    int32_t m_matchStart = -1;
    int32_t m_matchEnd = -1;
};

class CBraceRegExp {
public:
    CBraceRegExp() = default;

    // A null pattern gives BraceNoPattern and leaves the object as it was.
    BraceStatus compile(const char16_t* pattern, bool caseSensitive = true);
    BraceStatus status() const { return m_status; }

    // Searches the zero-terminated text for the leftmost match. Offsets in `match` are relative
    // to `text`; `end`, when given, receives the position just after the match. After a failed
    // search `end` is left as it was and the match holds no bounds. A search that would need
    // more backtracking stack than the context can get, or more steps than its budget, fails.
    bool search(const char16_t* text, CBraceMatch* match, const char16_t** end = nullptr) const;

    int groupCount() const { return m_groupCount; }
    int slotCount() const { return m_slotCount; }
    const std::vector<BraceInstruction>& program() const { return m_program; }

    // A listing of the compiled program, one instruction a line (ASCII only).
    std::string dump() const;

private:
    enum class RunResult { Match, NoMatch, Failed };
    RunResult run(const char16_t* text, CBraceMatch& match) const;

    BraceStatus m_status = BraceNoPattern;
    std::vector<BraceInstruction> m_program;
    int m_groupCount = 0;
    int m_slotCount = 0;
    bool m_caseSensitive = true;
};

}  // namespace pelux
