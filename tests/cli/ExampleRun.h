#pragma once
// An example of examples/ run headless as `vexamo run --quiet` runs it, with
// its answers file, for the tests that look at a whole Run.
#include <sstream>
#include <string>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "cli/ProblemIo.h"
#include "cli/RunCommand.h"
#include "control/RunDriver.h"
#include "control/Session.h"

namespace vexamo::test {

inline std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

struct ExampleRun {
    Session session;
    cli::AnswerBook answers;
    std::ostringstream log;
    cli::CliDialogs dialogs;
    RunOutcome outcome;
    explicit ExampleRun(const std::string& name, LanguageFlagType lang = kEnglish)
        : answers(cli::AnswerBook::fromFile(example("answers/" + name + ".json"))),
          dialogs(session, answers, log, true) {
        session.LanguageFlag = lang;
        session.Problem = cli::loadProblem(example(name + ".json"), session.Data, lang);
        cli::markProblemGiven(session);
        outcome = runCalculation(session, dialogs);
    }
};

}  // namespace vexamo::test
