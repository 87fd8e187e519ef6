#include "dictionary/load_environment.h"

#include <string>

namespace pelux {

std::filesystem::path dictionaryFilePath(const std::filesystem::path& directory, std::string_view fileName) {
    return directory / std::filesystem::path(fileName);
}

std::filesystem::path dictionaryFilePath(const IModuleDirectory& module, std::string_view fileName) {
    return dictionaryFilePath(module.directory(), fileName);
}

void showLoadText(const LoadEnvironment& environment, std::u16string_view text) {
    if (std::shared_ptr<ITextWindow> window = environment.textWindow.lock()) window->setText(text);
}

void pumpMessages(const LoadEnvironment& environment) {
    if (environment.pump) environment.pump->pumpMessages();
}

bool pollEscape(const LoadEnvironment& environment) { return environment.keys && environment.keys->pollEscape(); }

std::u16string formatProgress(std::u16string_view format, LineNumber number) {
    std::u16string result;
    const std::size_t marker = format.find(u"%d");
    if (marker == std::u16string_view::npos) return std::u16string(format);
    const std::string digits = std::to_string(number);
    result.reserve(format.size() + digits.size());
    result.append(format.substr(0, marker));
    result.append(digits.begin(), digits.end());
    result.append(format.substr(marker + 2));
    return result;
}

bool loadProgressStep(const LoadEnvironment& environment, LineNumber line, std::u16string_view format) {
    if (line % 1000 != 0) return false;
    showLoadText(environment, formatProgress(format, line));
    pumpMessages(environment);
    return pollEscape(environment);
}

}  // namespace pelux
