#include "control/EngineeringSummary.h"

#include <cmath>
#include <span>

#include "common/Constants.h"
#include "common/Errors.h"
#include "common/Ext80.h"
#include "common/NumberFormat.h"
#include "exchanger/Correlations.h"
#include "properties/SubstanceIdentity.h"

namespace vexamo {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

StreamSummary streamSummary(const Session& session, const TechnSet& stream, int side, Real flow) {
    const LanguageFlagType lang = session.LanguageFlag;
    const RunResults& r = session.Results;
    StreamSummary s;
    s.side = side;
    s.process = processName(stream.ProcessCode, lang);
    s.phaseChange = stream.PhaseChange == 'x' || stream.PhaseChange == 'y';
    s.flow_kg_h = flow;
    const int n = std::min<int>(stream.ComponentCount, kMaxComponents);
    for (int i = 0; i < n; ++i) {
        const Pro& p = stream.Components[at(i)];
        std::string part = lang == kEnglish ? p.EnglishName : p.RussianName;
        const std::string identity = identityText(stream.ComponentIndex[at(i)], lang);
        if (!identity.empty()) part += " = " + identity;
        const Real percent = n == 1 ? 100 : stream.Concentration[at(i)];
        part += ", " + formatShortest(percent) + tr(lang, " mass %", " % масс.");
        s.medium.push_back(part);
    }
    s.inlet_C = stream.Temperature;
    s.outlet_C = stream.Temperature;  // condensing and boiling media stay at saturation
    if (r.hasOutlet) {
        if (r.outletSide == side)
            s.outlet_C = r.OutletTemperature;
        else if (!s.phaseChange)
            s.outlet_C = r.OtherOutletTemperature;
    }
    s.outletFixed =
        side == 2 && exchangerClassFor(session.PairCode) == ExchangerClass::THeatCoolObj;

    // The duty from this stream alone: its flow times the latent heat at
    // saturation, or times the mean of the heat capacities at its ends and
    // its change of temperature.
    const std::span<const Pro> components(stream.Components.data(), at(n));
    const std::span<const Real> composition(stream.Concentration.data(),
                                            stream.Concentration.size());
    try {
        if (s.phaseChange) {
            s.duty_kW = flow / 3600 * MixtureAt(components, composition, n, s.inlet_C).LatentHeat;
        } else {
            const Real cp = (MixtureAt(components, composition, n, s.inlet_C).HeatCapacity +
                             MixtureAt(components, composition, n, s.outlet_C).HeatCapacity) /
                            2;
            s.duty_kW = flow / 3600 * cp * std::fabs(s.outlet_C - s.inlet_C) / 1000;
        }
    } catch (const VexamoError&) {
        s.duty_kW = std::nanl("");
    }
    const SideFigures& f = side == 1 ? r.TubeSide : r.ShellSide;
    s.velocity = f.velocity;
    s.reynolds = f.reynolds;
    s.lossComputed = f.lossComputed;
    s.loss_kPa = f.loss_kPa;
    s.lossReason = f.lossReason;
    return s;
}

}  // namespace

std::optional<Real> oneShellPassCorrection(Real R, Real P) {
    if (!(P > 0 && P < 1) || !(R > 0)) return std::nullopt;
    const Real S = std::sqrt(R * R + 1);
    const Real inner = (2 - P * (R + 1 - S)) / (2 - P * (R + 1 + S));
    if (!(inner > 0)) return std::nullopt;
    Real F;
    if (std::fabs(R - 1) < 1e-9L) {
        F = S * P / (1 - P) / std::log(inner);
    } else {
        const Real ratio = (1 - P) / (1 - R * P);
        if (!(ratio > 0)) return std::nullopt;
        F = S * std::log(ratio) / ((R - 1) * std::log(inner));
    }
    if (!std::isfinite(F) || !(F > 0) || F > 1 + 1e-12L) return std::nullopt;
    return F;
}

