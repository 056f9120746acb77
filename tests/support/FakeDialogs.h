#pragma once
// A scripted Dialogs: each question must be the next expected id and takes
// the queued answer; messages and requests are recorded. Unexpected questions,
// answers of the wrong type and unused answers fail the test; a request whose
// id is not declared in dialogs/QuestionIds.h fails it and throws
// std::logic_error.
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "dialogs/Dialogs.h"

namespace vexamo::test {

class FakeDialogs : public Dialogs {
public:
    using Answer = std::variant<bool, std::optional<std::filesystem::path>, InputAnswer, GridAnswer,
                                AlternAnswer, MethodAnswer, CheckListAnswer, GapCalcAnswer>;

    ~FakeDialogs() override;  // fails the test when answers are left over

    FakeDialogs& expect(std::string id, Answer answer);
    // The data dialogs: called with the model; returns OK (true) or Cancel.
    std::function<bool(TechnologicalDialogModel&)> onTechnological;
    std::function<bool(DesignDialogModel&)> onDesign;

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

    std::vector<MessageRequest> messages;
    std::size_t messageCount(const std::string& id) const;  // messages shown with this id
    std::vector<FileRequest> fileRequests;
    std::vector<InputRequest> inputRequests;
    std::vector<GridRequest> gridRequests;
    std::vector<AlternRequest> alternRequests;
    std::vector<std::string> questions;  // texts of confirmations, in order
    std::vector<std::string> asked;      // every id asked, in order
    std::vector<ProfileGraphRequest> graphs;
    std::vector<std::string> waitLabels;

private:
    template <typename T>
    T take(const std::string& id);
    std::deque<std::pair<std::string, Answer>> m_queue;
};

}  // namespace vexamo::test
