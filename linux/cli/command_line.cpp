#include "cli/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>

namespace pelux {

namespace {

constexpr const char* kHelpFlag = "--help";
// The option groups say where an option appears in the usage line; --help is in none of them.
constexpr const char* kInBrackets = "Options";
constexpr const char* kBareInUsage = "Required";
constexpr const char* kNotInUsage = "Not in usage";

// What wrong usage stops with: the message, then the usage, on standard error; exit code 2.
class CUsageError : public CLI::ParseError {
public:
    explicit CUsageError(const std::string& message) : CLI::ParseError(message, 2) {}
};

const char* usageGroup(InUsage inUsage) {
    if (inUsage == InUsage::Optional) return kInBrackets;
    return inUsage == InUsage::Required ? kBareInUsage : kNotInUsage;
}

std::string optionForm(const CLI::Option& option) {
    std::string form = option.get_name();
    if (option.get_items_expected_max() > 0) form.append(" ").append(option.get_type_name());
    return form;
}

bool isHelpFlag(const CLI::Option& option) { return option.check_lname(std::string(kHelpFlag).substr(2)); }

// The usage line and the --help text, both from the options as the command described them.
class CUsageFormatter : public CLI::Formatter {
public:
    explicit CUsageFormatter(std::string operands) : m_operands(std::move(operands)) {}

    std::string make_usage(const CLI::App* app, std::string) const override {
        std::string usage = "usage: peluxbar " + app->get_name();
        for (const CLI::Option* option : app->get_options()) {
            if (option->get_group() == kInBrackets) usage.append(" [").append(optionForm(*option)).append("]");
            if (option->get_group() == kBareInUsage) usage.append(" ").append(optionForm(*option));
        }
        if (!m_operands.empty()) usage.append(" ").append(m_operands);
        return usage.append("\n");
    }

    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode) const override {
        std::string help = make_usage(app, name);
        help.append("\n").append(app->get_description()).append("\n");
        std::vector<const CLI::Option*> options = app->get_options();
        if (options.size() == 1) return help;
        // --help closes the list, whenever it was added.
        std::stable_partition(options.begin(), options.end(),
                              [](const CLI::Option* option) { return !isHelpFlag(*option); });
        size_t width = 0;
        for (const CLI::Option* option : options) width = std::max(width, optionForm(*option).size());
        help.append("\noptions:\n");
        for (const CLI::Option* option : options) {
            const std::string form = optionForm(*option);
            help += "  " + form + std::string(width - form.size() + 2, ' ') + option->get_description() + "\n";
        }
        return help;
    }

private:
    std::string m_operands;
};

}  // namespace

// CLI11 reads "--name=value" as the option with that value. This tool has always taken such an
// argument whole (an unknown option, or an operand), so CLI11 gets a stand-in it cannot read as
// an option, and the argument comes back whole wherever the stand-in lands: as an option's value
// or among the remaining arguments.
struct CCommandLine::State {
    static constexpr char kStandIn = '\x01';
    std::shared_ptr<CUsageFormatter> formatter;
    std::vector<std::string> keptWhole;
    std::vector<std::string> operands;
    bool dashedOperands = false;

    std::string standIn(const std::string& arg) {
        const bool splittable = arg.starts_with("--") && arg.find('=') != std::string::npos;
        if (!splittable && !arg.starts_with(kStandIn)) return arg;
        keptWhole.push_back(arg);
        return kStandIn + std::to_string(keptWhole.size() - 1);
    }
    std::string whole(const std::string& arg) const {
        return arg.starts_with(kStandIn) ? keptWhole.at(std::stoul(arg.substr(1))) : arg;
    }
};

CCommandLine::CCommandLine(const std::string& name, const std::string& operands, const std::string& summary)
    : m_app(std::make_unique<CLI::App>(summary, name)), m_state(std::make_unique<State>()) {
    m_state->formatter = std::make_shared<CUsageFormatter>(operands);
    m_app->formatter(m_state->formatter);
    const State* state = m_state.get();
    m_app->failure_message([state](const CLI::App* app, const CLI::Error& error) {
        return "peluxbar " + app->get_name() + ": " + error.what() + "\n" + state->formatter->make_usage(app, "");
    });
    m_app->allow_extras();
    m_app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    // "-h" is no CLI11 name: CLI11 would read "-hx" as -h and -x, and a single dash starts an
    // operand here. --help stops the parse where it stands, so that what follows it is not judged.
    m_app->set_help_flag();
    CLI::Option* help = m_app->add_flag_callback(kHelpFlag, [] { throw CLI::CallForHelp(); }, "this text");
    help->trigger_on_parse()->group(kNotInUsage);
}

CCommandLine::CCommandLine(CCommandLine&&) noexcept = default;
CCommandLine::~CCommandLine() = default;

void CCommandLine::addFlag(const std::string& name, bool& given, const std::string& help, InUsage inUsage) {
    m_app->add_flag(name, given, help)->group(usageGroup(inUsage));
}

void CCommandLine::addOption(const std::string& name, std::optional<std::string>& value, const std::string& valueName,
                             const std::string& help, InUsage inUsage) {
    const State* state = m_state.get();
    const auto assign = [&value, state](const std::string& given) { value = state->whole(given); };
    m_app->add_option_function<std::string>(name, assign, help)->type_name(valueName)->group(usageGroup(inUsage));
}

void CCommandLine::takeDashedOperands() { m_state->dashedOperands = true; }

// What CLI11 leaves over is in the order given: operands, unknown options, single-dash arguments
// and the first "--". Whichever comes first of help, an unknown option and an error of CLI11's is
// the one reported.
void CCommandLine::sortRemaining() {
    bool optionsEnded = false;
    for (const std::string& arg : m_app->remaining()) {
        const std::string whole = m_state->whole(arg);
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && whole == "-h") {
            throw CLI::CallForHelp();
        } else if (!optionsEnded && whole.starts_with("--") && !m_state->dashedOperands) {
            throw CUsageError("unknown option " + whole);
        } else {
            m_state->operands.push_back(whole);
        }
    }
}

std::optional<int> CCommandLine::parse(const Arguments& args) {
    m_state->keptWhole.clear();
    m_state->operands.clear();
    std::vector<std::string> reversed;
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) reversed.push_back(m_state->standIn(*arg));
    try {
        try {
            m_app->parse(reversed);
        } catch (const CLI::CallForHelp&) {
            sortRemaining();
            throw;
        } catch (const CLI::ArgumentMismatch&) {
            // Only the last argument can lack its value: everything else came before it.
            sortRemaining();
            const CLI::Option* option = m_app->get_option_no_throw(args.back());
            if (option == nullptr) throw;
            throw CUsageError(args.back() + " needs a value (" + option->get_type_name() + ")");
        }
        sortRemaining();
    } catch (const CLI::ParseError& error) {
        const int exitCode = m_app->exit(error, std::cout, std::cerr);
        return exitCode == 0 ? 0 : 2;
    }
    return std::nullopt;
}

const std::vector<std::string>& CCommandLine::operands() const { return m_state->operands; }

std::string CCommandLine::usageText() const { return m_state->formatter->make_usage(m_app.get(), ""); }

std::string CCommandLine::helpText() const { return m_app->help(); }

int CCommandLine::usageError(const std::string& message) const {
    return m_app->exit(CUsageError(message), std::cout, std::cerr);
}

}  // namespace pelux
