#pragma once
// The one reading of 32 bits as a signed number (two's complement), for
// the stored files and the number rule: values beyond 32 bits wrap around
// modulo 2^32, well defined, without an out-of-range conversion.
#include <cstdint>

namespace quorv {

constexpr std::int32_t WrapToInt32(std::uint32_t bits) {
    return bits <= 0x7FFFFFFFu ? static_cast<std::int32_t>(bits) : -static_cast<std::int32_t>(~bits) - 1;
}

}  // namespace quorv
