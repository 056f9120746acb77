#include "graph/ProfileChart.h"

#include <algorithm>
#include <cmath>

#include "common/NumberFormat.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo {

namespace {

const char* spaceName(int side, LanguageFlagType lang) {
    return side == 1 ? tr(lang, "tube space", "трубное пр-во")
                     : tr(lang, "shell space", "межтрубное пр-во");
}

const TechnSet& streamOf(const ProblemData& problem, int side) {
    return side == 1 ? problem.TubeStream : problem.ShellStream;
}

bool phaseChange(const TechnSet& stream) {
    return stream.PhaseChange == 'x' || stream.PhaseChange == 'y';
}

// "shell space: water, heating" or "tube space: water, saturation (condensation)".
std::string streamLabel(int side, const ProblemData& problem, LanguageFlagType lang) {
    const TechnSet& stream = streamOf(problem, side);
    std::string label = spaceName(side, lang);
    const std::string medium = mediumName(stream, lang);
    label += ": " + (medium.empty() ? std::string(tr(lang, "medium", "среда")) : medium);
    const std::string process = processName(stream.ProcessCode, lang);
    if (phaseChange(stream))
        label += tr(lang, ", saturation (", ", насыщение (") + process + ")";
    else if (!process.empty())
        label += ", " + process;
    return label;
}

std::string temperatureAxis(LanguageFlagType lang) {
    return tr(lang, "temperature, °C", "температура, °C");
}

bool usable(Real v) { return std::isfinite(v); }

// A profile whose ends lie this close to the reported temperatures is the
// Run's own within the accuracy of its balance (the heating-cooling field of
// the last iteration meets the fixed shell outlet only where the balance
// ratio is exactly 1: some 1e-5 K off at the balance's tolerance).
constexpr Real kEndAgreement_K = 0.01L;

// The end of pass `pass` (0-based) of a tube space with `passes` passes
// where the medium leaves it: an even pass (counted from 0) runs from x = 0
// to x = 1, an odd one back again.
std::size_t passOutletPoint(std::size_t pass, std::size_t points) {
    return pass % 2 == 0 ? points - 1 : 0;
}

// Moves a curve's ends by `atStart` (x = 0) and `atEnd` (x = 1), the points
// between in proportion to their position.
void shiftEnds(std::vector<Real>& y, const std::vector<Real>& positions, Real atStart, Real atEnd) {
    for (std::size_t k = 0; k < y.size() && k < positions.size(); ++k)
        y[k] += atStart + (atEnd - atStart) * positions[k];
}

// Puts the ends of a profile that agrees within kEndAgreement_K on the
// reported temperatures exactly. The turns between passes stay where they
// are, so the tube space stays one line.
void pinEnds(Chart& chart, const std::vector<Real>& positions, const EngineeringSummary& summary) {
    const std::size_t points = positions.size();
    if (points < 2 || chart.curves.size() < 2) return;
    std::vector<Real>& shell = chart.curves[0].y;
    shiftEnds(shell, positions, summary.shell.inlet_C - shell.front(),
              summary.shell.outlet_C - shell.back());
    shell.front() = summary.shell.inlet_C;
    shell.back() = summary.shell.outlet_C;

    const std::size_t passes = chart.curves.size() - 1;
    std::vector<Real>& first = chart.curves[1].y;
    std::vector<Real>& last = chart.curves[passes].y;
    const std::size_t out = passOutletPoint(passes - 1, points);
    const Real inletShift = summary.tube.inlet_C - first.front();
    const Real outletShift = summary.tube.outlet_C - last[out];
    if (passes == 1) {
        shiftEnds(first, positions, inletShift, outletShift);
    } else {
        shiftEnds(first, positions, inletShift, 0);
        if (out == 0)
            shiftEnds(last, positions, outletShift, 0);
        else
            shiftEnds(last, positions, 0, outletShift);
    }
    first.front() = summary.tube.inlet_C;
    last[out] = summary.tube.outlet_C;
}

}  // namespace

std::string mediumName(const TechnSet& stream, LanguageFlagType language) {
    std::string name;
    const std::size_t n = std::min<std::size_t>(stream.ComponentCount, stream.Components.size());
    for (std::size_t i = 0; i < n; ++i) {
        // The chemical's name where the record is a built-in one, else the
        // record's own name.
        const Pro& p = stream.Components[i];
        std::string part =
            language == kEnglish || p.RussianName.empty() ? p.EnglishName : p.RussianName;
        if (i < stream.ComponentIndex.size())
            if (const auto identity = builtInIdentity(stream.ComponentIndex[i]))
                part = language == kEnglish ? identity->englishName : identity->russianName;
        if (part.empty()) continue;
        if (!name.empty()) name += " + ";
        name += part;
    }
    return name;
}

