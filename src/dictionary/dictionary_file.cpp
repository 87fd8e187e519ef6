#include "dictionary/dictionary_file.h"

#include <fstream>

namespace pelux {

bool readWholeFile(const std::filesystem::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    in.seekg(0, std::ios::beg);
    bytes.resize(static_cast<std::size_t>(size));
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return !in.bad();
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

bool DictionaryFile::open(const std::filesystem::path& path, FileMode mode) {
    m_text.clear();
    m_position = 0;
    std::string bytes;
    if (!readWholeFile(path, bytes)) return false;
    m_text = mode == FileMode::Utf16Binary ? decodeUtf16Le(bytes) : decodeSingleByteText(bytes);
    return true;
}

bool DictionaryFile::readLine(std::u16string_view& line) {
    if (m_position >= m_text.size()) return false;
    const std::size_t feed = m_text.find(u'\n', m_position);
    const std::size_t end = feed == std::u16string::npos ? m_text.size() : feed + 1;
    line = std::u16string_view(m_text).substr(m_position, end - m_position);
    m_position = end;
    return true;
}

}  // namespace pelux
