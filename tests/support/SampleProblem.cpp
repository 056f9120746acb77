#include "support/SampleProblem.h"

#include "common/Constants.h"
#include "problem/RecordCodec.h"

namespace vexamo::test {

ProblemData sampleProblem(const SubstanceData& data) {
    ProblemData p;
    TechnSet& t = p.TubeStream;
    t.ComponentCount = 2;
    t.ProcessCode = 0;
    t.GivenState = 'p';
    t.PhaseChange = 'x';
    t.Temperature = 84.123456789L;
    t.Pressure = mmHgToPa(kgfcm2ToMmHg(1.5L));
    t.FlowRate = 0;
    t.AirFactor = 1;
    t.ProcessName = "конденсация";
    t.ComponentIndex = {0, 1, 0, 0, 0, 0};
    t.Concentration[0] = 35.5L;
    t.Concentration[1] = 64.5L;
    t.Components[0] = fixedPart(data.SubstanceTable.at(0));
    t.Components[1] = fixedPart(data.SubstanceTable.at(1));
    t.SinglePhase = 0;
    t.SelectionChanged = 1;

    TechnSet& s = p.ShellStream;
    s.ComponentCount = 1;
    s.ProcessCode = 2;
    s.GivenState = 't';
    s.PhaseChange = 0;
    s.Temperature = 18.5L;
    s.FlowRate = 12345.678L;
    s.AirFactor = 1;
    s.ProcessName = "heating";
    s.ComponentIndex = {1, 0, 0, 0, 0, 0};
    s.Concentration[0] = 100;
    s.Components[0] = fixedPart(data.SubstanceTable.at(1));
    s.SinglePhase = 1;

    DesignRecord& d = p.Design;
    d.TubeCount = 240;
    d.MaterialIndex = 3;
    d.TubePasses = 1;
    d.ShellPasses = 2;
    d.RowsOnVertical = 14;
    d.ParallelFlows = 2;
    d.OuterDiameter = 0.025L;
    d.InnerDiameter = 0.021L;
    d.TubeLength = 4.5L;
    d.ShellDiameter = 0.8L;
    d.WallResistance = wallResistance(d.OuterDiameter, d.InnerDiameter, 384.0L);
    d.Surface = heatExchangeSurface(2, 240, d.OuterDiameter, d.InnerDiameter, d.TubeLength);
    d.MaterialName = "Copper";
    d.FlowSide = 1;
    d.HorizontalBundle = 0;
    d.StaggeredTubes = 1;
    return p;
}

}  // namespace vexamo::test
