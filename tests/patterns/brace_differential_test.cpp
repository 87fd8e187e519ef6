// Random patterns of the part of the dialect that behaves like an ordinary backtracking matcher,
// checked against a tiny recursive reference matcher written independently of the engine.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "brace_program_hash.h"
#include "patterns/brace_regexp.h"

namespace pelux {
namespace {

struct Node {
    enum Kind { Char, Any, Set, Group, Plain, Alt, Quant, Not, Seq } kind = Seq;
    Node() = default;
    explicit Node(Kind k) : kind(k) {}
    char16_t c = 0;
    bool negated = false;
    std::vector<std::pair<char16_t, char16_t>> ranges;
    int group = -1;
    char quantifier = 0;
    bool lazy = false;
    std::vector<Node> kids;
};

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

class CPatternGenerator {
public:
    explicit CPatternGenerator(uint32_t seed) : m_random(seed) {}

    // A random pattern; `emptyRepeat` tells whether it repeats an item that can match empty.
    std::u16string pattern(bool& emptyRepeat, bool& anchored, bool& endAnchored) {
        m_groups = 0;
        m_emptyRepeat = false;
        m_root = sequence(0, true);
        anchored = chance(10);
        endAnchored = chance(10);
        std::u16string text = anchored ? u"^" : u"";
        text += render(m_root);
        if (endAnchored) text += u'$';
        emptyRepeat = m_emptyRepeat;
        return text;
    }

    std::u16string text() {
        static const char16_t alphabet[] = u"ab中.A";
        std::u16string out;
        const int length = pick(9);
        for (int i = 0; i < length; ++i) out += alphabet[pick(5)];
        return out;
    }

    const Node& root() const { return m_root; }
    int groups() const { return m_groups; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool chance(int percent) { return pick(100) < percent; }

    Node sequence(int depth, bool top) {
        Node node;
        const int members = pick(depth == 0 ? 4 : 3) + (depth == 0 ? 1 : 0);
        for (int i = 0; i < members; ++i) {
            if (top && chance(10)) {
                Node negation{Node::Not};
                negation.kids.push_back(atom(depth + 1));
                node.kids.push_back(std::move(negation));
            } else if (chance(20)) {
                Node choice{Node::Alt};
                const int count = 2 + pick(2);
                for (int k = 0; k < count; ++k) choice.kids.push_back(quantified(depth));
                node.kids.push_back(std::move(choice));
            } else {
                node.kids.push_back(quantified(depth));
            }
        }
        return node;
    }

    Node quantified(int depth) {
        Node item = atom(depth);
        if (!chance(40)) return item;
        static const char kinds[] = "*+?";
        Node node{Node::Quant};
        node.quantifier = kinds[pick(3)];
        node.lazy = chance(40);
        node.kids.push_back(std::move(item));
        return node;
    }

    Node atom(int depth) {
        const int roll = pick(100);
        if (depth < 3 && roll < 25) {
            Node node{roll < 15 ? Node::Group : Node::Plain};
            node.kids.push_back(sequence(depth + 1, false));
            return node;
        }
        if (roll < 35) return Node{Node::Any};
        if (roll < 50) {
            Node node{Node::Set};
            node.negated = chance(30);
            static const char16_t members[] = u"abA中";
            const int count = 1 + pick(2);
            for (int i = 0; i < count; ++i) {
                if (chance(25)) {
                    node.ranges.push_back({u'a', u'b'});
                } else {
                    const char16_t c = members[pick(4)];
                    node.ranges.push_back({c, c});
                }
            }
            return node;
        }
        static const char16_t letters[] = u"ab中.A";
        Node node{Node::Char};
        node.c = letters[pick(5)];
        return node;
    }

    static bool nullable(const Node& node) {
        switch (node.kind) {
            case Node::Char:
            case Node::Any:
            case Node::Set:
                return false;
            case Node::Group:
            case Node::Plain:
            case Node::Not:
                return nullable(node.kids[0]);
            case Node::Alt:
                for (const Node& kid : node.kids) {
                    if (nullable(kid)) return true;
                }
                return false;
            case Node::Quant:
                return node.quantifier != '+' || node.lazy || nullable(node.kids[0]);
            case Node::Seq:
                for (const Node& kid : node.kids) {
                    if (!nullable(kid)) return false;
                }
                return true;
        }
        return false;
    }

    std::u16string render(Node& node) {
        switch (node.kind) {
            case Node::Char:
                return node.c == u'.' ? u"\\." : std::u16string(1, node.c);
            case Node::Any:
                return u".";
            case Node::Set: {
                std::u16string out = node.negated ? u"[^" : u"[";
                for (const auto& [low, high] : node.ranges) {
                    out += low;
                    if (high != low) out += std::u16string(u"-") + high;
                }
                return out + u"]";
            }
            case Node::Group:
                node.group = m_groups++;
                return u"{" + render(node.kids[0]) + u"}";
            case Node::Plain:
                return u"(" + render(node.kids[0]) + u")";
            case Node::Alt: {
                std::u16string out;
                for (Node& kid : node.kids) out += (out.empty() ? u"" : u"|") + render(kid);
                return out;
            }
            case Node::Quant:
                if (node.quantifier != '?' && nullable(node.kids[0])) m_emptyRepeat = true;
                return render(node.kids[0]) + static_cast<char16_t>(node.quantifier) + (node.lazy ? u"?" : u"");
            case Node::Not:
                return u"!" + render(node.kids[0]);
            case Node::Seq: {
                std::u16string out;
                for (Node& kid : node.kids) out += render(kid);
                return out;
            }
        }
        return {};
    }

    std::mt19937 m_random;
    Node m_root;
    int m_groups = 0;
    bool m_emptyRepeat = false;
};

// Continuation-passing backtracking over the tree: the obvious, slow way to get the same answers.
class CReferenceMatcher {
public:
    using Cont = std::function<bool(int)>;

