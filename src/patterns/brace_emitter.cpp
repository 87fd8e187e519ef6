// Lays a parsed brace pattern out as a flat program. Every jump and call names its target by a
// label: a place already emitted (a loop's head), or a forward reference that is bound once the
// code before the target has been emitted. The same templates also count a construct's size,
// with each kid standing in by the size counted for it, so sizes and code can never disagree.
#include "patterns/brace_syntax.h"

namespace pelux {

namespace {

using Op = BraceOp;
using Node = BraceNode;

class CBraceEmitter {
public:
    // With no program the emitter only counts; kids then add their counted size.
    explicit CBraceEmitter(std::vector<BraceInstruction>* program) : m_program(program) {}

    size_t size() const { return m_size; }

    void construct(const Node& node, int32_t shift) {
        switch (node.kind) {
            case Node::Kind::Empty:
                op(Op::opNop);
                return;
            case Node::Kind::Char:
                op(Op::opChar, node.value);
                return;
            case Node::Kind::Any:
                op(Op::opAny);
                return;
            case Node::Kind::Backref:
                op(Op::opBackref, node.value);
                return;
            case Node::Kind::Set:
                return set(node);
            case Node::Kind::Plain:
                return plainGroup(node, shift);
            case Node::Kind::Group:
                return matchGroup(node, shift);
            case Node::Kind::Negation:
                return negation(node, shift);
            case Node::Kind::Sequence:
                for (const Node& kid : node.kids) child(kid, shift);
                return;
            case Node::Kind::Alternation:
                return alternation(node, shift);
            case Node::Kind::Repeat:
                return repeat(node, shift);
        }
    }

    void program(const Node& body, bool anchored) {
        const Label start = forward(Op::opCall);
        op(anchored ? Op::opGiveUp : Op::opNextStart);
        bind(start);
        child(body, 0);
        op(Op::opAccept);
    }

private:
    using Label = size_t;

    void op(Op kind, int32_t operand = 0) {
        if (m_program) m_program->push_back({kind, operand});
        ++m_size;
    }
    int32_t here() const { return static_cast<int32_t>(m_size); }
    // A jump, call or set whose target is bound later.
    Label forward(Op kind) {
        op(kind);
        return m_size - 1;
    }
    void bind(Label label) {
        if (m_program) (*m_program)[label].operand = here();
    }

    void child(const Node& kid, int32_t shift) {
        if (m_program) {
            construct(kid, shift);
        } else {
            m_size += kid.size;
        }
    }

    // A group's body; an empty one still takes one instruction.
    void body(const Node& inner, int32_t shift) {
        if (inner.kind == Node::Kind::Sequence && inner.kids.empty()) {
            op(Op::opNop);
        } else {
            child(inner, shift);
        }
    }

    void set(const Node& node) {
        const Label end = forward(node.negated ? Op::opNotInSet : Op::opInSet);
        for (const auto& [low, high] : node.ranges) {
            op(Op::opNop, low);
            op(Op::opNop, high);
        }
        bind(end);
    }

    void plainGroup(const Node& node, int32_t shift) {
        const Label inner = forward(Op::opCall);
        op(Op::opReturn);
        bind(inner);
        body(node.kids[0], shift);
    }

    void matchGroup(const Node& node, int32_t shift) {
        op(Op::opSaveGroup, node.value);
        op(Op::opGroupStart, node.value);
        const Label inner = forward(Op::opCall);
        op(Op::opRestoreGroup, node.value);
        op(Op::opReturn);
        bind(inner);
        body(node.kids[0], shift);
        op(Op::opGroupEnd, node.value);
    }

    // !X runs X as a sub-program: its success is the construct's failure and the other way
    // round. Groups opened inside X are saved around it, so that a negation that fails because
    // X matched does not leave X's group bounds behind in the reported match.
    void negation(const Node& node, int32_t shift) {
        const int32_t position = node.slot + shift;
        const int32_t depth = node.slot2 + shift;
        const auto restore = [&] {
            op(Op::opLoadPos, position);
            op(Op::opLoadDepth, depth);
            for (int32_t g = node.value; g-- > node.firstGroup;) op(Op::opRestoreGroup, g);
        };
        for (int32_t g = node.firstGroup; g < node.value; ++g) op(Op::opSaveGroup, g);
        op(Op::opStorePos, position);
        op(Op::opStoreDepth, depth);
        const Label attempt = forward(Op::opCall);
        restore();
        const Label end = forward(Op::opJump);
        bind(attempt);
        child(node.kids[0], shift);
        restore();
        op(Op::opReturn);
        bind(end);
    }

