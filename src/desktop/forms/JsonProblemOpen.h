#pragma once
// Opening a JSON problem (docs/problem-format.md) wherever the desktop opens
// a problem file. The core's loader reads problem files (.dat) only: a chosen
// .json is read and checked here by the JSON reader, and the loader gets the
// problem file of the same data, written into a temporary file. A JSON that
// cannot be used never reaches the loader, so the problem loaded before stays.
#include <QString>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "common/Text.h"
#include "problem/ProblemRecords.h"
#include "properties/SubstanceRecords.h"

class QTemporaryFile;

namespace vexamo::desktop {

// The request id of the core's "open a problem" dialog.
inline constexpr const char* kOpenProblemId = "file.open_problem";

// The filter of that dialog: problem files and JSON problems together, then
// each on its own.
std::string problemOpenFilter(LanguageFlagType languageFlag);

// Whether the file is a JSON problem (extension .json, any case).
bool isJsonProblem(const std::filesystem::path& file);

// A JSON problem that cannot be used; the message names the field, or says
// why the file could not be read.
class JsonProblemError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads and checks a JSON problem. Throws JsonProblemError.
ProblemData readJsonProblem(const std::filesystem::path& file, const SubstanceData& data,
                            LanguageFlagType languageFlag);

// The problem file of `problem` in a new temporary file, which lives as long
// as the returned object. Throws EncodingError (a text the problem file
// cannot hold) or std::runtime_error (the file cannot be written).
std::unique_ptr<QTemporaryFile> temporaryProblemFile(const ProblemData& problem);

}  // namespace vexamo::desktop
