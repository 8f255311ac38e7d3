// How the fuzz target reads its input: one byte that chooses how the rest is cut into pieces, as
// the socket might hand it over, then the bytes of the stream.
#pragma once

#include <cstddef>

namespace VcdFuzz {

inline std::size_t PieceSize(unsigned char selector)
{
    return static_cast<std::size_t>(selector % 17) + 1;
}

} // namespace VcdFuzz
