// `vexamo sweep`: the grid of the varied fields, run as a batch, and its plot.
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <ostream>

#include "cli/ErrorReport.h"
#include "cli/PlotFiles.h"
#include "cli/StudyCommands.h"
#include "common/Errors.h"
#include "graph/Chart.h"

namespace vexamo::cli {

namespace {

// A number of a --vary range, refused with the option named.
long double rangeNumber(const std::string& text, const std::string& vary, const char* what) {
    std::size_t used = 0;
    long double v = 0;
    try {
        v = std::stold(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !std::isfinite(v))
        throw InputError(fmt::format("--vary {}: {} \"{}\" is not a number", vary, what, text));
    return v;
}

// A grid value as --set takes it: the shortest text, no binary tail
// ("0.3", never "0.30000000000000004").
std::string gridValue(long double v) {
    if (v == 0) v = 0;  // no "-0"
    return fmt::format("{:.15g}", static_cast<double>(v));
}

std::vector<std::string> splitOn(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = text.find(separator, begin);
        parts.push_back(text.substr(begin, end - begin));
        if (end == std::string::npos) return parts;
        begin = end + 1;
    }
}

// The result a --y names: its axis title and its value in a row.
struct Quantity {
    const char* name;
    const char* axis;
    std::optional<Real> (*value)(const StudyRow&);
};

const std::vector<Quantity>& quantities() {
    static const std::vector<Quantity> list = {
        {"duty", "duty, kW", [](const StudyRow& r) -> std::optional<Real> { return r.duty_kW; }},
        {"surface", "required surface, m2",
         [](const StudyRow& r) -> std::optional<Real> { return r.requiredSurface; }},
        {"K", "overall coefficient K, W/(m2*K)",
         [](const StudyRow& r) -> std::optional<Real> { return r.overallCoefficient; }},
        {"over_surface", "over-surface, %",
         [](const StudyRow& r) -> std::optional<Real> {
             if (!r.installedSurface || r.requiredSurface <= 0) return std::nullopt;
             return (*r.installedSurface - r.requiredSurface) / r.requiredSurface * 100;
         }},
        {"tube_outlet", "tube-space outlet, degC",
         [](const StudyRow& r) -> std::optional<Real> { return r.tube.outlet_C; }},
        {"shell_outlet", "shell-space outlet, degC",
         [](const StudyRow& r) -> std::optional<Real> { return r.shell.outlet_C; }},
        {"tube_flow", "tube-space flow, kg/h",
         [](const StudyRow& r) -> std::optional<Real> { return r.tube.flow_kg_h; }},
        {"shell_flow", "shell-space flow, kg/h",
         [](const StudyRow& r) -> std::optional<Real> { return r.shell.flow_kg_h; }},
        {"tube_loss", "tube-space pressure loss, kPa",
         [](const StudyRow& r) -> std::optional<Real> { return r.tube.loss_kPa; }},
        {"shell_loss", "shell-space pressure loss, kPa",
         [](const StudyRow& r) -> std::optional<Real> { return r.shell.loss_kPa; }},
    };
    return list;
}

const Quantity& quantity(const std::string& name) {
    for (const Quantity& q : quantities())
        if (q.name == name) return q;
    std::string known;
    for (const Quantity& q : quantities())
        known += (known.empty() ? "" : ", ") + std::string(q.name);
    throw InputError(fmt::format("--y {}: not a result that can be plotted ({})", name, known));
}

// "design.tube_length_m" -> "design: tube length" and "m".
struct FieldName {
    std::string name, unit;
};

FieldName fieldName(const std::string& path) {
    static const std::vector<std::pair<std::string, std::string>> units = {
        {"_m2K_W", "m2*K/W"}, {"_kgf_cm2", "kgf/cm2"}, {"_kg_h", "kg/h"}, {"_mm_hg", "mm Hg"},
        {"_pct", "%"},        {"_m2", "m2"},           {"_m", "m"},       {"_C", "degC"}};
    const std::size_t dot = path.rfind('.');
    std::string side = dot == std::string::npos ? std::string() : path.substr(0, dot);
    std::string field = dot == std::string::npos ? path : path.substr(dot + 1);
    std::string unit;
    for (const auto& [suffix, name] : units)
        if (field.size() > suffix.size() && field.ends_with(suffix)) {
            field.resize(field.size() - suffix.size());
            unit = name;
            break;
        }
    std::replace(field.begin(), field.end(), '_', ' ');
    std::replace(side.begin(), side.end(), '_', ' ');
    return {(side.empty() ? "" : side + ": ") + field, unit};
}

// "design: tube length, m".
std::string fieldTitle(const std::string& path) {
    const FieldName f = fieldName(path);
    return f.name + (f.unit.empty() ? "" : ", " + f.unit);
}

// "tube space: flow rate = 20000 kg/h".
std::string fieldValue(const std::string& path, const std::string& value) {
    const FieldName f = fieldName(path);
    return f.name + " = " + value + (f.unit.empty() ? "" : " " + f.unit);
}

// "duty, kW" -> "duty".
std::string withoutUnit(const std::string& axis) { return axis.substr(0, axis.rfind(", ")); }

const std::string* inputValue(const StudyRow& row, const std::string& path) {
    for (const auto& [p, v] : row.inputs)
        if (p == path) return &v;
    return nullptr;
}

// One panel per --y: the result against the first varied field, one curve
// per value of the others.
std::vector<Chart> sweepCharts(const std::vector<StudyRow>& rows,
                               const std::vector<SweepAxis>& axes,
                               const std::vector<std::string>& y) {
    const SweepAxis& x = axes.front();
    std::vector<Chart> charts;
    for (const std::string& name : y) {
        const Quantity& q = quantity(name);
        Chart chart;
        chart.xAxis = fieldTitle(x.path);
        chart.yAxis = q.axis;
        chart.title = fmt::format("{} against {}", withoutUnit(q.axis), fieldName(x.path).name);
        std::map<std::string, std::size_t> curveOf;
        for (const StudyRow& row : rows) {
            std::string label;
            for (std::size_t a = 1; a < axes.size(); ++a) {
                const std::string* v = inputValue(row, axes[a].path);
                label += (label.empty() ? "" : "; ") + fieldValue(axes[a].path, v ? *v : "?");
            }
            auto [it, added] = curveOf.try_emplace(label, chart.curves.size());
            if (added) {
                chart.curves.emplace_back();
                chart.curves.back().label = label.empty() ? withoutUnit(q.axis) : label;
                chart.curves.back().markers = true;
            }
            const std::string* xv = inputValue(row, x.path);
            const std::optional<Real> yv = row.produced ? q.value(row) : std::nullopt;
            if (!xv || !yv) continue;  // a Run without results leaves its point out
            ChartCurve& curve = chart.curves[it->second];
            curve.x.push_back(std::stold(*xv));
            curve.y.push_back(*yv);
        }
        charts.push_back(std::move(chart));
    }
    return charts;
}

}  // namespace

SweepAxis parseSweepAxis(const std::string& vary) {
    const std::size_t eq = vary.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == vary.size())
        throw InputError("--vary " + vary + ": expected PATH=FROM:TO:STEP or PATH=V1,V2,...");
    SweepAxis axis;
    axis.path = vary.substr(0, eq);
    const std::string spec = vary.substr(eq + 1);
    if (spec.find(':') == std::string::npos) {
        axis.values = splitOn(spec, ',');
        for (const std::string& v : axis.values)
            if (v.empty()) throw InputError("--vary " + vary + ": an empty value in the list");
        return axis;
    }
    const std::vector<std::string> parts = splitOn(spec, ':');
    if (parts.size() != 3)
        throw InputError("--vary " + vary + ": expected FROM:TO:STEP after the field");
    const long double from = rangeNumber(parts[0], vary, "FROM");
    const long double to = rangeNumber(parts[1], vary, "TO");
    const long double step = rangeNumber(parts[2], vary, "STEP");
    if (step <= 0) throw InputError("--vary " + vary + ": STEP must be greater than 0");
    if (to < from) throw InputError("--vary " + vary + ": TO is less than FROM");
    const long double steps = std::floor((to - from) / step * (1 + 1e-12L) + 1e-6L);
    if (steps + 1 > kMaxSweepCases)
        throw InputError(fmt::format("--vary {}: {} values, more than the {} a sweep runs", vary,
                                     static_cast<double>(steps + 1), kMaxSweepCases));
    for (long double i = 0; i <= steps; ++i) axis.values.push_back(gridValue(from + i * step));
    return axis;
}

