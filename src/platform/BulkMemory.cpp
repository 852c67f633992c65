#include "platform/BulkMemory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

namespace sorvane {

namespace {

constexpr std::size_t kRegion = std::size_t(2) << 20;  // one huge page on x86-64 and arm64
// The first region is small and of small pages: a table of a few entries
// (a preview's, a small run's) holds no more than it needs. It takes the
// first block of names (256 KiB) and the first chunk of records.
constexpr std::size_t kFirstRegion = std::size_t(512) << 10;
constexpr std::size_t kAlign = 16;

constexpr std::size_t RoundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

char* Map(std::size_t size) {
    void* const mapped =
        ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    return static_cast<char*>(mapped);
}

// A region of size bytes (a multiple of kRegion) that begins at a multiple
// of kRegion: a little more is asked for, and the ends beyond it are given
// back.
char* MapHugeRegion(std::size_t size) {
    char* const start = Map(size + kRegion);
    char* const at =
        reinterpret_cast<char*>(RoundUp(reinterpret_cast<std::uintptr_t>(start), kRegion));
    if (at > start) ::munmap(start, std::size_t(at - start));
    if (char* const end = at + size; end < start + size + kRegion)
        ::munmap(end, std::size_t(start + size + kRegion - end));
#ifdef MADV_HUGEPAGE
    // Only a hint: where the kernel has no huge page to give, the region
    // is made of small pages as any other memory.
    ::madvise(at, size, MADV_HUGEPAGE);
#endif
    return at;
}

}  // namespace

BulkMemory::BulkMemory(BulkMemory&& other) noexcept
    : mRegions(std::exchange(other.mRegions, {})), mUsed(std::exchange(other.mUsed, 0)) {}

BulkMemory& BulkMemory::operator=(BulkMemory&& other) noexcept {
    if (this != &other) {
        Release();
        mRegions = std::exchange(other.mRegions, {});
        mUsed = std::exchange(other.mUsed, 0);
    }
    return *this;
}

void* BulkMemory::Take(std::size_t bytes) {
    bytes = RoundUp(bytes, kAlign);
    if (mRegions.empty() || mRegions.back().size - mUsed < bytes) {
        const bool first = mRegions.empty();
        const std::size_t size = RoundUp(bytes, first ? kFirstRegion : kRegion);
        // Room first, so that a region is never mapped and then lost to a
        // list that cannot grow.
        if (mRegions.size() == mRegions.capacity())
            mRegions.reserve(std::max<std::size_t>(4, 2 * mRegions.size()));
        mRegions.push_back(Region{first ? Map(size) : MapHugeRegion(size), size});
        mUsed = 0;
    }
    void* const piece = mRegions.back().at + mUsed;
    mUsed += bytes;
    return piece;
}

void BulkMemory::Release() noexcept {
    for (const Region& region : mRegions) ::munmap(region.at, region.size);
    mRegions.clear();
    mUsed = 0;
}

}  // namespace sorvane
