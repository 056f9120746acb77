#pragma once
// The readers the fuzz targets drive, one per kind of input file. Each takes
// the bytes of a file and reads them the way the program does; a refusal
// with the reader's own error is the expected answer to bad input. Anything
// else escaping (another exception, a broken round trip) ends the process,
// so both libFuzzer and the replay of the kept inputs see it.
#include <cstddef>
#include <cstdint>
#include <span>

namespace vexamo::fuzz {

// A .dat problem file: decoded and checked as `show` and `run` read it, shown
// in both languages and encoded again.
void readProblemBytes(std::span<const std::uint8_t> bytes);

// The same, then converted to JSON and back as `convert` does. Slower by two
// orders (every stored value is written as its shortest decimal), hence a
// target of its own.
void convertProblemBytes(std::span<const std::uint8_t> bytes);

// A JSON problem: read, then written back and read again.
void readProblemJson(std::span<const std::uint8_t> bytes);

// An answers file: read, every answer taken and asked as each kind of
// question, then recorded.
void readAnswers(std::span<const std::uint8_t> bytes);

}  // namespace vexamo::fuzz
