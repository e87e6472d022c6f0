#pragma once

#include <cstddef>
#include <cstdint>

// The binary layout of a base file shared by the loader and the writer:
// a 2568-byte header, then 6-byte records in depth-first pre-order.
namespace BaseFormat {
constexpr std::size_t HeaderSize = 2568;
constexpr std::size_t RecordSize = 6;
// The level and character bytes of a record are stored XORed with these.
constexpr std::uint8_t LevelMask = 0x5A;
constexpr std::uint8_t CharMask = 0xA7;
} // namespace BaseFormat
