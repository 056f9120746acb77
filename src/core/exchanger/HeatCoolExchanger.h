#pragma once
// The exchanger in which one medium is heated and the other cooled, neither
// changing phase: one shell pass against 2n tube passes, film coefficients at
// both ends, the closed-form temperature field, and the iteration of the
// tube-side outlet temperature on the heat balance of the films.
#include <vector>

#include "exchanger/HexObj.h"

namespace vexamo {

Real Sinh(Real x);
Real Cosh(Real x);
Real Coth(Real x);  // exactly 1 above 20

// The closed-form solution for one shell pass (shell medium mixed across its
// section, entering at x = 0) against 2n tube passes in series (tube inlet
// at x = 0). V: tube transfer units per pass; X: shell transfer units per
// tube pass.
struct MultipassSolution {
    Real s = 0, E = 0, D = 0, Y = 0;
};
MultipassSolution multipassConstants(Real V, Real X, int n);

struct MeanTemperatures {
    std::vector<Real> passes;  // P[0..2n-1], mean temperature of each tube pass
    Real tube = 0;             // Tt, mean of the passes
    Real shell = 0;            // Ts, mean shell temperature
};
MeanTemperatures MultipassMeanTemperatures(Real V, Real X, int passes, Real T2in, Real T1in);

struct ProfilePointTemperatures {
    std::vector<Real> passes;  // P[0..2n-1] at x
    Real shell = 0;
};
ProfilePointTemperatures MultipassProfile(Real V, Real X, int passes, Real T2in, Real T1in, Real x);

// Temperature differences at the two ends of the surface.
struct EndDifferencePair {
    Real in = 0, out = 0;
};
EndDifferencePair EndDifferences(int passes, Real T1in, Real T2in, Real T1out, Real T2out);

// The film drops: DeltaA the tube film, DeltaB the shell film.
struct FilmDrops {
    Real DeltaA = 0, DeltaB = 0;
};
FilmDrops WallDifferences(int passes, Real A1, Real R1, Real R2, Real A2, Real T2out, Real T2in);

class THeatCoolObj : public THexObj {
public:
    explicit THeatCoolObj(const ExchangerArguments& args);

    Real TubeInlet = 0, ShellInlet = 0, TubeOutlet = 0, ShellOutlet = 0;
    std::uint8_t FlowSideCopy = 0;
    bool NotchWanted = false;
    int ShellProcess = 0;  // heating 2 or cooling 3

    // Upper bound of iterations over all restarts of one calculation.
    static constexpr int kIterationLimit = 20000;
    // The tube outlet must differ from the tube inlet by at least this share
    // of the inlet difference: closer to it the flow that is found grows
    // without bound (shell flow given) or vanishes (tube flow given).
    static constexpr Real kLeastChange = 0.001L;

    struct Film {
        Real alpha1 = 0, alpha2 = 0, K = 0;
        Real velocity1 = 0, reynolds1 = 0, velocity2 = 0, reynolds2 = 0;
    };
    // The exchanger at one tube outlet temperature: the flow that was not
    // given from the heat balance, the temperature field of the overall
    // coefficient that the films give at the field's own mean temperatures.
    struct State {
        Real T1out = 0;
        Real G1 = 0, G2 = 0;  // kg/hour, all parallel flows
        Real HeatFlow = 0;    // J/hour, signed: positive when the tube medium is heated
        Real V = 0, X = 0;    // tube transfer units per pass, shell transfer units per tube pass
        MeanTemperatures mean;
        Film film;            // at the mean state
        Real q = 0;           // K (Ts - Tt), W/m2, signed like HeatFlow
        Real tubeDrop = 0, shellDrop = 0;  // wall minus fluid temperature of each film
        Real ratio = 0;       // the heat of the balance over the heat the installed surface passes
    };
protected:
    void Calculate(Real& tubeFlow, Real& shellFlow, RunResults& results) override;

private:
    Film FilmCoefficients(Real shellOffset, Real tubeOffset, Real difference, Real tubeTemperature, Real G1,
                          Real G2);
    State evaluate(Real T1out, Real cp1in, Real cp2in, Real cp2out);
    // Wall offsets of the last evaluation: the start of the next one.
    Real m_tubeOffset = 0, m_shellOffset = 0, m_lastK = 0;
    Real m_givenFlow = 0;  // kg/hour, all parallel flows
};

}  // namespace vexamo