EngineeringSummary summarize(const Session& session) {
    const RunResults& r = session.Results;
    EngineeringSummary e;
    e.tube = streamSummary(session, session.Problem.TubeStream, 1, session.TubeFlow);
    e.shell = streamSummary(session, session.Problem.ShellStream, 2, session.ShellFlow);
    e.duty_kW = r.HeatFlow / 3600 / 1000;
    e.meanDifference = r.HeatFlux / r.OverallCoefficient;
    e.requiredSurface = r.Surface;
    e.installedSurface = r.InstalledSurface;
    e.wallResistance = session.Problem.Design.WallResistance;
    e.tubeFouling = session.Problem.Design.TubeFouling;
    e.shellFouling = session.Problem.Design.ShellFouling;

    // Counter-current ends: the hot stream is the one that enters hotter.
    const StreamSummary& hot = e.tube.inlet_C >= e.shell.inlet_C ? e.tube : e.shell;
    const StreamSummary& cold = &hot == &e.tube ? e.shell : e.tube;
    const Real d1 = hot.inlet_C - cold.outlet_C, d2 = hot.outlet_C - cold.inlet_C;
    if (d1 > 0 && d2 > 0) {
        e.logMean = std::fabs(d1 - d2) < 1e-12L * d1 ? d1 : (d1 - d2) / std::log(d1 / d2);
        if (hot.phaseChange || cold.phaseChange) {
            e.correction = 1;  // one isothermal medium: every flow arrangement gives the log mean
        } else if (session.Problem.Design.TubePasses >= 2 &&
                   session.Problem.Design.TubePasses % 2 == 0) {
            const Real R = (hot.inlet_C - hot.outlet_C) / (cold.outlet_C - cold.inlet_C);
            const Real P = (cold.outlet_C - cold.inlet_C) / (hot.inlet_C - cold.inlet_C);
            e.correction = oneShellPassCorrection(R, P);
        }
    }
    return e;
}

namespace {

std::string number(Real v) { return std::isfinite(v) ? formatGeneral(v, 6, 2) : "-"; }

// A difference to a fixed number of decimals, never "-0.00".
std::string fixed(Real v, int decimals) {
    if (!std::isfinite(v)) return "-";
    std::string text = formatFixed(v, 0, decimals);
    if (text.find_first_of("123456789") == std::string::npos && text[0] == '-') text.erase(0, 1);
    return text;
}

}  // namespace

