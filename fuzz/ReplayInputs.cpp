// Runs kept inputs through the reader a fuzz target drives, so that every
// crasher found once stays a test in the ordinary build.
//   fuzz_replay KIND DIR...   KIND: problem_dat, problem_convert,
//                             problem_json or answers
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzEntries.h"

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc < 3) {
        std::fprintf(
            stderr, "usage: fuzz_replay problem_dat|problem_convert|problem_json|answers DIR...\n");
        return 2;
    }
    const std::string kind = argv[1];
    void (*reader)(std::span<const std::uint8_t>) = nullptr;
    if (kind == "problem_dat") reader = vexamo::fuzz::readProblemBytes;
    if (kind == "problem_convert") reader = vexamo::fuzz::convertProblemBytes;
    if (kind == "problem_json") reader = vexamo::fuzz::readProblemJson;
    if (kind == "answers") reader = vexamo::fuzz::readAnswers;
    if (!reader) {
        std::fprintf(stderr, "fuzz_replay: unknown kind %s\n", kind.c_str());
        return 2;
    }
    std::vector<fs::path> files;
    for (int i = 2; i < argc; ++i) {
        if (!fs::is_directory(argv[i])) continue;  // a target may have no regressions yet
        for (const auto& entry : fs::directory_iterator(argv[i]))
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                files.push_back(entry.path());
    }
    for (const fs::path& file : files) {
        std::fprintf(stderr, "%s\n", file.string().c_str());
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> raw((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
        reader({reinterpret_cast<const std::uint8_t*>(raw.data()), raw.size()});
    }
    std::printf("%zu inputs of %s read\n", files.size(), kind.c_str());
    return files.empty() ? 1 : 0;
}
