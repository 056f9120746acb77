// libFuzzer target: see FuzzEntries.h.
#include <cstddef>
#include <cstdint>

#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vexamo::fuzz::convertProblemBytes({data, size});
    return 0;
}
