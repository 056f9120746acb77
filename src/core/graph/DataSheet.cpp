#include "graph/DataSheet.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "common/NumberFormat.h"
#include "control/EngineeringSummary.h"
#include "control/RunDriver.h"
#include "graph/ProfileChart.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo {

namespace {

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool blank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

std::string trimmed(const std::string& line) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// Without the blank lines at either end, and runs of blank lines made one.
std::vector<std::string> tidy(std::vector<std::string> lines) {
    std::vector<std::string> out;
    for (std::string& line : lines) {
        if (blank(line) && (out.empty() || blank(out.back()))) continue;
        out.push_back(std::move(line));
    }
    while (!out.empty() && blank(out.back())) out.pop_back();
    return out;
}

// Each stream as the problem gives it: the space and its process, the
// components with their share, the flow rate where it is given and the inlet.
std::vector<std::string> mediaLines(const ProblemData& problem, LanguageFlagType lang) {
    std::vector<std::string> lines;
    auto stream = [&](const TechnSet& s, int side) {
        std::string head = side == 1 ? tr(lang, "Tube space", "Трубное пространство")
                                     : tr(lang, "Shell space", "Межтрубное пространство");
        const std::string process = processName(s.ProcessCode, lang);
        if (!process.empty()) head += ": " + process;
        lines.push_back(head);
        const int n = std::min<int>(s.ComponentCount, kMaxComponents);
        for (int i = 0; i < n; ++i) {
            const auto k = static_cast<std::size_t>(i);
            const Pro& p = s.Components[k];
            std::string part = "  " + (lang == kEnglish ? p.EnglishName : p.RussianName);
            const std::string identity = identityText(s.ComponentIndex[k], lang);
            if (!identity.empty()) part += " = " + identity;
            const Real percent = n == 1 ? 100 : s.Concentration[k];
            part += ", " + formatShortest(percent) + tr(lang, " mass %", " % масс.");
            lines.push_back(part);
        }
        if (s.FlowRate > 0)
            lines.push_back(
                tr(lang, "  flow rate:                  ", "  расход:                     ") +
                formatGeneral(s.FlowRate, 8, 2) + tr(lang, " kg/hour", " кг/час"));
        else
            lines.push_back(tr(lang, "  flow rate:                  from the heat balance",
                               "  расход:                     из теплового баланса"));
        if (s.GivenState == 'p' && s.Pressure > 0)
            lines.push_back(
                tr(lang, "  pressure:                   ", "  давление:                   ") +
                formatGeneral(s.Pressure / 1000, 8, 2) + tr(lang, " kPa", " кПа"));
        lines.push_back(
            tr(lang, "  inlet temperature:          ", "  температура на входе:       ") +
            formatGeneral(s.Temperature, 8, 2) + tr(lang, " degr.C", " град.С"));
    };
    stream(problem.TubeStream, 1);
    stream(problem.ShellStream, 2);
    return lines;
}

}  // namespace

DataSheet dataSheet(const Session& session, const ProfileGraphRequest* profile,
                    const DataSheetOrigin& origin) {
    const LanguageFlagType lang = session.LanguageFlag;
    DataSheet sheet;
    sheet.title = tr(lang, "Heat exchanger data sheet", "Расчётный лист теплообменника");
    if (!origin.problem.empty())
        sheet.titleBlock.push_back(tr(lang, "Problem: ", "Задача: ") + origin.problem);
    sheet.titleBlock.push_back(tr(lang, "Date: ", "Дата: ") + origin.date);
    sheet.titleBlock.push_back(tr(lang, "Program: ", "Программа: ") + origin.program);
    sheet.warningsHeading = tr(lang, "Warnings", "Предупреждения");
    sheet.chartsHeading = tr(lang, "Charts", "Графики");
    sheet.noWarnings = tr(lang, "none", "нет");
    sheet.pageWord = tr(lang, "page", "стр.");

    const RunResults& r = session.Results;
    if (!r.produced)
        sheet.noResults =
            tr(lang, "No results: ", "Результатов нет: ") +
            (r.reason.empty()
                 ? std::string(tr(lang, "the Run did not produce any", "расчет их не дал"))
                 : r.reason);

    sheet.sections.push_back(
        {tr(lang, "Media", "Теплоносители"), mediaLines(session.Problem, lang)});
    sheet.sections.push_back({tr(lang, "Design data", "Конструктивные данные"),
                              tidy(splitLines(initialDataBlock(session.Problem.Design, lang)))});

    // The report of the last Run: its initial-data block (already above)
    // starts with the heading the block begins with; the results follow the
    // progress line's place.
    const std::vector<std::string>& report = session.Report.lines();
    const std::size_t progress =
        std::min(report.size(), static_cast<std::size_t>(std::max(0, session.ProgressLineIndex)));
    const std::vector<std::string> block = tidy(splitLines(initialDataBlock({}, lang)));
    std::size_t runStart = 0;
    for (std::size_t i = progress; i-- > 0;)
        if (!block.empty() && report[i] == block.front()) {
            runStart = i;
            break;
        }
    const std::string warningPrefix = tr(lang, "Warning: ", "Предупреждение: ");
    for (std::size_t i = runStart; i < progress; ++i)
        if (trimmed(report[i]).rfind(warningPrefix, 0) == 0)
            sheet.warnings.push_back(trimmed(report[i]));

    // The validity warnings close the report under their heading; they are
    // listed with the others, not twice.
    std::vector<std::string> results(report.begin() + static_cast<std::ptrdiff_t>(progress),
                                     report.end());
    const std::vector<std::string> validity = validityWarnings(session.Validity, lang);
    if (!validity.empty() && results.size() >= validity.size() + 1) {
        const std::size_t tail = results.size() - validity.size();
        bool matches = true;
        for (std::size_t i = 0; i < validity.size(); ++i)
            if (results[tail + i] != "   " + validity[i]) matches = false;
        if (matches) results.resize(tail - 1);  // and the heading above them
    }
    for (const std::string& w : validity) sheet.warnings.push_back(w);
    sheet.sections.push_back(
        {r.produced ? tr(lang, "Results and engineering summary", "Результаты и инженерная сводка")
                    : tr(lang, "Report", "Отчет"),
         tidy(std::move(results))});

    if (profile) {
        if (r.produced)
            sheet.charts = runCharts(*profile, summarize(session), session.Problem, lang);
        else
            sheet.charts = {profileChart(*profile, nullptr, session.Problem, lang)};
    }
    return sheet;
}

std::string todayDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

}  // namespace vexamo
