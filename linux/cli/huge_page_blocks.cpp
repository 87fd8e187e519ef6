// Large blocks of the PeluxBar processes (a dictionary's text, the index tables, a file being
// read) are backed by transparent huge pages where the kernel offers them on request. A load
// touches tens of megabytes of fresh memory; with 4 KiB pages the kernel's page faults cost more
// than the load's own work, and with 2 MiB pages they all but vanish. Blocks of a mebibyte and
// more are placed on huge-page boundaries so that all of each can be backed that way. Small
// blocks and freeing are those of malloc: the advice changes where the pages come from, never
// what a block holds.
//
// Linked into the executables only (not into the sanitizer builds, whose allocator must see every
// block as its own).
#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kLargeBlock = std::size_t(1) << 20;

void* allocate(std::size_t size) {
    if (size < kLargeBlock) {
        void* block = std::malloc(size == 0 ? 1 : size);
        if (!block) throw std::bad_alloc();
        return block;
    }
    // A large block takes whole huge pages of its own: aligned to one and rounded up to the next,
    // so that the advice covers all of it and reaches no neighbour's memory. What the rounding
    // adds is address space until it is touched.
    const std::size_t rounded = (size + kHugePage - 1) & ~(kHugePage - 1);
    if (rounded < size) throw std::bad_alloc();
    void* block = nullptr;
    if (posix_memalign(&block, kHugePage, rounded) != 0) throw std::bad_alloc();
    madvise(block, rounded, MADV_HUGEPAGE);
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
