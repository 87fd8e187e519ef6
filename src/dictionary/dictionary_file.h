// Reading the dictionary files: the whole file is read at once and handed out line by line.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "dictionary/content_hash.h"
#include "platform/perl_pattern.h"

namespace pelux {

enum class FileMode {
    // UTF-16 little-endian code units, taken as they are; a trailing odd byte is dropped.
    Utf16Binary,
    // Single-byte text: each byte becomes the character of the same value, CR LF becomes LF.
    SingleByteText,
};

class CDictionaryFile {
public:
    // False when the file cannot be read; the object then holds no lines.
    bool open(const std::filesystem::path& path, FileMode mode);
    // The next line up to and including its line feed (the last line may lack one), however
    // long it is; false at the end of the file. The view lives as long as the text it is read from.
    bool readLine(std::u16string_view& line);
    // Characters in the file, for sizing what the load builds from it.
    std::size_t size() const { return m_view.size(); }
    // The first line of every dictionary file is a header that nobody looks at.
    void skipHeader() {
        std::u16string_view header;
        readLine(header);
    }
    // Size, time and content hash of the file as it was read.
    const FileStamp& stamp() const { return m_stamp; }
    // Gives the decoded text away; reading goes on in `text`, which must be that same text.
    std::u16string releaseText() { return std::move(m_text); }
    void continueIn(std::u16string_view text) { m_view = text; }

    // Hands each line after the header to `eachLine`. A line the pattern object gives up on is
    // passed over, as the line of any other file that holds nothing usable.
    template <class EachLine>
    void forEachLineAfterHeader(EachLine eachLine) {
        skipHeader();
        std::u16string_view line;
        while (readLine(line)) {
            try {
                eachLine(line);
            } catch (const CPatternError&) {
            }
        }
    }

private:
    std::u16string m_text;
    std::u16string_view m_view;
    std::size_t m_position = 0;
    FileStamp m_stamp;
};

// Decoding of file bytes, exposed for the benchmark baseline and the tests.
std::u16string decodeUtf16Le(std::string_view bytes);
std::u16string decodeSingleByteText(std::string_view bytes);
bool readWholeFile(const std::filesystem::path& path, std::string& bytes);

}  // namespace pelux
