// The equilibrium set-up of one pair with measured data by each method (the
// fit dominates), and the bubble and dew points of a four-component mixture.
#include <benchmark/benchmark.h>

#include "SilentDialogs.h"
#include "control/RunContexts.h"
#include "control/Session.h"
#include "equilibrium/EquilibriumCalculations.h"
#include "equilibrium/EquilibriumSetup.h"

namespace {

using namespace vexamo;

// Answers the set-up's questions: the method, the UNIFAC variant (1: main
// groups, 2: subgroups), variant 1 fitted to the data (or the reference
// values), and Retry at the slow-convergence question.
class ScriptedDialogs : public bench::SilentDialogs {
public:
    explicit ScriptedDialogs(int method, bool referenceValues = false, int unifacVariant = 1)
        : m_method(method), m_reference(referenceValues), m_variant(unifacVariant) {}
    using bench::SilentDialogs::ask;
    bool abortRetry(const AbortRetryRequest&) override { return true; }
    AlternAnswer ask(const AlternRequest& request) override {
        AlternAnswer a;
        a.index = request.defaultIndex;
        if (request.id == "equilibrium.unifac_source" && m_reference) a.index = 1;
        if (request.id == "equilibrium.unifac_variant") a.index = m_variant - 1;
        return a;
    }
    MethodAnswer ask(const MethodRequest&) override { return {false, m_method}; }

private:
    int m_method;
    bool m_reference;
    int m_variant;
};

// state.range(0): first substance, range(1): second, range(2): method 0..3
void BM_PairSetUp(benchmark::State& state) {
    Session session;
    const std::array<std::uint16_t, 2> pair{static_cast<std::uint16_t>(state.range(0)),
                                            static_cast<std::uint16_t>(state.range(1))};
    std::uint32_t evaluations = 0;
    for (auto _ : state) {
        session.Report.clear();
        ScriptedDialogs dialogs(static_cast<int>(state.range(2)));
        char method = 0;
        RunEquilibriumSetup(equilibriumContext(session, dialogs), 2, pair, session.Equilibrium,
                            method);
        evaluations = session.EquilibriumPairs.at(0).Evaluations;
    }
    state.counters["evaluations"] = evaluations;
    static const char* names[] = {"ethanol", "water", "methanol", "ethyl acetate"};
    static const char* methods[] = {"Wilson", "NRTL", "UNIQUAC", "UNIFAC"};
    state.SetLabel(std::string(names[state.range(0)]) + "-" + names[state.range(1)] + " " +
                   methods[state.range(2)]);
}
// The orientations of the data set's measured pairs and their mirrors (the
// ones a mixture listed in the table's order uses: 0-1, 1-2, 0-3).
BENCHMARK(BM_PairSetUp)
    ->ArgsProduct({{0}, {1}, {0, 1, 2, 3}})
    ->ArgsProduct({{2}, {1}, {0, 1, 2, 3}})
    ->ArgsProduct({{1}, {2}, {0, 1, 2, 3}})
    ->ArgsProduct({{3}, {0}, {0, 1, 2, 3}})
    ->ArgsProduct({{0}, {3}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond);

// The whole UNIFAC set-up of the four substances, fitted to the measured
// pairs (three fits; the other pairs take the references); state.range(0)
// is the variant.
void BM_FourComponentUnifacSetUp(benchmark::State& state) {
    Session session;
    const std::array<std::uint16_t, 4> all{0, 1, 2, 3};
    std::uint32_t evaluations = 0;
    for (auto _ : state) {
        session.Report.clear();
        ScriptedDialogs dialogs(3, false, static_cast<int>(state.range(0)));
        char method = 0;
        RunEquilibriumSetup(equilibriumContext(session, dialogs), 4, all, session.Equilibrium,
                            method);
        evaluations = 0;
        for (const PairSetup& pair : session.EquilibriumPairs) evaluations += pair.Evaluations;
    }
    state.counters["evaluations"] = evaluations;
    state.SetLabel("UNIFAC variant " + std::to_string(state.range(0)));
}
BENCHMARK(BM_FourComponentUnifacSetUp)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// Equal masses of the four substances by UNIFAC with the reference table.
struct FourComponents {
    Session session;
    std::array<Real, 7> x{};
    Real pressure = 760 * 133.3L;

    FourComponents() {
        ScriptedDialogs dialogs(3, true);
        char method = 0;
        const std::array<std::uint16_t, 4> all{0, 1, 2, 3};
        RunEquilibriumSetup(equilibriumContext(session, dialogs), 4, all, session.Equilibrium,
                            method);
        Real S = 0;
        for (std::size_t i = 0; i < 4; ++i) S += 0.25L / session.Data.SubstanceTable[i].MolarMass;
        for (std::size_t i = 0; i < 4; ++i)
            x[i] = 0.25L / session.Data.SubstanceTable[i].MolarMass / S;
    }
};

void BM_BubblePointOfFour(benchmark::State& state) {
    FourComponents f;
    for (auto _ : state) {
        std::array<Real, 7> liquid = f.x, vapour{}, work{};
        Real tau = 0, pressure = f.pressure;
        EquilibriumPoint(f.session.Data, 't', 'y', tau, vapour, work, liquid, f.session.Equilibrium,
                         pressure, 1.2L, 1.01L);
        benchmark::DoNotOptimize(tau);
    }
}
BENCHMARK(BM_BubblePointOfFour)->Unit(benchmark::kMicrosecond);

void BM_DewPointOfFour(benchmark::State& state) {
    FourComponents f;
    std::array<Real, 7> vapour{}, work{}, liquid = f.x;
    Real tau = 0, pressure = f.pressure;
    EquilibriumPoint(f.session.Data, 't', 'y', tau, vapour, work, liquid, f.session.Equilibrium,
                     pressure, 1.2L, 1.01L);
    for (auto _ : state) {
        std::array<Real, 7> unknown{};
        Real dew = 0;
        EquilibriumPoint(f.session.Data, 't', 'x', dew, vapour, work, unknown,
                         f.session.Equilibrium, pressure, 1.2L, 1.01L);
        benchmark::DoNotOptimize(dew);
    }
}
BENCHMARK(BM_DewPointOfFour)->Unit(benchmark::kMicrosecond);

}  // namespace
