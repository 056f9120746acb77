#pragma once
// The problem file (.dat): tube stream, shell stream and design, three raw
// blocks, 21264 bytes, no header. And the backup rule for files we overwrite.
#include <filesystem>
#include <optional>
#include <string>

#include "common/Errors.h"
#include "control/ProblemRecords.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"

namespace vexamo {

// A file shorter than a problem file.
class ShortFileError : public FormatError {
public:
    using FormatError::FormatError;
};

// "case1.dat" -> "case1.bak"; "case1" -> "case1.bak"; the extension is taken
// from the file name only, never from a folder ("a.b/case1" -> "a.b/case1.bak").
std::filesystem::path backupName(const std::filesystem::path& name);

// Renames an existing file to its backup name, deleting an older backup.
// Does nothing when the file cannot be opened. Throws
// std::filesystem::filesystem_error when the old backup cannot be removed or
// the rename fails, so the caller does not overwrite an unsaved original.
void MakeBackup(const std::filesystem::path& name);

// Why stored problem data cannot be used (component count or index, process
// code out of range), in the given language; nothing when they are sound.
std::optional<std::string> problemDamage(const ProblemData& problem, std::size_t substanceCount,
                                         LanguageFlagType languageFlag);

// Reads and checks a problem file. Throws FormatError (file too short, damaged
// data, unreadable names) or std::system_error (cannot open).
ProblemData readProblemFile(const std::filesystem::path& name, std::size_t substanceCount,
                            LanguageFlagType languageFlag = kEnglish);
// Writes the 21264 bytes (encoding first, so a record that cannot be encoded
// leaves the file untouched). Throws on failure.
void writeProblemFile(const std::filesystem::path& name, const ProblemData& problem);

// Offers to save the problem (Run, after the design dialog). Failures are
// reported to the user; the Run goes on.
void SaveProblemFile(Session& session, Dialogs& dialogs);

enum class FileActionResult { Cancelled, Loaded, Failed };
// Loads a problem chosen by the user; the records are replaced only when the
// whole file was read and is sound.
FileActionResult FileActionExecute(Session& session, Dialogs& dialogs);

}  // namespace vexamo
