#include "cli/StudyTable.h"

#include <fmt/format.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "problemjson/JsonText.h"

namespace vexamo::cli {

namespace {

using Value = std::optional<Real>;

Value overSurface(const StudyRow& r) {
    if (!r.installedSurface || r.requiredSurface <= 0) return std::nullopt;
    return (*r.installedSurface - r.requiredSurface) / r.requiredSurface * 100;
}

// The numeric result columns: name and how a row gives its value.
struct Column {
    const char* name;
    std::function<Value(const StudyRow&)> value;
};

const std::vector<Column>& numericColumns() {
    static const std::vector<Column> columns = {
        {"duty_kW", [](const StudyRow& r) -> Value { return r.duty_kW; }},
        {"tube_flow_kg_h", [](const StudyRow& r) -> Value { return r.tube.flow_kg_h; }},
        {"tube_inlet_C", [](const StudyRow& r) -> Value { return r.tube.inlet_C; }},
        {"tube_outlet_C", [](const StudyRow& r) -> Value { return r.tube.outlet_C; }},
        {"shell_flow_kg_h", [](const StudyRow& r) -> Value { return r.shell.flow_kg_h; }},
        {"shell_inlet_C", [](const StudyRow& r) -> Value { return r.shell.inlet_C; }},
        {"shell_outlet_C", [](const StudyRow& r) -> Value { return r.shell.outlet_C; }},
        {"overall_coefficient_W_m2K",
         [](const StudyRow& r) -> Value { return r.overallCoefficient; }},
        {"required_surface_m2", [](const StudyRow& r) -> Value { return r.requiredSurface; }},
        {"installed_surface_m2", [](const StudyRow& r) { return r.installedSurface; }},
        {"over_surface_pct", overSurface},
        {"tube_pressure_loss_kPa", [](const StudyRow& r) { return r.tube.loss_kPa; }},
        {"shell_pressure_loss_kPa", [](const StudyRow& r) { return r.shell.loss_kPa; }},
    };
    return columns;
}

const std::string* inputOf(const StudyRow& row, const std::string& path) {
    for (const auto& [p, v] : row.inputs)
        if (p == path) return &v;
    return nullptr;
}

std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& t : texts) out += (out.empty() ? "" : " | ") + t;
    return out;
}

}  // namespace

const std::vector<std::string>& studyResultColumns() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n = {"outcome", "reason"};
        for (const Column& c : numericColumns()) n.emplace_back(c.name);
        n.emplace_back("warnings");
        return n;
    }();
    return names;
}

std::vector<std::string> differingInputs(const std::vector<StudyRow>& rows) {
    std::vector<std::string> order;
    for (const StudyRow& row : rows)
        for (const auto& [path, value] : row.inputs)
            if (std::find(order.begin(), order.end(), path) == order.end()) order.push_back(path);
    std::vector<std::string> differing;
    for (const std::string& path : order) {
        const std::string* first = nullptr;
        bool same = true;
        for (const StudyRow& row : rows) {
            // A row that could not be read says nothing about its inputs.
            if (row.inputs.empty()) continue;
            const std::string* v = inputOf(row, path);
            if (!v || (first && *v != *first)) {
                same = false;
                break;
            }
            first = v;
        }
        if (!same) differing.push_back(path);
    }
    return differing;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string studyCsv(const std::vector<StudyRow>& rows, const std::vector<std::string>& inputs) {
    std::string out = "name";
    for (const std::string& path : inputs) out += "," + csvField(path);
    for (const std::string& name : studyResultColumns()) out += "," + name;
    out += "\r\n";
    for (const StudyRow& row : rows) {
        out += csvField(row.name);
        for (const std::string& path : inputs) {
            const std::string* v = inputOf(row, path);
            out += "," + (v ? csvField(*v) : std::string());
        }
        out += "," + row.outcome + "," + csvField(row.reason);
        for (const Column& c : numericColumns()) {
            const Value v = row.produced ? c.value(row) : std::nullopt;
            out += "," + (v ? fmt::format("{:.10g}", *v) : std::string());
        }
        out += "," + csvField(joined(row.warnings)) + "\r\n";
    }
    return out;
}

std::string studyJson(const std::vector<StudyRow>& rows, const std::vector<std::string>& inputs,
                      const std::string& command) {
    pjson::Json j = pjson::Json::object();
    j["program"] = {{"name", "Vexamo"}, {"version", VEXAMO_VERSION}, {"command", command}};
    j["inputs"] = inputs;
    pjson::Json list = pjson::Json::array();
    for (const StudyRow& row : rows) {
        pjson::Json r = pjson::Json::object();
        r["name"] = row.name;
        pjson::Json in = pjson::Json::object();
        for (const std::string& path : inputs)
            if (const std::string* v = inputOf(row, path)) in[path] = *v;
        r["inputs"] = in;
        r["outcome"] = row.outcome;
        if (!row.reason.empty()) r["reason"] = row.reason;
        if (row.produced)
            for (const Column& c : numericColumns())
                if (const Value v = c.value(row)) r[c.name] = pjson::realToJson(*v);
        r["warnings"] = row.warnings;
        list.push_back(r);
    }
    j["rows"] = list;
    return pjson::dump(j);
}

}  // namespace vexamo::cli
