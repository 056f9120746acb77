#include "FuzzEntries.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ProblemIo.h"
#include "cli/ProblemSummary.h"
#include "common/Errors.h"
#include "control/ProblemFile.h"
#include "control/Session.h"
#include "dialogs/QuestionIds.h"
#include "problem/RecordCodec.h"
#include "problemjson/JsonText.h"
#include "problemjson/ProblemJson.h"

namespace vexamo::fuzz {

namespace {

const SubstanceData& substances() {
    static const SubstanceData data = SubstanceData::builtIn();
    return data;
}

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "fuzz: %s\n", what);
    std::abort();
}

std::string text(std::span<const std::uint8_t> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A problem that was read is written as JSON; when that succeeds, reading the
// JSON back must give the same problem-file bytes.
void convertAndBack(const ProblemData& problem) {
    std::vector<std::uint8_t> before;
    try {
        before = encodeProblem(problem);
    } catch (const EncodingError&) {
        return;  // a name that Windows-1251 cannot hold: refused by convert to .dat
    }
    std::string json;
    try {
        json = pjson::problemToJson(problem, substances());
    } catch (const pjson::ProblemJsonError&) {
        return;  // refused by convert with the field named
    }
    ProblemData back;
    try {
        back = pjson::problemFromJson(json, substances());
    } catch (const pjson::ProblemJsonError& e) {
        std::fprintf(stderr, "fuzz: the converted JSON is refused: %s\n%s\n", e.what(),
                     json.c_str());
        std::abort();
    }
    if (encodeProblem(back) != before) broken("JSON round trip changed the problem-file bytes");
}

}  // namespace

namespace {

std::optional<ProblemData> decodedProblem(std::span<const std::uint8_t> bytes) {
    ProblemData problem;
    try {
        problem = decodeProblemFile(bytes, substances().SubstanceTable.size(), kEnglish);
    } catch (const FormatError&) {
        return std::nullopt;
    }
    (void)cli::problemSummary(problem, substances(), kEnglish);
    (void)cli::problemSummary(problem, substances(), kRussian);
    try {
        (void)encodeProblem(problem);
    } catch (const EncodingError&) {
    }
    return problem;
}

}  // namespace

void readProblemBytes(std::span<const std::uint8_t> bytes) { (void)decodedProblem(bytes); }

void convertProblemBytes(std::span<const std::uint8_t> bytes) {
    if (auto problem = decodedProblem(bytes)) convertAndBack(*problem);
}

void readProblemJson(std::span<const std::uint8_t> bytes) {
    ProblemData problem;
    try {
        problem = pjson::problemFromJson(text(bytes), substances());
    } catch (const pjson::ProblemJsonError&) {
        return;
    }
    (void)cli::problemSummary(problem, substances(), kEnglish);
    convertAndBack(problem);
}

void readAnswers(std::span<const std::uint8_t> bytes) {
    cli::AnswerBook book;
    try {
        book = cli::AnswerBook::fromText(text(bytes), "answers.json");
    } catch (const InputError&) {
        return;
    }
    const std::vector<std::string> ids = book.unused();
    for (const std::string& id : ids)
        for (int i = 0; i < 3; ++i)
            if (auto value = book.next(id)) (void)cli::answerText(*value);

    // Every answer asked as each kind of question the Run asks.
    book = cli::AnswerBook::fromText(text(bytes), "answers.json");
    static Session session;  // built once: the substance tables are large
    std::ostringstream log;
    cli::CliDialogs dialogs(session, book, log, true);
    auto attempt = [](auto&& ask) {
        try {
            ask();
        } catch (const cli::AnswerError&) {
        }
    };
    for (const std::string& id : ids) {
        // A Run asks declared ids only (asking an undeclared one is a fault of
        // the program): an answer under any other id stays unused.
        if (findQuestionDeclaration(id) == nullptr) continue;
        attempt([&] { (void)dialogs.confirm({id, "?", true}); });
        for (InputKind kind : {InputKind::Real, InputKind::Integer}) {
            InputRequest input;
            input.id = id;
            input.kind = kind;
            input.errorPrefix = "Error of number entry ";
            attempt([&] { (void)dialogs.ask(input); });
        }
        GridRequest grid;
        grid.id = id;
        grid.columns = 4;
        grid.rows = 2;
        grid.cells.assign(2, std::vector<std::string>(4));
        grid.integerColumns.assign(4, false);
        grid.defaultAnswer = std::vector<std::string>{"1", "2", "3"};
        attempt([&] { (void)dialogs.ask(grid); });
        AlternRequest choice;
        choice.id = id;
        choice.alternatives = {"one", "two", "three"};
        choice.keywords = {"menu", "", "last"};
        choice.numberSelects = 1;
        attempt([&] { (void)dialogs.ask(choice); });
        MethodRequest method;
        method.id = id;
        attempt([&] { (void)dialogs.ask(method); });
        CheckListRequest list;
        list.id = id;
        list.items = {"a", "b", "c"};
        list.defaultChecked = {true, false, true};
        attempt([&] { (void)dialogs.ask(list); });
    }
    (void)pjson::dump(book.recorded());
}

}  // namespace vexamo::fuzz
