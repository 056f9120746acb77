#include "cli/Answers.h"

#include <map>

#include "cli/ProblemIo.h"
#include "problemjson/JsonText.h"

namespace vexamo::cli {

struct AnswerBook::State {
    std::map<std::string, std::vector<pjson::Json>> answers;
    std::map<std::string, std::size_t> used;
    std::map<std::string, pjson::Json> pending;
    std::vector<std::pair<std::string, pjson::Json>> record;
};

AnswerBook::AnswerBook() : m_state(std::make_unique<State>()) {}
AnswerBook::AnswerBook(const AnswerBook& other)
    : m_state(std::make_unique<State>(*other.m_state)) {}
AnswerBook::AnswerBook(AnswerBook&& other) : m_state(std::move(other.m_state)) {
    other.m_state = std::make_unique<State>();
}
AnswerBook& AnswerBook::operator=(const AnswerBook& other) {
    if (this != &other) *m_state = *other.m_state;
    return *this;
}
AnswerBook& AnswerBook::operator=(AnswerBook&& other) noexcept {
    std::swap(m_state, other.m_state);
    return *this;
}
AnswerBook::~AnswerBook() = default;

AnswerBook AnswerBook::fromFile(const std::filesystem::path& file) {
    return fromText(readInputText(file, pjson::kMaxJsonFileBytes), file.string());
}

AnswerBook AnswerBook::fromText(const std::string& text, const std::string& origin) {
    pjson::Json root;
    try {
        root = pjson::parseJson(text);
    } catch (const pjson::JsonTextError& e) {
        throw InputError(origin + ": not valid JSON: " + e.what());
    }
    if (!root.is_object())
        throw InputError(origin + ": an object from question id to answer is expected");
    AnswerBook book;
    for (auto it = root.begin(); it != root.end(); ++it) {
        if (it.value().is_array()) {
            if (it.value().empty())
                throw InputError(origin + ": " + it.key() + ": an empty list of answers");
            book.m_state->answers[it.key()] =
                std::vector<pjson::Json>(it.value().begin(), it.value().end());
        } else {
            book.m_state->answers[it.key()] = {it.value()};
        }
    }
    return book;
}

std::optional<pjson::Json> AnswerBook::next(const std::string& id) {
    auto it = m_state->answers.find(id);
    if (it == m_state->answers.end()) return std::nullopt;
    std::size_t& used = m_state->used[id];
    const std::size_t i = std::min(used, it->second.size() - 1);
    ++used;
    return it->second[i];
}

void AnswerBook::setPending(const std::string& id, pjson::Json value) {
    m_state->pending[id] = std::move(value);
}

std::optional<pjson::Json> AnswerBook::takePending(const std::string& id) {
    auto it = m_state->pending.find(id);
    if (it == m_state->pending.end()) return std::nullopt;
    pjson::Json value = std::move(it->second);
    m_state->pending.erase(it);
    return value;
}

void AnswerBook::record(const std::string& id, const pjson::Json& used) {
    m_state->record.emplace_back(id, used);
}

pjson::Json AnswerBook::recorded() const {
    std::map<std::string, std::vector<pjson::Json>> byId;
    std::vector<std::string> order;
    for (const auto& [id, value] : m_state->record) {
        if (!byId.count(id)) order.push_back(id);
        byId[id].push_back(value);
    }
    pjson::Json out = pjson::Json::object();
    for (const std::string& id : order) {
        const auto& values = byId[id];
        // A single answer stands alone unless it is itself a list: a list at
        // the top is read back as one answer per asking.
        out[id] = values.size() == 1 && !values[0].is_array() ? values[0] : pjson::Json(values);
    }
    return out;
}

std::string AnswerBook::recordText() const {
    const pjson::Json all = recorded();
    if (all.empty()) return "{}\n";
    std::string out = "{\n";
    bool first = true;
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (!first) out += ",\n";
        first = false;
        out += "  " + pjson::Json(it.key()).dump() + ": " + pjson::dumpLine(it.value());
    }
    return out + "\n}\n";
}

std::vector<std::string> AnswerBook::unused() const {
    std::vector<std::string> ids;
    for (const auto& [id, values] : m_state->answers)
        if (!m_state->used.count(id)) ids.push_back(id);
    return ids;
}

std::string answerText(const pjson::Json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_number_float()) {
        if (auto text = pjson::exactDecimal(value.get<long double>())) return *text;
    }
    if (value.is_number()) return value.dump();
    if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
    return value.dump();
}

}  // namespace vexamo::cli
