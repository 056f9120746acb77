#pragma once
// Reading and writing problems by file extension: .dat (binary) or .json.
#include <filesystem>
#include <iosfwd>
#include <string>

#include "common/Errors.h"
#include "problem/ProblemRecords.h"
#include "properties/SubstanceRecords.h"

namespace vexamo::cli {

// The whole content of a text input, refused (InputError naming the file)
// when it cannot be opened or is longer than `limit` bytes; never more than
// limit + 1 bytes are read.
std::string readInputText(const std::filesystem::path& file, std::size_t limit);
// The same from a stream (standard input), `name` naming it in the messages.
std::string readInputText(std::istream& in, const std::string& name, std::size_t limit);

// A JSON problem from its text; InputError names `origin` and the field.
ProblemData problemFromText(const std::string& text, const std::string& origin,
                            const SubstanceData& data);

ProblemData loadProblem(const std::filesystem::path& file, const SubstanceData& data,
                        LanguageFlagType languageFlag);

// Checks the output of `convert` before anything is read or moved: .dat or
// .json, not the input, not a folder, device, FIFO or socket (nor a link to
// one). Throws InputError naming the file.
void checkProblemOutput(const std::filesystem::path& file, const std::filesystem::path& input);

// Writes the problem in the format of the file's extension through the one
// file writer. Everything is encoded before the file is touched; an existing
// .dat is kept as "case1.bak", an existing .json as "case1.json.bak". Throws
// InputError for a problem that cannot be written in that format,
// OutputRefused or FileWriteError when writing fails (the previous file then
// keeps its name).
void saveProblem(const std::filesystem::path& file, const ProblemData& problem,
                 const SubstanceData& data);

}  // namespace vexamo::cli
