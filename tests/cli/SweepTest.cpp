// A sweep over random but plausible problems of every exchanger pair, run
// headless with the questions' defaults: no case may crash, hang or give a
// result that is not a finite number, and every case either balances its
// heat (the duty of each medium from its own flow and properties equals the
// heat flow, the outlets lie between the inlets) or ends with a reason.
// The problems come from a fixed seed, so a failing case can be replayed
// from the JSON the failure prints.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "cli/Answers.h"
#include "cli/CliDialogs.h"
#include "common/Errors.h"
#include "control/RunDriver.h"
#include "exchanger/Correlations.h"
#include "problemjson/ProblemJson.h"

namespace vexamo::cli {
namespace {

// Uniform draws from the standard-defined mt19937 sequence only, so the cases
// are the same with every standard library.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : m_gen(seed) {}
    double real(double lo, double hi) { return lo + (hi - lo) * (m_gen() / 4294967296.0); }
    int integer(int lo, int hi) {
        return lo + static_cast<int>(m_gen() % static_cast<std::uint32_t>(hi - lo + 1));
    }
    template <typename T, std::size_t N>
    const T& pick(const T (&items)[N]) {
        return items[m_gen() % N];
    }
    // Rounded, so that the problem text is short and reads back exactly.
    std::string number(double lo, double hi, int decimals) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, real(lo, hi));
        return text;
    }

private:
    std::mt19937 m_gen;
};

enum class Process { Condensation, Boiling, Heating, Cooling };
const char* name(Process p) {
    switch (p) {
        case Process::Condensation:
            return "condensation";
        case Process::Boiling:
            return "boiling";
        case Process::Heating:
            return "heating";
        default:
            return "cooling";
    }
}
bool changesPhase(Process p) { return p == Process::Condensation || p == Process::Boiling; }

// The eight pairs (tube space, shell space).
constexpr std::pair<Process, Process> kPairs[] = {
    {Process::Condensation, Process::Boiling}, {Process::Condensation, Process::Heating},
    {Process::Boiling, Process::Condensation}, {Process::Boiling, Process::Cooling},
    {Process::Heating, Process::Condensation}, {Process::Heating, Process::Cooling},
    {Process::Cooling, Process::Boiling},      {Process::Cooling, Process::Heating},
};

// Saturation temperature of water, roughly, for choosing temperatures on the
// right side of a condensing or boiling medium (the other substances of the
// table boil lower).
double waterSaturation_C(double pressure_kgf_cm2) { return 100 * std::pow(pressure_kgf_cm2, 0.25); }

struct SweepCase {
    std::string problem;  // JSON problem
    std::string answers;  // JSON answers
};

std::string medium(Draw& draw, Process process, const std::string& state, bool flowGiven,
                   bool oneComponent) {
    const char* substances[] = {"comp.1", "comp.2", "comp.3", "comp.4"};
    std::vector<std::string> chosen;
    if (oneComponent) {
        chosen.push_back(draw.pick(substances));
    } else {
        for (const char* s : substances)
            if (draw.integer(0, 2) == 0) chosen.push_back(s);
        if (chosen.empty()) chosen.push_back("comp.2");
    }
    std::string out = "{\"process\": \"" + std::string(name(process)) + "\", \"components\": [";
    for (std::size_t i = 0; i < chosen.size(); ++i) out += (i ? ", \"" : "\"") + chosen[i] + "\"";
    out += "]";
    if (chosen.size() > 1) {
        // all but the last: parts of 100 in steps of 5, each at least 5
        int left = 100;
        out += ", \"concentrations_mass_pct\": [";
        for (std::size_t i = 0; i + 1 < chosen.size(); ++i) {
            const int most = left - 5 * static_cast<int>(chosen.size() - 1 - i);
            const int c = 5 * draw.integer(1, most / 5);
            left -= c;
            out += (i ? ", " : "") + std::to_string(c);
        }
        out += "]";
    }
    if (flowGiven)
        out += ", \"flow_rate_kg_h\": " +
               (changesPhase(process) ? draw.number(5, 50000, 0) : draw.number(10, 400000, 0));
    return out + ", " + state + "}";
}

