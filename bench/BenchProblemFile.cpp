// Costs of filling the built-in tables and of the problem's two file forms.
#include <benchmark/benchmark.h>

#include "problem/RecordCodec.h"
#include "problemjson/ProblemJson.h"

namespace {

using namespace vexamo;

const char* kProblem = R"({
  "tube_space": {"process": "condensation", "components": ["comp.1", "comp.2"],
                 "concentrations_mass_pct": [40], "pressure_kgf_cm2": 1.2},
  "shell_space": {"process": "heating", "components": ["comp.2"], "flow_rate_kg_h": 20000,
                  "temperature_C": 20},
  "design": {"tube_count": 200, "tube_length_m": 3, "outer_diameter_m": 0.025,
             "inner_diameter_m": 0.021, "shell_passes": 1, "rows_on_vertical": 14,
             "parallel_flows": 1, "shell_diameter_m": 0.6, "material": "Copper",
             "tube_arrangement": "chess", "bundle": "horizontal"}
})";

void BM_BuiltInData(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(SubstanceData::builtIn());
}
BENCHMARK(BM_BuiltInData);

void BM_ProblemFileEncodeDecode(benchmark::State& state) {
    const SubstanceData data = SubstanceData::builtIn();
    const ProblemData problem = pjson::problemFromJson(kProblem, data);
    for (auto _ : state) {
        const auto bytes = encodeProblem(problem);
        benchmark::DoNotOptimize(decodeProblem(bytes));
    }
}
BENCHMARK(BM_ProblemFileEncodeDecode);

void BM_JsonRoundTrip(benchmark::State& state) {
    const SubstanceData data = SubstanceData::builtIn();
    for (auto _ : state) {
        const ProblemData problem = pjson::problemFromJson(kProblem, data);
        benchmark::DoNotOptimize(pjson::problemToJson(problem, data));
    }
}
BENCHMARK(BM_JsonRoundTrip);

}  // namespace
