// Test helper: runs the built `peluxbar` executable as scripts and people do.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace pelux {

struct CommandResult {
    std::string output;
    int exitCode = -1;
};

struct RunOptions {
    bool withStderr = false;    // standard error joins the output
    std::string environment;    // shell assignments put before the command, e.g. "env -u DISPLAY"
    std::string input;          // given on standard input when not empty
};

inline std::string peluxbarPath() {
    if (const char* path = std::getenv("PELUXBAR_BIN")) return path;
    return std::string(PELUX_BINARY_DIR) + "/peluxbar";
}

inline std::string shellQuote(const std::string& argument) {
    std::string quoted = "'";
    for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

inline CommandResult runPeluxbar(const std::vector<std::string>& arguments, const RunOptions& options = {}) {
    std::string command = options.environment.empty() ? "" : options.environment + " ";
    command += shellQuote(peluxbarPath());
    for (const std::string& argument : arguments) command += " " + shellQuote(argument);
    std::string inputPath;
    if (!options.input.empty()) {
        inputPath = testing::TempDir() + "peluxbar-input-" + std::to_string(::getpid());
        std::ofstream(inputPath, std::ios::binary) << options.input;
        command += " <" + shellQuote(inputPath);
    }
    command += options.withStderr ? " 2>&1" : " 2>/dev/null";

    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (!inputPath.empty()) std::remove(inputPath.c_str());
    return result;
}

}  // namespace pelux
