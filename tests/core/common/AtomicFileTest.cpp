#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "common/AtomicFile.h"
#include "support/Files.h"
#include "support/SmallFilesystem.h"
#include "support/TempDir.h"

namespace vexamo {
namespace {

namespace fs = std::filesystem;
using test::listing;
using test::readText;
using test::writeText;

// Fails one step of a write with an error number; the other calls are real.
class FailingCalls : public FileSystemCalls {
public:
    FailingCalls(WriteStep step, int error) : m_step(step), m_error(error) {}
    bool failRestore = false;  // also fail putting the previous file back

    int open(const char* path, int flags, unsigned mode) override {
        if (m_step == WriteStep::CreateTemporary) return fail();
        return FileSystemCalls::open(path, flags, mode);
    }
    long write(int fd, const void* data, std::size_t size) override {
        // A first short write succeeds, so the failure comes in the middle.
        if (m_step == WriteStep::Write && m_writes++ > 0) return fail();
        return FileSystemCalls::write(fd, data, m_step == WriteStep::Write ? 1 : size);
    }
    int fsync(int fd) override {
        return m_step == WriteStep::Sync ? fail() : FileSystemCalls::fsync(fd);
    }
    int close(int fd) override {
        const int result = FileSystemCalls::close(fd);  // the descriptor is gone either way
        return m_step == WriteStep::Close ? fail() : result;
    }
    int rename(const char* from, const char* to) override {
        const bool fromTemporary = fs::path(from).filename().string().front() == '.';
        if (m_step == WriteStep::RenameToBackup && !fromTemporary) return fail();
        if (m_step == WriteStep::RenameIntoPlace && fromTemporary) return fail();
        if (failRestore && m_step == WriteStep::RenameIntoPlace && ++m_plainRenames > 1)
            return fail();
        return FileSystemCalls::rename(from, to);
    }

private:
    int fail() const {
        errno = m_error;
        return -1;
    }
    WriteStep m_step;
    int m_error;
    int m_writes = 0;
    int m_plainRenames = 0;
};

struct StepCase {
    WriteStep step;
    const char* words;  // what the message says failed
};

const StepCase kSteps[] = {
    {WriteStep::CreateTemporary, "temporary file"},
    {WriteStep::Write, "writing failed"},
    {WriteStep::Sync, "syncing to disk failed"},
    {WriteStep::Close, "closing the file failed"},
    {WriteStep::RenameToBackup, "could not be renamed to"},
    {WriteStep::RenameIntoPlace, "could not be renamed into place"},
};

TEST(AtomicFile, AFaultAtAnyStepKeepsThePreviousFileAndTheOlderBackup) {
    for (const StepCase& c : kSteps) {
        const test::TempDir dir;
        const fs::path file = dir / "case1.dat";
        writeText(file, "previous");
        writeText(dir / "case1.bak", "older");
        FailingCalls calls(c.step, ENOSPC);
        try {
            writeFileAtomically(file, "the new content", BackupRule::ReplaceExtension, calls);
            ADD_FAILURE() << c.words << ": no error";
        } catch (const FileWriteError& e) {
            const std::string what = e.what();
            EXPECT_EQ(e.step(), c.step);
            EXPECT_EQ(e.errorNumber(), ENOSPC);
            EXPECT_NE(what.find(file.string()), std::string::npos) << what;
            EXPECT_NE(what.find(c.words), std::string::npos) << what;
            EXPECT_NE(what.find(std::strerror(ENOSPC)), std::string::npos) << what;
        }
        EXPECT_EQ(readText(file), "previous") << c.words;
        // Until the new file is complete nothing touches the older backup. The
        // last step fails only after the previous file became the backup; it is
        // then put back under its name, and the older backup is gone as it
        // would have been after a successful write.
        if (c.step == WriteStep::RenameIntoPlace) {
            EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"case1.dat"});
        } else {
            EXPECT_EQ(readText(dir / "case1.bak"), "older") << c.words;
            EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"case1.bak", "case1.dat"}))
                << c.words;
        }
    }
}

TEST(AtomicFile, AFaultWithNoPreviousFileLeavesNothing) {
    for (const StepCase& c : kSteps) {
        if (c.step == WriteStep::RenameToBackup) continue;  // nothing to back up
        const test::TempDir dir;
        FailingCalls calls(c.step, EIO);
        EXPECT_THROW(writeFileAtomically(dir / "out.json", "{}", BackupRule::AppendBak, calls),
                     FileWriteError)
            << c.words;
        EXPECT_TRUE(fs::is_empty(dir.path())) << c.words;
    }
}

