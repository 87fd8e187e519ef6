// Reading the dictionary files: the whole file is read at once and handed out line by line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace pelux {

enum class FileMode {
    // UTF-16 little-endian code units, taken as they are; a trailing odd byte is dropped.
    Utf16Binary,
    // Single-byte text: each byte becomes the character of the same value, CR LF becomes LF.
    SingleByteText,
};

class DictionaryFile {
public:
    // False when the file cannot be read; the object then holds no lines.
    bool open(const std::filesystem::path& path, FileMode mode);
    // The next line up to and including its line feed (the last line may lack one), however
    // long it is; false at the end of the file. The view lives as long as this object.
    bool readLine(std::u16string_view& line);
    // Characters in the file, for sizing what the load builds from it.
    std::size_t size() const { return m_text.size(); }
    // The first line of every dictionary file is a header that nobody looks at.
    void skipHeader() {
        std::u16string_view header;
        readLine(header);
    }

private:
    std::u16string m_text;
    std::size_t m_position = 0;
};

// Decoding of file bytes, exposed for the benchmark baseline and the tests.
std::u16string decodeUtf16Le(std::string_view bytes);
std::u16string decodeSingleByteText(std::string_view bytes);
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace pelux