Real profileEndMismatch(const ProfileGraphRequest& profile, const EngineeringSummary& summary) {
    const std::size_t points = profile.positions.size();
    if (points < 2 || profile.curves.size() < 2) return 0;
    Real worst = 0;
    auto compare = [&](Real shown, Real reported) {
        const Real d = std::fabs(shown - reported);
        worst = std::isfinite(d) ? std::max(worst, d) : INFINITY;
    };
    for (const auto& curve : profile.curves)
        if (curve.size() != points) return INFINITY;
    // The shell space enters at x = 0 and leaves at x = 1.
    const auto& shell = profile.curves[0];
    compare(shell.front(), summary.shell.inlet_C);
    compare(shell.back(), summary.shell.outlet_C);
    // The tube space enters the first pass at x = 0 and leaves the last.
    const std::size_t passes = profile.curves.size() - 1;
    compare(profile.curves[1].front(), summary.tube.inlet_C);
    compare(profile.curves[passes][passOutletPoint(passes - 1, points)], summary.tube.outlet_C);
    return worst;
}

Chart profileChart(const ProfileGraphRequest& profile, const EngineeringSummary* summary,
                   const ProblemData& problem, LanguageFlagType lang) {
    Chart chart;
    chart.title =
        tr(lang, "Temperature profile along the tubes", "Температурный профиль по длине труб");
    const Real length = problem.Design.TubeLength;
    const bool metres = usable(length) && length > 0;
    chart.xAxis = metres
                      ? tr(lang, "position along the tubes, m", "длина труб, м")
                      : tr(lang, "relative position along the tubes", "относительная длина труб");
    chart.yAxis = temperatureAxis(lang);
    std::vector<Real> x;
    for (Real p : profile.positions) x.push_back(metres ? p * length : p);

    const std::size_t passes = profile.curves.empty() ? 0 : profile.curves.size() - 1;
    for (std::size_t c = 0; c < profile.curves.size(); ++c) {
        const int side = c == 0 ? 2 : 1;
        ChartCurve curve;
        curve.x = x;
        curve.y = profile.curves[c];
        curve.dashed = phaseChange(streamOf(problem, side));
        curve.label = streamLabel(side, problem, lang);
        // The values at the ends: the shell space's inlet and outlet, the
        // tube space's inlet and outlet, a saturation temperature once.
        if (side == 2) {
            curve.labelFirst = !curve.dashed;
            curve.labelLast = true;
        } else {
            const std::size_t out = passOutletPoint(c - 1, profile.positions.size());
            curve.labelFirst = c == 1 && !curve.dashed;
            curve.labelLast = c == passes;
            if (c == passes && out == 0 && passes > 1) {
                curve.labelFirst = true;
                curve.labelLast = false;
            }
        }
        if (side == 1 && passes > 1)
            curve.label = std::string(spaceName(1, lang)) + tr(lang, ", pass ", ", ход ") +
                          std::to_string(c) + ": " + curve.label.substr(curve.label.find(':') + 2);
        chart.curves.push_back(std::move(curve));
    }
    if (summary == nullptr) {
        chart.title += tr(lang, " (no results)", " (нет результатов)");
        return chart;
    }
    const Real mismatch = profileEndMismatch(profile, *summary);
    if (mismatch <= kEndAgreement_K)
        pinEnds(chart, profile.positions, *summary);
    else
        chart.title += tr(lang, " (its ends differ from the results by up to ",
                          " (концы отличаются от результатов до ") +
                       formatGeneral(mismatch, 3, 0) + " K)";
    return chart;
}

std::optional<Chart> temperatureDutyChart(const EngineeringSummary& summary,
                                          const ProblemData& problem, LanguageFlagType lang) {
    if (!summary.tube.phaseChange && !summary.shell.phaseChange) return std::nullopt;
    const Real duty = summary.duty_kW;
    if (!usable(duty) || !(duty > 0)) return std::nullopt;
    Chart chart;
    chart.title =
        tr(lang, "Temperature-duty diagram, Q = ", "Диаграмма температура - нагрузка, Q = ") +
        formatGeneral(duty, 6, 0) + tr(lang, " kW", " кВт");
    chart.xAxis = tr(lang, "duty transferred Q, kW", "переданная тепловая нагрузка Q, кВт");
    chart.yAxis = temperatureAxis(lang);
    // The shell space first, as in the profile, so a stream keeps its colour.
    for (const StreamSummary* s : {&summary.shell, &summary.tube}) {
        ChartCurve curve;
        curve.label = streamLabel(s->side, problem, lang);
        curve.dashed = s->phaseChange;
        curve.labelFirst = !s->phaseChange;
        curve.labelLast = true;
        curve.x = {0, duty};
        curve.y = {s->inlet_C, s->phaseChange ? s->inlet_C : s->outlet_C};
        chart.curves.push_back(std::move(curve));
    }
    return chart;
}

std::vector<Chart> runCharts(const ProfileGraphRequest& profile, const EngineeringSummary& summary,
                             const ProblemData& problem, LanguageFlagType language) {
    std::vector<Chart> charts{profileChart(profile, &summary, problem, language)};
    if (auto tq = temperatureDutyChart(summary, problem, language)) charts.push_back(*tq);
    return charts;
}

}  // namespace vexamo