TEST(AtomicFile, WhenThePreviousFileCannotBePutBackBothCopiesAreNamed) {
    const test::TempDir dir;
    const fs::path file = dir / "report.txt";
    writeText(file, "previous");
    FailingCalls calls(WriteStep::RenameIntoPlace, EXDEV);
    calls.failRestore = true;
    try {
        writeFileAtomically(file, "new", BackupRule::ReplaceExtension, calls);
        ADD_FAILURE() << "no error";
    } catch (const FileWriteError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("the previous file is now " + (dir / "report.bak").string()),
                  std::string::npos)
            << what;
        EXPECT_NE(what.find("the new one " + dir.path().string() + "/.report.txt.tmp"),
                  std::string::npos)
            << what;
    }
    EXPECT_EQ(readText(dir / "report.bak"), "previous");
    EXPECT_EQ(listing(dir.path()).size(), 2u);  // the backup and the new content, nothing lost
}

TEST(AtomicFile, WritesReplaceOnlyOnceTheNewFileIsComplete) {
    const test::TempDir dir;
    const fs::path file = dir / "case1.dat";
    writeFileAtomically(file, "first", BackupRule::ReplaceExtension);
    EXPECT_EQ(listing(dir.path()),
              std::vector<std::string>{"case1.dat"});  // a new name makes no backup
    ::chmod(file.c_str(), 0600);
    writeFileAtomically(file, "second", BackupRule::ReplaceExtension);
    writeFileAtomically(file, "third", BackupRule::ReplaceExtension);
    EXPECT_EQ(readText(file), "third");
    EXPECT_EQ(readText(dir / "case1.bak"), "second");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // a private file stays private

    writeFileAtomically(dir / "out.json", "a", BackupRule::AppendBak);
    writeFileAtomically(dir / "out.json", "b", BackupRule::AppendBak);
    EXPECT_EQ(readText(dir / "out.json.bak"), "a");
    writeFileAtomically(dir / "empty.txt", "", BackupRule::ReplaceExtension);
    EXPECT_EQ(fs::file_size(dir / "empty.txt"), 0u);
}

TEST(AtomicFile, BackupNames) {
    EXPECT_EQ(backupPath("case1.dat", BackupRule::ReplaceExtension), fs::path("case1.bak"));
    EXPECT_EQ(backupPath("a.b/case1", BackupRule::ReplaceExtension), fs::path("a.b/case1.bak"));
    EXPECT_EQ(backupPath("old.bak", BackupRule::ReplaceExtension), fs::path("old.bak.bak"));
    EXPECT_EQ(backupPath("out.json", BackupRule::AppendBak), fs::path("out.json.bak"));
    EXPECT_EQ(backupPath("a.b/out", BackupRule::AppendBak), fs::path("a.b/out.bak"));
}

// The disk fills up while the problem is written: the previous file keeps its
// name and content, and a later write with room again backs up that content,
// not an empty file.
TEST(AtomicFile, AFullFilesystemCostsNothing) {
    test::SmallFilesystem disk(64);
    if (!disk.mounted()) GTEST_SKIP() << "a small tmpfs needs root";
    const fs::path file = disk / "case1.dat";
    const std::string previous(21264, 'p'), next(21264, 'n');
    writeFileAtomically(file, previous, BackupRule::ReplaceExtension);
    disk.fill();
    try {
        writeFileAtomically(file, next, BackupRule::ReplaceExtension);
        ADD_FAILURE() << "the full disk took the file";
    } catch (const FileWriteError& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(ENOSPC)), std::string::npos) << e.what();
    }
    EXPECT_EQ(readText(file), previous);
    EXPECT_FALSE(fs::exists(disk / "case1.bak"));
    EXPECT_EQ(listing(disk.path()), (std::vector<std::string>{"case1.dat", "filler"}));

    disk.removeFiller();
    writeFileAtomically(file, next, BackupRule::ReplaceExtension);
    EXPECT_EQ(readText(file), next);
    EXPECT_EQ(readText(disk / "case1.bak"), previous);
}

