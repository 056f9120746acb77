#include "cli/ProblemOverrides.h"

#include "common/Errors.h"
#include "problemjson/JsonText.h"
#include "problemjson/ProblemJson.h"

namespace vexamo::cli {

namespace {

// One step of a path: a key of an object, or an index into a list.
struct PathStep {
    std::string key;
    bool isIndex = false;
    std::size_t index = 0;
};

struct Override {
    std::string text;  // as given, for the messages
    std::string path;
    std::vector<PathStep> steps;
    pjson::Json value;
};

InputError refused(const Override& o, const std::string& message) {
    return InputError("--set " + o.text + ": " + message);
}

// "design.tube_length_m" or "tube_space.concentrations_mass_pct[1]".
std::vector<PathStep> pathSteps(const Override& o) {
    std::vector<PathStep> steps;
    std::size_t i = 0;
    const std::string& p = o.path;
    while (i < p.size()) {
        if (p[i] == '[') {
            const std::size_t close = p.find(']', i);
            const std::string digits =
                close == std::string::npos ? "" : p.substr(i + 1, close - i - 1);
            if (digits.empty() || digits.size() > 6 ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                throw refused(o, p + ": an index in brackets is a whole number of 1 to 6 digits");
            steps.push_back({"", true, std::stoul(digits)});
            i = close + 1;
            if (i < p.size() && p[i] != '.' && p[i] != '[')
                throw refused(o, p + ": a \".\" or \"[\" is expected after \"]\"");
            if (i < p.size() && p[i] == '.') ++i;
            continue;
        }
        const std::size_t end = p.find_first_of(".[", i);
        const std::string key = p.substr(i, end == std::string::npos ? end : end - i);
        if (key.empty()) throw refused(o, "\"" + p + "\": an empty field name");
        steps.push_back({key, false, 0});
        if (end == std::string::npos) break;
        i = p[end] == '.' ? end + 1 : end;
        if (p[end] == '.' && i == p.size()) throw refused(o, "\"" + p + "\": an empty field name");
    }
    if (steps.empty()) throw refused(o, "PATH=VALUE is expected");
    return steps;
}

Override parseOverride(const std::string& text) {
    Override o;
    o.text = text;
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        throw InputError("--set " + text + ": PATH=VALUE is expected");
    o.path = text.substr(0, equals);
    const std::string value = text.substr(equals + 1);
    o.steps = pathSteps(o);
    if (o.steps.front().key == "stored")
        throw refused(o, "stored: written by the converter only, not set by hand");
    try {
        o.value = pjson::parseJson(value);
    } catch (const pjson::JsonTextError&) {
        o.value = value;  // not JSON: a text
    }
    return o;
}

// The name of the path up to step `n` (excluded), as the reader names fields.
std::string pathName(const std::vector<PathStep>& steps, std::size_t n) {
    std::string name;
    for (std::size_t i = 0; i < n; ++i)
        name += steps[i].isIndex ? "[" + std::to_string(steps[i].index) + "]"
                                 : (name.empty() ? "" : ".") + steps[i].key;
    return name;
}

void apply(const Override& o, pjson::Json& root) {
    pjson::Json* at = &root;
    for (std::size_t i = 0; i < o.steps.size(); ++i) {
        const PathStep& step = o.steps[i];
        const bool last = i + 1 == o.steps.size();
        const std::string here = pathName(o.steps, i);
        if (step.isIndex) {
            if (!at->is_array())
                throw refused(o, (here.empty() ? "the problem" : here) + ": not a list");
            if (step.index >= at->size())
                throw refused(o, pathName(o.steps, i + 1) + ": beyond the end of the list (" +
                                     std::to_string(at->size()) + " in all)");
            if (last && o.value.is_null())
                throw refused(o,
                              pathName(o.steps, i + 1) + ": a value of a list cannot be taken out");
            at = &(*at)[step.index];
            continue;
        }
        if (!at->is_object())
            throw refused(o, (here.empty() ? "the problem" : here) + ": has no fields");
        if (last) {
            if (o.value.is_null()) {
                at->erase(step.key);
                return;
            }
            at = &(*at)[step.key];  // a field the format does not have is refused by the reader
            break;
        }
        auto next = at->find(step.key);
        if (next == at->end()) {
            // An object the problem leaves out (design.fouling_m2K_W) is
            // begun here; the reader refuses one the format does not have.
            if (o.steps[i + 1].isIndex)
                throw refused(o, pathName(o.steps, i + 1) + ": unknown field");
            at = &((*at)[step.key] = pjson::Json::object());
            continue;
        }
        at = &*next;
    }
    *at = o.value;
}

// Whether the reader's field lies on the path the override set.
bool concerns(const Override& o, const std::string& field) {
    auto within = [](const std::string& a, const std::string& b) {
        return a.size() >= b.size() && a.compare(0, b.size(), b) == 0 &&
               (a.size() == b.size() || a[b.size()] == '.' || a[b.size()] == '[');
    };
    const std::string path = pathName(o.steps, o.steps.size());
    return !field.empty() && (within(field, path) || within(path, field));
}

// The override a message of the reader belongs to: the last one whose path
// the field lies on, else every one of them.
std::string namedSets(const std::vector<Override>& overrides, const std::string& field) {
    for (auto it = overrides.rbegin(); it != overrides.rend(); ++it)
        if (concerns(*it, field)) return "--set " + it->text;
    std::string all;
    for (const Override& o : overrides) all += (all.empty() ? "--set " : ", --set ") + o.text;
    return all;
}

}  // namespace

ProblemData applyOverrides(const ProblemData& problem, const std::vector<std::string>& sets,
                           const SubstanceData& data) {
    if (sets.empty()) return problem;
    std::vector<Override> overrides;
    for (const std::string& text : sets) overrides.push_back(parseOverride(text));
    pjson::Json root;
    try {
        root = pjson::parseJson(pjson::problemToJson(problem, data));
    } catch (const pjson::ProblemJsonError& e) {
        throw InputError("--set: the problem has no JSON form: " + std::string(e.what()));
    }
    const pjson::Json original = root;
    for (const Override& o : overrides) apply(o, root);
    try {
        if (root.contains("stored")) {
            // A converted problem keeps exact values beyond its readable
            // fields and is read without range checks: the changed fields
            // give up what they determine, and are checked as a hand-written
            // file's would be.
            pjson::releaseStored(original, root, data);
            try {
                pjson::checkReadable(root, data);
            } catch (const pjson::ProblemJsonError& e) {
                for (const Override& o : overrides)
                    if (concerns(o, e.field())) throw;
            }
        }
        return pjson::problemFromJson(pjson::dump(root), data);
    } catch (const pjson::ProblemJsonError& e) {
        throw InputError(namedSets(overrides, e.field()) + ": " + e.what());
    }
}

}  // namespace vexamo::cli
