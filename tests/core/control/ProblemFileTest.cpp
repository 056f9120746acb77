#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "control/ProblemFile.h"
#include "problem/RecordCodec.h"
#include "support/FakeDialogs.h"
#include "support/Files.h"
#include "support/SampleProblem.h"
#include "support/SmallFilesystem.h"
#include "support/TempDir.h"

namespace vexamo {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::readBytes;
using test::writeBytes;

using test::readText;
using test::writeText;

class ProblemFileTest : public ::testing::Test {
protected:
    Session session;
    test::TempDir dir;
    ProblemData sample = test::sampleProblem(session.Data);
};

TEST(Backup, NameRule) {
    EXPECT_EQ(backupName("case1.dat"), fs::path("case1.bak"));
    EXPECT_EQ(backupName("case1"), fs::path("case1.bak"));
    EXPECT_EQ(backupName("my.folder/case1"), fs::path("my.folder/case1.bak"));
    EXPECT_EQ(backupName("my.folder/case.1.dat"), fs::path("my.folder/case.1.bak"));
    EXPECT_EQ(backupName("report.txt"), fs::path("report.bak"));
}

TEST_F(ProblemFileTest, WritingReplacesAnOlderBackupAndMakesNoneForANewName) {
    writeText(dir / "case1.dat", "previous");
    writeText(dir / "case1.bak", "old");
    writeProblemFile(dir / "case1.dat", sample);
    EXPECT_EQ(readBytes(dir / "case1.dat"), encodeProblem(sample));
    EXPECT_EQ(readText(dir / "case1.bak"), "previous");

    writeProblemFile(dir / "absent.dat", sample);
    EXPECT_FALSE(fs::exists(dir / "absent.bak"));

    fs::create_directory(dir / "a.b");
    writeText(dir / "a.b" / "case2", "x");
    writeProblemFile(dir / "a.b" / "case2", sample);
    EXPECT_EQ(readText(dir / "a.b" / "case2.bak"), "x");
}

// A full disk: the save fails with a message that says why, the previous file
// keeps its name and content, and the next save (with room again) keeps that
// content as the backup instead of an empty file.
TEST_F(ProblemFileTest, AFullDiskKeepsThePreviousProblem) {
    test::SmallFilesystem disk(64);
    if (!disk.mounted()) GTEST_SKIP() << "a small tmpfs needs root";
    const fs::path file = disk / "case1.dat";
    ProblemData previous = sample;
    previous.Design.TubeCount = 7;
    writeProblemFile(file, previous);
    disk.fill();
    session.Problem = sample;
    FakeDialogs dialogs;
    dialogs.expect("run.save_problem", true).expect("file.save_problem", std::optional(file));
    SaveProblemFile(session, dialogs);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("No space left on device"), std::string::npos)
        << dialogs.messages[0].text;
    EXPECT_EQ(readBytes(file), encodeProblem(previous));
    EXPECT_FALSE(fs::exists(disk / "case1.bak"));

    disk.removeFiller();
    FakeDialogs again;
    again.expect("run.save_problem", true).expect("file.save_problem", std::optional(file));
    SaveProblemFile(session, again);
    EXPECT_TRUE(again.messages.empty());
    EXPECT_EQ(readBytes(file), encodeProblem(sample));
    EXPECT_EQ(readBytes(disk / "case1.bak"), encodeProblem(previous));
}

TEST_F(ProblemFileTest, AFolderOrFifoUnderTheChosenNameIsNeverMoved) {
    fs::create_directory(dir / "case1.dat");
    ASSERT_EQ(::mkfifo((dir / "case2.dat").c_str(), 0600), 0);
    session.Problem = sample;
    for (const char* name : {"case1.dat", "case2.dat"}) {
        FakeDialogs dialogs;
        dialogs.expect("run.save_problem", true)
            .expect("file.save_problem", std::optional(dir / name));
        SaveProblemFile(session, dialogs);
        ASSERT_EQ(dialogs.messages.size(), 1u) << name;
        EXPECT_NE(dialogs.messages[0].text.find("not a regular file"), std::string::npos)
            << dialogs.messages[0].text;
    }
    EXPECT_TRUE(fs::is_directory(dir / "case1.dat"));
    EXPECT_TRUE(fs::is_fifo(dir / "case2.dat"));
    EXPECT_FALSE(fs::exists(dir / "case1.bak"));
    EXPECT_FALSE(fs::exists(dir / "case2.bak"));
}

