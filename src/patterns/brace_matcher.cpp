// Interpreter of compiled brace-group programs. All backtracking state lives on the explicit
// stack in CBraceMatch: the matcher never recurses, however long the text.
#include <cstdio>
#include <new>
#include <string>

#include "patterns/brace_regexp.h"

namespace pelux {

CBraceMatch::CBraceMatch(size_t initialStackEntries) : m_stack(initialStackEntries) {}

bool CBraceMatch::grow() {
    const size_t wanted = 2 * (m_depth + 1);
    if (wanted > m_stackLimit) return false;
    try {
        m_stack.resize(wanted);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void CBraceMatch::reset(int groups, int slots) {
    m_groups.assign(static_cast<size_t>(groups), BraceSpan());
    m_slots.assign(static_cast<size_t>(slots), 0);
    m_depth = 0;
    m_budgetSpent = false;
    m_matchStart = -1;
    m_matchEnd = -1;
}

void CBraceMatch::clearResult() {
    for (BraceSpan& span : m_groups) span = BraceSpan();
    m_matchStart = -1;
    m_matchEnd = -1;
}

bool CBraceRegExp::search(const char16_t* text, CBraceMatch* match, const char16_t** end) const {
    if (!text || !match || m_status != BraceOk || m_program.empty()) return false;
    RunResult result = RunResult::Failed;
    try {
        match->reset(m_groupCount, m_slotCount);
        if (m_caseSensitive) {
            // The terminator marks the end: measuring the text first would make a scan that
            // searches again after each match quadratic in the length of the text.
            result = run(text, *match);
        } else {
            // The lower-cased copy has the same offsets as the caller's text, so the match
            // bounds need no translation afterwards.
            std::u16string lowered(text);
            for (char16_t& c : lowered) {
                if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
            }
            result = run(lowered.c_str(), *match);
        }
    } catch (const std::bad_alloc&) {
        result = RunResult::Failed;
    }
    if (result != RunResult::Match) {
        match->clearResult();
        return false;
    }
    if (end) *end = text + match->m_matchEnd;
    return true;
}

namespace {

bool inSet(const BraceInstruction* pairs, const BraceInstruction* pairsEnd, char16_t c) {
    for (; pairs < pairsEnd; pairs += 2) {
        if (c >= static_cast<char16_t>(pairs[0].operand) && c <= static_cast<char16_t>(pairs[1].operand)) return true;
    }
    return false;
}

// The instructions that read the text. Returns false when the text at pos does not match;
// otherwise advances pos and pc.
bool consume(const BraceInstruction* program, size_t& pc, const char16_t* text, intptr_t& pos,
             const std::vector<BraceSpan>& groups) {
    const BraceInstruction& in = program[pc];
    switch (in.kind) {
        case BraceOp::opChar:
            // Value 0 is the end-of-text mark: it matches the terminator and stays there.
            if (text[pos] != static_cast<char16_t>(in.operand)) return false;
            if (in.operand != 0) ++pos;
            ++pc;
            return true;
        case BraceOp::opAny:
            if (text[pos] == 0) return false;
            ++pos;
            ++pc;
            return true;
        case BraceOp::opInSet:
        case BraceOp::opNotInSet: {
            if (text[pos] == 0) return false;
            const bool found = inSet(program + pc + 1, program + in.operand, text[pos]);
            if (found != (in.kind == BraceOp::opInSet)) return false;
            ++pos;
            pc = static_cast<size_t>(in.operand);
            return true;
        }
        default: {
            // opBackref. An unset or still open group has length 0 and always matches. The
            // group's characters are never the terminator, so a mismatch stops the comparison
            // at the end of the text at the latest.
            const BraceSpan group = groups[static_cast<size_t>(in.operand)];
            const intptr_t n = group.length();
            intptr_t i = 0;
            while (i < n && text[pos + i] == text[group.start + i]) ++i;
            if (i < n) return false;
            pos += n;
            ++pc;
            return true;
        }
    }
}

}  // namespace

// Group bookkeeping; false only when the stack cannot hold another entry.
bool CBraceMatch::groupStep(const BraceInstruction& in, intptr_t pos) {
    BraceSpan& group = m_groups[static_cast<size_t>(in.operand)];
    switch (in.kind) {
        case BraceOp::opGroupStart:
            group.start = static_cast<int32_t>(pos);
            return true;
        case BraceOp::opGroupEnd:
            group.end = static_cast<int32_t>(pos);
            return true;
        case BraceOp::opSaveGroup:
            return push(group.start) && push(group.end);
        default:  // opRestoreGroup
            if (m_depth < 2) return false;
            group.end = static_cast<int32_t>(m_stack[m_depth--]);
            group.start = static_cast<int32_t>(m_stack[m_depth--]);
            return true;
    }
}

CBraceRegExp::RunResult CBraceRegExp::run(const char16_t* text, CBraceMatch& match) const {
    const BraceInstruction* const program = m_program.data();
    const size_t programSize = m_program.size();
    std::vector<intptr_t>& slots = match.m_slots;
    intptr_t searchStart = 0;
    intptr_t pos = 0;
    size_t pc = 0;
    uint64_t stepsLeft = CBraceMatch::kDefaultStepBudget;
    match.m_matchStart = 0;

#define BRACE_PUSH(value)                                 \
    do {                                                  \
        if (!match.push(value)) return RunResult::Failed; \
    } while (0)
#define BRACE_POP(into)                                   \
    do {                                                  \
        if (match.m_depth == 0) return RunResult::Failed; \
        into = match.m_stack[match.m_depth--];            \
    } while (0)

    for (;;) {
        if (stepsLeft-- == 0) {
            match.m_budgetSpent = true;
            return RunResult::Failed;
        }
        const BraceInstruction& in = program[pc];
        const auto slot = [&]() -> intptr_t& { return slots[static_cast<size_t>(in.operand)]; };
        switch (in.kind) {
            case BraceOp::opNop:
                ++pc;
                break;
            case BraceOp::opChar:
            case BraceOp::opAny:
            case BraceOp::opInSet:
            case BraceOp::opNotInSet:
            case BraceOp::opBackref:
                if (!consume(program, pc, text, pos, match.m_groups)) goto backtrack;
                break;
            case BraceOp::opGroupStart:
            case BraceOp::opGroupEnd:
            case BraceOp::opSaveGroup:
            case BraceOp::opRestoreGroup:
                if (!match.groupStep(in, pos)) return RunResult::Failed;
                ++pc;
                break;
            case BraceOp::opJump:
                pc = static_cast<size_t>(in.operand);
                break;
            case BraceOp::opCall:
                BRACE_PUSH(static_cast<intptr_t>(pc + 1));
                pc = static_cast<size_t>(in.operand);
                break;
            case BraceOp::opReturn:
                goto backtrack;
            case BraceOp::opPushPos:
                BRACE_PUSH(pos);
                ++pc;
                break;
            case BraceOp::opPopPos:
                BRACE_POP(pos);
                ++pc;
                break;
            case BraceOp::opPushSlot:
                BRACE_PUSH(slot());
                ++pc;
                break;
            case BraceOp::opPopSlot:
                BRACE_POP(slot());
                ++pc;
                break;
            case BraceOp::opStorePos:
                slot() = pos;
                ++pc;
                break;
            case BraceOp::opLoadPos:
                pos = slot();
                ++pc;
                break;
            case BraceOp::opStoreDepth:
                slot() = static_cast<intptr_t>(match.m_depth);
                ++pc;
                break;
            case BraceOp::opLoadDepth:
                if (slot() < 0 || static_cast<size_t>(slot()) > match.m_depth) return RunResult::Failed;
                match.m_depth = static_cast<size_t>(slot());
                ++pc;
                break;
            case BraceOp::opCutIfNoProgress:
                if (pos == slot()) goto backtrack;
                ++pc;
                break;
            case BraceOp::opNextStart:
                // The end of a non-empty text is never a start of its own.
                if (text[searchStart] == 0 || text[searchStart + 1] == 0) return RunResult::NoMatch;
                pos = ++searchStart;
                match.m_depth = 0;
                match.m_matchStart = static_cast<int32_t>(pos);
                pc = 0;
                break;
            case BraceOp::opGiveUp:
                return RunResult::NoMatch;
            case BraceOp::opAccept:
                // Offsets travel as int32_t; a match beyond that reach cannot be reported.
                if (pos > INT32_MAX) return RunResult::Failed;
                match.m_matchEnd = static_cast<int32_t>(pos);
                return RunResult::Match;
        }
        continue;
    backtrack:
        // An exhausted stack cannot happen in a well-formed program (the first call always
        // leaves the way to the next start); treat it as a failed search all the same.
        if (match.m_depth == 0) return RunResult::Failed;
        pc = static_cast<size_t>(match.m_stack[match.m_depth--]);
        if (pc >= programSize) return RunResult::Failed;
    }
#undef BRACE_PUSH
#undef BRACE_POP
}

}  // namespace pelux
