#include "problemjson/JsonText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "common/Ext80.h"

namespace vexamo::pjson {

namespace {

// Positional notation for ordinary magnitudes, "d.ddde-XX" beyond them, from
// significant digits and the decimal exponent of the first one.
std::string decimalText(bool negative, std::string digits, int exponent) {
    const std::string sign = negative ? "-" : "";
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int count = static_cast<int>(digits.size());
    if (exponent < -7 || exponent >= 21) {
        std::string out = sign + digits.substr(0, 1);
        if (count > 1) out += "." + digits.substr(1);
        return out + "e" + std::to_string(exponent);
    }
    if (exponent < 0)
        return sign + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    if (exponent + 1 >= count)
        return sign + digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
    return sign + digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
           digits.substr(static_cast<std::size_t>(exponent + 1));
}

// The digits of printf's %.*Le.
struct PrintedDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

PrintedDigits printedDigits(Real value, int precision) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.*Le", precision - 1, value);
    const std::string text = buffer;
    const auto e = text.find('e');
    PrintedDigits d;
    d.exponent = std::atoi(text.c_str() + e + 1);
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] == '-')
            d.negative = true;
        else if (std::isdigit(static_cast<unsigned char>(text[i])))
            d.digits += text[i];
    }
    return d;
}

// Rounds the 25 digits of `wide` to `precision` digits as printf rounds the
// value itself. Printing a value with a large exponent costs glibc a
// multi-precision division, so the shortest decimal is found from one wide
// printing instead of one printing per length. The wide digits decide the
// rounding except when what follows digit `precision` is exactly 5000...0:
// the value may then lie either side of the half, and printf is asked.
PrintedDigits roundedDigits(Real value, const PrintedDigits& wide, int precision) {
    const std::string tail = wide.digits.substr(static_cast<std::size_t>(precision));
    if (tail.find_first_not_of('0', 1) == std::string::npos && tail[0] == '5')
        return printedDigits(value, precision);
    PrintedDigits d{wide.negative, wide.digits.substr(0, static_cast<std::size_t>(precision)),
                    wide.exponent};
    if (tail[0] >= '5') {
        int i = precision - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9')
            d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits = "1" + d.digits.substr(0, d.digits.size() - 1);
            ++d.exponent;
        }
    }
    return d;
}

}  // namespace

namespace {

// Whether the `precision`-digit rounding lies more than four units in the
// last binary place away from the value, so that it cannot read back and
// reading it is skipped. The 25 wide digits place the value to far better
// than a unit, and the margin covers the narrower gap below a power of two.
bool clearlyTooShort(Real value, const PrintedDigits& wide, int precision) {
    const std::string tail = wide.digits.substr(static_cast<std::size_t>(precision));
    Real fraction = 0, scale = 0.1L;
    for (std::size_t i = 0; i < tail.size() && i < 18; ++i, scale /= 10)
        fraction += (tail[i] - '0') * scale;
    const Real off = tail[0] >= '5' ? 1 - fraction : fraction;  // in units of the last kept digit
    if (!(off > 0)) return false;
    int binaryExponent = 0;
    std::frexp(value, &binaryExponent);
    const Real log2Unit = std::max(binaryExponent - 64, -16445);  // subnormals share one unit
    const Real log2Off = std::log2(off) + (wide.exponent - precision + 1) * std::log2(Real{10});
    return log2Off > log2Unit + 2;
}

}  // namespace

std::optional<std::string> exactDecimal(Real value) {
    if (!std::isfinite(value)) return std::nullopt;
    // "-0" would read back as the integer 0: keep the sign with a fraction.
    if (value == 0 && std::signbit(value)) return std::string("-0.0");
    const Ext80Bytes want = encodeExt80(value);
    const PrintedDigits wide = printedDigits(value, 25);
    for (int precision = 1; precision <= 21; ++precision) {
        if (precision < 21 && clearlyTooShort(value, wide, precision)) continue;
        const PrintedDigits d = roundedDigits(value, wide, precision);
        const std::string text = decimalText(d.negative, d.digits, d.exponent);
        char* end = nullptr;
        const Real back = std::strtold(text.c_str(), &end);
        if (*end == '\0' && encodeExt80(back) == want) return text;
    }
    return std::nullopt;
}

