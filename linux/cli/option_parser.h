// The one option parser of the subcommands: each describes its options once, and the usage
// line, the --help text and the error messages all come from that description.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace pelux {

// How an option appears in the usage line: in brackets, bare when the command needs it, or not
// at all when the operands already name it.
enum class InUsage { Optional, Required, Hidden };

// A flag ("--json") or an option that takes the next argument as its value ("--dict-dir DIR").
struct OptionInfo {
    std::string name;
    std::string valueName;  // empty for a flag
    std::string help;
    InUsage inUsage = InUsage::Optional;
};

struct CommandInfo {
    std::string name;      // as typed after "peluxbar": "lookup", "dict build"
    std::string operands;  // the operands in the usage line: "(TEXT | --stdin)"
    std::string summary;   // what the command does, shown by --help
    std::vector<OptionInfo> options;
    // An argument that looks like an unknown option is an operand (a pattern may start with
    // dashes); otherwise it is a usage error.
    bool dashedOperands = false;
};

class CParsedOptions {
public:
    bool has(std::string_view name) const;
    // The value of the option's last occurrence.
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<std::string>& operands() const { return m_operands; }

private:
    friend std::optional<int> parseCommandLine(const CommandInfo&, const Arguments&, CParsedOptions&);
    std::vector<std::pair<std::string, std::string>> m_given;
    std::vector<std::string> m_operands;
};

std::string usageText(const CommandInfo& info);
std::string helpText(const CommandInfo& info);

// Options may come before or between the operands; "--" ends them. Returns the exit code when
// the command is to stop here: 0 after printing the help for --help or -h, 2 after printing what
// was wrong and the usage on standard error.
std::optional<int> parseCommandLine(const CommandInfo& info, const Arguments& args, CParsedOptions& parsed);

// Prints "peluxbar NAME: message" and the usage on standard error; returns 2.
int usageError(const CommandInfo& info, const std::string& message);

}  // namespace pelux
