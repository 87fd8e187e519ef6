// Compiler of the brace-group dialect: recursive descent that emits relocatable code fragments,
// which the enclosing construct splices into its own template.
#include <algorithm>
#include <iterator>
#include <new>
#include <string>

#include "patterns/brace_regexp.h"

namespace pelux {

namespace {

using Op = BraceOp;

// Guards against patterns built to exhaust the compiler: nesting deeper than this would eat the
// native stack, and `+` doubles the code of its item, so nested `+` grows the program
// exponentially. Both report BraceOutOfMemory.
constexpr int kMaxNesting = 200;
constexpr size_t kMaxInstructions = size_t(1) << 20;

struct CompileError {
    BraceStatus status;
};

// Code for one construct; jump, call and class operands are indices relative to its start.
struct Code {
    std::vector<BraceInstruction> ins;
    // Whether the construct can match the empty string, by the rules that guard repetition.
    bool canBeEmpty = false;
    // Whether it can succeed without consuming anything at all (a negation, a back-reference
    // to an empty group): such items need a progress check in lazy loops too.
    bool mayConsumeNothing = false;

    int size() const { return static_cast<int>(ins.size()); }
};

bool hasIndexOperand(Op kind) {
    return kind == Op::opJump || kind == Op::opCall || kind == Op::opInSet || kind == Op::opNotInSet;
}

bool hasSlotOperand(Op kind) {
    switch (kind) {
        case Op::opPushSlot:
        case Op::opPopSlot:
        case Op::opStorePos:
        case Op::opLoadPos:
        case Op::opStoreDepth:
        case Op::opLoadDepth:
        case Op::opCutIfNoProgress:
            return true;
        default:
            return false;
    }
}

void emit(Code& code, Op kind, int32_t operand = 0) {
    if (code.ins.size() >= kMaxInstructions) throw CompileError{BraceOutOfMemory};
    code.ins.push_back({kind, operand});
}

// Appends `part` at the current end of `code`, moving its relative indices with it.
void append(Code& code, const Code& part) {
    if (code.ins.size() + part.ins.size() > kMaxInstructions) throw CompileError{BraceOutOfMemory};
    const int32_t offset = code.size();
    for (BraceInstruction instruction : part.ins) {
        if (hasIndexOperand(instruction.kind)) instruction.operand += offset;
        code.ins.push_back(instruction);
    }
}

// The stored sub-patterns behind `\` and a letter; the first character is the letter.
const char16_t* const kAbbreviations[] = {
    u"a([a-zA-Z0-9])",
    u"b([ \t])",
    u"c([a-zA-Z])",
    u"d([0-9])",
    u"h([0-9a-fA-F])",
    u"n\r|(\r?\n)",
    u"q(\"[^\"]*\")|('[^']*')",
    u"w([a-zA-Z]+)",
    u"z([0-9]+)",
};

const char16_t* findAbbreviation(char16_t letter) {
    for (const char16_t* entry : kAbbreviations) {
        if (entry[0] == letter) return entry + 1;
    }
    return nullptr;
}

bool isCloser(char16_t c) { return c == u')' || c == u']' || c == u'}'; }

class BraceCompiler {
public:
    // Compiles the whole pattern [begin, end) into `program`.
    void compilePattern(const char16_t* begin, const char16_t* end, std::vector<BraceInstruction>& program) {
        Source source{begin, end, false};
        const bool anchored = begin != end && *begin == u'^';
        if (anchored) ++source.p;
        // An unmatched closer at the top level ends the pattern quietly.
        const Code body = parseSequence(source, 0);
        Code whole;
        emit(whole, Op::opCall, 2);
        emit(whole, anchored ? Op::opGiveUp : Op::opNextStart);
        append(whole, body);
        emit(whole, Op::opAccept);
        program = std::move(whole.ins);
    }

    int groupCount() const { return m_groups; }
    int slotCount() const { return m_slots; }

private:
    struct Source {
        const char16_t* p;
        const char16_t* end;
        bool isAbbreviation;
        bool atEnd() const { return p == end; }
    };

    int32_t newSlot() { return m_slots++; }

    static void enter(int depth) {
        if (depth > kMaxNesting) throw CompileError{BraceOutOfMemory};
    }

    // Alternations one after another, up to the end or a closer that no construct consumes.
    Code parseSequence(Source& s, int depth) {
        enter(depth);
        Code code;
        code.canBeEmpty = true;
        code.mayConsumeNothing = true;
        while (!s.atEnd() && !isCloser(*s.p)) {
            const Code member = parseAlternation(s, depth);
            code.canBeEmpty = code.canBeEmpty && member.canBeEmpty;
            code.mayConsumeNothing = code.mayConsumeNothing && member.mayConsumeNothing;
            append(code, member);
        }
        return code;
    }

