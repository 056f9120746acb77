#include "cli/CliDialogs.h"

#include <algorithm>
#include <cctype>

#include "common/NumberFormat.h"
#include "dialogs/DesignDialog.h"
#include "dialogs/GenericDialogs.h"
#include "dialogs/QuestionIds.h"
#include "dialogs/TechnologicalDialog.h"
#include "problemjson/JsonText.h"

namespace vexamo::cli {

using pjson::Json;

namespace {

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Every id the command line answers or logs is declared in the core; one
// that is not is a fault of the program (std::logic_error), never a refused
// answer.
void requireDeclared(const std::string& id) { requireDeclaredId(id, "command line"); }

const char* kindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning:
            return "warning";
        case MessageKind::Error:
            return "error";
        default:
            return "message";
    }
}

}  // namespace

CliDialogs::CliDialogs(Session& session, AnswerBook& answers, std::ostream& log, bool quiet)
    : m_session(session), m_answers(answers), m_log(log), m_quiet(quiet) {}

CliDialogs::~CliDialogs() = default;

void CliDialogs::fail(const std::string& id, const std::string& why) const {
    m_answerRefusal = "answer \"" + id + "\": " + why;
    throw AnswerError(m_answerRefusal);
}

Json CliDialogs::answer(const std::string& id, const std::string& question,
                        const std::optional<Json>& fallback) {
    requireDeclared(id);
    std::optional<Json> value = m_answers.takePending(id);
    const bool pending = value.has_value();
    const char* source = "";
    if (!value) value = m_answers.next(id);
    if (!value) {
        if (!fallback) fail(id, "the question has no default; give it in the answers file");
        value = fallback;
        source = " (default)";
    }
    if (m_refusal && id == m_lastId && m_lastValue && *m_lastValue == *value)
        fail(id, "refused: " + *m_refusal + " (" + answerText(*value) +
                     "); the same answer cannot be given again");
    m_lastId = id;
    m_lastValue = std::make_unique<pjson::Json>(*value);
    m_refusal.reset();
    // A pending value was recorded with the asking that gave it; recording it
    // again would shift every later answer of the id on replay.
    if (!pending) m_answers.record(id, *value);
    if (!m_quiet)
        m_log << "vexamo: " << id << ": " << oneLine(question) << " -> " << answerText(*value)
              << source << '\n';
    return *value;
}

void CliDialogs::message(const MessageRequest& request) {
    requireDeclared(request.id);
    m_messages.push_back(request);
    if (request.kind == MessageKind::Error) m_refusal = oneLine(request.text);
    // --quiet hides the questions and notes, never an error
    const bool shown =
        request.kind == MessageKind::Error || (!m_quiet && (m_verbose || !request.diagnostic));
    if (shown)
        m_log << "vexamo: " << kindName(request.kind) << ": " << oneLine(request.text) << '\n';
}

bool CliDialogs::confirm(const ConfirmRequest& request) {
    const Json a = answer(request.id, request.text, Json(request.defaultAnswer));
    if (a.is_boolean()) return a.get<bool>();
    if (a.is_string()) {
        const std::string s = lower(a.get<std::string>());
        if (s == "yes" || s == "y") return true;
        if (s == "no" || s == "n") return false;
    }
    if (a.is_number()) {  // yes, and this value answers the input that follows
        m_answers.setPending(request.id, a);
        return true;
    }
    fail(request.id, "yes or no (true or false) is expected, not " + a.dump());
}

bool CliDialogs::abortRetry(const AbortRetryRequest& request) {
    const Json a = answer(request.id, request.text, Json(request.defaultRetry ? "retry" : "abort"));
    if (a.is_boolean()) return a.get<bool>();
    if (a.is_string()) {
        const std::string s = lower(a.get<std::string>());
        if (s == "retry") return true;
        if (s == "abort") return false;
    }
    fail(request.id, "\"abort\" or \"retry\" is expected, not " + a.dump());
}

std::optional<std::filesystem::path> CliDialogs::openFile(const FileRequest& request) {
    const Json a = answer(request.id, request.caption, Json(nullptr));
    if (a.is_null() || (a.is_string() && a.get<std::string>().empty())) return std::nullopt;
    if (!a.is_string()) fail(request.id, "a file name (or null to cancel) is expected");
    std::filesystem::path p = a.get<std::string>();
    if (!request.defaultExtension.empty() && !p.has_extension())
        p += "." + request.defaultExtension;
    return p;
}

std::optional<std::filesystem::path> CliDialogs::saveFile(const FileRequest& request) {
    return openFile(request);
}

InputAnswer CliDialogs::ask(const InputRequest& request) {
    std::optional<Json> fallback;
    if (request.defaultAnswer) fallback = Json(*request.defaultAnswer);
    const Json a = answer(request.id, request.prompt, fallback);
    InputAnswer result;
    if (a.is_null()) {
        result.cancelled = true;
        return result;
    }
    if (!a.is_string() && !a.is_number())
        fail(request.id, "a number or a text is expected, not " + a.dump());
    const DialogCheck check = checkInput(request, answerText(a), result);
    if (!check.accepted)
        fail(request.id, check.silent ? "an empty answer" : oneLine(check.message));
    return result;
}

