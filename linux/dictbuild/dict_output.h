// Writing dictionary files so that a reader never finds a half-written one: the text goes to
// NAME.tmp in the same directory, is flushed to the disk, and only then takes NAME's place.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelux {

class CAtomicFile {
public:
    // Creates DIR/NAME.tmp; throws std::runtime_error when it cannot.
    CAtomicFile(const std::filesystem::path& dir, const std::string& name);
    // Without commit() the temporary file is removed and DIR/NAME stays as it was.
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    void write(std::string_view bytes);
    // Flushes, syncs and renames over DIR/NAME. Throws std::runtime_error on failure.
    void commit();

private:
    void flushBuffer();

    std::filesystem::path m_final;
    std::filesystem::path m_temporary;
    int m_fd = -1;
    bool m_committed = false;
    std::string m_buffer;
};

// A .uni file: UTF-16LE, the first line starting with the byte-order mark, CRLF line ends.
class CUniFileWriter {
public:
    CUniFileWriter(const std::filesystem::path& dir, const std::string& name, std::u16string_view header);
    void writeLine(std::u16string_view line);
    void commit() { m_file.commit(); }
    std::size_t lines() const { return m_lines; }

private:
    CAtomicFile m_file;
    std::string m_bytes;
    std::size_t m_lines = 0;
};

// A single-byte text file with CRLF line ends; the first line is the header.
class CByteFileWriter {
public:
    CByteFileWriter(const std::filesystem::path& dir, const std::string& name, std::string_view header);
    void writeLine(std::string_view line);
    void commit() { m_file.commit(); }
    std::size_t lines() const { return m_lines; }

private:
    CAtomicFile m_file;
    std::size_t m_lines = 0;
};

}  // namespace pelux
