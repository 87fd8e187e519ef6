#include "dictionary/dictionary_file.h"

#include <bit>
#include <cstdint>
#include <fstream>

#include "platform/file_mapping.h"

namespace pelux {

namespace {

// Reads the whole file into `buffer`, resized to hold it; the number of bytes read, or -1.
template <typename Buffer>
std::streamoff readInto(std::ifstream& in, Buffer& buffer, std::size_t unitsFor(std::streamoff)) {
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return -1;
    in.seekg(0, std::ios::beg);
    buffer.resize(unitsFor(size));
    in.read(reinterpret_cast<char*>(buffer.data()), size);
    if (in.bad()) return -1;
    return in.gcount();
}

}  // namespace

bool readWholeFile(const std::filesystem::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::streamoff got = readInto(in, bytes, [](std::streamoff size) { return std::size_t(size); });
    if (got < 0) return false;
    bytes.resize(std::size_t(got));
    return true;
}

std::u16string decodeUtf16Le(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = char16_t(in[2 * i] | (in[2 * i + 1] << 8));
    return text;
}

std::u16string decodeSingleByteText(std::string_view bytes) {
    std::u16string text;
    text.resize(bytes.size());
    std::size_t out = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text[out++] = byte;
    }
    text.resize(out);
    return text;
}

namespace {

// The whole file into `buffer`, resized to hold it; false when it cannot be read whole.
template <typename Buffer>
bool readRegularInto(IReadableFile& file, Buffer& buffer, std::size_t unitsFor(uint64_t)) {
    if (file.size() > SIZE_MAX / 2) return false;
    buffer.resize(unitsFor(file.size()));
    return file.readAt(0, std::span(reinterpret_cast<std::byte*>(buffer.data()), std::size_t(file.size())));
}

// UTF-16LE straight into the text: the bytes are read where the code units go, hashed as they
// are, and swapped only on a big-endian machine.
bool readUtf16File(IReadableFile& file, std::u16string& text, FileStamp& stamp) {
    if (!readRegularInto(file, text, [](uint64_t size) { return std::size_t(size + 1) / 2; })) return false;
    stamp.size = file.size();
    stamp.hash = contentHash(text.data(), std::size_t(file.size()));
    text.resize(std::size_t(file.size()) / 2);
    if constexpr (std::endian::native == std::endian::big)
        for (char16_t& unit : text) unit = char16_t((unit >> 8) | (unit << 8));
    return true;
}

}  // namespace

bool CDictionaryFile::open(const std::filesystem::path& path, FileMode mode) {
    m_text.clear();
    m_view = {};
    m_position = 0;
    m_stamp = {};
    const std::optional<FileStamp> stat = statFile(path);
    if (stat) m_stamp.modified = stat->modified;
    const std::unique_ptr<IReadableFile> file = openRegularFile(path);
    if (!file) return false;
    if (mode == FileMode::Utf16Binary) {
        if (!readUtf16File(*file, m_text, m_stamp)) return false;
    } else {
        std::string bytes;
        if (!readRegularInto(*file, bytes, [](uint64_t size) { return std::size_t(size); })) return false;
        m_stamp.size = bytes.size();
        m_stamp.hash = contentHash(bytes.data(), bytes.size());
        m_text = decodeSingleByteText(bytes);
    }
    m_view = m_text;
    return true;
}

bool CDictionaryFile::readLine(std::u16string_view& line) {
    if (m_position >= m_view.size()) return false;
    const std::size_t feed = m_view.find(u'\n', m_position);
    const std::size_t end = feed == std::u16string_view::npos ? m_view.size() : feed + 1;
    line = m_view.substr(m_position, end - m_position);
    m_position = end;
    return true;
}

}  // namespace pelux
