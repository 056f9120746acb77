#pragma once
// The JSON type of this program by name only, for headers that pass JSON
// values on without looking inside them: nlohmann's declarations, not its
// parser and serializer (problemjson/JsonText.h has those).
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

namespace vexamo::pjson {

// JSON with 80-bit reals (problemjson/JsonText.h reads and writes them exactly).
using Json = nlohmann::basic_json<nlohmann::ordered_map, std::vector, std::string, bool,
                                  std::int64_t, std::uint64_t, long double>;

}  // namespace vexamo::pjson
