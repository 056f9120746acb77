#include "common/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace vexamo {

namespace fs = std::filesystem;

int FileSystemCalls::open(const char* path, int flags, unsigned mode) {
    return ::open(path, flags, static_cast<mode_t>(mode));
}
long FileSystemCalls::write(int fd, const void* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, size));
}
int FileSystemCalls::fsync(int fd) { return ::fsync(fd); }
int FileSystemCalls::close(int fd) { return ::close(fd); }
int FileSystemCalls::rename(const char* from, const char* to) { return ::rename(from, to); }
int FileSystemCalls::unlink(const char* path) { return ::unlink(path); }
void FileSystemCalls::syncFolder(const char* folder) {
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    (void)::close(fd);
}

FileSystemCalls& FileSystemCalls::system() {
    static FileSystemCalls calls;
    return calls;
}

fs::path backupPath(const fs::path& file, BackupRule rule) {
    const std::string name = file.filename().string();
    std::string backup = name + ".bak";
    if (rule == BackupRule::ReplaceExtension) {
        const auto dot = name.rfind('.');
        if (dot != std::string::npos) backup = name.substr(0, dot) + ".bak";
        if (backup == name) backup = name + ".bak";
    }
    return file.parent_path() / backup;
}

FileWriteError::FileWriteError(fs::path file, WriteStep step, int errorNumber, std::string what)
    : VexamoError(std::move(what)),
      m_file(std::move(file)),
      m_step(step),
      m_errorNumber(errorNumber) {}

namespace {

std::string errorText(int errorNumber) { return std::system_category().message(errorNumber); }

// What kind of thing a status describes, for a message.
const char* kindName(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// Why an existing path is no regular file, or nothing (also when it does not
// exist). A symbolic link is judged by what it leads to.
std::optional<std::string> notRegular(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return std::nullopt;
        return std::string("cannot be examined (") + errorText(errno) + ")";
    }
    if (S_ISREG(st.st_mode)) return std::nullopt;
    if (!S_ISLNK(st.st_mode))
        return std::string("is ") + kindName(st.st_mode) + ", not a regular file";
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0)
        return std::string("is a symbolic link that leads nowhere (") + errorText(errno) + ")";
    if (S_ISREG(target.st_mode)) return std::nullopt;
    return std::string("is a symbolic link to ") + kindName(target.st_mode) +
           ", not a regular file";
}

fs::path folderOf(const fs::path& file) {
    const fs::path parent = file.parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// A temporary name beside the file, unique within the process and across
// processes (the process id), hidden from ordinary listings.
fs::path temporaryName(const fs::path& file, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const unsigned n = counter.fetch_add(1, std::memory_order_relaxed);
    return file.parent_path() / ("." + file.filename().string() + ".tmp" +
                                 std::to_string(static_cast<long>(::getpid())) + "-" +
                                 std::to_string(n) + "-" + std::to_string(attempt));
}

}  // namespace

std::optional<std::string> unwritableReason(const fs::path& file, BackupRule rule) {
    const std::string name = file.filename().string();
    if (file.empty() || name.empty() || name == "." || name == "..")
        return std::string("is not the name of a file");
    const fs::path folder = folderOf(file);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return "the folder " + folder.string() + " cannot be reached (" + errorText(errno) + ")";
    if (!S_ISDIR(st.st_mode)) return "the folder " + folder.string() + " is not a folder";
    if (auto why = notRegular(file)) return why;
    const fs::path backup = backupPath(file, rule);
    if (auto why = notRegular(backup)) return "its backup " + backup.string() + " " + *why;
    return std::nullopt;
}