SweepCase makeCase(Draw& draw, int pairIndex) {
    const auto [tube, shell] = kPairs[pairIndex];
    // States: pressures of the phase-changing media, inlet temperatures of the
    // others, on the side of each other that lets heat flow the right way.
    std::string tubeState, shellState;
    auto pressure = [](const std::string& p) { return "\"pressure_kgf_cm2\": " + p; };
    auto temperature = [](double t) {
        char text[64];
        std::snprintf(text, sizeof text, "\"temperature_C\": %.1f", t);
        return std::string(text);
    };
    const std::string pHigh = draw.number(2.5, 30, 2), pLow = draw.number(0.05, 1.5, 2);
    const std::string pAny = draw.number(0.4, 6, 2);
    const double coldInlet = draw.real(5, 40), hotInlet = draw.real(50, 95);
    switch (pairIndex) {
        case 0:
            tubeState = pressure(pHigh), shellState = pressure(pLow);
            break;
        case 1:
            tubeState = pressure(pAny), shellState = temperature(draw.real(5, 45));
            break;
        case 2:
            tubeState = pressure(pLow), shellState = pressure(pHigh);
            break;
        case 3:
            tubeState = pressure(pLow);
            shellState = temperature(waterSaturation_C(std::stod(pLow)) + draw.real(15, 80));
            break;
        case 4:
            tubeState = temperature(draw.real(5, 45)), shellState = pressure(pAny);
            break;
        case 5:
            tubeState = temperature(coldInlet), shellState = temperature(hotInlet);
            break;
        case 6:
            shellState = pressure(pLow);
            tubeState = temperature(waterSaturation_C(std::stod(pLow)) + draw.real(15, 80));
            break;
        default:
            tubeState = temperature(hotInlet), shellState = temperature(coldInlet);
            break;
    }
    // The flow is given on one side; a boiling or condensing mixture of several
    // components now and then, single-phase mixtures freely.
    const bool tubeFlow = draw.integer(0, 1) == 0;
    const bool tubeSingle = changesPhase(tube) && draw.integer(0, 2) != 0;
    const bool shellSingle = changesPhase(shell) && draw.integer(0, 2) != 0;

    const double outer = draw.real(0.016, 0.038);
    const double wall = draw.real(0.0012, 0.003);
    const int tubes = draw.integer(1, 3000);
    const int passOptions[] = {1, 2, 4};
    int tubePasses = changesPhase(tube) ? 1 : draw.pick(passOptions);
    if (!changesPhase(tube) && !changesPhase(shell)) tubePasses = draw.integer(0, 1) ? 2 : 4;
    const double shellDiameter =
        std::sqrt(static_cast<double>(tubes)) * 1.35 * outer + draw.real(0.03, 0.2);
    const char* materials[] = {"Aluminium", "Brass", "Copper", "Gen.-purp. steel",
                               "Stainless steel"};
    const char* arrangements[] = {"chess", "corridor"};
    const char* bundles[] = {"horizontal", "vertical"};
    char design[768];
    std::snprintf(design, sizeof design,
                  "{\"tube_count\": %d, \"tube_length_m\": %.2f, \"outer_diameter_m\": %.4f, "
                  "\"inner_diameter_m\": %.4f, \"tube_passes\": %d, \"shell_passes\": %d, "
                  "\"rows_on_vertical\": %d, \"parallel_flows\": %d, \"shell_diameter_m\": %.3f, "
                  "\"material\": \"%s\", \"tube_arrangement\": \"%s\", \"bundle\": \"%s\"}",
                  tubes, draw.real(0.2, 20), outer, outer - 2 * wall, tubePasses,
                  draw.integer(1, 4), draw.integer(4, 20), draw.integer(1, 2), shellDiameter,
                  draw.pick(materials), draw.pick(arrangements), draw.pick(bundles));

    SweepCase c;
    c.problem = "{\"tube_space\": " + medium(draw, tube, tubeState, tubeFlow, tubeSingle) +
                ", \"shell_space\": " + medium(draw, shell, shellState, !tubeFlow, shellSingle) +
                ", \"design\": " + design + "}";
    // The defaults answer everything but what has none; the method of the
    // phase equilibrium is drawn.
    const char* methods[] = {"Wilson", "NRTL", "UNIQUAC", "UNIFAC"};
    c.answers =
        std::string("{\"run.save_problem\": false, \"equilibrium.method\": \"") +
        draw.pick(methods) +
        "\", \"tube_loss.ends\": 2, \"tube_loss.u_tubes\": true, \"tube_loss.bend_radius\": 0.075}";
    return c;
}

