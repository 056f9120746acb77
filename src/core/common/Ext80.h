#pragma once
// The 10-byte extended real of records and files: 64-bit significand with an
// explicit integer bit (bytes 0-7, little-endian), then a 16-bit word with the
// sign in bit 15 and the exponent biased by 16383.
#include <array>
#include <cstdint>

#include "common/Real.h"

namespace vexamo {

using Ext80Bytes = std::array<std::uint8_t, 10>;

// Platform path: a byte copy where Real is x87, else the portable path.
Ext80Bytes encodeExt80(Real value);
Real decodeExt80(const std::uint8_t* bytes);  // reads exactly 10 bytes
inline Real decodeExt80(const Ext80Bytes& b) { return decodeExt80(b.data()); }

// An ordinary number: neither infinity nor a NaN (nor their pseudo forms)
// nor an unnormal, which the x87 unit refuses as an operand.
bool isOrdinaryExt80(const Ext80Bytes& bytes);

// Portable path (arithmetic, no knowledge of the long double layout). Exact
// for every value the platform's Real can hold; exposed for tests.
Ext80Bytes encodeExt80Portable(Real value);
Real decodeExt80Portable(const std::uint8_t* bytes);

}  // namespace vexamo
