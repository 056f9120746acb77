#pragma once
// The number formats of the report and the dialogs. Every text that shows a
// number goes through this module.
#include <optional>
#include <string>
#include <string_view>

#include "common/Real.h"

namespace vexamo {

// Decimal separator of every format below and of parseReal: '.' unless a
// DecimalSeparatorScope on the calling thread says otherwise. The separator
// belongs to whoever formats, not to the process: a Run installs its
// Session's for its length, the desktop its user's for the life of its
// window, so that Runs on other threads keep their own.
char decimalSeparator();

// Makes `separator` the decimal separator of this thread until the scope
// ends, then restores the one before. Throws std::invalid_argument for a
// character that would make numbers ambiguous (a digit, a sign, 'e'/'E', a
// space or a non-printable or non-ASCII byte).
class DecimalSeparatorScope {
public:
    explicit DecimalSeparatorScope(char separator);
    ~DecimalSeparatorScope();
    DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
    DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

private:
    char m_previous;
};

// General format with precision P (significant digits) and exponent digits D:
// fixed notation when the value is 0, or when its magnitude is at least 0.00001
// and it has at most P integer digits; otherwise scientific "d.dddE-XX" with at
// least D exponent digits (minus sign for a negative exponent, no sign for a
// positive one). Trailing zeros and a trailing separator are dropped.
// Examples: 0.025 -> "0.025"; 1e-6 at D = 2 -> "1E-06"; 1.5e20 -> "1.5E20".
// Rounding is half away from zero on the exact binary value. The 0.00001
// bound is a comparison of the unrounded value with 0.00001L. Zero (also -0)
// is "0"; infinities and NaN are "INF", "-INF", "NAN".
std::string formatGeneral(Real value, int precision, int digits);

// The shortest general form: formatGeneral(value, 15, 0).
std::string formatShortest(Real value);

// printf-style fixed field "%W.Df": right-aligned in at least `width`
// characters, `decimals` digits after the separator, rounded half away from
// zero on the exact binary value. A value that rounds to zero has no minus
// sign ("0.00").
std::string formatFixed(Real value, int width, int decimals);

// printf-style integer "%W.Pd": at least `minDigits` digits (zero-padded),
// right-aligned in `width` characters. "%.2d" is formatInteger(v, 0, 2).
std::string formatInteger(long long value, int width, int minDigits);

// Reads a number as a dialog does: the whole (already trimmed) text must be a
// decimal number with the current separator, optional sign and exponent.
// Returns nothing for any other text (empty, "Default", "1,5" with '.', ...).
std::optional<Real> parseReal(std::string_view text);
std::optional<long long> parseInteger(std::string_view text);

}  // namespace vexamo
