// The declared request ids against their documentation, and the front ends
// that refuse an id nobody declared.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "dialogs/QuestionIds.h"
#include "problemjson/JsonText.h"
#include "support/FakeDialogs.h"

namespace vexamo {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// What docs/questions.md says about the ids: every id it names in backticks,
// and for the rows of its two tables whether the row documents a question
// or a message (with the message's kind).
struct DocumentedIds {
    std::set<std::string> named;
    std::map<std::string, std::string> questionRows;  // id -> section
    std::map<std::string, std::string> messageKinds;  // id -> kind column
};

DocumentedIds documentedIds() {
    const std::string text = readFile(std::string(VEXAMO_SOURCE_DIR) + "/docs/questions.md");
    DocumentedIds ids;
    const std::regex idShape("^[a-z_]+(\\.[a-z_]+)*$");
    const std::regex backticked("`([^`]*)`");
    std::istringstream lines(text);
    std::string line, section;
    while (std::getline(lines, line)) {
        if (line.rfind("## ", 0) == 0) section = line.substr(3);
        std::vector<std::string> onLine;
        for (auto it = std::sregex_iterator(line.begin(), line.end(), backticked);
             it != std::sregex_iterator(); ++it)
            if (std::regex_match((*it)[1].str(), idShape)) onLine.push_back((*it)[1].str());
        ids.named.insert(onLine.begin(), onLine.end());
        if (line.rfind("| `", 0) != 0) continue;
        // A table row: the ids of its first cell, the kind in its second.
        const std::size_t firstEnd = line.find(" |", 2);
        const std::string firstCell = line.substr(0, firstEnd);
        const std::size_t secondEnd = line.find(" |", firstEnd + 2);
        const std::string second = line.substr(firstEnd + 3, secondEnd - firstEnd - 3);
        for (auto it = std::sregex_iterator(firstCell.begin(), firstCell.end(), backticked);
             it != std::sregex_iterator(); ++it) {
            if (section == "Messages")
                ids.messageKinds[(*it)[1].str()] = second;
            else
                ids.questionRows[(*it)[1].str()] = section;
        }
    }
    return ids;
}

TEST(QuestionIds, TheTableAndItsDocumentationNameTheSameIds) {
    const DocumentedIds documented = documentedIds();
    ASSERT_GT(documented.named.size(), 40u) << "docs/questions.md not read";

    std::set<std::string> declared;
    for (const QuestionDeclaration& d : questionDeclarations()) {
        EXPECT_TRUE(declared.insert(std::string(d.id)).second) << d.id << " is declared twice";
        EXPECT_TRUE(documented.named.count(std::string(d.id)))
            << d.id << " is not documented in docs/questions.md";
        EXPECT_EQ(findQuestionDeclaration(d.id), &d);
    }
    for (const std::string& id : documented.named)
        EXPECT_TRUE(declared.count(id))
            << id << " is documented but not declared in dialogs/QuestionIds.cpp";

    // The rows of the questions' table are questions, those of the messages'
    // table messages of the kind they document.
    for (const auto& [id, section] : documented.questionRows) {
        const QuestionDeclaration* d = findQuestionDeclaration(id);
        ASSERT_NE(d, nullptr) << id;
        EXPECT_NE(d->dialog, PortDialog::Message) << id << " is documented as a question";
        EXPECT_EQ(section, "Questions") << id;
    }
    for (const auto& [id, kind] : documented.messageKinds) {
        const QuestionDeclaration* d = findQuestionDeclaration(id);
        ASSERT_NE(d, nullptr) << id;
        EXPECT_EQ(d->dialog, PortDialog::Message) << id << " is documented as a message";
        EXPECT_EQ(d->answer, kind) << id;
    }
    EXPECT_EQ(findQuestionDeclaration("run.other"), nullptr);
    EXPECT_EQ(findQuestionDeclaration("shell_loss."), nullptr);
}

// Every id-shaped text of the core whose group is one of the declared
// groups ("run.", "stream.", ...) is a declared id: a request built with a new
// id and no declaration is found here even before a test asks it.
TEST(QuestionIds, EveryIdTheCoreWritesIsDeclared) {
    std::set<std::string> groups;
    for (const QuestionDeclaration& d : questionDeclarations())
        groups.insert(std::string(d.id.substr(0, d.id.find('.'))));
    const std::regex idText("\"([a-z_]+)\\.([a-z_]+)\"");
    std::size_t found = 0;
    const std::filesystem::path core = std::filesystem::path(VEXAMO_SOURCE_DIR) / "src" / "core";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(core)) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        const std::string text = readFile(entry.path().string());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), idText);
             it != std::sregex_iterator(); ++it) {
            if (!groups.count((*it)[1].str())) continue;
            ++found;
            const std::string id = (*it)[1].str() + "." + (*it)[2].str();
            EXPECT_NE(findQuestionDeclaration(id), nullptr)
                << id << " in " << entry.path().string() << " is not declared";
        }
    }
    EXPECT_GT(found, 50u);
}

