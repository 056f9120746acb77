#pragma once
// Reading and writing problems by file extension: .dat (binary) or .json.
#include <filesystem>
#include <stdexcept>
#include <string>

#include "control/ProblemRecords.h"
#include "properties/SubstanceRecords.h"

namespace vexamo::cli {

// Input that cannot be used (exit status 2): a bad file, bad JSON, a value
// out of range. The message names the file and the field.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

ProblemData loadProblem(const std::filesystem::path& file, const SubstanceData& data,
                        LanguageFlagType languageFlag);

// Writes the problem in the format of the file's extension. Everything is
// encoded before the file is touched; an existing file is kept as its backup.
// Throws InputError for a problem that cannot be written in that format and
// std::runtime_error when writing fails.
void saveProblem(const std::filesystem::path& file, const ProblemData& problem,
                 const SubstanceData& data);

}  // namespace vexamo::cli