    // X1|(X2|(...|Xn)) in one pass: every nested alternation ends where the outermost one does,
    // so each "done" jump goes straight to the common end.
    void alternation(const Node& node, int32_t shift) {
        std::vector<Label> done;
        for (size_t i = 0; i + 1 < node.kids.size(); ++i) {
            op(Op::opPushPos);
            const Label attempt = forward(Op::opCall);
            op(Op::opPopPos);
            const Label next = forward(Op::opJump);
            bind(attempt);
            child(node.kids[i], shift);
            done.push_back(forward(Op::opJump));
            bind(next);
        }
        child(node.kids.back(), shift);
        for (Label label : done) bind(label);
    }

    void repeat(const Node& node, int32_t shift) {
        const Node& item = node.kids[0];
        int32_t itemShift = shift;
        if (node.plus) {
            child(item, shift);
            itemShift = shift + node.copyShift;
        }
        const int32_t slot = node.slot + shift;
        if (!node.lazy) return greedyLoop(item, itemShift, slot, node.loop);
        if (node.loop) return lazyLoop(item, itemShift, node.slot < 0 ? -1 : slot);
        lazyOptional(item, itemShift);
    }

    // X* (loop) and X? (no loop): an iteration that consumed nothing counts as failed. The slot
    // holds the start of the running iteration and is saved on the stack by the next one, so
    // that when backtracking re-enters an earlier iteration its progress is still measured from
    // that iteration's own start. (Storing the end position after each iteration would let a
    // re-entered iteration match empty: `{a?}?.` against "a" would report group 0 as "".)
    void greedyLoop(const Node& item, int32_t shift, int32_t slot, bool loop) {
        const int32_t head = here();
        op(Op::opPushSlot, slot);
        op(Op::opStorePos, slot);
        op(Op::opPushPos);
        const Label iteration = forward(Op::opCall);
        op(Op::opPopPos);
        op(Op::opPopSlot, slot);
        const Label end = forward(Op::opJump);
        bind(iteration);
        child(item, shift);
        op(Op::opCutIfNoProgress, slot);
        if (loop) op(Op::opJump, head);
        bind(end);
    }

    // X*? and X??: skip X first; when what follows fails, go back to where the skip happened
    // and take one X (then, for X*?, offer to skip again). The position is pushed before the
    // skip because a failed continuation may have moved it and backtracking alone does not
    // restore it: without that, `.*?ab` would miss the match at 0 in "aab".
    Label lazyEntry() {
        op(Op::opPushPos);
        const Label skip = forward(Op::opCall);
        op(Op::opPopPos);
        return skip;
    }

    // A slot of -1 means the item always consumes. One that can succeed without consuming
    // (`(!a)*?`) passes the empty-repeat check, and needs a progress check so that the loop
    // cannot take empty iterations forever.
    void lazyLoop(const Node& item, int32_t shift, int32_t slot) {
        const int32_t head = here();
        const Label skip = lazyEntry();
        if (slot >= 0) {
            op(Op::opPushSlot, slot);
            op(Op::opStorePos, slot);
            const Label iteration = forward(Op::opCall);
            op(Op::opPopSlot, slot);
            op(Op::opReturn);
            bind(iteration);
        }
        child(item, shift);
        if (slot >= 0) op(Op::opCutIfNoProgress, slot);
        op(Op::opJump, head);
        bind(skip);
    }

    void lazyOptional(const Node& item, int32_t shift) {
        const Label skip = lazyEntry();
        child(item, shift);
        bind(skip);
    }

    std::vector<BraceInstruction>* m_program;
    size_t m_size = 0;
};

}  // namespace

size_t measureBraceNode(const BraceNode& node) {
    CBraceEmitter counter(nullptr);
    counter.construct(node, 0);
    return counter.size();
}

size_t measureBraceProgram(const BraceNode& body) {
    CBraceEmitter counter(nullptr);
    counter.program(body, false);
    return counter.size();
}

std::vector<BraceInstruction> emitBraceProgram(const BraceNode& body, bool anchored) {
    std::vector<BraceInstruction> program;
    program.reserve(measureBraceProgram(body));
    CBraceEmitter emitter(&program);
    emitter.program(body, anchored);
    return program;
}

}  // namespace pelux
