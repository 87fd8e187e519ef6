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
    matchStart = -1;
    matchEnd = -1;
}

void CBraceMatch::clearResult() {
    for (BraceSpan& span : m_groups) span = BraceSpan();
    matchStart = -1;
    matchEnd = -1;
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
    if (end) *end = text + match->matchEnd;
    return true;
}

namespace {

bool inSet(const BraceInstruction* pairs, const BraceInstruction* pairsEnd, char16_t c) {
    for (; pairs < pairsEnd; pairs += 2) {
        if (c >= static_cast<char16_t>(pairs[0].operand) && c <= static_cast<char16_t>(pairs[1].operand)) return true;
    }
    return false;
}

}  // namespace

CBraceRegExp::RunResult CBraceRegExp::run(const char16_t* text, CBraceMatch& match) const {
    const BraceInstruction* const program = m_program.data();
    const size_t programSize = m_program.size();
    std::vector<intptr_t>& slots = match.m_slots;
    std::vector<BraceSpan>& groups = match.m_groups;
    intptr_t searchStart = 0;
    intptr_t pos = 0;
    size_t pc = 0;
    match.matchStart = 0;

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
        const BraceInstruction& in = program[pc];
        switch (in.kind) {
            case BraceOp::opNop:
                ++pc;
                break;
            case BraceOp::opChar:
                if (in.operand == 0) {
                    // The end-of-text mark: matches only at the end and stays there.
                    if (text[pos] != 0) goto backtrack;
                } else {
                    if (text[pos] != static_cast<char16_t>(in.operand)) goto backtrack;
                    ++pos;
                }
                ++pc;
                break;
            case BraceOp::opAny:
                if (text[pos] == 0) goto backtrack;
                ++pos;
                ++pc;
                break;
            case BraceOp::opInSet:
            case BraceOp::opNotInSet: {
                if (text[pos] == 0) goto backtrack;
                const bool found = inSet(program + pc + 1, program + in.operand, text[pos]);
                if (found != (in.kind == BraceOp::opInSet)) goto backtrack;
                ++pos;
                pc = static_cast<size_t>(in.operand);
                break;
            }
            case BraceOp::opBackref: {
                const BraceSpan group = groups[static_cast<size_t>(in.operand)];
                if (group.isSet()) {
                    // The group's characters are never the terminator, so a mismatch stops the
                    // comparison at the end of the text at the latest.
                    const char16_t* const copy = text + group.start;
                    const intptr_t n = group.end - group.start;
                    intptr_t i = 0;
                    while (i < n && text[pos + i] == copy[i]) ++i;
                    if (i < n) goto backtrack;
                    pos += n;
                }
                ++pc;
                break;
            }
            case BraceOp::opGroupStart:
                groups[static_cast<size_t>(in.operand)].start = static_cast<int32_t>(pos);
                ++pc;
                break;
            case BraceOp::opGroupEnd:
                groups[static_cast<size_t>(in.operand)].end = static_cast<int32_t>(pos);
                ++pc;
                break;
            case BraceOp::opSaveGroup:
                BRACE_PUSH(groups[static_cast<size_t>(in.operand)].start);
                BRACE_PUSH(groups[static_cast<size_t>(in.operand)].end);
                ++pc;
                break;
            case BraceOp::opRestoreGroup: {
                intptr_t start = 0;
                intptr_t end = 0;
                BRACE_POP(end);
                BRACE_POP(start);
                groups[static_cast<size_t>(in.operand)] = {static_cast<int32_t>(start), static_cast<int32_t>(end)};
                ++pc;
                break;
            }
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
                BRACE_PUSH(slots[static_cast<size_t>(in.operand)]);
                ++pc;
                break;
            case BraceOp::opPopSlot:
                BRACE_POP(slots[static_cast<size_t>(in.operand)]);
                ++pc;
                break;
            case BraceOp::opStorePos:
                slots[static_cast<size_t>(in.operand)] = pos;
                ++pc;
                break;
            case BraceOp::opLoadPos:
                pos = slots[static_cast<size_t>(in.operand)];
                ++pc;
                break;
            case BraceOp::opStoreDepth:
                slots[static_cast<size_t>(in.operand)] = static_cast<intptr_t>(match.m_depth);
                ++pc;
                break;
            case BraceOp::opLoadDepth: {
                const intptr_t depth = slots[static_cast<size_t>(in.operand)];
                if (depth < 0 || static_cast<size_t>(depth) > match.m_depth) return RunResult::Failed;
                match.m_depth = static_cast<size_t>(depth);
                ++pc;
                break;
            }
            case BraceOp::opCutIfNoProgress:
                if (pos == slots[static_cast<size_t>(in.operand)]) goto backtrack;
                ++pc;
                break;
            case BraceOp::opNextStart:
                // The end of a non-empty text is never a start of its own.
                if (text[searchStart] == 0 || text[searchStart + 1] == 0) {
                    match.matchEnd = static_cast<int32_t>(pos);
                    return RunResult::NoMatch;
                }
                pos = ++searchStart;
                match.m_depth = 0;
                match.matchStart = static_cast<int32_t>(pos);
                pc = 0;
                break;
            case BraceOp::opGiveUp:
                match.matchEnd = static_cast<int32_t>(pos);
                return RunResult::NoMatch;
            case BraceOp::opAccept:
                // Offsets travel as int32_t; a match beyond that reach cannot be reported.
                if (pos > INT32_MAX) return RunResult::Failed;
                match.matchEnd = static_cast<int32_t>(pos);
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
