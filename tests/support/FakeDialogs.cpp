#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

namespace vexamo::test {

FakeDialogs::~FakeDialogs() {
    for (const auto& [id, answer] : m_queue) ADD_FAILURE() << "answer for \"" << id << "\" was never asked for";
}

FakeDialogs& FakeDialogs::expect(std::string id, Answer answer) {
    m_queue.emplace_back(std::move(id), std::move(answer));
    return *this;
}

FakeDialogs::Answer FakeDialogs::next(const std::string& id) {
    if (m_queue.empty()) {
        ADD_FAILURE() << "unexpected question \"" << id << "\"";
        return Answer{false};
    }
    auto [expected, answer] = m_queue.front();
    m_queue.pop_front();
    if (expected != id) ADD_FAILURE() << "question \"" << id << "\" asked, \"" << expected << "\" expected";
    return answer;
}

void FakeDialogs::message(const MessageRequest& request) { messages.push_back(request); }

bool FakeDialogs::confirm(const ConfirmRequest& request) {
    questions.push_back(request.text);
    const Answer a = next(request.id);
    if (const bool* yes = std::get_if<bool>(&a)) return *yes;
    ADD_FAILURE() << "\"" << request.id << "\" needs a yes/no answer";
    return false;
}

std::optional<std::filesystem::path> FakeDialogs::openFile(const FileRequest& request) {
    fileRequests.push_back(request);
    const Answer a = next(request.id);
    if (const auto* p = std::get_if<std::optional<std::filesystem::path>>(&a)) return *p;
    ADD_FAILURE() << "\"" << request.id << "\" needs a file answer";
    return std::nullopt;
}

std::optional<std::filesystem::path> FakeDialogs::saveFile(const FileRequest& request) {
    return openFile(request);
}

}  // namespace vexamo::test
