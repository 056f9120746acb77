// The outlet iteration of every pair that condenses or boils against a heated
// or cooled medium, run on the examples through the whole Run with every
// question answered by its documented default: from starts at 10, 50 and 90 %
// of the admissible outlet interval and at 0.1, 1 and 10 times the given
// flow, the calculation either reaches the heat balance without asking about
// the interval or slow convergence, or ends with the message that the duty
// is impossible. A converged result is checked by its physics: both media
// carry the heat flow, the outlet lies between the inlet and saturation on
// the right side, the required surface is the installed one and the log-mean
// law holds over it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "common/Constants.h"
#include "control/RunDriver.h"
#include "control/Session.h"
#include "dialogs/DesignDialog.h"
#include "dialogs/Dialogs.h"
#include "dialogs/GenericDialogs.h"
#include "dialogs/TechnologicalDialog.h"
#include "exchanger/Correlations.h"
#include "problemjson/ProblemJson.h"

namespace vexamo {
namespace {

Real relative(Real a, Real b) { return std::fabs(a - b) / std::fabs(b); }

bool changesPhase(const TechnSet& t) {
    return t.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Condensation) ||
           t.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Boiling);
}

PropertySet mixtureOf(const TechnSet& t, Real temperature) {
    return MixtureAt(t.Components, t.Concentration, t.ComponentCount, temperature);
}

// The driving-force limit of the pair: 5 K when the medium boils in the
// tubes against a cooled one, 1 K otherwise.
Real drivingForceLimit(const TechnSet& tube) {
    return tube.ProcessCode == static_cast<std::uint8_t>(ProcessCode::Boiling) ? 5 : 1;
}

// Answers every question by its documented default, as the command line
// does without an answers file, except the initial approximation: Yes, and
// the outlet at `share` of the way from the inlet to the saturation-side
// bound of the interval. Records every question asked and every message.
class DefaultAnswers : public Dialogs {
public:
    DefaultAnswers(Session& session, Real share) : m_session(session), m_share(share) {}

    std::vector<std::string> asked;
    std::vector<MessageRequest> messages;
    std::vector<ProfileGraphRequest> graphs;

    bool wasAsked(const std::string& id) const {
        return std::find(asked.begin(), asked.end(), id) != asked.end();
    }
    std::size_t messageCount(const std::string& id) const {
        return static_cast<std::size_t>(std::count_if(
            messages.begin(), messages.end(), [&](const MessageRequest& m) { return m.id == id; }));
    }
    Real start = 0;  // the start typed

    void message(const MessageRequest& request) override { messages.push_back(request); }
    bool confirm(const ConfirmRequest& request) override {
        asked.push_back(request.id);
        return request.id == kStart ? true : request.defaultAnswer;
    }
    bool abortRetry(const AbortRetryRequest& request) override {
        asked.push_back(request.id);
        return request.defaultRetry;
    }
    std::optional<std::filesystem::path> openFile(const FileRequest& request) override {
        asked.push_back(request.id);
        return std::nullopt;
    }
    std::optional<std::filesystem::path> saveFile(const FileRequest& request) override {
        asked.push_back(request.id);
        return std::nullopt;
    }
    InputAnswer ask(const InputRequest& request) override {
        asked.push_back(request.id);
        InputAnswer answer;
        if (request.id == kStart) {
            const TechnSet& tube = m_session.Problem.TubeStream;
            const TechnSet& shell = m_session.Problem.ShellStream;
            const bool inTubes = changesPhase(tube);
            const Real Ts = (inTubes ? tube : shell).Temperature;
            const Real Tin = (inTubes ? shell : tube).Temperature;
            const Real sign = Ts > Tin ? 1 : -1;
            start = Tin + m_share * (Ts - sign * drivingForceLimit(tube) - Tin);
            answer.real = start;
            answer.text = std::to_string(static_cast<double>(start));
            return answer;
        }
        if (!request.defaultAnswer) {
            answer.cancelled = true;
            return answer;
        }
        const DialogCheck check = checkInput(request, *request.defaultAnswer, answer);
        EXPECT_TRUE(check.accepted) << request.id;
        return answer;
    }
    GridAnswer ask(const GridRequest& request) override {
        asked.push_back(request.id);
        GridAnswer answer;
        std::vector<std::vector<std::string>> cells = request.cells;
        cells.resize(static_cast<std::size_t>(request.columns));
        for (auto& column : cells) column.resize(static_cast<std::size_t>(request.rows));
        if (request.defaultAnswer) {
            std::size_t k = 0;
            for (int c = request.fixedColumns; c < request.columns; ++c)
                for (int r = request.fixedRows; r < request.rows; ++r)
                    if (k < request.defaultAnswer->size())
                        cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)] =
                            (*request.defaultAnswer)[k++];
        }
        const DialogCheck check = readGrid(request, cells, m_session.LanguageFlag, answer);
        EXPECT_TRUE(check.accepted) << request.id;
        return answer;
    }
    AlternAnswer ask(const AlternRequest& request) override {
        asked.push_back(request.id);
        return {request.defaultIndex, request.defaultCheckBox1 ? 'y' : 'x'};
    }
    MethodAnswer ask(const MethodRequest& request) override {
        asked.push_back(request.id);
        return {false, request.defaultIndex};
    }
    CheckListAnswer ask(const CheckListRequest& request) override {
        asked.push_back(request.id);
        return {request.defaultChecked};
    }
    GapCalcAnswer ask(const GapCalcRequest& request) override {
        asked.push_back(request.id);
        return {};
    }
    bool showTechnological(TechnologicalDialogModel& model) override {
        model.FormActivate(m_session.LanguageFlag);
        return model.bitbtOkClick(m_session.LanguageFlag).accepted;
    }
    bool showDesign(DesignDialogModel& model) override {
        model.FormActivate(m_session.LanguageFlag);
        return model.bitbtOkClick(m_session.LanguageFlag, *this, m_session.Problem.Design).accepted;
    }
    void showProfileGraph(const ProfileGraphRequest& request) override {
        graphs.push_back(request);
    }
    void setWaitLabel(const std::string&) override {}

