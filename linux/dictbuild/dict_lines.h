// Reading a dictionary source line by line, from a file or from the output of a decompressor.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace pelux {

class CLineReader {
public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit CLineReader(const std::filesystem::path& file);
    // Runs argv[0] (searched in PATH) and reads what it writes to its standard output.
    explicit CLineReader(const std::vector<std::string>& argv);
    ~CLineReader();
    CLineReader(const CLineReader&) = delete;
    CLineReader& operator=(const CLineReader&) = delete;

    // The next line without its line feed and without a carriage return before it.
    bool next(std::string& line);
    std::size_t lineNumber() const { return m_lineNumber; }
    // Throws std::runtime_error when reading failed or the program did not succeed, so that a
    // cut-off source never passes for a complete one.
    void finish();

private:
    std::string m_what;
    std::FILE* m_file = nullptr;
    pid_t m_child = -1;
    int m_childErrors = -1;  // the program's standard error, read when it has finished
    char* m_buffer = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_lineNumber = 0;
};

}  // namespace pelux