namespace {

// A temporary file of our own beside the target, open for writing.
struct TemporaryFile {
    fs::path path;
    int fd = -1;
};

// 1. The temporary file, under a name no other file has.
TemporaryFile createTemporary(const fs::path& file, FileSystemCalls& calls,
                              const std::string& kept) {
    TemporaryFile t;
    int error = 0;
    for (unsigned attempt = 0; attempt < 100 && t.fd < 0; ++attempt) {
        t.path = temporaryName(file, attempt);
        t.fd = calls.open(t.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        error = errno;
        if (t.fd < 0 && error != EEXIST) break;
    }
    if (t.fd < 0)
        throw FileWriteError(file, WriteStep::CreateTemporary, error,
                             file.string() + ": the temporary file " + t.path.string() +
                                 " could not be created (" + errorText(error) + ")" + kept);
    return t;
}

// 2-3. Every byte, on disk, then closed; on failure the temporary file goes.
void writeAndClose(TemporaryFile& t, const fs::path& file, std::string_view bytes,
                   FileSystemCalls& calls, const std::string& kept) {
    auto fail = [&](WriteStep step, int errorNumber, const char* what) -> FileWriteError {
        if (t.fd >= 0) (void)calls.close(t.fd);
        t.fd = -1;
        (void)calls.unlink(t.path.c_str());
        return FileWriteError(
            file, step, errorNumber,
            file.string() + ": " + what + " (" + errorText(errorNumber) + ")" + kept);
    };

    // A write makes progress or fails; interruptions are retried a bounded
    // number of times.
    std::size_t done = 0;
    unsigned interruptions = 0;
    while (done < bytes.size()) {
        const long n = calls.write(t.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            const int e = errno;
            if (e == EINTR && ++interruptions < 1000) continue;
            throw fail(WriteStep::Write, e, "writing failed");
        }
        if (n == 0) throw fail(WriteStep::Write, ENOSPC, "writing failed");
        done += static_cast<std::size_t>(n);
    }

    // A network file system may report its errors only at the sync or the close.
    if (calls.fsync(t.fd) != 0) throw fail(WriteStep::Sync, errno, "syncing to disk failed");
    const int closed = calls.close(t.fd);
    t.fd = -1;
    if (closed != 0) throw fail(WriteStep::Close, errno, "closing the file failed");
}

// 4-5. The previous file becomes the backup (an older backup goes only now),
// and the new file takes the name; when it cannot, the previous file gets
// its name back.
void moveIntoPlace(const fs::path& file, const fs::path& backup, const fs::path& temporary,
                   bool hadPrevious, FileSystemCalls& calls, const std::string& kept) {
    if (hadPrevious && calls.rename(file.c_str(), backup.c_str()) != 0) {
        const int e = errno;
        (void)calls.unlink(temporary.c_str());
        throw FileWriteError(file, WriteStep::RenameToBackup, e,
                             file.string() + ": the previous file could not be renamed to " +
                                 backup.string() + " (" + errorText(e) + ")" + kept);
    }
    if (calls.rename(temporary.c_str(), file.c_str()) != 0) {
        const int e = errno;
        std::string where = "; nothing was written";
        if (hadPrevious) {
            if (calls.rename(backup.c_str(), file.c_str()) == 0) {
                where = "; the previous file is back under its name";
            } else {
                // Both copies stay: say where they are.
                throw FileWriteError(file, WriteStep::RenameIntoPlace, e,
                                     file.string() +
                                         ": the new file could not be renamed into place (" +
                                         errorText(e) + "); the previous file is now " +
                                         backup.string() + ", the new one " + temporary.string());
            }
        }
        (void)calls.unlink(temporary.c_str());
        throw FileWriteError(file, WriteStep::RenameIntoPlace, e,
                             file.string() + ": the new file could not be renamed into place (" +
                                 errorText(e) + ")" + where);
    }
}

}  // namespace

void writeFileAtomically(const fs::path& file, std::string_view bytes, BackupRule rule,
                         FileSystemCalls& calls) {
    if (auto why = unwritableReason(file, rule)) throw OutputRefused(file.string() + ": " + *why);
    const fs::path backup = backupPath(file, rule);
    struct stat previousStatus {};
    const bool hadPrevious = ::lstat(file.c_str(), &previousStatus) == 0;
    const std::string kept =
        hadPrevious ? "; the previous file is unchanged" : "; nothing was written";

    TemporaryFile temporary = createTemporary(file, calls, kept);
    // A replaced file keeps its permissions (a private report stays private).
    if (hadPrevious) {
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0) (void)::fchmod(temporary.fd, st.st_mode & 07777);
    }
    writeAndClose(temporary, file, bytes, calls, kept);
    moveIntoPlace(file, backup, temporary.path, hadPrevious, calls, kept);
    calls.syncFolder(folderOf(file).c_str());
}

bool sameFile(const fs::path& a, const fs::path& b) {
    struct stat sa {
    }, sb{};
    const bool haveA = ::stat(a.c_str(), &sa) == 0;
    const bool haveB = ::stat(b.c_str(), &sb) == 0;
    if (haveA && haveB) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    // Otherwise compare the places the names lead to (a dangling link leads
    // to where its target would be).
    std::error_code ea, eb;
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ea), ea);
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, eb), eb);
    if (ea || eb) return fs::absolute(a).lexically_normal() == fs::absolute(b).lexically_normal();
    return ca == cb;
}

namespace {

std::string lowerExtension(const fs::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

std::string extensionList(const std::vector<std::string>& extensions) {
    std::string text;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (i) text += i + 1 == extensions.size() ? " or " : ", ";
        text += extensions[i];
    }
    return text;
}

}  // namespace

void checkOutputs(const std::vector<PlannedOutput>& outputs,
                  const std::vector<PlannedInput>& inputs) {
    struct Place {
        std::string what;
        fs::path file;
    };
    std::vector<Place> taken;  // inputs, outputs and backups seen so far
    for (const PlannedInput& in : inputs)
        if (!in.file.empty()) taken.push_back({in.option + " " + in.file.string(), in.file});

    for (const PlannedOutput& out : outputs) {
        if (out.file.empty()) continue;
        const std::string named = out.option + " " + out.file.string();
        const std::string ext = lowerExtension(out.file);
        if (!out.extensions.empty() &&
            std::find(out.extensions.begin(), out.extensions.end(), ext) == out.extensions.end())
            throw OutputRefused(named + ": the file name must end in " +
                                extensionList(out.extensions));
        if (ext == ".bak")
            throw OutputRefused(named + ": a .bak name is kept for the backups of replaced files");
        if (auto why = unwritableReason(out.file, out.rule))
            throw OutputRefused(named + ": " + *why);

        const fs::path backup = backupPath(out.file, out.rule);
        for (const Place& place : taken) {
            if (sameFile(out.file, place.file))
                throw OutputRefused(named + ": the same file as " + place.what);
            if (sameFile(backup, place.file))
                throw OutputRefused(named + ": its backup " + backup.string() + " would be " +
                                    place.what);
        }
        taken.push_back({out.option + " " + out.file.string(), out.file});
        taken.push_back({"the backup of " + named + " (" + backup.string() + ")", backup});
    }
}

}  // namespace vexamo