private:
    static constexpr const char* kStart = "iteration.initial_approximation";
    Session& m_session;
    Real m_share;
};

// One Run of an example with its given flow scaled.
struct ScaledRun {
    Session session;
    DefaultAnswers dialogs;
    RunOutcome outcome = RunOutcome::NoResults;

    ScaledRun(const std::string& name, double flowFactor, Real share) : dialogs(session, share) {
        std::ifstream in(std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name + ".json");
        std::ostringstream text;
        text << in.rdbuf();
        nlohmann::json problem = nlohmann::json::parse(text.str());
        for (const char* side : {"tube_space", "shell_space"})
            if (problem[side].contains("flow_rate_kg_h"))
                problem[side]["flow_rate_kg_h"] =
                    problem[side]["flow_rate_kg_h"].get<double>() * flowFactor;
        session.Problem = pjson::problemFromJson(problem.dump(), session.Data);
        session.DataLoaded = 1;
        session.TechnoPending = session.DesignPending = false;
        session.TechnoEntered = session.DesignEntered = false;
        outcome = runCalculation(session, dialogs);
    }
};

// The examples whose pair iterates the outlet of a single-phase medium, and
// whether each scaled duty can be met. Impossible: the ethanol-water
// condenser with a tenth of its vapour (the cooling water would have to leave
// within 1 K of the dew point) and with ten times its vapour (even an
// unbounded water flow leaves more vapour than 32.5 m2 condense), and the
// hot-water reboiler with a tenth of its water (cooled to within 5 K of the
// boiling methanol).
struct Duty {
    const char* example;
    double flowFactor;
    bool possible;
};
void PrintTo(const Duty& d, std::ostream* os) { *os << d.example << " x" << d.flowFactor; }
const Duty kDuties[] = {
    {"ethanol-water-condenser", 0.1, false},  // TConHeatObj
    {"ethanol-water-condenser", 1, true},    {"ethanol-water-condenser", 10, false},
    {"steam-water-heater", 0.1, true},  // THeatConObj
    {"steam-water-heater", 1, true},         {"steam-water-heater", 10, true},
    {"hot-water-kettle", 0.1, true},  // TCoolBoilObj
    {"hot-water-kettle", 1, true},           {"hot-water-kettle", 10, true},
    {"hot-water-reboiler", 0.1, false},  // TBoilCoolObj
    {"hot-water-reboiler", 1, true},         {"hot-water-reboiler", 10, true},
};

class OutletIterationOfExample : public ::testing::TestWithParam<Duty> {};

