#include "common/NumberFormat.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

namespace vexamo {

namespace {

// The separator of the scope innermost on this thread.
thread_local char t_decimalSeparator = '.';

// The exact decimal expansion of a finite binary value, or its rounding:
// value = d0.d1d2... x 10^exponent. `digits` has no leading and no trailing
// zeros; it is empty for zero.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

void dropTrailingZeros(DecimalDigits& d) {
    while (!d.digits.empty() && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    if (d.digits.empty()) {
        d.exponent = 0;
    }
}

// The first precision + 1 significant digits of a finite positive value, as
// printf gives them (its last digit rounded to nearest), not stripped.
DecimalDigits printfDigits(Real magnitude, int precision) {
    std::string text(static_cast<std::size_t>(precision) + 32, '\0');
    const int length = std::snprintf(text.data(), text.size(), "%.*Le", precision, magnitude);
    if (length < 0 || static_cast<std::size_t>(length) >= text.size()) {
        throw std::runtime_error("decimal expansion of a number failed");
    }
    text.resize(static_cast<std::size_t>(length));

    // "d<point>ddd...e<sign>dd"; the point is whatever the C library's locale
    // uses, so only the digits before 'e' are taken.
    DecimalDigits result;
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            result.digits.push_back(text[i]);
        }
    }
    std::size_t start = e + 1;
    if (text[start] == '+') {
        ++start;
    }
    std::from_chars(text.data() + start, text.data() + text.size(), result.exponent);
    return result;
}

// Every binary fraction terminates in decimal: a value with f bits below the
// binary point has exactly f decimal places. Asking printf for that many
// digits (plus the integer digits) gives the whole expansion, so no rounding
// happens before ours.
DecimalDigits exactDecimal(Real magnitude) {
    if (magnitude == 0.0L) {
        return DecimalDigits{};
    }
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);  // magnitude < 2^binaryExponent
    int fractionalBits = std::numeric_limits<Real>::digits - binaryExponent;
    if (fractionalBits > 0) {
        // Drop the zero bits at the low end of the significand.
        Real scaled = std::ldexp(magnitude, fractionalBits);
        while (fractionalBits > 0 && std::fmod(scaled, 2.0L) == 0.0L) {
            scaled /= 2.0L;
            --fractionalBits;
        }
    }
    // Upper bound of the integer digits: log10(2) < 0.30103.
    const int integerDigits = binaryExponent > 0 ? binaryExponent * 30103 / 100000 + 2 : 0;
    DecimalDigits result = printfDigits(magnitude, std::max(fractionalBits, 0) + integerDigits);
    dropTrailingZeros(result);
    return result;
}

// Keeps the first `keep` digits, rounding half away from zero. The digits are
// exact, so a 5 at the cut is either a true tie or more than half.
void roundDigits(DecimalDigits& d, int keep) {
    if (keep < 0 || d.digits.empty()) {
        d = DecimalDigits{};
        return;
    }
    const auto kept = static_cast<std::size_t>(keep);
    if (kept >= d.digits.size()) {
        return;
    }
    const bool up = d.digits[kept] >= '5';
    d.digits.resize(kept);
    if (up) {
        std::size_t i = kept;
        while (i > 0 && d.digits[i - 1] == '9') {
            d.digits[--i] = '0';
        }
        if (i == 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        } else {
            ++d.digits[i - 1];
        }
    }
    dropTrailingZeros(d);
}

// A finite positive value rounded to `count` significant digits. The exact
// expansion of a very large or very small value runs to thousands of digits,
// so printf is first asked for some guard digits beyond the cut. Its own
// rounding moves those digits by less than one unit of the last one, which
// can only matter when they read exactly 5000...0; then the exact expansion
// decides.
DecimalDigits significantDigits(Real magnitude, int count) {
    constexpr int kGuardDigits = 24;
    DecimalDigits d = printfDigits(magnitude, count + kGuardDigits - 1);
    const auto cut = static_cast<std::size_t>(count);
    const bool undecided =
        d.digits[cut] == '5' && d.digits.find_first_not_of('0', cut + 1) == std::string::npos;
    if (undecided) {
        d = exactDecimal(magnitude);
    }
    roundDigits(d, count);
    return d;
}

// Fixed notation with exactly `decimals` digits after the separator.
std::string fixedText(const DecimalDigits& d, int decimals) {
    auto digitAt = [&d](int position) {  // position 0 is the first digit
        return position >= 0 && position < static_cast<int>(d.digits.size())
                   ? d.digits[static_cast<std::size_t>(position)]
                   : '0';
    };
    std::string text;
    if (d.digits.empty() || d.exponent < 0) {
        text = "0";
    } else {
        for (int position = 0; position <= d.exponent; ++position) {
            text.push_back(digitAt(position));
        }
    }
    if (decimals > 0) {
        text.push_back(decimalSeparator());
        for (int i = 1; i <= decimals; ++i) {
            text.push_back(digitAt(d.exponent + i));
        }
    }
    return text;
}

