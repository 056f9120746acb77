#include "problemjson/JsonText.h"

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
// the digits of printf's %.*Le.
std::string decimalText(Real value, int precision) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", precision - 1, value);
    const std::string text = buffer;
    const auto e = text.find('e');
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::string sign, digits;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] == '-')
            sign = "-";
        else if (std::isdigit(static_cast<unsigned char>(text[i])))
            digits += text[i];
    }
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

}  // namespace

std::optional<std::string> exactDecimal(Real value) {
    if (!std::isfinite(value)) return std::nullopt;
    // "-0" would read back as the integer 0: keep the sign with a fraction.
    if (value == 0 && std::signbit(value)) return std::string("-0.0");
    const Ext80Bytes want = encodeExt80(value);
    for (int precision = 1; precision <= 21; ++precision) {
        const std::string text = decimalText(value, precision);
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