TEST_P(OutletIterationOfExample, ConvergesFromEveryStartOrEndsAsImpossible) {
    const Duty duty = GetParam();
    std::vector<Real> outlets;
    for (Real share : {0.1L, 0.5L, 0.9L}) {
        SCOPED_TRACE(std::string(duty.example) + " x" + std::to_string(duty.flowFactor) +
                     " start at " + std::to_string(static_cast<double>(share)));
        ScaledRun run(duty.example, duty.flowFactor, share);
        const DefaultAnswers& d = run.dialogs;
        EXPECT_TRUE(d.wasAsked("iteration.initial_approximation"));
        EXPECT_FALSE(d.wasAsked("iteration.out_of_interval"));
        EXPECT_FALSE(d.wasAsked("iteration.slow_convergence"));
        EXPECT_EQ(d.messageCount("iteration.outside_interval"), 0u);
        const RunResults& r = run.session.Results;
        if (!duty.possible) {
            EXPECT_EQ(run.outcome, RunOutcome::NoResults);
            EXPECT_FALSE(r.produced);
            ASSERT_EQ(d.messageCount("iteration.impossible_duty"), 1u);
            EXPECT_EQ(d.messages.back().kind, MessageKind::Error);
            EXPECT_NE(d.messages.back().text.find("The duty cannot be met"), std::string::npos);
            EXPECT_EQ(d.messages.back().text, r.reason);
            continue;
        }
        ASSERT_EQ(run.outcome, RunOutcome::Results);
        ASSERT_TRUE(r.produced);
        EXPECT_TRUE(r.converged);
        EXPECT_EQ(d.messageCount("iteration.impossible_duty"), 0u);

        const TechnSet& tube = run.session.Problem.TubeStream;
        const TechnSet& shell = run.session.Problem.ShellStream;
        const DesignRecord& design = run.session.Problem.Design;
        const bool inTubes = changesPhase(tube);
        const TechnSet& phaseChange = inTubes ? tube : shell;
        const TechnSet& singlePhase = inTubes ? shell : tube;
        const Real Ts = phaseChange.Temperature, Tin = singlePhase.Temperature;
        const Real Tout = r.OutletTemperature, limit = drivingForceLimit(tube);
        outlets.push_back(Tout);
        // The outlet between the inlet and saturation, on the side it moves to.
        if (Ts > Tin) {
            EXPECT_GT(Tout, Tin);
            EXPECT_LE(Tout, Ts - limit);
        } else {
            EXPECT_LT(Tout, Tin);
            EXPECT_GE(Tout, Ts + limit);
        }
        // Both media carry the heat flow.
        const Real Gpc = inTubes ? run.session.TubeFlow : run.session.ShellFlow;
        const Real Gsp = inTubes ? run.session.ShellFlow : run.session.TubeFlow;
        const Real cpMean =
            (mixtureOf(singlePhase, Tin).HeatCapacity + mixtureOf(singlePhase, Tout).HeatCapacity) /
            2;
        EXPECT_LT(relative(Gpc * mixtureOf(phaseChange, Ts).LatentHeat * 1000, r.HeatFlow), 1e-9L);
        EXPECT_LT(relative(Gsp * cpMean * std::fabs(Tout - Tin), r.HeatFlow), 1e-9L);
        // The surface the heat needs is the one installed, within the
        // balance tolerance 1e-4, and the log-mean law holds over it.
        const Real installed = design.ParallelFlows * design.TubeCount * kPi *
                               (design.OuterDiameter + design.InnerDiameter) / 2 *
                               design.TubeLength;
        EXPECT_LT(relative(r.InstalledSurface, installed), 1e-15L);
        EXPECT_LT(relative(r.Surface, installed), 1.0001e-4L)
            << "required " << static_cast<double>(r.Surface) << " m2";
        const Real dIn = std::fabs(Ts - Tin), dOut = std::fabs(Ts - Tout);
        EXPECT_LT(relative(r.HeatFlow / 3600,
                           r.OverallCoefficient * installed * (dIn - dOut) / std::log(dIn / dOut)),
                  1.0001e-4L);
        // The profile shown ends at the reported outlet.
        ASSERT_FALSE(d.graphs.empty());
        const ProfileGraphRequest& g = d.graphs.back();
        EXPECT_LT(std::fabs(g.curves.at(inTubes ? 0 : 1).back() - Tout), 1e-12L);
        EXPECT_LE(r.Iterations, 40);
    }
    // Every start reaches the same outlet (|BalanceRatio - 1| < 1e-4 leaves
    // it a few hundredths of a kelvin of play at most).
    for (Real t : outlets)
        EXPECT_NEAR(static_cast<double>(t), static_cast<double>(outlets[0]), 0.03);
}

INSTANTIATE_TEST_SUITE_P(Examples, OutletIterationOfExample, ::testing::ValuesIn(kDuties),
                         [](const ::testing::TestParamInfo<Duty>& info) {
                             std::string name = info.param.example;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name + (info.param.flowFactor < 1   ? "_tenth"
                                            : info.param.flowFactor > 1 ? "_tenfold"
                                                                        : "_given");
                         });

}  // namespace
}  // namespace vexamo
