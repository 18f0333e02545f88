#pragma once

// Code page 936 as Qt's converter (ICU) decodes and encodes it, written out once by
// tools/gbk-table into GbkTableData.cpp, so that the program needs no converter of its own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace rw::gbk {

inline constexpr int kFirstLead = 0x81;
inline constexpr int kLastLead = 0xFE;
inline constexpr int kFirstTrail = 0x40; // no two-byte code has a smaller trail byte
inline constexpr std::size_t kTrails = 0x100 - kFirstTrail;
inline constexpr std::size_t kPairCount = (kLastLead - kFirstLead + 1) * kTrails;

// Each byte alone; U+FFFD for the lead bytes and for bytes that are no character.
extern const std::array<char16_t, 256> kSingle;
// Lead and trail byte: (lead - kFirstLead) * kTrails + trail - kFirstTrail; U+FFFD for no code.
extern const std::array<char16_t, kPairCount> kPairs;
// The encoder's answers where they differ from the first code (single bytes, then pairs in
// order) that decodes to a unit: unit << 16 | code, code 0xFFFF for none; ordered by unit.
extern const std::span<const std::uint32_t> kEncodeExceptions;

} // namespace rw::gbk
