// A readable listing of a compiled brace-group program, for debugging patterns.
#include <cstdio>
#include <iterator>
#include <string>

#include "patterns/brace_regexp.h"

namespace pelux {

const char* braceOpName(BraceOp op) {
    static const char* const names[] = {
        "opNop",       "opChar",     "opAny",        "opInSet",          "opNotInSet",  "opBackref",
        "opGroupStart", "opGroupEnd", "opSaveGroup",  "opRestoreGroup",   "opJump",      "opCall",
        "opReturn",    "opPushPos",  "opPopPos",     "opPushSlot",       "opPopSlot",   "opStorePos",
        "opLoadPos",   "opStoreDepth", "opLoadDepth", "opCutIfNoProgress", "opNextStart", "opGiveUp",
        "opAccept",
    };
    const auto index = static_cast<size_t>(op);
    return index < std::size(names) ? names[index] : "opUnknown";
}

namespace {

// A character operand: printable ASCII as itself, everything else as its code.
std::string describeCharacter(int32_t value) {
    char buffer[32];
    if (value > 0x20 && value < 0x7F) {
        std::snprintf(buffer, sizeof buffer, "'%c' U+%04X", static_cast<char>(value), static_cast<unsigned>(value));
    } else if (value == 0) {
        std::snprintf(buffer, sizeof buffer, "end of text");
    } else {
        std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(value & 0xFFFF));
    }
    return buffer;
}

std::string describeOperand(BraceOp kind, int32_t operand) {
    switch (kind) {
        case BraceOp::opChar:
        case BraceOp::opNop:
            return kind == BraceOp::opNop && operand == 0 ? std::string() : describeCharacter(operand);
        case BraceOp::opInSet:
        case BraceOp::opNotInSet:
        case BraceOp::opJump:
        case BraceOp::opCall:
            return "-> " + std::to_string(operand);
        case BraceOp::opBackref:
        case BraceOp::opGroupStart:
        case BraceOp::opGroupEnd:
        case BraceOp::opSaveGroup:
        case BraceOp::opRestoreGroup:
            return "group " + std::to_string(operand);
        case BraceOp::opPushSlot:
        case BraceOp::opPopSlot:
        case BraceOp::opStorePos:
        case BraceOp::opLoadPos:
        case BraceOp::opStoreDepth:
        case BraceOp::opLoadDepth:
        case BraceOp::opCutIfNoProgress:
            return "slot " + std::to_string(operand);
        default:
            return std::string();
    }
}

}  // namespace

std::string CBraceRegExp::dump() const {
    std::string out = "status " + std::to_string(m_status) + " (" + braceStatusName(m_status) + "), " +
                      std::to_string(m_groupCount) + " groups, " + std::to_string(m_slotCount) + " slots" +
                      (m_caseSensitive ? "" : ", case-insensitive") + "\n";
    char line[96];
    for (size_t i = 0; i < m_program.size(); ++i) {
        const BraceInstruction& instruction = m_program[i];
        std::snprintf(line, sizeof line, "%5zu  %-18s %s\n", i, braceOpName(instruction.kind),
                      describeOperand(instruction.kind, instruction.operand).c_str());
        std::string text = line;
        while (text.size() > 1 && text[text.size() - 2] == ' ') text.erase(text.size() - 2, 1);
        out += text;
    }
    return out;
}

}  // namespace pelux