    CReferenceMatcher(const std::u16string& text, int groups, bool caseSensitive)
        : m_text(text), m_caseSensitive(caseSensitive), m_groups(static_cast<size_t>(groups), {-1, -1}) {
        if (!caseSensitive) {
            for (char16_t& c : m_text) c = lower(c);
        }
    }

    bool search(const Node& root, bool anchored, bool endAnchored, int& start, int& end) {
        const int length = static_cast<int>(m_text.size());
        const int lastStart = anchored || length == 0 ? 0 : length - 1;
        for (start = 0; start <= lastStart; ++start) {
            for (auto& group : m_groups) group = {-1, -1};
            if (match(root, start, [&](int p) {
                    if (endAnchored && p != length) return false;
                    end = p;
                    return true;
                }))
                return true;
        }
        return false;
    }

    const std::vector<std::pair<int, int>>& groups() const { return m_groups; }

private:
    char16_t fold(char16_t c) const { return m_caseSensitive ? c : lower(c); }

    bool one(int pos, const std::function<bool(char16_t)>& test, const Cont& k) {
        return pos < static_cast<int>(m_text.size()) && test(m_text[static_cast<size_t>(pos)]) && k(pos + 1);
    }

    bool sequence(const std::vector<Node>& kids, size_t i, int pos, const Cont& k) {
        if (i == kids.size()) return k(pos);
        return match(kids[i], pos, [&](int p) { return sequence(kids, i + 1, p, k); });
    }

    bool greedyStar(const Node& item, int pos, const Cont& k) {
        return match(item, pos, [&](int p) { return p != pos && greedyStar(item, p, k); }) || k(pos);
    }

    bool lazyStar(const Node& item, int pos, const Cont& k) {
        return k(pos) || match(item, pos, [&](int p) { return lazyStar(item, p, k); });
    }

    bool quantified(const Node& node, int pos, const Cont& k) {
        const Node& item = node.kids[0];
        switch (node.quantifier) {
            case '*':
                return node.lazy ? lazyStar(item, pos, k) : greedyStar(item, pos, k);
            case '+':
                return match(item, pos, [&](int p) { return node.lazy ? lazyStar(item, p, k) : greedyStar(item, p, k); });
            default:
                if (node.lazy) return k(pos) || match(item, pos, k);
                return match(item, pos, [&](int p) { return p != pos && k(p); }) || k(pos);
        }
    }

