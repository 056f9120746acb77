#pragma once
// JSON with 80-bit reals: numbers are read with strtold and written as the
// shortest decimal text that reads back to the same 10 bytes.
#include <cstddef>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/Errors.h"
#include "common/Real.h"
#include "problemjson/JsonFwd.h"

namespace vexamo::pjson {

// The shortest decimal that reads back bit-exactly, or nothing when the value
// is not finite or no decimal reproduces its bytes (unnormal patterns).
std::optional<std::string> exactDecimal(Real value);

// A Real as JSON: a number where exactDecimal exists, else the string
// "ext80:" followed by the 20 hexadecimal digits of its bytes (byte 0 first).
Json realToJson(Real value);
// Reads what realToJson wrote (or any JSON number). Throws std::invalid_argument.
Real realFromJson(const Json& value);

// Limits for every JSON text the program reads: how deep arrays and objects
// may nest, and how long a file may be.
inline constexpr int kMaxJsonDepth = 64;
inline constexpr std::size_t kMaxJsonFileBytes = std::size_t{16} << 20;  // 16 MiB

// Text that is not JSON, or nests deeper than kMaxJsonDepth.
class JsonTextError : public FormatError {
public:
    using FormatError::FormatError;
};

// Parses JSON; a value nested deeper than kMaxJsonDepth is refused while it is
// read, before it is built (a deep value would overflow the stack of every
// recursive walk over it). Throws JsonTextError.
Json parseJson(std::string_view text);

// Pretty text: two-space indent, arrays of scalars on one line, numbers
// through exactDecimal.
std::string dump(const Json& value);

// The same on one line ("[40, 30]", "{\"a\": 1}"): never longer than a few
// characters per value, whatever the nesting.
std::string dumpLine(const Json& value);

}  // namespace vexamo::pjson