// Ends the process when one case runs longer than it may: a hang is a fault
// of its own and must not stall the whole test run.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit) : m_limit(limit), m_thread([this] { watch(); }) {}
    ~Watchdog() {
        m_stop = true;
        m_thread.join();
    }
    void start(const std::string& what) {
        std::lock_guard lock(m_mutex);
        m_what = what;
        m_deadline = std::chrono::steady_clock::now() + m_limit;
        m_armed = true;
    }
    void stop() { m_armed = false; }

private:
    void watch() {
        while (!m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::lock_guard lock(m_mutex);
            if (m_armed && std::chrono::steady_clock::now() > m_deadline) {
                std::fprintf(stderr, "sweep: a case ran past %lld s:\n%s\n",
                             static_cast<long long>(m_limit.count()), m_what.c_str());
                std::abort();
            }
        }
    }
    std::chrono::seconds m_limit;
    std::mutex m_mutex;
    std::string m_what;
    std::chrono::steady_clock::time_point m_deadline;
    std::atomic<bool> m_armed{false}, m_stop{false};
    std::thread m_thread;
};

bool finite(Real v) { return std::isfinite(v); }
Real relative(Real a, Real b) { return std::fabs(a - b) / std::fabs(b); }

PropertySet mixtureOf(const TechnSet& t, Real temperature) {
    return MixtureAt(t.Components, t.Concentration, t.ComponentCount, temperature);
}

// Heat a medium takes or gives (J/hour): its latent heat when it condenses or
// boils, else its mean heat capacity over its temperature change.
Real duty(const TechnSet& t, Real flow, Real outlet) {
    if (t.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Condensation) ||
        t.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Boiling))
        return flow * mixtureOf(t, t.Temperature).LatentHeat * 1000;
    const Real cp =
        (mixtureOf(t, t.Temperature).HeatCapacity + mixtureOf(t, outlet).HeatCapacity) / 2;
    return flow * cp * std::fabs(outlet - t.Temperature);
}