std::string summaryBlock(const EngineeringSummary& e, LanguageFlagType lang) {
    constexpr std::size_t kWidth = 44;
    std::string b = tr(lang, "\r\n   ENGINEERING SUMMARY\r\n", "\r\n   ИНЖЕНЕРНАЯ СВОДКА\r\n");
    auto line = [&](const std::string& label, const std::string& value) {
        b += paddedTo("  " + label, kWidth) + value + "\r\n";
    };
    const char* degrees = tr(lang, " degr.C", " град.С");
    for (const StreamSummary* s : {&e.tube, &e.shell}) {
        const bool tube = s->side == 1;
        b += tr(lang, tube ? "  Tube space: " : "  Shell space: ",
                tube ? "  Трубное пространство: " : "  Межтрубное пространство: ") +
             s->process + "\r\n";
        for (const std::string& part : s->medium) b += "    " + part + "\r\n";
        line(tr(lang, "  flow rate:", "  расход:"),
             number(s->flow_kg_h) + tr(lang, " kg/hour", " кг/час"));
        line(tr(lang, "  inlet / outlet temperature:", "  температура на входе / выходе:"),
             number(s->inlet_C) + " / " + number(s->outlet_C) + degrees +
                 (s->outletFixed
                      ? tr(lang, " (outlet fixed by the method)", " (выход задан методом)")
                  : s->phaseChange ? tr(lang, " (saturation)", " (насыщение)")
                                   : ""));
        line(tr(lang, "  duty from this stream:", "  тепловая нагрузка по этому потоку:"),
             number(s->duty_kW) + tr(lang, " kW", " кВт"));
        if (s->velocity > 0)
            line(
                tr(lang, "  velocity, Reynolds number:", "  скорость, число Рейнольдса:"),
                number(s->velocity) + tr(lang, " m/s, Re = ", " м/с, Re = ") + number(s->reynolds));
        else
            line(tr(lang, "  velocity, Reynolds number:", "  скорость, число Рейнольдса:"),
                 tr(lang, "not computed (phase change)", "не вычислялись (фазовый переход)"));
        line(tr(lang, "  pressure loss:", "  потери давления:"),
             s->lossComputed ? number(s->loss_kPa) + tr(lang, " kPa", " кПа")
             : s->lossReason.empty()
                 ? std::string(tr(lang, "not computed", "не вычислялись"))
                 : tr(lang, "not computed: ", "не вычислялись: ") + s->lossReason);
    }
    line(tr(lang, "Duty of the results:", "Тепловая нагрузка по результатам:"),
         number(e.duty_kW) + tr(lang, " kW", " кВт"));
    line(tr(lang, "Tube minus shell stream duty:", "Разность нагрузок потоков:"),
         fixed(e.tube.duty_kW - e.shell.duty_kW, 3) + tr(lang, " kW (", " кВт (") +
             fixed((e.tube.duty_kW - e.shell.duty_kW) / e.duty_kW * 100, 2) + " %)");
    line(tr(lang, "Mean temperature difference Q/(K*F):", "Средний температурный напор Q/(K*F):"),
         number(e.meanDifference) + tr(lang, " K", " К"));
    if (e.logMean) {
        std::string value = number(*e.logMean) + tr(lang, " K", " К");
        if (e.correction && *e.correction == 1)
            value +=
                tr(lang, " (one medium isothermal: F = 1)", " (одна среда изотермична: F = 1)");
        else if (e.correction)
            value += tr(lang, "; F = ", "; F = ") + number(*e.correction) +
                     ", F*LMTD = " + number(*e.correction * *e.logMean) +
                     tr(lang, " K (one shell pass, 2N tube passes)",
                        " К (один ход в межтрубном, 2N ходов в трубном)");
        line(tr(lang, "LMTD, counter-current:", "Среднелогарифмический напор, противоток:"), value);
    } else {
        line(tr(lang, "LMTD, counter-current:", "Среднелогарифмический напор, противоток:"),
             tr(lang, "none (the temperatures cross)", "нет (температуры пересекаются)"));
    }
    line(tr(lang, "Required surface:", "Требуемая поверхность:"),
         number(e.requiredSurface) + tr(lang, " m^2", " м^2"));
    if (e.installedSurface > 0) {
        line(tr(lang, "Installed surface:", "Установленная поверхность:"),
             number(e.installedSurface) + tr(lang, " m^2", " м^2"));
        line(tr(lang, "Over-surface:", "Запас поверхности:"),
             fixed((e.installedSurface - e.requiredSurface) / e.requiredSurface * 100, 2) + " %");
    }
    const Real fouling = e.tubeFouling + e.shellFouling;
    // The default fouling keeps the words it has always had in this line.
    const bool defaultFouling = encodeExt80(e.tubeFouling) == encodeExt80(kDefaultSideFouling) &&
                                encodeExt80(e.shellFouling) == encodeExt80(kDefaultSideFouling);
    const std::string split =
        defaultFouling
            ? tr(lang, ", fixed fouling allowance 1/5800)",
                 ", постоянная добавка на загрязнения 1/5800)")
            : tr(lang, ", fouling tube side ", ", загрязнения: в трубах ") + number(e.tubeFouling) +
                  tr(lang, " + shell side ", " + в межтрубном ") + number(e.shellFouling) + ")";
    line(tr(lang, "Wall and fouling resistance:", "Сопротивление стенки и загрязнений:"),
         number(e.wallResistance) + tr(lang, " m^2*K/W (wall ", " м^2*K/Вт (стенка ") +
             number(e.wallResistance - fouling) + split);
    return b;
}

}  // namespace vexamo