GridAnswer CliDialogs::ask(const GridRequest& request) {
    std::optional<Json> fallback;
    if (request.defaultAnswer) fallback = Json(*request.defaultAnswer);
    const Json a = answer(request.id, request.label, fallback);
    std::vector<std::vector<std::string>> cells = request.cells;
    cells.resize(static_cast<std::size_t>(request.columns));
    for (auto& column : cells) column.resize(static_cast<std::size_t>(request.rows));
    std::vector<std::string> values;
    if (a.is_array())
        for (const Json& v : a) values.push_back(answerText(v));
    else
        values.push_back(answerText(a));
    const std::size_t wanted = static_cast<std::size_t>(request.columns - request.fixedColumns) *
                               static_cast<std::size_t>(request.rows - request.fixedRows);
    if (values.size() != wanted)
        fail(request.id, std::to_string(wanted) + " value(s) expected, " +
                             std::to_string(values.size()) + " given");
    std::size_t k = 0;
    for (int c = request.fixedColumns; c < request.columns; ++c)
        for (int r = request.fixedRows; r < request.rows; ++r)
            cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] = values[k++];
    GridAnswer result;
    const DialogCheck check = readGrid(request, cells, m_session.LanguageFlag, result);
    if (!check.accepted) {
        // The column's heading names the field (a component).
        std::string where;
        const auto column = static_cast<std::size_t>(std::max(check.column, 0));
        if (check.column >= 0 && column < cells.size() && !cells[column].empty())
            where = " (" + trimText(cells[column][0]) + ")";
        fail(request.id,
             (check.silent ? std::string("an empty value") : oneLine(check.message)) + where);
    }
    return result;
}

AlternAnswer CliDialogs::ask(const AlternRequest& request) {
    std::optional<Json> fallback;
    const auto n = static_cast<int>(request.alternatives.size());
    if (request.defaultIndex >= 0 && request.defaultIndex < n) {
        const std::string keyword =
            request.defaultIndex < static_cast<int>(request.keywords.size())
                ? request.keywords[static_cast<std::size_t>(request.defaultIndex)]
                : std::string();
        fallback = keyword.empty() ? Json(request.defaultIndex + 1) : Json(keyword);
    }
    const Json a = answer(request.id, request.question, fallback);
    AlternAnswer result;
    bool chosen = false;
    if (a.is_string()) {
        for (std::size_t i = 0; i < request.keywords.size(); ++i)
            if (!request.keywords[i].empty() &&
                lower(a.get<std::string>()) == lower(request.keywords[i])) {
                result.index = static_cast<int>(i);
                chosen = true;
            }
    } else if (a.is_number()) {
        // Keywords that are numbers ("0" .. "6") are matched first.
        const std::string text = answerText(a);
        for (std::size_t i = 0; i < request.keywords.size() && !chosen; ++i)
            if (!request.keywords[i].empty() && request.keywords[i] == text) {
                result.index = static_cast<int>(i);
                chosen = true;
            }
        if (chosen) {
            // named by its keyword
        } else if (request.numberSelects >= 0) {
            result.index = request.numberSelects;
            m_answers.setPending(request.id, a);
            chosen = true;
        } else if (a.is_number_integer() && a.get<long long>() >= 1 && a.get<long long>() <= n) {
            result.index = static_cast<int>(a.get<long long>()) - 1;
            chosen = true;
        }
    }
    if (!chosen) {
        std::string accepted;
        for (const std::string& k : request.keywords)
            if (!k.empty()) accepted += "\"" + k + "\", ";
        accepted += request.numberSelects >= 0 ? "or a number" : "or 1 to " + std::to_string(n);
        fail(request.id, accepted + " is expected, not " + a.dump());
    }
    if (request.showCheckBoxes && !request.checkBoxId.empty()) {
        const Json box =
            answer(request.checkBoxId, request.checkBox1, Json(request.defaultCheckBox1));
        if (!box.is_boolean()) fail(request.checkBoxId, "true or false is expected");
        result.letter = box.get<bool>() ? 'y' : 'x';
    } else {
        result.letter = request.defaultCheckBox1 ? 'y' : 'x';
    }
    return result;
}

MethodAnswer CliDialogs::ask(const MethodRequest& request) {
    static const char* names[] = {"Wilson", "NRTL", "UNIQUAC", "UNIFAC"};
    const Json a =
        answer(request.id, request.label, Json(names[std::clamp(request.defaultIndex, 0, 3)]));
    MethodAnswer result;
    if (a.is_string()) {
        const std::string s = lower(a.get<std::string>());
        if (s == "exit") {
            result.exit = true;
            result.index = request.initialTag;
            return result;
        }
        for (int i = 0; i < 4; ++i)
            if (s == lower(names[i])) {
                result.index = i;
                return result;
            }
    }
    fail(request.id,
         "\"Wilson\", \"NRTL\", \"UNIQUAC\", \"UNIFAC\" or \"Exit\" is expected, not " + a.dump());
}

