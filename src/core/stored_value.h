#pragma once
// The album's values as the registry hands them over: bytes of a declared type that another
// tool, an older Glimro or a hostile hand may have written. Each reader takes the bytes as
// they are and decides what they mean, or that they mean nothing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace glimro {

using Bytes = std::span<const uint8_t>;

// A string value's characters (UTF-16 units, little-endian) up to its first NUL. plain is
// set when the bytes are exactly the text: no NUL and an even count.
std::wstring TextFromBytes(Bytes bytes, bool* plain = nullptr);

// Up to four bytes, little-endian, as stored numbers have always been read; more than four
// read as 0.
uint32_t NumberFromBytes(Bytes bytes);

// A stored number by its value's type: a DWORD (exactly four bytes) as it is, a string of
// decimal digits (as `reg add` stores a number typed without a type) as that number up to
// 2^32 - 1; anything else (text, binary, a 64-bit number, nothing) is no number. The types
// are the registry's numbers: 1 a string, 2 an expandable string, 4 a DWORD.
inline constexpr uint32_t kStoredString = 1, kStoredExpandString = 2, kStoredDword = 4;
std::optional<uint32_t> NumberFromValue(uint32_t type, Bytes bytes);

// A date and time in the registry's 16-byte layout (year, month, day of the week, day,
// hour, minute, second, millisecond: 16-bit each).
struct StoredTime {
    uint16_t year, month, day_of_week, day, hour, minute, second, milliseconds;
};
// Exactly 16 bytes holding a real date (years 1601 to 30827) and time.
bool TimeFromBytes(Bytes bytes, StoredTime* time);

// Whole 32-bit positions, at most 64 KB of them; false (and no round) for anything else.
// Whether the positions fit the list is the pass's to check.
inline constexpr size_t kMaxShuffleBytes = 64 * 1024;
bool ShuffleRoundFromBytes(Bytes bytes, std::vector<int>* round);

// The position an entry's value name ("ImageFile" and decimal digits, no leading zeros, the
// prefix in any letter case) stands for; false for any other name.
bool EntryPositionFromName(std::wstring_view name, unsigned long* position);

} // namespace glimro
