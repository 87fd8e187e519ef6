#include "file_mapper_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace pelux::win32 {

namespace {

class CMappedView final : public IMappedFile {
public:
    CMappedView(const void* view, std::size_t size) : m_view(view), m_size(size) {}
    ~CMappedView() override { UnmapViewOfFile(m_view); }
    CMappedView(const CMappedView&) = delete;
    CMappedView& operator=(const CMappedView&) = delete;
    const std::byte* data() const override { return static_cast<const std::byte*>(m_view); }
    std::size_t size() const override { return m_size; }

private:
    const void* m_view;
    std::size_t m_size;
};

class CHandle {
public:
    explicit CHandle(HANDLE handle) : m_handle(handle) {}
    ~CHandle() {
        if (valid()) CloseHandle(m_handle);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    bool valid() const { return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

bool writePieces(HANDLE file, std::span<const std::string_view> pieces) {
    for (std::string_view piece : pieces) {
        while (!piece.empty()) {
            const DWORD chunk = DWORD(std::min<std::size_t>(piece.size(), 1u << 30));
            DWORD written = 0;
            if (!WriteFile(file, piece.data(), chunk, &written, nullptr) || written == 0) return false;
            piece.remove_prefix(written);
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<IMappedFile> CWin32FileMapper::mapReadOnly(const std::filesystem::path& path) {
    // Shared for deletion too, so that a newer image can be moved over this one while it is mapped.
    const CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 ||
        uint64_t(size.QuadPart) > uint64_t(SIZE_MAX))
        return nullptr;
    const CHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping.valid()) return nullptr;
    const void* view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
    if (!view) return nullptr;
    return std::make_unique<CMappedView>(view, std::size_t(size.QuadPart));
}

bool CWin32FileMapper::replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) {
    const std::wstring temporary = path.wstring() + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
                                   std::to_wstring(GetCurrentThreadId()) + L".tmp";
    bool ok = false;
    {
        const CHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid()) return false;
        ok = writePieces(file.get(), pieces);
    }
    ok = ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

CWin32FileMapper& fileMapperInstance() {
    static CWin32FileMapper mapper;
    return mapper;
}

}  // namespace pelux::win32
