#pragma once
// The problem file (.dat): tube stream, shell stream and design, three raw
// blocks, 21264 bytes, no header. Written through the one file writer
// (common/AtomicFile.h); the previous file is kept as "case1.bak".
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"
#include "problem/ProblemRecords.h"

namespace vexamo {

// A file shorter than a problem file.
class ShortFileError : public FormatError {
public:
    using FormatError::FormatError;
};

// "case1.dat" -> "case1.bak"; "case1" -> "case1.bak"; the extension is taken
// from the file name only, never from a folder ("a.b/case1" -> "a.b/case1.bak").
std::filesystem::path backupName(const std::filesystem::path& name);

// Why stored problem data cannot be used (component count or index, process
// code out of range, then problemFieldFault), in the given language; nothing
// when they are sound. Every reader of a problem checks it.
std::optional<std::string> problemDamage(const ProblemData& problem, std::size_t substanceCount,
                                         LanguageFlagType languageFlag);

// Checks and decodes the bytes of a problem file (extra bytes are ignored).
// Throws ShortFileError or FormatError (damaged data, unreadable names).
ProblemData decodeProblemFile(std::span<const std::uint8_t> bytes, std::size_t substanceCount,
                              LanguageFlagType languageFlag = kEnglish);
// Reads and checks a problem file: decodeProblemFile on its first bytes.
// Throws FormatError or std::system_error (cannot open).
ProblemData readProblemFile(const std::filesystem::path& name, std::size_t substanceCount,
                            LanguageFlagType languageFlag = kEnglish);
// Writes the 21264 bytes (encoding first, so a record that cannot be encoded
// leaves the file untouched) through writeFileAtomically: an existing file
// becomes its backup only once the new one is on disk. Throws EncodingError,
// OutputRefused (not a regular file) or FileWriteError; the previous file is
// then still there under its name.
void writeProblemFile(const std::filesystem::path& name, const ProblemData& problem);

// Offers to save the problem (Run, after the design dialog). Failures are
// reported to the user; the Run goes on.
void SaveProblemFile(Session& session, Dialogs& dialogs);

enum class FileActionResult { Cancelled, Loaded, Failed };
// Loads a problem chosen by the user; the records are replaced only when the
// whole file was read and is sound.
FileActionResult FileActionExecute(Session& session, Dialogs& dialogs);

}  // namespace vexamo