TEST_F(ProblemFileTest, SaveThenLoadReproducesEveryByte) {
    session.Problem = sample;
    session.WorkingFolder = dir.path();
    FakeDialogs dialogs;
    dialogs.expect("run.save_problem", true)
        .expect("file.save_problem", std::optional(dir / "case1.dat"));
    SaveProblemFile(session, dialogs);
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].caption, "Saving file");
    EXPECT_EQ(dialogs.fileRequests[0].filter, "Datafiles|*.dat");
    EXPECT_EQ(dialogs.fileRequests[0].initialFolder, dir.path());
    EXPECT_TRUE(dialogs.fileRequests[0].promptOverwrite);
    EXPECT_EQ(dialogs.questions.at(0), "Wish to write down the entered data in a file (y/n) ? ");
    const auto bytes = readBytes(dir / "case1.dat");
    EXPECT_EQ(bytes.size(), kProblemFileSize);
    EXPECT_FALSE(fs::exists(dir / "case1.bak"));  // a new name makes no backup

    Session other;
    other.TechnoEntered = other.DesignEntered = true;
    FakeDialogs open;
    open.expect("file.open_problem", std::optional(dir / "case1.dat"));
    EXPECT_EQ(FileActionExecute(other, open), FileActionResult::Loaded);
    EXPECT_EQ(encodeProblem(other.Problem), bytes);
    EXPECT_EQ(other.DataLoaded, 1);
    EXPECT_FALSE(other.TechnoEntered);
    EXPECT_FALSE(other.DesignEntered);
}

TEST_F(ProblemFileTest, SavingOverAFileKeepsItAsBackup) {
    writeText(dir / "case1.dat", "previous");
    writeText(dir / "case1.bak", "older");
    session.Problem = sample;
    FakeDialogs dialogs;
    dialogs.expect("run.save_problem", true)
        .expect("file.save_problem", std::optional(dir / "case1.dat"));
    SaveProblemFile(session, dialogs);
    EXPECT_EQ(readText(dir / "case1.bak"), "previous");
    EXPECT_EQ(readBytes(dir / "case1.dat").size(), kProblemFileSize);
}

// The problem file is binary: saved under a .json name it would be a .json
// file no JSON reader can read. It goes beside it as .dat, and the person is
// told the name; a .json already there is left alone.
TEST_F(ProblemFileTest, AJsonNameIsWrittenAsTheProblemFile) {
    writeText(dir / "case2.json", "{\"format\": \"vexamo-problem\"}");
    session.Problem = sample;
    FakeDialogs dialogs;
    dialogs.expect("run.save_problem", true)
        .expect("file.save_problem", std::optional(dir / "case2.JSON"));
    SaveProblemFile(session, dialogs);
    EXPECT_EQ(readText(dir / "case2.json"), "{\"format\": \"vexamo-problem\"}");
    EXPECT_EQ(readBytes(dir / "case2.dat").size(), kProblemFileSize);
    ASSERT_EQ(dialogs.messageCount("file.saved_as_dat"), 1u);
    EXPECT_NE(dialogs.messages.back().text.find((dir / "case2.dat").string()), std::string::npos);
}