    // Quantified items separated by `|`, nested to the right so the leftmost is tried first.
    // A `|` with nothing after it (end of pattern or a closer) offers the empty alternative.
    Code parseAlternation(Source& s, int depth) {
        std::vector<Code> choices;
        choices.push_back(parseQuantified(s, depth));
        while (!s.atEnd() && *s.p == u'|') {
            ++s.p;
            if (s.atEnd() || isCloser(*s.p)) {
                choices.push_back(emptyCode());
                break;
            }
            choices.push_back(parseQuantified(s, depth));
        }
        return alternation(choices);
    }

    static Code emptyCode() {
        Code code;
        emit(code, Op::opNop);
        code.canBeEmpty = true;
        code.mayConsumeNothing = true;
        return code;
    }

    // Emits X1|(X2|(...|Xn)) in one pass: every nested alternation ends where the outermost one
    // does, so each "done" jump goes straight to the common end.
    static Code alternation(const std::vector<Code>& choices) {
        Code code = choices.back();
        if (choices.size() == 1) return code;
        code = Code();
        std::vector<size_t> doneJumps;
        for (size_t i = 0; i + 1 < choices.size(); ++i) {
            const Code& x = choices[i];
            const int32_t start = code.size();
            emit(code, Op::opPushPos);
            emit(code, Op::opCall, start + 4);
            emit(code, Op::opPopPos);
            emit(code, Op::opJump, start + 5 + x.size());
            append(code, x);
            doneJumps.push_back(code.ins.size());
            emit(code, Op::opJump, 0);
        }
        append(code, choices.back());
        for (size_t at : doneJumps) code.ins[at].operand = code.size();
        for (const Code& x : choices) {
            code.canBeEmpty = code.canBeEmpty || x.canBeEmpty;
            code.mayConsumeNothing = code.mayConsumeNothing || x.mayConsumeNothing;
        }
        return code;
    }

    // An item and at most one quantifier (`*` `+` `?`, each optionally followed by a lazy `?`).
    Code parseQuantified(Source& s, int depth) {
        const int firstSlot = m_slots;
        Code item = parseItem(s, depth);
        if (s.atEnd() || (*s.p != u'*' && *s.p != u'+' && *s.p != u'?')) return item;
        const char16_t quantifier = *s.p++;
        const bool lazy = !s.atEnd() && *s.p == u'?';
        if (lazy) ++s.p;
        if (quantifier != u'?' && item.canBeEmpty) throw CompileError{BraceEmptyRepeat};
        if (quantifier == u'?') return lazy ? lazyOptional(item) : greedyLoop(item, false);
        if (quantifier == u'*') return lazy ? lazyLoop(item) : greedyLoop(item, true);
        // X+ is X followed by X*; the copy keeps the group numbers and takes fresh slots.
        const Code again = withFreshSlots(item, firstSlot);
        Code code = item;
        append(code, lazy ? lazyLoop(again) : greedyLoop(again, true));
        // The repetition guard counts X+? among the constructs that can match empty.
        if (lazy) code.canBeEmpty = true;
        return code;
    }

    Code withFreshSlots(const Code& item, int firstSlot) {
        const int32_t shift = m_slots - firstSlot;
        m_slots += m_slots - firstSlot;
        Code copy = item;
        for (BraceInstruction& instruction : copy.ins) {
            if (hasSlotOperand(instruction.kind)) instruction.operand += shift;
        }
        return copy;
    }

    // X* (loop) and X? (no loop): an iteration that consumed nothing counts as failed. The slot
    // holds the start of the running iteration and is saved on the stack by the next one, so
    // that when backtracking re-enters an earlier iteration its progress is still measured from
    // that iteration's own start. (Storing the end position after each iteration would let a
    // re-entered iteration match empty: `{a?}?.` against "a" would report group 0 as "".)
    Code greedyLoop(const Code& x, bool loop) {
        const int32_t m = newSlot();
        const int32_t end = 8 + x.size() + (loop ? 1 : 0);
        Code code;
        emit(code, Op::opPushSlot, m);
        emit(code, Op::opStorePos, m);
        emit(code, Op::opPushPos);
        emit(code, Op::opCall, 7);
        emit(code, Op::opPopPos);
        emit(code, Op::opPopSlot, m);
        emit(code, Op::opJump, end);
        append(code, x);
        emit(code, Op::opCutIfNoProgress, m);
        if (loop) emit(code, Op::opJump, 0);
        code.canBeEmpty = true;
        code.mayConsumeNothing = true;
        return code;
    }

