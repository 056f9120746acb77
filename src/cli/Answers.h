#pragma once
// The answers file of a headless Run: a JSON object from question id to an
// answer, or to a list of answers used one per asking (the last one repeats).
// An answer that is itself a list (a table) is therefore given inside a list:
// {"stream.concentrations": [[40, 30]]}.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "problemjson/JsonFwd.h"

namespace vexamo::cli {

class AnswerBook {
public:
    AnswerBook();
    AnswerBook(const AnswerBook& other);
    AnswerBook(AnswerBook&& other);
    AnswerBook& operator=(const AnswerBook& other);
    AnswerBook& operator=(AnswerBook&& other) noexcept;
    ~AnswerBook();
    // Throws InputError for unreadable files or text that is not a JSON object.
    static AnswerBook fromFile(const std::filesystem::path& file);
    static AnswerBook fromText(const std::string& text, const std::string& origin);

    // The next answer for `id` from the file, or nothing when the file has none.
    std::optional<pjson::Json> next(const std::string& id);

    // A value given to one question that also serves the next question under
    // the same id (a "yes" with its number, a choice with its constant).
    void setPending(const std::string& id, pjson::Json value);
    std::optional<pjson::Json> takePending(const std::string& id);

    // Every answer taken from the file or a default, in the order of the
    // askings, as an answers file that gives the same answers again: one id
    // per line, its answer (or its list of answers, one per asking) on that
    // line, so the text grows with the answers, never with their nesting.
    void record(const std::string& id, const pjson::Json& used);
    pjson::Json recorded() const;
    std::string recordText() const;

    // Ids of the file that no question asked for.
    std::vector<std::string> unused() const;

private:
    // The answers of the file, how often each id was asked, the pending
    // values and the record (kept out of this header with the JSON type).
    struct State;
    std::unique_ptr<State> m_state;
};

// A JSON value as the text a person would type into the field.
std::string answerText(const pjson::Json& value);

}  // namespace vexamo::cli
