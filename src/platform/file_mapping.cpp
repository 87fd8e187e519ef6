#include "platform/file_mapping.h"

#include <atomic>
#include <fstream>
#include <system_error>

namespace pelux {

namespace {

std::atomic<IFileMapper*> g_mapper{nullptr};

class CStreamFile final : public IReadableFile {
public:
    CStreamFile(std::ifstream in, uint64_t size) : m_in(std::move(in)), m_size(size) {}
    uint64_t size() const override { return m_size; }
    bool readAt(uint64_t offset, std::span<std::byte> into) override {
        m_in.clear();
        m_in.seekg(std::streamoff(offset));
        m_in.read(reinterpret_cast<char*>(into.data()), std::streamsize(into.size()));
        return m_in.gcount() == std::streamsize(into.size());
    }

private:
    std::ifstream m_in;
    uint64_t m_size;
};

}  // namespace

void setFileMapper(IFileMapper* mapper) { g_mapper.store(mapper); }
IFileMapper* fileMapper() { return g_mapper.load(); }

std::unique_ptr<IReadableFile> openRegularFile(const std::filesystem::path& path) {
    if (IFileMapper* mapper = fileMapper()) return mapper->openRegular(path);
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) return nullptr;
    // The caller learns of a refusal as of a missing file, by the null it gets: a load then names
    // the path among those it could not open.
    if (!std::filesystem::is_regular_file(status)) return nullptr;
    const uint64_t size = std::filesystem::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in) return nullptr;
    return std::make_unique<CStreamFile>(std::move(in), size);
}

}  // namespace pelux
