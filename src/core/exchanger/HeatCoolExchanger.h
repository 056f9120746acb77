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

protected:
    void Calculate(Real& tubeFlow, Real& shellFlow, RunResults& results) override;

private:
    struct Film {
        Real alpha1 = 0, alpha2 = 0, K = 0;
    };
    Film FilmCoefficients(Real shellOffset, Real tubeOffset, Real difference, Real tubeTemperature, Real G1,
                          Real G2);
};

}  // namespace vexamo