TEST(QuestionIds, TheCommandLineRefusesAnUndeclaredIdAsAFaultOfTheProgram) {
    Session session;
    cli::AnswerBook book =
        cli::AnswerBook::fromText(R"({"run.save_problem": true, "stream.sneaky": 3})", "test");
    std::ostringstream log;
    cli::CliDialogs dialogs(session, book, log, false);

    EXPECT_TRUE(dialogs.confirm({"run.save_problem", "save?", false}));
    // Not an answer refused (exit status 2) but the program's own fault,
    // whether the file answers the id or not.
    EXPECT_THROW(dialogs.confirm({"run.undeclared", "?", true}), std::logic_error);
    InputRequest input;
    input.id = "stream.sneaky";
    EXPECT_THROW(dialogs.ask(input), std::logic_error);
    try {
        dialogs.ask(input);
        ADD_FAILURE();
    } catch (const cli::AnswerError&) {
        ADD_FAILURE() << "an undeclared id is no answer error";
    } catch (const std::logic_error& e) {
        EXPECT_NE(std::string(e.what()).find("\"stream.sneaky\" is not declared"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_FALSE(dialogs.answerRefused());
    EXPECT_THROW(dialogs.message({"run.undeclared_note", MessageKind::Warning, "note"}),
                 std::logic_error);
    dialogs.message({"calculation.speed", MessageKind::Warning, "fast"});
    ProfileGraphRequest graph;
    graph.id = "graph.undeclared";
    EXPECT_THROW(dialogs.showProfileGraph(graph), std::logic_error);
    GapCalcRequest gap;
    gap.id = "shell_side";
    EXPECT_THROW(dialogs.ask(gap), std::logic_error);
    // Nothing undeclared was recorded.
    EXPECT_EQ(book.recorded().size(), 1u) << book.recordText();
    EXPECT_EQ(dialogs.messages().size(), 1u);
}

// The command line asks the fields of the shell-side loss form under the
// ids the core declares for them, each once, with their defaults.
TEST(QuestionIds, TheShellLossFieldsAreAskedUnderTheirDeclaredIds) {
    Session session;
    session.LanguageFlag = kEnglish;
    cli::AnswerBook book = cli::AnswerBook::fromText(
        R"({"shell_loss.head_type": 2, "shell_loss.holes": "stamped"})", "test");
    std::ostringstream log;
    cli::CliDialogs dialogs(session, book, log, true);
    GapCalcRequest request;
    request.tubeDiameter = 0.025L;
    request.baffleSpacing = 1.5L;
    const GapCalcAnswer answer = dialogs.ask(request);
    EXPECT_EQ(answer.headType, 2);
    EXPECT_FALSE(answer.holesDrilled);
    EXPECT_EQ(answer.pitch, "Default");

    std::set<std::string> fields;
    for (const QuestionDeclaration& d : questionDeclarations())
        if (d.dialog == PortDialog::ShellLossField) fields.insert(std::string(d.id));
    std::set<std::string> asked;
    const pjson::Json recorded = book.recorded();
    for (const auto& [id, value] : recorded.items()) {
        EXPECT_TRUE(asked.insert(id).second) << id;
        const QuestionDeclaration* d = findQuestionDeclaration(id);
        ASSERT_NE(d, nullptr) << id;
        // The default the table documents is the one taken.
        if (id != "shell_loss.head_type" && id != "shell_loss.holes") {
            EXPECT_EQ(cli::answerText(value), d->defaultAnswer) << id;
        }
    }
    EXPECT_EQ(asked, fields);
}

TEST(QuestionIds, TheTestFakeFailsAndRefusesAnUndeclaredId) {
    test::FakeDialogs dialogs;
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW(dialogs.confirm({"run.undeclared", "?", false}), std::logic_error),
        "\"run.undeclared\" is not declared");
    EXPECT_NONFATAL_FAILURE(
        EXPECT_THROW(dialogs.message({"run.undeclared_note", MessageKind::Error, "!"}),
                     std::logic_error),
        "\"run.undeclared_note\" is not declared");
    EXPECT_TRUE(dialogs.messages.empty());
    dialogs.expect("run.save_problem", false);
    EXPECT_FALSE(dialogs.confirm({"run.save_problem", "save?", true}));
}

}  // namespace
}  // namespace vexamo
