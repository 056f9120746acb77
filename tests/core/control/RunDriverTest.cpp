#include <gtest/gtest.h>

#include "common/Errors.h"
#include "control/ProblemFile.h"
#include "control/RunDriver.h"
#include "problem/RecordCodec.h"
#include "support/FakeDialogs.h"
#include "support/SampleProblem.h"
#include "support/TempDir.h"

namespace vexamo {
namespace {

using test::FakeDialogs;

// The data dialogs confirmed as they were pre-filled.
void confirmBothDialogs(FakeDialogs& dialogs, Session& session) {
    dialogs.onTechnological = [&session](TechnologicalDialogModel& m) {
        m.FormActivate(session.LanguageFlag);
        return m.bitbtOkClick(session.LanguageFlag).accepted;
    };
    dialogs.onDesign = [&session, &dialogs](DesignDialogModel& m) {
        m.FormActivate(session.LanguageFlag);
        return m.bitbtOkClick(session.LanguageFlag, dialogs, session.Problem.Design).accepted;
    };
}

// A loaded heating-cooling problem (pair 6).
ProblemData heatingCooling(const SubstanceData& data) {
    ProblemData p = test::sampleProblem(data);
    TechnSet& t = p.TubeStream;
    t.ProcessCode = 2;
    t.ProcessName = "heating";
    t.GivenState = 't';
    t.PhaseChange = 0;
    t.SinglePhase = 1;
    t.Temperature = 20;
    t.Pressure = 0;
    t.FlowRate = 5000;
    p.ShellStream.ProcessCode = 3;
    p.ShellStream.ProcessName = "cooling";
    p.ShellStream.Temperature = 90;
    p.ShellStream.FlowRate = 0;
    p.Design.FlowSide = 0;
    p.Design.TubePasses = 2;
    return p;
}

// Stream preparation is tested on its own; here the loaded records stand.
void keepRecords(std::uint8_t, char, std::uint8_t, TechnSet&, Real&, Real&, Real) {}

struct Probe {
    int created = 0, destroyed = 0, reported = 0;
    ExchangerClass cls = ExchangerClass::None;
    bool throwInside = false;
};

class ProbeExchanger : public ExchangerObject {
public:
    explicit ProbeExchanger(Probe& probe) : m_probe(probe) { ++probe.created; }
    ~ProbeExchanger() override { ++m_probe.destroyed; }
    bool ReportResults(Real, Real) override {
        ++m_probe.reported;
        if (m_probe.throwInside) throw CalculationAborted("матрица вырождена");
        return true;
    }

private:
    Probe& m_probe;
};

ExchangerRegistry probeRegistry(Probe& probe) {
    ExchangerRegistry r;
    for (int code = 1; code <= 7; ++code) {
        const auto cls = static_cast<ExchangerClass>(code);
        r.add(cls, [&probe, cls](const ExchangerArguments&) {
            probe.cls = cls;
            return std::make_unique<ProbeExchanger>(probe);
        });
    }
    return r;
}

TEST(RunDriver, DispatchTable) {
    EXPECT_EQ(exchangerClassFor(1), ExchangerClass::TConBoilObj);
    EXPECT_EQ(exchangerClassFor(5), ExchangerClass::THeatConObj);
    EXPECT_EQ(exchangerClassFor(6), ExchangerClass::THeatCoolObj);
    EXPECT_EQ(exchangerClassFor(8),
              ExchangerClass::THeatCoolObj);  // cooling in the tubes: the same class
    EXPECT_EQ(exchangerClassFor(0), ExchangerClass::None);
    EXPECT_EQ(exchangerClassFor(9), ExchangerClass::None);
}

TEST(RunDriver, InitialDataBlockTextsAndLengths) {
    DesignRecord d;
    d.TubeCount = 120;
    d.TubePasses = 2;
    d.ShellPasses = 1;
    d.RowsOnVertical = 12;
    d.OuterDiameter = 0.025L;
    d.InnerDiameter = 0.021L;
    d.ParallelFlows = 1;
    d.TubeLength = 123456789;  // nine integer digits: scientific with two exponent digits
    d.MaterialName = "Copper";
    const std::string en = initialDataBlock(d, kEnglish);
    EXPECT_EQ(
        en.rfind("\r\n                  THE INITIAL DATA\r\n                   Design factor\r\n"
                 "   Number of pipes:                               120\r\n",
                 0),
        0u);
    EXPECT_NE(en.find("   external diameter of pipes:                 0.025 m;\r\n"),
              std::string::npos);
    EXPECT_NE(en.find("   length of pipes:                            1.2345679E08 m;\r\n"),
              std::string::npos);
    EXPECT_TRUE(en.ends_with("   pipes material - Copper\r\n"));
    const std::string ru = initialDataBlock(d, kRussian);
    EXPECT_NE(ru.find("   диаметp тpуб (внутpенний):                0.021 м;\r\n"),
              std::string::npos);
    ReportMemo memo;
    memo.add(en);
    EXPECT_EQ(memo.lineCount(), 13u);  // leading blank line, two heads, nine values, trailing empty
}

TEST(RunDriver, FirstRunOffersTheFileAndRunsThePairsClass) {
    test::TempDir dir;
    Session session;
    writeProblemFile(dir / "case.dat", heatingCooling(session.Data));
    session.Report.add("earlier Run");
    Probe probe;
    const ExchangerRegistry registry = probeRegistry(probe);
    FakeDialogs dialogs;
    confirmBothDialogs(dialogs, session);
    dialogs.expect("run.load_problem", true)
        .expect("file.open_problem", std::optional(dir / "case.dat"))
        .expect("run.save_problem", false);
    EXPECT_EQ(runCalculation(session, dialogs, {keepRecords, &registry}), RunOutcome::Results);
    EXPECT_EQ(dialogs.asked,
              (std::vector<std::string>{"run.load_problem", "file.open_problem", "technological",
                                        "design", "run.save_problem"}));
    EXPECT_EQ(session.PairCode, 6);
    EXPECT_EQ(probe.cls, ExchangerClass::THeatCoolObj);
    EXPECT_EQ(probe.created, 1);
    EXPECT_EQ(probe.destroyed, 1);
    // the progress line comes right after the initial-data block, earlier lines counted
    EXPECT_EQ(session.ProgressLineIndex, 1 + 13);
    EXPECT_EQ(session.Report.line(1 + 1), "                  THE INITIAL DATA");
}

TEST(RunDriver, CoolingInTheTubesUsesTheHeatingCoolingClass) {
    Session session;
    ProblemData p = heatingCooling(session.Data);
    std::swap(p.TubeStream.ProcessCode, p.ShellStream.ProcessCode);
    std::swap(p.TubeStream.Temperature,
              p.ShellStream.Temperature);  // the cooled medium is the hot one
    p.TubeStream.ProcessName = "cooling";
    p.ShellStream.ProcessName = "heating";
    session.Problem = p;
    session.DataLoaded = 1;
    session.TechnoPending = session.DesignPending = false;
    Probe probe;
    const ExchangerRegistry registry = probeRegistry(probe);
    FakeDialogs dialogs;
    confirmBothDialogs(dialogs, session);
    dialogs.expect("run.save_problem", false);
    EXPECT_EQ(runCalculation(session, dialogs, {keepRecords, &registry}), RunOutcome::Results);
    EXPECT_EQ(session.PairCode, 8);
    EXPECT_EQ(probe.cls, ExchangerClass::THeatCoolObj);
}

TEST(RunDriver, UnknownPairWritesTheBlockThenTheMessage) {
    Session session;
    session.Report.add("a");
    session.Report.add("b");
    FakeDialogs dialogs;
    // both forms confirmed, the technological one without a pair of processes
    dialogs.onTechnological = [](TechnologicalDialogModel& m) {
        m.accepted = true;
        m.PairCode = 0;
        return true;
    };
    dialogs.onDesign = [](DesignDialogModel& m) {
        m.accepted = true;
        return true;
    };
    dialogs.expect("run.load_problem", false).expect("run.save_problem", false);
    EXPECT_EQ(runCalculation(session, dialogs, {keepRecords, nullptr}), RunOutcome::NoResults);
    EXPECT_EQ(session.DataLoaded, 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "процесс не оформлен");
    // the initial data, then why there are no results
    EXPECT_EQ(session.ProgressLineIndex, 2 + 13);
    EXPECT_EQ(session.Report.line(2 + 13),
              "  The calculation ended without results (the initial data are to be checked).");
    EXPECT_EQ(session.Report.line(2 + 14), "  Reason: no exchanger for this pair of processes");
}

// Cancel in a data form ends the Run: the problem, the report and the forms'
// state are as they were before it, nothing is saved or calculated.
TEST(RunDriver, CancelInADataFormLeavesEverythingAsBeforeTheRun) {
    for (const bool inDesign : {false, true}) {
        Session session;
        session.Problem = heatingCooling(session.Data);
        session.DataLoaded = 1;
        session.TechnoPending = session.DesignPending = false;
        session.Report.add("results of an earlier Run");
        const std::vector<std::uint8_t> problemBefore = encodeProblem(session.Problem);
        FakeDialogs dialogs;
        confirmBothDialogs(dialogs, session);
        int designShown = 0;
        if (inDesign) {
            dialogs.onDesign = [&](DesignDialogModel&) {
                ++designShown;
                return false;
            };
        } else {
            dialogs.onTechnological = [](TechnologicalDialogModel&) { return false; };
        }
        EXPECT_EQ(runCalculation(session, dialogs, {keepRecords, nullptr}), RunOutcome::Cancelled)
            << inDesign;
        EXPECT_EQ(designShown, inDesign ? 1 : 0);
        ASSERT_EQ(dialogs.messages.size(), 1u) << inDesign;
        EXPECT_EQ(dialogs.messages[0].text, "Run cancelled");
        EXPECT_EQ(encodeProblem(session.Problem), problemBefore) << inDesign;
        EXPECT_EQ(session.Report.text(), "results of an earlier Run") << inDesign;
        EXPECT_EQ(session.DataLoaded, 1);
        EXPECT_FALSE(
            session.TechnoEntered);  // as before the Run: the forms are shown again next time
        EXPECT_FALSE(session.DesignEntered);
    }
}

TEST(RunDriver, AClassNotBuiltSaysSoAndAFailureDestroysTheObject) {
    Session session;
    session.Problem = heatingCooling(session.Data);
    session.DataLoaded = 1;
    session.TechnoPending = session.DesignPending = false;
    {
        FakeDialogs dialogs;
        confirmBothDialogs(dialogs, session);
        dialogs.expect("run.save_problem", false);
        ExchangerRegistry empty;
        EXPECT_EQ(runCalculation(session, dialogs, {keepRecords, &empty}), RunOutcome::NoResults);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].id, "run.not_built");
        EXPECT_NE(dialogs.messages[0].text.find("not built yet"), std::string::npos);
    }
    Probe probe;
    probe.throwInside = true;
    const ExchangerRegistry registry = probeRegistry(probe);
    FakeDialogs dialogs;
    confirmBothDialogs(dialogs, session);
    dialogs.expect("run.save_problem", false);
    EXPECT_EQ(runCalculation(session, dialogs, {keepRecords, &registry}), RunOutcome::Aborted);
    EXPECT_EQ(probe.destroyed, 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "матрица вырождена");
}

}  // namespace
}  // namespace vexamo
