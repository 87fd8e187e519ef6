// Large blocks of the PeluxBar processes (a dictionary's text, the index tables, a file being
// read) are backed by transparent huge pages where the kernel offers them on request. A load
// touches tens of megabytes of fresh memory; with 4 KiB pages the kernel's page faults cost more
// than the load's own work, and with 2 MiB pages they all but vanish. Small blocks and freeing are
// those of malloc: the advice changes where the pages come from, never what a block holds.
//
// Linked into the executables only (not into the sanitizer builds, whose allocator must see every
// block as its own).
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
constexpr std::size_t kLargeBlock = std::size_t(4) << 20;

void* allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block) throw std::bad_alloc();
    if (size >= kLargeBlock) {
        // Only whole huge pages inside the block: the advice must not reach a neighbour's memory.
        const std::uintptr_t start = (std::uintptr_t(block) + kHugePage - 1) & ~(kHugePage - 1);
        const std::uintptr_t end = (std::uintptr_t(block) + size) & ~(kHugePage - 1);
        if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
