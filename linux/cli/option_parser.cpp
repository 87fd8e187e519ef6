#include "cli/option_parser.h"

#include <algorithm>
#include <cstdio>

namespace pelux {

namespace {

const OptionInfo* findOption(const CommandInfo& info, std::string_view name) {
    for (const OptionInfo& option : info.options) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

// Single dashes stay operands: a word or a pattern may start with one.
bool looksLikeOption(const std::string& arg) { return arg.starts_with("--") || arg == "-h"; }

std::string optionForm(const OptionInfo& option) {
    std::string form = option.name;
    if (!option.valueName.empty()) form.append(" ").append(option.valueName);
    return form;
}

}  // namespace

bool CParsedOptions::has(std::string_view name) const {
    return std::any_of(m_given.begin(), m_given.end(), [name](const auto& given) { return given.first == name; });
}

std::optional<std::string> CParsedOptions::value(std::string_view name) const {
    for (auto given = m_given.rbegin(); given != m_given.rend(); ++given) {
        if (given->first == name) return given->second;
    }
    return std::nullopt;
}

std::string usageText(const CommandInfo& info) {
    std::string usage = "usage: peluxbar ";
    usage.append(info.name);
    for (const OptionInfo& option : info.options) {
        if (option.inUsage == InUsage::Optional) usage.append(" [").append(optionForm(option)).append("]");
        if (option.inUsage == InUsage::Required) usage.append(" ").append(optionForm(option));
    }
    if (!info.operands.empty()) usage.append(" ").append(info.operands);
    return usage.append("\n");
}

std::string helpText(const CommandInfo& info) {
    std::string help = usageText(info);
    help.append("\n").append(info.summary).append("\n");
    if (info.options.empty()) return help;
    size_t width = std::string_view("--help").size();
    for (const OptionInfo& option : info.options) width = std::max(width, optionForm(option).size());
    help.append("\noptions:\n");
    const auto line = [&help, width](const std::string& form, const std::string& text) {
        help.append("  ").append(form).append(width - form.size() + 2, ' ').append(text).append("\n");
    };
    for (const OptionInfo& option : info.options) line(optionForm(option), option.help);
    line("--help", "this text");
    return help;
}

int usageError(const CommandInfo& info, const std::string& message) {
    std::fprintf(stderr, "peluxbar %s: %s\n%s", info.name.c_str(), message.c_str(), usageText(info).c_str());
    return 2;
}

std::optional<int> parseCommandLine(const CommandInfo& info, const Arguments& args, CParsedOptions& parsed) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !looksLikeOption(arg)) {
            parsed.m_operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(helpText(info).c_str(), stdout);
            return 0;
        } else if (const OptionInfo* option = findOption(info, arg)) {
            if (option->valueName.empty()) {
                parsed.m_given.emplace_back(arg, std::string());
            } else if (i + 1 >= args.size()) {
                return usageError(info, std::string(arg).append(" needs a value (").append(option->valueName).append(")"));
            } else {
                parsed.m_given.emplace_back(arg, args[++i]);
            }
        } else if (info.dashedOperands) {
            parsed.m_operands.push_back(arg);
        } else {
            return usageError(info, std::string("unknown option ").append(arg));
        }
    }
    return std::nullopt;
}

}  // namespace pelux