TEST_F(ProblemFileTest, DecliningOrCancellingChangesNothing) {
    session.Problem = sample;
    FakeDialogs no;
    no.expect("run.save_problem", false);
    SaveProblemFile(session, no);
    FakeDialogs cancel;
    cancel.expect("run.save_problem", true).expect("file.save_problem", std::optional<fs::path>());
    SaveProblemFile(session, cancel);
    EXPECT_TRUE(fs::is_empty(dir.path()));

    FakeDialogs open;
    open.expect("file.open_problem", std::optional<fs::path>());
    EXPECT_EQ(FileActionExecute(session, open), FileActionResult::Cancelled);
    EXPECT_EQ(session.DataLoaded, 0);
    EXPECT_EQ(encodeProblem(session.Problem), encodeProblem(sample));
}

TEST_F(ProblemFileTest, UnwritableFileIsReportedAndTheRunGoesOn) {
    session.Problem = sample;
    session.LanguageFlag = kRussian;
    FakeDialogs dialogs;
    const fs::path target = dir / "no-such-folder" / "case.dat";
    dialogs.expect("run.save_problem", true).expect("file.save_problem", std::optional(target));
    SaveProblemFile(session, dialogs);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].kind, MessageKind::Error);
    // The system's message with the file name, then what failed.
    const std::string text = dialogs.messages[0].text;
    const std::string head = "Не удалось сохранить данные в файле" + target.string() + "\r\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_NE(text.find("no-such-folder cannot be reached"), std::string::npos) << text;
}

TEST_F(ProblemFileTest, ExactSizeLoadsShorterFileKeepsRecordsExtraBytesIgnored) {
    const auto bytes = encodeProblem(sample);
    auto longer = bytes;
    longer.insert(longer.end(), {1, 2, 3});
    writeBytes(dir / "long.dat", longer);
    writeBytes(dir / "short.dat", std::vector<std::uint8_t>(bytes.begin(), bytes.end() - 1));

    FakeDialogs dialogs;
    dialogs.expect("file.open_problem", std::optional(dir / "long.dat"))
        .expect("file.open_problem", std::optional(dir / "short.dat"));
    EXPECT_EQ(FileActionExecute(session, dialogs), FileActionResult::Loaded);
    EXPECT_EQ(encodeProblem(session.Problem), bytes);
    session.DataLoaded = 0;
    EXPECT_EQ(FileActionExecute(session, dialogs), FileActionResult::Failed);
    EXPECT_EQ(encodeProblem(session.Problem), bytes);  // kept as they were
    EXPECT_EQ(session.DataLoaded, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "It was not possible to load the data from the file" + (dir / "short.dat").string());
}

TEST_F(ProblemFileTest, DamagedFilesAreRefusedBeforeUse) {
    struct Damage {
        const char* what;
        std::size_t offset;
        std::uint8_t value;
    };
    const std::vector<Damage> damages = {
        {"component index beyond the table", layout::ComponentIndex + 2, 4},
        {"no components", layout::ComponentCount, 0},
        {"seven components", kTechnSetSize + layout::ComponentCount, 7},
        {"process code", layout::ProcessCode, 9},
        {"name longer than 20", layout::ProcessName, 21},
    };
    for (const auto& d : damages) {
        auto bytes = encodeProblem(sample);
        bytes[d.offset] = d.value;
        writeBytes(dir / "bad.dat", bytes);
        Session s;
        FakeDialogs dialogs;
        dialogs.expect("file.open_problem", std::optional(dir / "bad.dat"));
        EXPECT_EQ(FileActionExecute(s, dialogs), FileActionResult::Failed) << d.what;
        EXPECT_EQ(s.Problem.TubeStream.ComponentCount, 0) << d.what;
        ASSERT_EQ(dialogs.messages.size(), 1u) << d.what;
        EXPECT_NE(dialogs.messages[0].text.find("\r\n"), std::string::npos) << d.what;
    }
    // index 3 (the fourth substance) is fine; only entries up to the count matter
    auto bytes = encodeProblem(sample);
    bytes[layout::ComponentIndex + 2] = 3;
    bytes[layout::ComponentIndex + 4] = 200;
    writeBytes(dir / "ok.dat", bytes);
    EXPECT_NO_THROW(readProblemFile(dir / "ok.dat", session.Data.SubstanceTable.size()));
}

}  // namespace
}  // namespace vexamo
