#include "common/Ext80.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace vexamo {

namespace {

constexpr int kExponentBias = 16383;
constexpr int kMaxBiasedExponent = 0x7FFF;
constexpr int kSignificandBits = 64;
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
// Value of the least significant bit of a denormal (biased exponent 0):
// 2^(1 - 16383 - 63).
constexpr int kDenormalScale = 1 - kExponentBias - (kSignificandBits - 1);

Ext80Bytes pack(std::uint64_t significand, int biasedExponent, bool negative) {
    Ext80Bytes out{};
    for (int i = 0; i < 8; ++i) {
        out[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(significand >> (8 * i));
    }
    const auto word = static_cast<std::uint16_t>((negative ? 0x8000u : 0u) |
                                                 static_cast<unsigned>(biasedExponent));
    out[8] = static_cast<std::uint8_t>(word & 0xFFu);
    out[9] = static_cast<std::uint8_t>(word >> 8);
    return out;
}

// Turns a scaled magnitude into an integer significand. Where Real has at most
// 64 significand bits the scaled value is already an integer; a wider Real is
// rounded to nearest.
Real roundSignificand(Real scaled) {
    if constexpr (std::numeric_limits<Real>::digits <= kSignificandBits) {
        return scaled;
    } else {
        return std::nearbyint(scaled);
    }
}

}  // namespace

Ext80Bytes encodeExt80Portable(Real value) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        return pack(kIntegerBit | kQuietBit, kMaxBiasedExponent, negative);
    }
    if (std::isinf(value)) {
        return pack(kIntegerBit, kMaxBiasedExponent, negative);
    }
    const Real magnitude = std::fabs(value);
    if (magnitude == 0.0L) {
        return pack(0, 0, negative);
    }

    int exponent = 0;
    const Real fraction = std::frexp(magnitude, &exponent);  // magnitude = fraction * 2^exponent
    int biased = exponent - 1 + kExponentBias;
    if (biased >= 1) {
        Real scaled = roundSignificand(std::ldexp(fraction, kSignificandBits));
        if (scaled >= std::ldexp(1.0L, kSignificandBits)) {  // rounding carried into a new bit
            scaled = std::ldexp(1.0L, kSignificandBits - 1);
            ++biased;
        }
        if (biased >= kMaxBiasedExponent) {
            return pack(kIntegerBit, kMaxBiasedExponent, negative);
        }
        return pack(static_cast<std::uint64_t>(scaled), biased, negative);
    }
    // Denormal: the significand counts units of 2^kDenormalScale.
    const Real scaled = roundSignificand(std::ldexp(magnitude, -kDenormalScale));
    const auto significand = static_cast<std::uint64_t>(scaled);
    // Rounding up to 2^63 reaches the smallest normal, which has the same bits
    // with exponent 1.
    if (significand & kIntegerBit) {
        return pack(significand, 1, negative);
    }
    return pack(significand, 0, negative);
}

Real decodeExt80Portable(const std::uint8_t* bytes) {
    std::uint64_t significand = 0;
    for (int i = 7; i >= 0; --i) {
        significand = (significand << 8) | bytes[i];
    }
    const unsigned word = static_cast<unsigned>(bytes[8]) | (static_cast<unsigned>(bytes[9]) << 8);
    const bool negative = (word & 0x8000u) != 0;
    const int biased = static_cast<int>(word & 0x7FFFu);
    const Real sign = negative ? -1.0L : 1.0L;

    if (biased == kMaxBiasedExponent) {
        // Only an explicit integer bit with an empty fraction is infinity; every
        // other pattern (NaNs, pseudo-infinity, pseudo-NaN) is not a number.
        if (significand == kIntegerBit) {
            return sign * std::numeric_limits<Real>::infinity();
        }
        return std::copysign(std::numeric_limits<Real>::quiet_NaN(), sign);
    }
    if (biased != 0 && (significand & kIntegerBit) == 0) {
        // Unnormal: the x87 unit refuses it as an invalid operand.
        return std::copysign(std::numeric_limits<Real>::quiet_NaN(), sign);
    }
    // Denormals and pseudo-denormals (exponent 0) scale like exponent 1.
    const int scale =
        biased == 0 ? kDenormalScale : biased - kExponentBias - (kSignificandBits - 1);
    return sign * std::ldexp(static_cast<Real>(significand), scale);
}

bool isOrdinaryExt80(const Ext80Bytes& bytes) {
    const unsigned biased =
        (static_cast<unsigned>(bytes[8]) | (static_cast<unsigned>(bytes[9]) << 8)) & 0x7FFFu;
    if (biased == kMaxBiasedExponent) return false;
    return biased == 0 || (bytes[7] & 0x80u) != 0;
}

Ext80Bytes encodeExt80(Real value) {
    if constexpr (kRealIsX87) {
        Ext80Bytes out{};
        static_assert(sizeof(Real) >= out.size());
        std::memcpy(out.data(), &value, out.size());
        return out;
    } else {
        return encodeExt80Portable(value);
    }
}

Real decodeExt80(const std::uint8_t* bytes) {
    if constexpr (kRealIsX87) {
        Real value{};  // zeroes the padding beyond the 10 significant bytes
        std::memcpy(&value, bytes, 10);
        return value;
    } else {
        return decodeExt80Portable(bytes);
    }
}

}  // namespace vexamo