std::vector<StudyCase> sweepCases(const std::string& problem, const std::vector<std::string>& sets,
                                  const std::vector<SweepAxis>& axes, const std::string& answers) {
    std::size_t total = 1;
    for (std::size_t a = 0; a < axes.size(); ++a) {
        for (std::size_t b = 0; b < a; ++b)
            if (axes[a].path == axes[b].path)
                throw InputError("--vary " + axes[a].path + ": the field is varied twice");
        total *= axes[a].values.size();
        if (total > kMaxSweepCases)
            throw InputError(
                fmt::format("the grid has more than the {} Runs a sweep runs", kMaxSweepCases));
    }
    const std::string stem = std::filesystem::path(problem).stem().string();
    std::vector<StudyCase> cases(total);
    for (std::size_t i = 0; i < total; ++i) {
        StudyCase& c = cases[i];
        c.name = fmt::format("{} #{}", stem, i + 1);
        c.problemFile = problem;
        c.answersFile = answers;
        c.sets = sets;
        std::size_t rest = i;
        std::vector<std::string> point(axes.size());
        for (std::size_t a = axes.size(); a-- > 0;) {
            point[a] = axes[a].path + "=" + axes[a].values[rest % axes[a].values.size()];
            rest /= axes[a].values.size();
        }
        c.sets.insert(c.sets.end(), point.begin(), point.end());
    }
    return cases;
}

int runSweep(const SweepOptions& o, std::ostream& out, std::ostream& err) {
    try {
        if (o.vary.empty()) throw InputError("sweep: no --vary given");
        std::vector<SweepAxis> axes;
        for (const std::string& v : o.vary) axes.push_back(parseSweepAxis(v));
        const std::vector<std::string> y =
            o.y.empty() ? std::vector<std::string>{"duty", "surface", "K"} : o.y;
        for (const std::string& name : y) quantity(name);
        if (!o.plot.empty())
            for (const std::string& v : axes.front().values)
                rangeNumber(v, o.vary.front(), "the plotted value");
        std::vector<std::string> columns;
        for (const SweepAxis& a : axes) columns.push_back(a.path);
        std::vector<PlannedInput> inputs = {{"PROBLEM", o.problem}};
        if (!o.answers.empty()) inputs.push_back({"--answers", o.answers});
        std::vector<StudyRow> rows;
        int status = runStudyCommand("sweep", sweepCases(o.problem, o.sets, axes, o.answers),
                                     {{"--plot", o.plot, BackupRule::AppendBak, {".png", ".svg"}}},
                                     inputs, o.output, columns, &rows, out, err);
        if (!o.plot.empty()) {
            try {
                writeChartPicture(sweepCharts(rows, axes, y), o.plot);
            } catch (const std::exception& e) {
                reportError(err, e);
                status = std::max(status, 1);
            }
        }
        return status;
    } catch (const std::exception& e) {
        return reportError(err, e);
    }
}

}  // namespace vexamo::cli
