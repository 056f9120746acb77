// One whole heating-cooling calculation of the water-water example: every
// question answered No (the program's own starting values), messages and
// graphs taken and dropped.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "SilentDialogs.h"
#include "control/RunContexts.h"
#include "control/Session.h"
#include "exchanger/HeatCoolExchanger.h"
#include "problemjson/ProblemJson.h"

namespace {

using namespace vexamo;

using bench::SilentDialogs;

void BM_HeatCoolCalculation(benchmark::State& state) {
    Session session;
    std::ifstream in(std::string(VEXAMO_SOURCE_DIR) + "/examples/water-water-2pass.json");
    std::stringstream text;
    text << in.rdbuf();
    session.Problem = pjson::problemFromJson(text.str(), session.Data);
    for (TechnSet* t : {&session.Problem.TubeStream, &session.Problem.ShellStream})
        t->Components[0] = session.Data.SubstanceTable[t->ComponentIndex[0]];
    SilentDialogs dialogs;
    for (auto _ : state) {
        session.Report.clear();
        THeatCoolObj hx({session.Problem.TubeStream, session.Problem.ShellStream, 0,
                         session.Problem.Design, true, exchangerContext(session), dialogs});
        benchmark::DoNotOptimize(hx.ReportResults(session.Problem.TubeStream.FlowRate, 0));
    }
    state.counters["iterations"] = session.Results.Iterations;
}
BENCHMARK(BM_HeatCoolCalculation)->Unit(benchmark::kMillisecond);

}  // namespace
