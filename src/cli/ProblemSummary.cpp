#include "cli/ProblemSummary.h"

#include "common/Constants.h"
#include "common/NumberFormat.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo::cli {

namespace {

std::string num(Real v) { return formatShortest(v); }

void describeStream(std::string& out, const TechnSet& t, const char* title,
                    const SubstanceData& data, LanguageFlagType lang) {
    out += std::string(title) + ": " + processName(t.ProcessCode, lang) + "\n";
    for (std::size_t i = 0; i < t.ComponentCount && i < kMaxComponents; ++i) {
        const std::size_t index = t.ComponentIndex[i];
        const Pro& p = data.SubstanceTable.at(index);
        out += "    " + (lang == kEnglish ? p.EnglishName : p.RussianName) + "  " +
               formatFixed(t.Concentration[i], 6, 2) + tr(lang, " % of mass", " % масс.");
        // what a built-in record is, while it carries its built-in name
        if (p.EnglishName == "comp." + std::to_string(index + 1)) {
            const std::string identity = identityText(index, lang);
            if (!identity.empty()) out += "  " + identity;
        }
        out += "\n";
    }
    if (t.GivenState == 'p' || t.GivenState == 'P') {
        out += tr(lang, "    pressure ", "    давление ") + num(paToKgfcm2(t.Pressure)) +
               tr(lang, " kgf/cm2 (", " кгс/см2 (") + num(t.Pressure) + tr(lang, " Pa)", " Па)") +
               "\n";
        if (t.Temperature != 0)
            out += tr(lang, "    saturation temperature ", "    температура насыщения ") +
                   formatFixed(t.Temperature, 0, 2) + tr(lang, " deg.C", " град.С") + "\n";
    } else {
        out += tr(lang, "    inlet temperature ", "    температура на входе ") +
               num(t.Temperature) + tr(lang, " deg.C", " град.С") + "\n";
    }
    if (t.FlowRate != 0)
        out += tr(lang, "    flow rate ", "    расход ") + num(t.FlowRate) +
               tr(lang, " kg/hour", " кг/час") + "\n";
}

}  // namespace

std::string problemSummary(const ProblemData& problem, const SubstanceData& data,
                           LanguageFlagType lang) {
    std::string out;
    describeStream(out, problem.TubeStream, tr(lang, "Tube space", "Трубное пространство"), data,
                   lang);
    describeStream(out, problem.ShellStream,
                   tr(lang, "Intertubular space", "Межтрубное пространство"), data, lang);
    const DesignRecord& d = problem.Design;
    out += tr(lang, "Exchanger", "Теплообменник");
    out += ":\n";
    out += tr(lang, "    tubes ", "    трубы ") + std::to_string(d.TubeCount) + " x " +
           num(d.OuterDiameter) + " / " + num(d.InnerDiameter) +
           tr(lang, " m, length ", " м, длина ") + num(d.TubeLength) + tr(lang, " m", " м") + "\n";
    out += tr(lang, "    passes in tubes / shell ", "    ходы в трубах / межтрубье ") +
           std::to_string(d.TubePasses) + " / " + std::to_string(d.ShellPasses) +
           tr(lang, ", rows on a vertical ", ", рядов по вертикали ") +
           std::to_string(d.RowsOnVertical) +
           tr(lang, ", parallel flows ", ", параллельных потоков ") +
           std::to_string(d.ParallelFlows) + "\n";
    if (d.ShellDiameter != 0)
        out += tr(lang, "    casing inner diameter ", "    внутренний диаметр кожуха ") +
               num(d.ShellDiameter) + tr(lang, " m", " м") + "\n";
    out += tr(lang, "    material ", "    материал ") + d.MaterialName +
           tr(lang, ", wall resistance ", ", термическое сопротивление стенки ") +
           formatGeneral(d.WallResistance, 6, 2) + tr(lang, " m2*K/W", " м2*К/Вт") + "\n";
    out += tr(lang, "    of it fouling: tube side ", "    из него загрязнения: в трубах ") +
           formatGeneral(d.TubeFouling, 6, 2) +
           tr(lang, ", shell side ", ", в межтрубном пространстве ") +
           formatGeneral(d.ShellFouling, 6, 2) + tr(lang, " m2*K/W", " м2*К/Вт") +
           (hasDefaultFouling(d)
                ? tr(lang, " (the default, 1/5800 together)", " (по умолчанию, вместе 1/5800)")
                : "") +
           "\n";
    out += tr(lang, "    surface ", "    поверхность ") + formatFixed(d.Surface, 0, 3) +
           tr(lang, " m2", " м2") +
           (d.StaggeredTubes ? tr(lang, ", chess", ", шахматное")
                             : tr(lang, ", corridor", ", коридорное")) +
           (d.HorizontalBundle ? tr(lang, ", horizontal", ", горизонтальное")
                               : tr(lang, ", vertical", ", вертикальное")) +
           "\n";
    const int pair = pairCode(problem.TubeStream.ProcessCode, problem.ShellStream.ProcessCode);
    out += tr(lang, "Pair code ", "Код пары ") + std::to_string(pair) + "\n";
    return out;
}

}  // namespace vexamo::cli