Json realToJson(Real value) {
    if (exactDecimal(value)) return Json(static_cast<long double>(value));
    static const char* hex = "0123456789abcdef";
    std::string text = "ext80:";
    for (std::uint8_t b : encodeExt80(value)) {
        text += hex[b >> 4];
        text += hex[b & 15];
    }
    return Json(text);
}

Real realFromJson(const Json& value) {
    if (value.is_number_float()) return value.get<long double>();
    if (value.is_number_unsigned()) return static_cast<Real>(value.get<std::uint64_t>());
    if (value.is_number_integer()) return static_cast<Real>(value.get<std::int64_t>());
    if (value.is_string()) {
        const std::string& text = value.get_ref<const std::string&>();
        if (text.size() == 26 && text.rfind("ext80:", 0) == 0) {
            std::uint8_t bytes[10];
            for (std::size_t i = 0; i < 10; ++i) {
                const std::string pair = text.substr(6 + 2 * i, 2);
                char* end = nullptr;
                const long v = std::strtol(pair.c_str(), &end, 16);
                if (*end != '\0' || !std::isxdigit(static_cast<unsigned char>(pair[0])))
                    throw std::invalid_argument("bad ext80 text");
                bytes[i] = static_cast<std::uint8_t>(v);
            }
            return decodeExt80(bytes);
        }
    }
    throw std::invalid_argument("a number is expected");
}

Json parseJson(std::string_view text) {
    // The callback sees every container as it opens, with the number of
    // containers already open around it.
    const Json::parser_callback_t limit = [](int depth, Json::parse_event_t event, Json&) {
        if ((event == Json::parse_event_t::object_start ||
             event == Json::parse_event_t::array_start) &&
            depth >= kMaxJsonDepth) {
            throw JsonTextError("arrays and objects nest deeper than " +
                                std::to_string(kMaxJsonDepth) + " levels");
        }
        return true;
    };
    try {
        return Json::parse(text.begin(), text.end(), limit);
    } catch (const JsonTextError&) {
        throw;
    } catch (const Json::exception& e) {
        throw JsonTextError(e.what());
    }
}

namespace {

bool isScalar(const Json& v) { return !v.is_object() && !v.is_array(); }

void dumpTo(const Json& v, std::string& out, int indent) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    const std::string inner(static_cast<std::size_t>(indent + 2), ' ');
    if (v.is_number_float()) {
        const auto text = exactDecimal(v.get<long double>());
        if (!text) throw std::invalid_argument("a number that JSON cannot hold");
        out += *text;
    } else if (v.is_object()) {
        if (v.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        bool first = true;
        for (auto it = v.begin(); it != v.end(); ++it) {
            if (!first) out += ",\n";
            first = false;
            out += inner + Json(it.key()).dump() + ": ";
            dumpTo(it.value(), out, indent + 2);
        }
        out += "\n" + pad + "}";
    } else if (v.is_array()) {
        bool flat = true;
        for (const auto& e : v) flat = flat && isScalar(e);
        if (flat) {
            out += "[";
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (i) out += ", ";
                dumpTo(v[i], out, indent);
            }
            out += "]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (i) out += ",\n";
            out += inner;
            dumpTo(v[i], out, indent + 2);
        }
        out += "\n" + pad + "]";
    } else {
        out += v.dump();
    }
}

void lineTo(const Json& v, std::string& out) {
    if (v.is_number_float()) {
        const auto text = exactDecimal(v.get<long double>());
        if (!text) throw std::invalid_argument("a number that JSON cannot hold");
        out += *text;
    } else if (v.is_object()) {
        out += "{";
        bool first = true;
        for (auto it = v.begin(); it != v.end(); ++it) {
            if (!first) out += ", ";
            first = false;
            out += Json(it.key()).dump() + ": ";
            lineTo(it.value(), out);
        }
        out += "}";
    } else if (v.is_array()) {
        out += "[";
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (i) out += ", ";
            lineTo(v[i], out);
        }
        out += "]";
    } else {
        out += v.dump();
    }
}

}  // namespace

std::string dump(const Json& value) {
    std::string out;
    dumpTo(value, out, 0);
    out += "\n";
    return out;
}

std::string dumpLine(const Json& value) {
    std::string out;
    lineTo(value, out);
    return out;
}

}  // namespace vexamo::pjson
