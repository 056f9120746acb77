#pragma once
// The Dialogs port of the command line: every question is answered from the
// answers file or by its documented default, and logged to stderr.
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/Answers.h"
#include "common/Errors.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"

namespace vexamo::cli {

// An answer of the wrong type or out of range, or a question without answer
// and default (exit status 2). The message names the id.
class AnswerError : public InputError {
public:
    using InputError::InputError;
};

class CliDialogs : public Dialogs {
public:
    CliDialogs(Session& session, AnswerBook& answers, std::ostream& log, bool quiet);
    ~CliDialogs() override;

    void message(const MessageRequest& request) override;
    bool confirm(const ConfirmRequest& request) override;
    bool abortRetry(const AbortRetryRequest& request) override;
    std::optional<std::filesystem::path> openFile(const FileRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const FileRequest& request) override;
    InputAnswer ask(const InputRequest& request) override;
    GridAnswer ask(const GridRequest& request) override;
    AlternAnswer ask(const AlternRequest& request) override;
    MethodAnswer ask(const MethodRequest& request) override;
    CheckListAnswer ask(const CheckListRequest& request) override;
    GapCalcAnswer ask(const GapCalcRequest& request) override;
    bool showTechnological(TechnologicalDialogModel& model) override;
    bool showDesign(DesignDialogModel& model) override;
    void showProfileGraph(const ProfileGraphRequest& request) override;
    void setWaitLabel(const std::string& text) override;

    const std::vector<MessageRequest>& messages() const { return m_messages; }
    // Log the intermediate values of the iterations too.
    void setVerbose(bool verbose) { m_verbose = verbose; }
    const std::vector<ProfileGraphRequest>& graphs() const { return m_graphs; }
    // An answer was of the wrong type or out of range (the Run may still
    // have kept what it had computed before the question).
    bool answerRefused() const { return !m_answerRefusal.empty(); }
    const std::string& answerRefusal() const { return m_answerRefusal; }

private:
    // The answer from the file (or pending), else the default; logged and recorded.
    pjson::Json answer(const std::string& id, const std::string& question,
                       const std::optional<pjson::Json>& fallback);
    [[noreturn]] void fail(const std::string& id, const std::string& why) const;

    Session& m_session;
    AnswerBook& m_answers;
    std::ostream& m_log;
    bool m_quiet;
    bool m_verbose = false;
    mutable std::string m_answerRefusal;  // the last answer refused
    std::vector<MessageRequest> m_messages;
    // The last answer given, and the error the Run showed after it: nobody
    // can correct a headless answer, so the same answer given again to the
    // same question ends the Run instead of looping.
    std::string m_lastId;
    std::unique_ptr<pjson::Json> m_lastValue;
    std::optional<std::string> m_refusal;
    std::vector<ProfileGraphRequest> m_graphs;
};

}  // namespace vexamo::cli