    bool match(const Node& node, int pos, const Cont& k) {
        switch (node.kind) {
            case Node::Char:
                return one(pos, [&](char16_t c) { return c == fold(node.c); }, k);
            case Node::Any:
                return one(pos, [](char16_t) { return true; }, k);
            case Node::Set:
                return one(
                    pos,
                    [&](char16_t c) {
                        bool in = false;
                        for (const auto& [low, high] : node.ranges) in = in || (c >= fold(low) && c <= fold(high));
                        return in != node.negated;
                    },
                    k);
            case Node::Group: {
                auto& group = m_groups[static_cast<size_t>(node.group)];
                const auto saved = group;
                if (match(node.kids[0], pos, [&](int p) {
                        const auto inner = group;
                        group = {pos, p};
                        if (k(p)) return true;
                        group = inner;
                        return false;
                    }))
                    return true;
                group = saved;
                return false;
            }
            case Node::Plain:
                return match(node.kids[0], pos, k);
            case Node::Alt:
                for (const Node& kid : node.kids) {
                    if (match(kid, pos, k)) return true;
                }
                return false;
            case Node::Quant:
                return quantified(node, pos, k);
            case Node::Not: {
                const auto saved = m_groups;
                const bool inner = match(node.kids[0], pos, [](int) { return true; });
                m_groups = saved;
                return !inner && k(pos);
            }
            case Node::Seq:
                return sequence(node.kids, 0, pos, k);
        }
        return false;
    }

    std::u16string m_text;
    bool m_caseSensitive;
    std::vector<std::pair<int, int>> m_groups;
};

std::string printable(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? std::string(1, static_cast<char>(c)) : std::string("<中>");
    return out;
}

void runDifferential(uint32_t seed, bool caseSensitive, int patterns) {
    CPatternGenerator generator(seed);
    int compared = 0;
    for (int n = 0; n < patterns; ++n) {
        bool emptyRepeat = false;
        bool anchored = false;
        bool endAnchored = false;
        const std::u16string pattern = generator.pattern(emptyRepeat, anchored, endAnchored);
        SCOPED_TRACE("seed " + std::to_string(seed) + " pattern " + printable(pattern));
        CBraceRegExp regexp;
        const BraceStatus status = regexp.compile(pattern.c_str(), caseSensitive);
        ASSERT_EQ(status, emptyRepeat ? BraceEmptyRepeat : BraceOk);
        if (emptyRepeat) continue;
        ASSERT_EQ(regexp.groupCount(), generator.groups());
        for (int t = 0; t < 4; ++t) {
            const std::u16string text = generator.text();
            SCOPED_TRACE("text " + printable(text));
            CReferenceMatcher reference(text, generator.groups(), caseSensitive);
            int start = -1;
            int end = -1;
            const bool expected = reference.search(generator.root(), anchored, endAnchored, start, end);
            CBraceMatch match(4);
            ASSERT_EQ(regexp.search(text.c_str(), &match), expected);
            ++compared;
            if (!expected) continue;
            EXPECT_EQ(match.matchStart(), start);
            EXPECT_EQ(match.matchEnd(), end);
            for (int g = 0; g < generator.groups(); ++g) {
                const auto [groupStart, groupEnd] = reference.groups()[static_cast<size_t>(g)];
                SCOPED_TRACE("group " + std::to_string(g));
                EXPECT_EQ(match.group(g).isSet(), groupStart >= 0);
                if (groupStart >= 0 && match.group(g).isSet()) {
                    EXPECT_EQ(match.group(g).start, groupStart);
                    EXPECT_EQ(match.group(g).end, groupEnd);
                }
            }
        }
    }
    EXPECT_GT(compared, patterns);
}

TEST(BraceDifferential, AgreesWithAReferenceMatcherOnRandomPatterns) {
    for (uint32_t seed : {1u, 2u, 3u, 20261207u}) runDifferential(seed, true, 2500);
}

TEST(BraceDifferential, AgreesInCaseInsensitiveMode) {
    for (uint32_t seed : {7u, 8u}) runDifferential(seed, false, 1500);
}

// The random patterns of both tests above compile to the programs recorded before the compiler
// was restructured.
TEST(BraceDifferential, RandomPatternsCompileToTheRecordedPrograms) {
    std::string fingerprints;
    for (uint32_t seed : {1u, 2u, 3u, 20261207u, 7u, 8u}) {
        CPatternGenerator generator(seed);
        for (int n = 0; n < 2500; ++n) {
            bool emptyRepeat = false;
            bool anchored = false;
            bool endAnchored = false;
            CBraceRegExp regexp;
            regexp.compile(generator.pattern(emptyRepeat, anchored, endAnchored).c_str(), seed < 7);
            fingerprints += programHash(regexp.dump());
        }
    }
    EXPECT_EQ(programHash(fingerprints), "9ef6c9f8e81e5037");
}

}  // namespace
}  // namespace pelux
