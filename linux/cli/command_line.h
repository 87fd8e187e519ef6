// The command line of one subcommand, described once to CLI11: each option's name, value and help
// text. The usage line, the --help text and the error messages all come from that description.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace CLI {
class App;
}

namespace pelux {

// How an option appears in the usage line: in brackets, bare when the command needs it, or not
// at all when the operands already name it.
enum class InUsage { Optional, Required, Hidden };

class CCommandLine {
public:
    // name: as typed after "peluxbar" ("lookup", "dict build"); operands: as the usage line shows
    // them ("(TEXT | --stdin)"); summary: what the command does, for --help.
    CCommandLine(const std::string& name, const std::string& operands, const std::string& summary);
    CCommandLine(CCommandLine&&) noexcept;
    ~CCommandLine();

    // The targets are written by parse(), so they must outlive it.
    void addFlag(const std::string& name, bool& given, const std::string& help, InUsage inUsage = InUsage::Optional);
    void addOption(const std::string& name, std::optional<std::string>& value, const std::string& valueName,
                   const std::string& help, InUsage inUsage = InUsage::Optional);
    // An argument that looks like an unknown option is then an operand (a pattern may start with
    // dashes); otherwise it is a usage error.
    void takeDashedOperands();

    // Options may come before or between the operands, and "--" ends them; an option given twice
    // keeps its last value. Returns the exit code when the command is to stop here: 0 after
    // printing the help for --help or -h, 2 after printing what was wrong and the usage on
    // standard error.
    std::optional<int> parse(const Arguments& args);
    const std::vector<std::string>& operands() const;

    std::string usageText() const;
    std::string helpText() const;
    // Prints "peluxbar NAME: message" and the usage on standard error; returns 2.
    int usageError(const std::string& message) const;

private:
    // Sorts what CLI11 did not take into operands; throws for help or an unknown option.
    void sortRemaining();

    struct State;
    std::unique_ptr<CLI::App> m_app;
    // Behind a pointer of its own, so that CLI11's callbacks can hold it across a move.
    std::unique_ptr<State> m_state;
};

}  // namespace pelux
