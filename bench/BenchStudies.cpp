// What a batch costs: one headless Run of each example as the batch engine
// runs it (problem read, answers read, the Run, the row), and the examples
// as one batch on one thread and on every core (items per second = Runs
// per second).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/Study.h"

namespace {

using namespace vexamo;
using namespace vexamo::cli;

const std::vector<std::string> kExamples = {
    "ethanol-water-condenser",     "ethanol-water-cooler",  "hot-water-kettle",
    "hot-water-reboiler",          "methanol-water-cooler", "steam-kettle-reboiler",
    "steam-thermosiphon-reboiler", "steam-water-heater",    "water-water-2pass"};

StudyCase exampleCase(const std::string& name) {
    const std::string examples = std::string(VEXAMO_SOURCE_DIR) + "/examples/";
    StudyCase c;
    c.name = name;
    c.problemFile = examples + name + ".json";
    c.answersFile = examples + "answers/" + name + ".json";
    return c;
}

void BM_SingleRun(benchmark::State& state) {
    const StudyCase c = exampleCase(kExamples[static_cast<std::size_t>(state.range(0))]);
    state.SetLabel(c.name);
    for (auto _ : state) {
        const StudyRow row = runStudyCase(c, kEnglish);
        if (!row.produced) state.SkipWithError(row.reason.c_str());
        benchmark::DoNotOptimize(row.duty_kW);
    }
}
BENCHMARK(BM_SingleRun)
    ->DenseRange(0, static_cast<int>(kExamples.size()) - 1)
    ->Unit(benchmark::kMillisecond);

// The heaviest Run of all: the condenser example with a four-component
// mixture of every built-in substance, equal masses, by UNIFAC variant 2
// (three fits of the interaction parameters to measured data, then the
// exchanger).
void BM_FourComponentUnifacRun(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::filesystem::path problem = dir / "vexamo-bench-four.json";
    const std::filesystem::path answers = dir / "vexamo-bench-four-answers.json";
    std::ifstream in(std::string(VEXAMO_SOURCE_DIR) + "/examples/ethanol-water-condenser.json");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string from =
        "\"comp.2\"\n    ],\n    \"concentrations_mass_pct\": [\n      60,\n      40\n    ]";
    const std::size_t at = text.find(from);
    if (at == std::string::npos) {
        state.SkipWithError("the condenser example has changed");
        return;
    }
    text.replace(
        at, from.size(),
        "\"comp.2\", \"comp.3\", \"comp.4\"], \"concentrations_mass_pct\": [25, 25, 25, 25]");
    std::ofstream(problem) << text;
    std::ofstream(answers) << R"({"equilibrium.method": "UNIFAC", "equilibrium.unifac_variant": 2,
        "run.save_problem": false, "iteration.initial_approximation": "no",
        "shell_loss.head_type": 2, "shell_loss.holes": "stamped", "shell_loss.sealing_strips": 2})";
    StudyCase c;
    c.name = "four components, UNIFAC 2";
    c.problemFile = problem.string();
    c.answersFile = answers.string();
    for (auto _ : state) {
        const StudyRow row = runStudyCase(c, kEnglish);
        if (!row.produced) {
            state.SkipWithError(row.reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(row.duty_kW);
    }
    std::filesystem::remove(problem);
    std::filesystem::remove(answers);
}
BENCHMARK(BM_FourComponentUnifacRun)->Unit(benchmark::kMillisecond);

// The examples ten times over, as one batch on state.range(0) threads.
void BM_BatchOfExamples(benchmark::State& state) {
    std::vector<StudyCase> cases;
    for (int round = 0; round < 10; ++round)
        for (const std::string& name : kExamples) cases.push_back(exampleCase(name));
    StudyOptions options;
    options.jobs = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const std::vector<StudyRow> rows = runStudy(cases, options);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(cases.size()));
}
BENCHMARK(BM_BatchOfExamples)->Arg(1)->Arg(2)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