    // X*? and X??: skip X first; when what follows fails, go back to where the skip happened
    // and take one X (then, for X*?, offer to skip again). The position is pushed before the
    // skip because a failed continuation may have moved it and backtracking alone does not
    // restore it: without that, `.*?ab` would miss the match at 0 in "aab".
    static void lazyEntry(Code& code, int32_t skipTo) {
        emit(code, Op::opPushPos);
        emit(code, Op::opCall, skipTo);
        emit(code, Op::opPopPos);
    }

    Code lazyLoop(const Code& x) {
        Code code;
        code.canBeEmpty = true;
        code.mayConsumeNothing = true;
        if (!x.mayConsumeNothing) {
            lazyEntry(code, 4 + x.size());
            append(code, x);
            emit(code, Op::opJump, 0);
            return code;
        }
        // X passes the empty-repeat check yet can succeed without consuming (`(!a)*?`): without
        // a progress check the loop would take empty iterations forever.
        const int32_t m = newSlot();
        lazyEntry(code, 10 + x.size());
        emit(code, Op::opPushSlot, m);
        emit(code, Op::opStorePos, m);
        emit(code, Op::opCall, 8);
        emit(code, Op::opPopSlot, m);
        emit(code, Op::opReturn);
        append(code, x);
        emit(code, Op::opCutIfNoProgress, m);
        emit(code, Op::opJump, 0);
        return code;
    }

    static Code lazyOptional(const Code& x) {
        Code code;
        lazyEntry(code, 3 + x.size());
        append(code, x);
        code.canBeEmpty = true;
        code.mayConsumeNothing = true;
        return code;
    }

    Code parseItem(Source& s, int depth) {
        enter(depth);
        // Only reached after `!` with nothing to negate: the empty item, which always matches,
        // so such a negation never does.
        if (s.atEnd() || isCloser(*s.p)) return emptyCode();
        const char16_t c = *s.p;
        switch (c) {
            case u'.': {
                ++s.p;
                Code code;
                emit(code, Op::opAny);
                return code;
            }
            case u'[':
                return parseSet(s);
            case u'{':
                return parseMatchGroup(s, depth + 1);
            case u'(':
                return parsePlainGroup(s, depth + 1);
            case u'!':
                ++s.p;
                return parseNegation(s, depth + 1);
            case u'\\':
                return parseEscape(s, depth + 1);
            default:
                break;
        }
        ++s.p;
        Code code;
        // `$` as the very last pattern character matches the end of the text.
        if (c == u'$' && s.atEnd() && !s.isAbbreviation) {
            emit(code, Op::opChar, 0);
            code.mayConsumeNothing = true;
            return code;
        }
        emit(code, Op::opChar, c);
        return code;
    }

    Code parsePlainGroup(Source& s, int depth) {
        ++s.p;
        Code inner = parseSequence(s, depth);
        if (s.atEnd() || *s.p != u')') throw CompileError{BraceMissingParen};
        ++s.p;
        if (inner.ins.empty()) emit(inner, Op::opNop);
        Code code;
        emit(code, Op::opCall, 2);
        emit(code, Op::opReturn);
        append(code, inner);
        code.canBeEmpty = inner.canBeEmpty;
        code.mayConsumeNothing = inner.mayConsumeNothing;
        return code;
    }

    Code parseMatchGroup(Source& s, int depth) {
        ++s.p;
        const int32_t n = m_groups++;
        Code inner = parseSequence(s, depth);
        if (s.atEnd() || *s.p != u'}') throw CompileError{BraceMissingBrace};
        ++s.p;
        if (inner.ins.empty()) emit(inner, Op::opNop);
        Code code;
        emit(code, Op::opSaveGroup, n);
        emit(code, Op::opGroupStart, n);
        emit(code, Op::opCall, 5);
        emit(code, Op::opRestoreGroup, n);
        emit(code, Op::opReturn);
        append(code, inner);
        emit(code, Op::opGroupEnd, n);
        code.canBeEmpty = inner.canBeEmpty;
        code.mayConsumeNothing = inner.mayConsumeNothing;
        return code;
    }

