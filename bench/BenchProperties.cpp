// The inner loop of every exchanger iteration: the properties of each
// component at a temperature, then those of the mixture.
#include <benchmark/benchmark.h>

#include "properties/MixtureProperties.h"

namespace {

using namespace vexamo;

void BM_PureAndMixtureOfThree(benchmark::State& state) {
    const SubstanceData data = SubstanceData::builtIn();
    const Real composition[] = {30, 50, 20};
    PropertySet parts[3];
    PropertySet mix;
    Real t = 20;
    for (auto _ : state) {
        for (std::size_t i = 0; i < 3; ++i) PureProperties(data.SubstanceTable[i], t, parts[i]);
        MixtureProperties(mix, parts, composition, 3);
        benchmark::DoNotOptimize(mix);
        t = t < 90 ? t + 0.37L : 20;
    }
}
BENCHMARK(BM_PureAndMixtureOfThree);

void BM_InvertMatrix7(benchmark::State& state) {
    Matrix_ a(7, std::vector<Real>(7));
    for (std::size_t i = 0; i < 7; ++i)
        for (std::size_t j = 0; j < 7; ++j)
            a[i][j] = (i == j ? 10 : 0) + static_cast<Real>((i * 7 + j) % 5);
    for (auto _ : state) {
        Matrix_ b = a;
        InvertMatrix(6, b, 1e-8L);
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_InvertMatrix7);

}  // namespace
