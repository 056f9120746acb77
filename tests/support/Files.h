#pragma once
// Small file and process helpers the tests share.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vexamo::test {

std::string readText(const std::filesystem::path& p);
void writeText(const std::filesystem::path& p, const std::string& text);
std::vector<std::uint8_t> readBytes(const std::filesystem::path& p);
void writeBytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes);

// The names in a folder, sorted.
std::vector<std::string> listing(const std::filesystem::path& folder);

// A shell command's exit status (-1 when it did not exit normally) and what
// it wrote to standard output and standard error.
struct Outcome {
    int status = -1;
    std::string text;
};
Outcome runCommand(const std::string& command);

}  // namespace vexamo::test
