#pragma once
// The one way this program writes a file. The new bytes go to a temporary
// file beside the target and are synced to disk; only then does the previous
// file become its backup and the new file take its name. Whatever fails, the
// previous file is still there under its own name, and a backup is replaced
// only once the new content is safely on disk.
//
// Beside the writer: the checks an output must pass before anything is
// calculated or moved (a usable name, a regular file or nothing at all, not
// one of the inputs, not another output or another output's backup).
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Errors.h"

namespace vexamo {

// The system calls of one write. Tests derive from it and fail one step.
class FileSystemCalls {
public:
    virtual ~FileSystemCalls() = default;
    virtual int open(const char* path, int flags, unsigned mode);
    virtual long write(int fd, const void* data, std::size_t size);
    virtual int fsync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int unlink(const char* path);
    // Makes the renames in a folder durable; failures are ignored (the file
    // is complete and in place by then).
    virtual void syncFolder(const char* folder);

    // The real calls of the operating system.
    static FileSystemCalls& system();
};

// Where the previous content of a file goes.
enum class BackupRule {
    // The system's own files (problem file, report): "case1.dat" ->
    // "case1.bak", the extension taken from the file name, never a folder.
    ReplaceExtension = 0,
    // Other outputs (results, records, pictures): "out.json" ->
    // "out.json.bak", so outputs of one stem never share a backup.
    AppendBak = 1,
};

// The backup name of `file` under `rule`. A name that would be its own
// backup ("old.bak" under ReplaceExtension) gets ".bak" appended instead.
std::filesystem::path backupPath(const std::filesystem::path& file, BackupRule rule);

// The step of a write that failed.
enum class WriteStep {
    CreateTemporary = 0,
    Write = 1,
    Sync = 2,
    Close = 3,
    RenameToBackup = 4,
    RenameIntoPlace = 5,
};

// A write that failed. what() names the file, the step and the system's
// reason, and says where the previous content is.
class FileWriteError : public VexamoError {
public:
    FileWriteError(std::filesystem::path file, WriteStep step, int errorNumber, std::string what);
    const std::filesystem::path& file() const { return m_file; }
    WriteStep step() const { return m_step; }
    int errorNumber() const { return m_errorNumber; }

private:
    std::filesystem::path m_file;
    WriteStep m_step;
    int m_errorNumber;
};

// An output that must not be written (a folder, a device, a FIFO, a socket,
// one of the inputs, ...). Nothing was touched.
class OutputRefused : public VexamoError {
public:
    using VexamoError::VexamoError;
};

// Why `file` cannot be written under `rule`, or nothing when it can: the name
// has no file name part, its folder is missing or not a folder, the path or
// its backup's path exists and is not a regular file (a symbolic link counts
// by what it leads to). Looks at the paths only (lstat/stat): it never opens
// them, so a FIFO cannot block it.
std::optional<std::string> unwritableReason(const std::filesystem::path& file, BackupRule rule);

// Writes `bytes` as `file`: a temporary file in the same folder, written in
// full, synced and closed; then an existing `file` is renamed to its backup
// (replacing an older backup) and the temporary file renamed to `file`.
// Throws OutputRefused (nothing touched) when unwritableReason finds a
// reason, FileWriteError when a step fails. The temporary file never
// survives a failure, except when the previous file cannot be put back under
// its name after the last step failed: then the message names both places.
void writeFileAtomically(const std::filesystem::path& file, std::string_view bytes, BackupRule rule,
                         FileSystemCalls& calls = FileSystemCalls::system());

// True when the two names are the same file: the same device and inode when
// both exist, else the same absolute path with links and dots resolved.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// One output a command is about to write.
struct PlannedOutput {
    std::string option;          // how the person named it: "--json", "OUT"
    std::filesystem::path file;  // empty: not asked for, not checked
    BackupRule rule = BackupRule::AppendBak;
    std::vector<std::string> extensions;  // allowed, lower case with the dot; empty: any
};

// One file a command reads.
struct PlannedInput {
    std::string option;  // "PROBLEM", "--answers"
    std::filesystem::path file;
};

// Checks every output before anything is calculated or moved: its
// extension (a ".bak" name is kept for backups), unwritableReason, that it
// is none of the inputs, and that no two outputs or backups are the same
// file, nor an output or its backup one of the inputs. Throws OutputRefused
// naming the option and the file.
void checkOutputs(const std::vector<PlannedOutput>& outputs,
                  const std::vector<PlannedInput>& inputs);

}  // namespace vexamo