std::string padLeft(std::string text, int width) {
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

std::string nonFiniteText(Real value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    return value < 0 ? "-INF" : "INF";
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The "C" numeric locale, created once for the life of the process.
locale_t cNumericLocale() {
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        throw std::runtime_error("the C numeric locale is not available");
    }
    return locale;
}

}  // namespace

char decimalSeparator() { return t_decimalSeparator; }

DecimalSeparatorScope::DecimalSeparatorScope(char separator) : m_previous(t_decimalSeparator) {
    const bool usable = separator > ' ' && separator < 0x7F && !isDigit(separator) &&
                        separator != '+' && separator != '-' && separator != 'e' &&
                        separator != 'E';
    if (!usable) {
        throw std::invalid_argument(std::string("unusable decimal separator '") + separator + "'");
    }
    t_decimalSeparator = separator;
}

DecimalSeparatorScope::~DecimalSeparatorScope() { t_decimalSeparator = m_previous; }

std::string formatGeneral(Real value, int precision, int digits) {
    if (!std::isfinite(value)) {
        return nonFiniteText(value);
    }
    if (value == 0.0L) {
        return "0";  // also for -0
    }
    precision = std::max(precision, 1);
    digits = std::max(digits, 0);
    const Real magnitude = std::fabs(value);
    const DecimalDigits d = significantDigits(magnitude, precision);

    std::string text = value < 0 ? "-" : "";
    // The lower bound of fixed notation is compared on the binary value with
    // the Real nearest to 0.00001: that Real itself is shown fixed, "0.00001".
    // A value below it is scientific even when it rounds up to 0.00001.
    const bool fixed = magnitude >= 0.00001L && d.exponent + 1 <= precision;
    if (fixed) {
        const int decimals = std::max(static_cast<int>(d.digits.size()) - 1 - d.exponent, 0);
        return text + fixedText(d, decimals);
    }
    text.push_back(d.digits[0]);
    if (d.digits.size() > 1) {
        text.push_back(decimalSeparator());
        text.append(d.digits, 1);
    }
    text.push_back('E');
    if (d.exponent < 0) {
        text.push_back('-');
    }
    std::string exponent = std::to_string(std::abs(d.exponent));
    if (exponent.size() < static_cast<std::size_t>(digits)) {
        exponent.insert(0, static_cast<std::size_t>(digits) - exponent.size(), '0');
    }
    return text + exponent;
}

std::string formatShortest(Real value) { return formatGeneral(value, 15, 0); }

std::string formatFixed(Real value, int width, int decimals) {
    if (!std::isfinite(value)) {
        return padLeft(nonFiniteText(value), width);
    }
    decimals = std::max(decimals, 0);
    DecimalDigits d = exactDecimal(std::fabs(value));
    if (!d.digits.empty()) {
        roundDigits(d, d.exponent + 1 + decimals);
    }
    // A value that rounds to zero is shown without a sign ("0.00", not "-0.00").
    std::string text = value < 0 && !d.digits.empty() ? "-" : "";
    return padLeft(text + fixedText(d, decimals), width);
}

std::string formatInteger(long long value, int width, int minDigits) {
    // The magnitude as unsigned, so that the most negative value has one too.
    const unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                   : static_cast<unsigned long long>(value);
    std::string digitsText = std::to_string(magnitude);
    if (minDigits > 0 && digitsText.size() < static_cast<std::size_t>(minDigits)) {
        digitsText.insert(0, static_cast<std::size_t>(minDigits) - digitsText.size(), '0');
    }
    return padLeft((value < 0 ? "-" : "") + digitsText, width);
}

std::optional<Real> parseReal(std::string_view text) {
    const char separator = decimalSeparator();
    std::string normalised;
    normalised.reserve(text.size());
    std::size_t i = 0;
    auto copyDigits = [&]() {
        std::size_t count = 0;
        while (i < text.size() && isDigit(text[i])) {
            normalised.push_back(text[i++]);
            ++count;
        }
        return count;
    };

    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        normalised.push_back(text[i++]);
    }
    std::size_t mantissaDigits = copyDigits();
    if (i < text.size() && text[i] == separator) {
        normalised.push_back('.');
        ++i;
        mantissaDigits += copyDigits();
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normalised.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            normalised.push_back(text[i++]);
        }
        if (copyDigits() == 0) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }

    // A result too small for Real becomes zero or a denormal and is kept; one
    // too large is refused.
    char* end = nullptr;
    const Real value = strtold_l(normalised.c_str(), &end, cNumericLocale());
    if (end != normalised.c_str() + normalised.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<long long> parseInteger(std::string_view text) {
    std::size_t start = 0;
    if (!text.empty() && text[0] == '+') {
        start = 1;  // from_chars takes a minus sign only
    }
    if (start >= text.size() || !(isDigit(text[start]) || (text[start] == '-' && start == 0))) {
        return std::nullopt;
    }
    long long value = 0;
    const char* first = text.data() + start;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{} || end != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace vexamo
