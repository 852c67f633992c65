#pragma once

#include <cstddef>
#include <vector>

namespace sorvane {

// Memory for a large table that grows in pieces and goes whole, such as the
// targets of a run: regions of 2 MiB taken from the system directly, each
// aligned so that the kernel may back it with one huge page where it offers
// them. A table of a million entries then costs a few page faults where it
// would cost thousands, and on a virtual machine each fault costs as much
// as several renames. Pieces are handed out one after another and never
// move; none is given back alone.
class BulkMemory {
public:
    BulkMemory() = default;
    BulkMemory(BulkMemory&& other) noexcept;
    BulkMemory& operator=(BulkMemory&& other) noexcept;
    BulkMemory(const BulkMemory&) = delete;
    BulkMemory& operator=(const BulkMemory&) = delete;
    ~BulkMemory() { Release(); }

    // Room for bytes, aligned to 16; throws std::bad_alloc when the system
    // has none.
    void* Take(std::size_t bytes);
    // Gives every region back to the system.
    void Release() noexcept;

private:
    struct Region {
        char* at;
        std::size_t size;
    };
    std::vector<Region> mRegions;
    std::size_t mUsed = 0;  // bytes taken from the last region
};

}  // namespace sorvane