TEST(Sweep, RandomProblemsOfEveryPairBalanceOrEndWithAReason) {
    constexpr int kCasesPerPair = 60;
    // A medium's duty from its flow and properties against the heat flow of
    // the results; the means of the heat capacity are taken as the calculation
    // takes them, so the tolerance only covers the iteration's tolerance.
    constexpr Real kDutyTolerance = 2e-3L;
    const std::regex notANumber("(^|[^A-Za-z])([-+]?(nan|inf|infinity))([^A-Za-z]|$)",
                                std::regex::icase);
    Draw draw(20261209);
    Watchdog watchdog(std::chrono::seconds(60));
    const SubstanceData data = SubstanceData::builtIn();
    std::map<std::string, int> endings;
    std::set<int> pairsSeen;

    for (int pair = 0; pair < 8; ++pair) {
        for (int k = 0; k < kCasesPerPair; ++k) {
            const SweepCase c = makeCase(draw, pair);
            const std::string what = "problem " + c.problem + "\nanswers " + c.answers;
            SCOPED_TRACE(what);
            Session session(data);
            ProblemData problem;
            try {
                problem = pjson::problemFromJson(c.problem, session.Data);
            } catch (const pjson::ProblemJsonError& e) {
                ADD_FAILURE() << "the sweep made a problem the format refuses: " << e.what();
                continue;
            }
            session.Problem = problem;
            session.DataLoaded = 1;
            session.TechnoPending = session.DesignPending = false;
            session.TechnoEntered = session.DesignEntered = false;
            AnswerBook answers = AnswerBook::fromText(c.answers, "sweep");
            std::ostringstream log;
            CliDialogs dialogs(session, answers, log, true);

            watchdog.start(what);
            RunOutcome outcome = RunOutcome::NoResults;
            std::string ending;
            try {
                outcome = runCalculation(session, dialogs);
                if (outcome == RunOutcome::ExitRequested) ending = "the program's exit";
            } catch (const AnswerError& e) {
                ending = "a question without default";
                ADD_FAILURE() << e.what();
            }
            watchdog.stop();
            pairsSeen.insert(session.PairCode);

            const std::string report = session.Report.text("\n");
            std::smatch bad;
            EXPECT_FALSE(std::regex_search(report, bad, notANumber))
                << "the report prints " << bad[2] << "\n"
                << report;
            for (const MessageRequest& m : dialogs.messages())
                EXPECT_FALSE(std::regex_search(m.text, bad, notANumber)) << m.id << ": " << m.text;

            const RunResults& r = session.Results;
            if (outcome == RunOutcome::Results) {
                ASSERT_TRUE(r.produced);
                for (Real v :
                     {r.TubeCoefficient, r.ShellCoefficient, r.OverallCoefficient, r.HeatFlux,
                      r.HeatFlow, r.Surface, session.TubeFlow, session.ShellFlow})
                    EXPECT_TRUE(finite(v) && v > 0) << v << "\n" << report;
                EXPECT_TRUE(finite(r.Speed) && r.Speed >= 0) << r.Speed;
                if (!r.converged) {
                    // the report says so: a reason
                    EXPECT_NE(report.find("The heat balance was not reached"), std::string::npos)
                        << report;
                    ++endings["results, heat balance not reached (reported)"];
                    continue;
                }
                const TechnSet& t = session.Problem.TubeStream;
                const TechnSet& s = session.Problem.ShellStream;
                Real tubeOut = t.Temperature,
                     shellOut = s.Temperature;  // a phase change keeps its temperature
                if (r.hasOutlet) (r.outletSide == 1 ? tubeOut : shellOut) = r.OutletTemperature;
                const bool bothSensible = t.ProcessCode >= 2 && s.ProcessCode >= 2;
                if (r.hasOutlet && bothSensible)
                    (r.outletSide == 1 ? shellOut : tubeOut) = r.OtherOutletTemperature;
                const Real lo = std::min(t.Temperature, s.Temperature),
                           hi = std::max(t.Temperature, s.Temperature);
                EXPECT_TRUE(tubeOut >= lo && tubeOut <= hi) << "tube outlet " << tubeOut << "\n"
                                                            << report;
                EXPECT_TRUE(shellOut >= lo && shellOut <= hi) << "shell outlet " << shellOut << "\n"
                                                              << report;
                if (r.hasOutlet || !bothSensible) {
                    EXPECT_LT(relative(duty(t, session.TubeFlow, tubeOut), r.HeatFlow),
                              kDutyTolerance)
                        << "tube-side duty\n"
                        << report;
                    EXPECT_LT(relative(duty(s, session.ShellFlow, shellOut), r.HeatFlow),
                              kDutyTolerance)
                        << "shell-side duty\n"
                        << report;
                }
                ++endings["results, balanced"];
            } else {
                // Without results: a message or a stated reason tells why.
                const bool told =
                    !r.reason.empty() || !dialogs.messages().empty() || !ending.empty();
                EXPECT_TRUE(told) << report;
                std::string why = ending;
                if (!dialogs.messages().empty())
                    why = dialogs.messages().back().id;
                else if (!r.reason.empty())
                    why = r.reason;
                ++endings[std::string(outcome == RunOutcome::Aborted ? "aborted: "
                                                                     : "no results: ") +
                          why];
            }
        }
    }
    EXPECT_EQ(pairsSeen, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    std::ostringstream summary;
    for (const auto& [why, count] : endings) summary << "  " << count << "  " << why << "\n";
    std::printf("%d cases:\n%s", 8 * kCasesPerPair, summary.str().c_str());
}

}  // namespace
}  // namespace vexamo::cli