CheckListAnswer CliDialogs::ask(const CheckListRequest& request) {
    Json fallback = Json::array();
    for (std::size_t i = 0; i < request.items.size(); ++i)
        if (i < request.defaultChecked.size() && request.defaultChecked[i])
            fallback.push_back(request.items[i]);
    const Json a = answer(request.id, request.label, fallback);
    CheckListAnswer result;
    result.checked.assign(request.items.size(), false);
    if (!a.is_array()) fail(request.id, "a list of item names is expected");
    for (const Json& item : a) {
        const auto it = item.is_string() ? std::find(request.items.begin(), request.items.end(),
                                                     item.get<std::string>())
                                         : request.items.end();
        if (it == request.items.end()) fail(request.id, item.dump() + " is not one of the items");
        result.checked[static_cast<std::size_t>(it - request.items.begin())] = true;
    }
    const DialogCheck check = checkCheckList(result.checked, m_session.LanguageFlag);
    if (!check.accepted) fail(request.id, oneLine(check.message));
    return result;
}

GapCalcAnswer CliDialogs::ask(const GapCalcRequest& request) {
    requireDeclared(request.id);
    // Each field is asked under its own declared id.
    const std::string headType(kShellLossHeadType), gapSize(kShellLossGapSize),
        holesId(kShellLossHoles), sealingStrips(kShellLossSealingStrips);
    GapCalcAnswer r;
    const Json head = answer(headType, "head type (1-4)", Json(1));
    if (!head.is_number_integer() || head.get<long long>() < 1 || head.get<long long>() > 4)
        fail(headType, "1, 2, 3 or 4 is expected");
    r.headType = static_cast<int>(head.get<long long>());
    auto text = [&](std::string_view field, const char* question) {
        const std::string id(field);
        const Json v = answer(id, question, Json("Default"));
        if (!v.is_string() && !v.is_number()) fail(id, "\"Default\" or a number is expected");
        return answerText(v);
    };
    r.pitch = text(kShellLossPitch, "step of pipe column, m");
    r.gap = text(kShellLossGap, "gap between the casing and the baffle, mm");
    const Json size = answer(gapSize, "diminished or enlarged", Json("diminished"));
    if (size != Json("diminished") && size != Json("enlarged"))
        fail(gapSize, "\"diminished\" or \"enlarged\"");
    r.gapEnlarged = size == Json("enlarged");
    const Json holes = answer(holesId, "stamped or drilling", Json("drilling"));
    if (holes != Json("stamped") && holes != Json("drilling"))
        fail(holesId, "\"stamped\" or \"drilling\"");
    r.holesDrilled = holes == Json("drilling");
    const Json strips = answer(sealingStrips, "number of sealing strips (0, 2, 4, 6)", Json(0));
    if (!strips.is_number_integer() || strips.get<long long>() < 0 || strips.get<long long>() > 6 ||
        strips.get<long long>() % 2 != 0)
        fail(sealingStrips, "0, 2, 4 or 6 is expected");
    r.sealingStrips = std::to_string(strips.get<long long>());
    r.inletDistance =
        text(kShellLossInletDistance, "distance from the inlet nozzle to the baffle, mm");
    r.outletDistance =
        text(kShellLossOutletDistance, "distance from the outlet nozzle to the baffle, mm");
    GapCalcResult computed;
    const DialogCheck check = checkGapCalc(request, r, m_session.LanguageFlag, computed);
    if (!check.accepted) fail(request.id, oneLine(check.message));
    return r;
}

bool CliDialogs::showTechnological(TechnologicalDialogModel& model) {
    model.FormActivate(m_session.LanguageFlag);
    const DialogCheck check = model.bitbtOkClick(m_session.LanguageFlag);
    if (!check.accepted)
        throw AnswerError("technological data: " +
                          (check.silent ? std::string("not accepted") : oneLine(check.message)));
    return true;
}

bool CliDialogs::showDesign(DesignDialogModel& model) {
    model.FormActivate(m_session.LanguageFlag);
    const DialogCheck check =
        model.bitbtOkClick(m_session.LanguageFlag, *this, m_session.Problem.Design);
    if (!check.accepted)
        throw AnswerError("design data: " +
                          (check.silent ? std::string("not accepted") : oneLine(check.message)));
    return true;
}

void CliDialogs::showProfileGraph(const ProfileGraphRequest& request) {
    requireDeclared(request.id);
    m_graphs.push_back(request);
}

void CliDialogs::setWaitLabel(const std::string& text) {
    if (!m_quiet && !text.empty()) m_log << "vexamo: " << oneLine(text) << '\n';
}

}  // namespace vexamo::cli
