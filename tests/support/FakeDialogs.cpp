#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "dialogs/QuestionIds.h"

namespace vexamo::test {

namespace {

// A request whose id the core does not declare fails the test and, as the
// command line does, is refused as a fault of the program.
void requireDeclared(const std::string& id) {
    if (findQuestionDeclaration(id) != nullptr) return;
    ADD_FAILURE() << "request id \"" << id << "\" is not declared in dialogs/QuestionIds.cpp";
    requireDeclaredId(id, "test dialogs");
}

}  // namespace

FakeDialogs::~FakeDialogs() {
    for (const auto& [id, answer] : m_queue)
        ADD_FAILURE() << "answer for \"" << id << "\" was never asked for";
}

FakeDialogs& FakeDialogs::expect(std::string id, Answer answer) {
    m_queue.emplace_back(std::move(id), std::move(answer));
    return *this;
}

template <typename T>
T FakeDialogs::take(const std::string& id) {
    asked.push_back(id);
    requireDeclared(id);
    if (m_queue.empty()) {
        ADD_FAILURE() << "unexpected question \"" << id << "\"";
        return T{};
    }
    auto [expected, answer] = m_queue.front();
    m_queue.pop_front();
    if (expected != id)
        ADD_FAILURE() << "question \"" << id << "\" asked, \"" << expected << "\" expected";
    if (const T* value = std::get_if<T>(&answer)) return *value;
    ADD_FAILURE() << "\"" << id << "\" was given an answer of another type";
    return T{};
}

void FakeDialogs::message(const MessageRequest& request) {
    requireDeclared(request.id);
    messages.push_back(request);
}

std::size_t FakeDialogs::messageCount(const std::string& id) const {
    return static_cast<std::size_t>(std::count_if(
        messages.begin(), messages.end(), [&](const MessageRequest& m) { return m.id == id; }));
}

bool FakeDialogs::confirm(const ConfirmRequest& request) {
    questions.push_back(request.text);
    return take<bool>(request.id);
}

bool FakeDialogs::abortRetry(const AbortRetryRequest& request) {
    questions.push_back(request.text);
    return take<bool>(request.id);
}

std::optional<std::filesystem::path> FakeDialogs::openFile(const FileRequest& request) {
    fileRequests.push_back(request);
    return take<std::optional<std::filesystem::path>>(request.id);
}

std::optional<std::filesystem::path> FakeDialogs::saveFile(const FileRequest& request) {
    return openFile(request);
}

InputAnswer FakeDialogs::ask(const InputRequest& request) {
    inputRequests.push_back(request);
    return take<InputAnswer>(request.id);
}

GridAnswer FakeDialogs::ask(const GridRequest& request) {
    gridRequests.push_back(request);
    return take<GridAnswer>(request.id);
}

AlternAnswer FakeDialogs::ask(const AlternRequest& request) {
    alternRequests.push_back(request);
    return take<AlternAnswer>(request.id);
}

MethodAnswer FakeDialogs::ask(const MethodRequest& request) {
    return take<MethodAnswer>(request.id);
}

CheckListAnswer FakeDialogs::ask(const CheckListRequest& request) {
    return take<CheckListAnswer>(request.id);
}

GapCalcAnswer FakeDialogs::ask(const GapCalcRequest& request) {
    return take<GapCalcAnswer>(request.id);
}

bool FakeDialogs::showTechnological(TechnologicalDialogModel& model) {
    asked.push_back("technological");
    if (!onTechnological) {
        ADD_FAILURE() << "unexpected technological data dialog";
        return false;
    }
    return onTechnological(model);
}

bool FakeDialogs::showDesign(DesignDialogModel& model) {
    asked.push_back("design");
    if (!onDesign) {
        ADD_FAILURE() << "unexpected design data dialog";
        return false;
    }
    return onDesign(model);
}

void FakeDialogs::showProfileGraph(const ProfileGraphRequest& request) {
    requireDeclared(request.id);
    graphs.push_back(request);
}

void FakeDialogs::setWaitLabel(const std::string& text) { waitLabels.push_back(text); }

}  // namespace vexamo::test