TEST(AtomicFile, OnlyRegularFilesAreTargets) {
    const test::TempDir dir;
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink(dir / "folder", dir / "to-folder");
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    writeText(dir / "plain.txt", "x");
    fs::create_symlink(dir / "plain.txt", dir / "to-plain.txt");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketName = (dir / "sock").string();
    ASSERT_LT(socketName.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketName.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    struct Refused {
        fs::path file;
        const char* words;
    };
    const std::vector<Refused> refused = {
        {dir / "folder", "is a folder"},
        {dir / "fifo", "is a FIFO"},
        {"/dev/null", "is a character device"},
        {dir / "sock", "is a socket"},
        {dir / "to-folder", "is a symbolic link to a folder"},
        {dir / "dangling", "leads nowhere"},
        {dir / "missing" / "out.txt", "cannot be reached"},
        {dir / "plain.txt" / "out.txt", "is not a folder"},
        {dir.path() / "", "is not the name of a file"},
    };
    for (const Refused& r : refused) {
        const auto why = unwritableReason(r.file, BackupRule::AppendBak);
        ASSERT_TRUE(why.has_value()) << r.file;
        EXPECT_NE(why->find(r.words), std::string::npos) << r.file << ": " << *why;
        EXPECT_THROW(writeFileAtomically(r.file, "x", BackupRule::AppendBak), OutputRefused)
            << r.file;
    }
    ::close(sock);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));  // never opened, never moved
    EXPECT_TRUE(fs::is_character_file("/dev/null"));

    // A backup's place must be free for a file too.
    fs::create_directory(dir / "out.json.bak");
    writeText(dir / "out.json", "previous");
    const auto why = unwritableReason(dir / "out.json", BackupRule::AppendBak);
    ASSERT_TRUE(why.has_value());
    EXPECT_NE(why->find("its backup"), std::string::npos) << *why;

    // A link to a regular file is written as a file; the linked file keeps
    // its content and the backup still leads to it.
    EXPECT_FALSE(unwritableReason(dir / "to-plain.txt", BackupRule::ReplaceExtension));
    writeFileAtomically(dir / "to-plain.txt", "new", BackupRule::ReplaceExtension);
    EXPECT_EQ(readText(dir / "plain.txt"), "x");
    EXPECT_EQ(readText(dir / "to-plain.bak"), "x");
    EXPECT_EQ(readText(dir / "to-plain.txt"), "new");
}

TEST(AtomicFile, OutputsAreCheckedAgainstInputsEachOtherAndTheirBackups) {
    const test::TempDir dir;
    writeText(dir / "p.json", "{}");
    writeText(dir / "answers.json", "{}");
    fs::create_hard_link(dir / "p.json", dir / "same.json");
    const std::vector<PlannedInput> inputs = {{"PROBLEM", dir / "p.json"},
                                              {"--answers", dir / "answers.json"}};
    auto refusal = [&](std::vector<PlannedOutput> outputs) -> std::string {
        try {
            checkOutputs(outputs, inputs);
        } catch (const OutputRefused& e) {
            return e.what();
        }
        return {};
    };
    const auto r = BackupRule::ReplaceExtension;
    const auto a = BackupRule::AppendBak;
    const std::vector<std::string> pictures = {".png", ".svg"};

    // One stem, three outputs: three backups.
    EXPECT_EQ(refusal({{"--report", dir / "out.txt", r, {}},
                       {"--json", dir / "out.json", a, {}},
                       {"--record", dir / "out.rec", a, {}},
                       {"--plot", dir / "out.png", a, pictures}}),
              "");
    EXPECT_EQ(refusal({{"--plot", dir / "OUT.SVG", a, pictures}}), "");

    struct Case {
        std::vector<PlannedOutput> outputs;
        const char* words;
    };
    const std::vector<Case> cases = {
        {{{"--plot", dir / "p.json", a, pictures}}, "must end in .png or .svg"},
        {{{"--json", dir / "." / "p.json", a, {}}}, "the same file as PROBLEM"},
        {{{"--json", dir / "same.json", a, {}}}, "the same file as PROBLEM"},
        {{{"--record", dir / "sub" / ".." / "answers.json", a, {}}}, "cannot be reached"},
        {{{"--record", dir / "answers.json", a, {}}}, "the same file as --answers"},
        {{{"--json", dir / "x.json", a, {}}, {"--record", dir / "x.json", a, {}}},
         "the same file as --json"},
        {{{"--report", dir / "x.txt", r, {}},
          {"--json", dir / "x.bak.json", a, {}},
          {"--record", dir / "x.bak", a, {}}},
         ".bak name is kept"},
        {{{"--report", dir / "x.txt", r, {}}, {"--json", dir / "x", a, {}}}, "its backup"},
        {{{"--report", dir / "p.txt", r, {}}}, ""},
    };
    for (const Case& c : cases) {
        const std::string why = refusal(c.outputs);
        if (*c.words == 0) {
            EXPECT_EQ(why, "");
            continue;
        }
        EXPECT_NE(why.find(c.words), std::string::npos) << c.words << " / " << why;
        EXPECT_NE(why.find(c.outputs.back().option), std::string::npos) << why;
    }
    EXPECT_EQ(readText(dir / "p.json"), "{}");
}

}  // namespace
}  // namespace vexamo
