#include "platform/BulkMemory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace sorvane;

namespace {

// Pieces of every size, within one region, across regions and larger than
// one, are each aligned, writable whole and apart from every other: what
// was written into each is still there after all were taken. A move hands
// them over untouched.
TEST(BulkMemory, PiecesAreAlignedWritableAndApart) {
    const std::size_t sizes[] = {
        1, 15, 16, 100, 96 << 10, 300000, 1 << 20, (2 << 20) + 1, 5 << 20, 24, 2 << 20, 3, 1 << 21};
    BulkMemory memory;
    std::vector<std::pair<unsigned char*, std::size_t>> pieces;
    for (const std::size_t size : sizes) {
        auto* const piece = static_cast<unsigned char*>(memory.Take(size));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(piece) % 16, 0u) << size;
        std::memset(piece, int(pieces.size() + 1), size);
        pieces.emplace_back(piece, size);
    }
    const BulkMemory moved(std::move(memory));
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto [piece, size] = pieces[i];
        const unsigned char mark = static_cast<unsigned char>(i + 1);
        EXPECT_EQ(std::find_if(piece, piece + size, [mark](unsigned char c) { return c != mark; }),
                  piece + size)
            << "piece " << i << " of " << size << " bytes";
    }
}

}  // namespace
