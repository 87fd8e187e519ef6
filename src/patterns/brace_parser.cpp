// The parsing half of the brace-group compiler: the pattern's text to a tree of constructs, with
// every syntax error found here.
#include <algorithm>
#include <string>

#include "patterns/brace_syntax.h"

namespace pelux {

namespace {

using Node = BraceNode;
using Kind = BraceNode::Kind;

// Nesting deeper than this would eat the native stack of the parser and the emitter.
constexpr int kMaxNesting = 200;

void enter(int depth) {
    if (depth > kMaxNesting) throw BraceCompileError{BraceOutOfMemory};
}

// Counts the node's code and refuses a construct that would pass the program's limit, at the
// point of the pattern where the program outgrows it.
Node finish(Node node) {
    node.size = measureBraceNode(node);
    if (node.size > kMaxBraceInstructions) throw BraceCompileError{BraceOutOfMemory};
    return node;
}

Node leaf(Kind kind, int32_t value = 0) {
    Node node;
    node.kind = kind;
    node.value = value;
    return finish(std::move(node));
}

Node emptyNode() {
    Node node;
    node.canBeEmpty = true;
    node.mayConsumeNothing = true;
    return finish(std::move(node));
}

Node wrap(Kind kind, Node inner) {
    Node node;
    node.kind = kind;
    node.canBeEmpty = inner.canBeEmpty;
    node.mayConsumeNothing = inner.mayConsumeNothing;
    node.kids.push_back(std::move(inner));
    return node;
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

}  // namespace

BraceNode CBraceParser::parse(const char16_t* begin, const char16_t* end) {
    Source source{begin, end, false};
    // An unmatched closer at the top level ends the pattern quietly.
    return parseSequence(source, 0);
}

// Alternations one after another, up to the end or a closer that no construct consumes.
BraceNode CBraceParser::parseSequence(Source& s, int depth) {
    enter(depth);
    Node node;
    node.kind = Kind::Sequence;
    node.canBeEmpty = true;
    node.mayConsumeNothing = true;
    while (!s.atEnd() && !isCloser(*s.p)) {
        Node member = parseAlternation(s, depth);
        node.canBeEmpty = node.canBeEmpty && member.canBeEmpty;
        node.mayConsumeNothing = node.mayConsumeNothing && member.mayConsumeNothing;
        node.size += member.size;
        if (node.size > kMaxBraceInstructions) throw BraceCompileError{BraceOutOfMemory};
        node.kids.push_back(std::move(member));
    }
    return node;
}

// Quantified items separated by `|`; the leftmost is tried first. A `|` with nothing after it
// (end of pattern or a closer) offers the empty alternative.
BraceNode CBraceParser::parseAlternation(Source& s, int depth) {
    Node first = parseQuantified(s, depth);
    if (s.atEnd() || *s.p != u'|') return first;
    Node node;
    node.kind = Kind::Alternation;
    node.kids.push_back(std::move(first));
    while (!s.atEnd() && *s.p == u'|') {
        ++s.p;
        if (s.atEnd() || isCloser(*s.p)) {
            node.kids.push_back(emptyNode());
            break;
        }
        node.kids.push_back(parseQuantified(s, depth));
    }
    for (const Node& choice : node.kids) {
        node.canBeEmpty = node.canBeEmpty || choice.canBeEmpty;
        node.mayConsumeNothing = node.mayConsumeNothing || choice.mayConsumeNothing;
    }
    return finish(std::move(node));
}

// An item and at most one quantifier (`*` `+` `?`, each optionally followed by a lazy `?`).
// X+ is X followed by X*; the copy keeps the group numbers and takes fresh slots.
BraceNode CBraceParser::parseQuantified(Source& s, int depth) {
    const int firstSlot = m_slots;
    Node item = parseItem(s, depth);
    if (s.atEnd() || (*s.p != u'*' && *s.p != u'+' && *s.p != u'?')) return item;
    const char16_t quantifier = *s.p++;
    const bool lazy = !s.atEnd() && *s.p == u'?';
    if (lazy) ++s.p;
    if (quantifier != u'?' && item.canBeEmpty) throw BraceCompileError{BraceEmptyRepeat};

    Node node = wrap(Kind::Repeat, std::move(item));
    const Node& repeated = node.kids[0];
    node.lazy = lazy;
    node.loop = quantifier != u'?';
    node.plus = quantifier == u'+';
    if (node.plus) {
        node.copyShift = m_slots - firstSlot;
        m_slots += node.copyShift;
    }
    // A greedy loop always measures progress; a lazy one only when its item may consume nothing.
    if (!lazy || (node.loop && repeated.mayConsumeNothing)) node.slot = newSlot();
    if (!node.plus) {
        node.canBeEmpty = true;
        node.mayConsumeNothing = true;
    } else if (lazy) {
        // The repetition guard counts X+? among the constructs that can match empty.
        node.canBeEmpty = true;
    }
    return finish(std::move(node));
}

BraceNode CBraceParser::parseItem(Source& s, int depth) {
    enter(depth);
    // Only reached after `!` with nothing to negate: the empty item, which always matches, so
    // such a negation never does.
    if (s.atEnd() || isCloser(*s.p)) return emptyNode();
    const char16_t c = *s.p;
    switch (c) {
        case u'.':
            ++s.p;
            return leaf(Kind::Any);
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
    // `$` as the very last pattern character matches the end of the text.
    if (c == u'$' && s.atEnd() && !s.isAbbreviation) {
        Node end = leaf(Kind::Char, 0);
        end.mayConsumeNothing = true;
        return end;
    }
    return leaf(Kind::Char, c);
}

BraceNode CBraceParser::parsePlainGroup(Source& s, int depth) {
    ++s.p;
    Node inner = parseSequence(s, depth);
    if (s.atEnd() || *s.p != u')') throw BraceCompileError{BraceMissingParen};
    ++s.p;
    return finish(wrap(Kind::Plain, std::move(inner)));
}

BraceNode CBraceParser::parseMatchGroup(Source& s, int depth) {
    ++s.p;
    const int32_t group = m_groups++;
    Node inner = parseSequence(s, depth);
    if (s.atEnd() || *s.p != u'}') throw BraceCompileError{BraceMissingBrace};
    ++s.p;
    Node node = wrap(Kind::Group, std::move(inner));
    node.value = group;
    return finish(std::move(node));
}

BraceNode CBraceParser::parseNegation(Source& s, int depth) {
    const int32_t firstGroup = m_groups;
    Node node = wrap(Kind::Negation, parseItem(s, depth));
    node.firstGroup = firstGroup;
    node.value = m_groups;
    node.slot = newSlot();
    node.slot2 = newSlot();
    node.mayConsumeNothing = true;
    return finish(std::move(node));
}

// `\` digits: back-reference; `\` letter: abbreviation; otherwise the character itself. A lone
// `\` at the very end of the pattern stands for a backslash.
BraceNode CBraceParser::parseEscape(Source& s, int depth) {
    ++s.p;
    if (s.atEnd()) return leaf(Kind::Char, u'\\');
    const char16_t c = *s.p;
    if (c >= u'0' && c <= u'9') {
        int64_t n = 0;
        while (!s.atEnd() && *s.p >= u'0' && *s.p <= u'9') {
            n = std::min<int64_t>(n * 10 + (*s.p - u'0'), INT32_MAX);
            ++s.p;
        }
        if (n >= m_groups) throw BraceCompileError{BraceBadBackref};
        Node node = leaf(Kind::Backref, static_cast<int32_t>(n));
        node.mayConsumeNothing = true;
        return node;
    }
    ++s.p;
    const char16_t* abbreviation = s.isAbbreviation ? nullptr : findAbbreviation(c);
    if (!abbreviation) return leaf(Kind::Char, c);
    return parseAbbreviation(abbreviation, depth);
}

BraceNode CBraceParser::parseAbbreviation(const char16_t* text, int depth) {
    Source sub{text, text + std::char_traits<char16_t>::length(text), true};
    try {
        return parseAlternation(sub, depth);
    } catch (const BraceCompileError&) {
        throw BraceCompileError{BraceBadAbbreviation};
    }
}

// [...] or [^...]: one (low, high) pair per item. A dash first in the set is the character
// itself ([-] too); a dash after an item's character asks for a range and needs a high end; any
// other unescaped dash before "]" ([a-z-]) is an error.
BraceNode CBraceParser::parseSet(Source& s) {
    ++s.p;
    Node node;
    node.kind = Kind::Set;
    node.negated = !s.atEnd() && *s.p == u'^';
    if (node.negated) ++s.p;
    if (!s.atEnd() && *s.p == u']') throw BraceCompileError{BraceEmptyClass};
    for (;;) {
        if (s.atEnd()) throw BraceCompileError{BraceMissingBracket};
        if (*s.p == u']') break;
        const bool firstItem = node.ranges.empty();
        char16_t low = *s.p++;
        if (low == u'-' && !firstItem && !s.atEnd() && *s.p == u']') throw BraceCompileError{BraceMissingBracket};
        if (low == u'\\') {
            if (s.atEnd()) throw BraceCompileError{BraceMissingBracket};
            low = *s.p == u't' ? u'\t' : *s.p;
            ++s.p;
        }
        char16_t high = low;
        if (!s.atEnd() && *s.p == u'-') {
            ++s.p;
            if (s.atEnd() || *s.p == u']') throw BraceCompileError{BraceMissingBracket};
            high = *s.p++;  // taken literally: no escapes at the high end
            if (high < low) throw BraceCompileError{BraceBadRange};
        }
        node.ranges.emplace_back(low, high);
    }
    ++s.p;
    return finish(std::move(node));
}

}  // namespace pelux
