// The film coefficients evaluated in every exchanger iteration, for a
// two-component mixture (each call evaluates the component and mixture
// properties at two or three temperatures).
#include <benchmark/benchmark.h>

#include <array>

#include "exchanger/Correlations.h"

namespace {

using namespace vexamo;

struct Mixture {
    std::array<Pro, 2> components;
    std::array<Real, 7> composition = {30, 70};
    Mixture() {
        const SubstanceData data = SubstanceData::builtIn();
        components = {data.SubstanceTable[0], data.SubstanceTable[1]};
    }
};

// state.range(0): bulk Reynolds number of the water-rich mixture at 40 degC.
void BM_TubeSideCoefficient(benchmark::State& state) {
    const Mixture m;
    const Real d = 0.021L;
    const PropertySet bulk = MixtureAt(m.components, m.composition, 2, 40);
    const Real G = static_cast<Real>(state.range(0)) * d * 3.1416L * 3600 * bulk.Viscosity / 4;
    Real t = 40;
    for (auto _ : state) {
        const TubeSideResult r =
            TubeSideCoefficient(m.components, m.composition, 2, 1, true, t + 10, t, G, d, 6);
        benchmark::DoNotOptimize(r);
        t = t < 41 ? t + 0.001L : 40;
    }
}
BENCHMARK(BM_TubeSideCoefficient)->Arg(2000)->Arg(10000)->Arg(30000);

// state.range(0): mass velocity G/S, kg/(h*m2); 2e3 is free convection.
void BM_ShellSideCoefficient(benchmark::State& state) {
    const Mixture m;
    const Real massVelocity = static_cast<Real>(state.range(0));
    Real t = 40;
    for (auto _ : state) {
        const ShellSideResult r = ShellSideCoefficient(true, m.composition, m.components, 2, true,
                                                       t + 10, t, massVelocity, 0.025L, 6);
        benchmark::DoNotOptimize(r);
        t = t < 41 ? t + 0.001L : 40;
    }
}
BENCHMARK(BM_ShellSideCoefficient)->Arg(2000)->Arg(200000);

}  // namespace
