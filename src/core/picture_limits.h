#pragma once
// The largest picture Glimro will decode. A file's header can claim any size; whatever it
// claims is checked here, in 64 bits, before any memory is taken for its pixels.
#include <cstdint>

namespace glimro {

// No side longer than this (JPEG's own limit is 65,535).
inline constexpr uint64_t kMaxPictureSide = 100000;
// Decoded pixels take at most this, at four bytes a pixel: about 1 GB.
inline constexpr uint64_t kMaxDecodedBytes = uint64_t{1} << 30;

// Whether a picture of this size may be decoded at this size.
bool DecodeFits(uint64_t width, uint64_t height);

// Whether a picture may be staged at all: its declared size within the side limit, and its
// pixels, decoded at up to 1/8 of each side where the codec can shrink while decoding (JPEG)
// or at full size otherwise, within the byte limit.
bool PictureFits(uint64_t width, uint64_t height, bool reduced_decode);

} // namespace glimro
