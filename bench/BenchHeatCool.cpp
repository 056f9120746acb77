// One whole heating-cooling calculation of the water-water example: every
// question answered No (the program's own starting values), messages and
// graphs taken and dropped.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "control/Session.h"
#include "exchanger/HeatCoolExchanger.h"
#include "problemjson/ProblemJson.h"

namespace {

using namespace vexamo;

class SilentDialogs : public Dialogs {
public:
    void message(const MessageRequest&) override {}
    bool confirm(const ConfirmRequest&) override { return false; }
    bool abortRetry(const AbortRetryRequest&) override { return false; }
    std::optional<std::filesystem::path> openFile(const FileRequest&) override { return std::nullopt; }
    std::optional<std::filesystem::path> saveFile(const FileRequest&) override { return std::nullopt; }
    InputAnswer ask(const InputRequest&) override { return {true, false, 0, 0, ""}; }
    GridAnswer ask(const GridRequest&) override { return {true, {}, {}}; }
    AlternAnswer ask(const AlternRequest&) override { return {}; }
    MethodAnswer ask(const MethodRequest&) override { return {}; }
    CheckListAnswer ask(const CheckListRequest&) override { return {}; }
    GapCalcAnswer ask(const GapCalcRequest&) override { return {}; }
    bool showTechnological(TechnologicalDialogModel&) override { return false; }
    bool showDesign(DesignDialogModel&) override { return false; }
    void showProfileGraph(const ProfileGraphRequest&) override {}
    void setWaitLabel(const std::string&) override {}
};

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
        THeatCoolObj hx({session.Problem.TubeStream, session.Problem.ShellStream, 0, session.Problem.Design, true,
                         session, dialogs});
        benchmark::DoNotOptimize(hx.ReportResults(session.Problem.TubeStream.FlowRate, 0));
    }
    state.counters["iterations"] = session.Results.Iterations;
}
BENCHMARK(BM_HeatCoolCalculation)->Unit(benchmark::kMillisecond);

}  // namespace
