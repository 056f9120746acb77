#pragma once
// A scripted Dialogs: each question must be the next expected id and takes
// the queued answer; messages are recorded. Unexpected questions and unused
// answers fail the test.
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "dialogs/Dialogs.h"

namespace vexamo::test {

class FakeDialogs : public Dialogs {
public:
    using Answer = std::variant<bool, std::optional<std::filesystem::path>>;

    ~FakeDialogs() override;  // fails the test when answers are left over

    FakeDialogs& expect(std::string id, Answer answer);

    void message(const MessageRequest& request) override;
    bool confirm(const ConfirmRequest& request) override;
    std::optional<std::filesystem::path> openFile(const FileRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const FileRequest& request) override;

    std::vector<MessageRequest> messages;
    std::vector<FileRequest> fileRequests;
    std::vector<std::string> questions;  // texts of confirmations, in order

private:
    Answer next(const std::string& id);
    std::deque<std::pair<std::string, Answer>> m_queue;
};

}  // namespace vexamo::test
