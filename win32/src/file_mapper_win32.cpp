#include "file_mapper_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace pelux::win32 {

namespace {

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
    void release() { m_handle = nullptr; }

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

class CReadableFile final : public IReadableFile {
public:
    CReadableFile(HANDLE file, uint64_t size) : m_file(file), m_size(size) {}
    uint64_t size() const override { return m_size; }
    bool readAt(uint64_t offset, std::span<std::byte> into) override {
        while (!into.empty()) {
            OVERLAPPED at{};
            at.Offset = DWORD(offset);
            at.OffsetHigh = DWORD(offset >> 32);
            const DWORD chunk = DWORD(std::min<std::size_t>(into.size(), 1u << 30));
            DWORD got = 0;
            if (!ReadFile(m_file.get(), into.data(), chunk, &got, &at) || got == 0) return false;
            into = into.subspan(got);
            offset += got;
        }
        return true;
    }

private:
    CHandle m_file;
    uint64_t m_size;
};

}  // namespace

std::unique_ptr<IReadableFile> CWin32FileMapper::openRegular(const std::filesystem::path& path) {
    // Shared for deletion too, so that a newer image can be moved over this one while it is read.
    // The load copies what it reads: nothing of the file is used once the handle is closed.
    CHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return nullptr;
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        std::fprintf(stderr, "PeluxBar: %ls is not a regular file; it is not read\n", path.c_str());
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return nullptr;
    HANDLE handle = file.get();
    file.release();
    return std::make_unique<CReadableFile>(handle, uint64_t(size.QuadPart));
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