    // !X runs X as a sub-program: its success is the construct's failure and the other way
    // round. Groups opened inside X are saved around it, so that a negation that fails because
    // X matched does not leave X's group bounds behind in the reported match.
    Code parseNegation(Source& s, int depth) {
        const int32_t firstGroup = m_groups;
        Code x = parseItem(s, depth);
        const int32_t lastGroup = m_groups;
        const int32_t m1 = newSlot();
        const int32_t m2 = newSlot();
        auto restoreGroups = [&](Code& code) {
            for (int32_t g = lastGroup; g-- > firstGroup;) emit(code, Op::opRestoreGroup, g);
        };
        Code code;
        for (int32_t g = firstGroup; g < lastGroup; ++g) emit(code, Op::opSaveGroup, g);
        emit(code, Op::opStorePos, m1);
        emit(code, Op::opStoreDepth, m2);
        const size_t callAt = code.ins.size();
        emit(code, Op::opCall, 0);
        emit(code, Op::opLoadPos, m1);
        emit(code, Op::opLoadDepth, m2);
        restoreGroups(code);
        const size_t jumpAt = code.ins.size();
        emit(code, Op::opJump, 0);
        code.ins[callAt].operand = code.size();
        append(code, x);
        emit(code, Op::opLoadPos, m1);
        emit(code, Op::opLoadDepth, m2);
        restoreGroups(code);
        emit(code, Op::opReturn);
        code.ins[jumpAt].operand = code.size();
        code.canBeEmpty = x.canBeEmpty;
        code.mayConsumeNothing = true;
        return code;
    }

    // `\` digits: back-reference; `\` letter: abbreviation; otherwise the character itself.
    // A lone `\` at the very end of the pattern stands for a backslash.
    Code parseEscape(Source& s, int depth) {
        ++s.p;
        Code code;
        if (s.atEnd()) {
            emit(code, Op::opChar, u'\\');
            return code;
        }
        const char16_t c = *s.p;
        if (c >= u'0' && c <= u'9') {
            int64_t n = 0;
            while (!s.atEnd() && *s.p >= u'0' && *s.p <= u'9') {
                n = std::min<int64_t>(n * 10 + (*s.p - u'0'), INT32_MAX);
                ++s.p;
            }
            if (n >= m_groups) throw CompileError{BraceBadBackref};
            emit(code, Op::opBackref, static_cast<int32_t>(n));
            code.mayConsumeNothing = true;
            return code;
        }
        ++s.p;
        const char16_t* abbreviation = s.isAbbreviation ? nullptr : findAbbreviation(c);
        if (!abbreviation) {
            emit(code, Op::opChar, c);
            return code;
        }
        return parseAbbreviation(abbreviation, depth);
    }

    Code parseAbbreviation(const char16_t* text, int depth) {
        Source sub{text, text + std::char_traits<char16_t>::length(text), true};
        try {
            return parseAlternation(sub, depth);
        } catch (const CompileError&) {
            throw CompileError{BraceBadAbbreviation};
        }
    }

    // [...] or [^...]: opInSet / opNotInSet, then one (low, high) opNop pair per item. A dash
    // first in the set is the character itself ([-] too); a dash after an item's character asks
    // for a range and needs a high end; any other unescaped dash before "]" ([a-z-]) is an error.
    Code parseSet(Source& s) {
        ++s.p;
        const bool negated = !s.atEnd() && *s.p == u'^';
        if (negated) ++s.p;
        if (!s.atEnd() && *s.p == u']') throw CompileError{BraceEmptyClass};
        Code code;
        emit(code, negated ? Op::opNotInSet : Op::opInSet);
        for (;;) {
            if (s.atEnd()) throw CompileError{BraceMissingBracket};
            if (*s.p == u']') break;
            const bool firstItem = code.ins.size() == 1;
            char16_t low = *s.p++;
            if (low == u'-' && !firstItem && !s.atEnd() && *s.p == u']') throw CompileError{BraceMissingBracket};
            if (low == u'\\') {
                if (s.atEnd()) throw CompileError{BraceMissingBracket};
                low = *s.p == u't' ? u'\t' : *s.p;
                ++s.p;
            }
            char16_t high = low;
            if (!s.atEnd() && *s.p == u'-') {
                ++s.p;
                if (s.atEnd() || *s.p == u']') throw CompileError{BraceMissingBracket};
                high = *s.p++;  // taken literally: no escapes at the high end
                if (high < low) throw CompileError{BraceBadRange};
            }
            emit(code, Op::opNop, low);
            emit(code, Op::opNop, high);
        }
        ++s.p;
        code.ins[0].operand = code.size();
        return code;
    }

    int m_groups = 0;
    int m_slots = 0;
};

}  // namespace

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
    BraceCompiler compiler;
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
        compiler.compilePattern(source.data(), source.data() + source.size(), m_program);
        m_status = BraceOk;
    } catch (const CompileError& error) {
        m_status = error.status;
    } catch (const std::bad_alloc&) {
        m_status = BraceOutOfMemory;
    }
    m_groupCount = compiler.groupCount();
    m_slotCount = compiler.slotCount();
    return m_status;
}

}  // namespace pelux
