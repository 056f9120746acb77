#pragma once
// JSON with 80-bit reals: numbers are read with strtold and written as the
// shortest decimal text that reads back to the same 10 bytes.
#include <string>

#include <nlohmann/json.hpp>

#include "common/Real.h"

namespace vexamo::pjson {

using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, long double>;

// The shortest decimal that reads back bit-exactly, or nothing when the value
// is not finite or no decimal reproduces its bytes (unnormal patterns).
std::optional<std::string> exactDecimal(Real value);

// A Real as JSON: a number where exactDecimal exists, else the string
// "ext80:" followed by the 20 hexadecimal digits of its bytes (byte 0 first).
Json realToJson(Real value);
// Reads what realToJson wrote (or any JSON number). Throws std::invalid_argument.
Real realFromJson(const Json& value);

// Pretty text: two-space indent, arrays of scalars on one line, numbers
// through exactDecimal.
std::string dump(const Json& value);

}  // namespace vexamo::pjson
