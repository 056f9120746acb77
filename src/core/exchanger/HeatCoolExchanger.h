#pragma once
// The exchanger in which one medium is heated and the other cooled, neither
// changing phase: one shell pass against 2n tube passes, film coefficients at
// both ends, the closed-form temperature field, and the iteration of the
// tube-side outlet temperature on the heat balance of the films.
#include <optional>
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
        Film film;                         // at the mean state
        Real q = 0;                        // K (Ts - Tt), W/m2, signed like HeatFlow
        Real tubeDrop = 0, shellDrop = 0;  // wall minus fluid temperature of each film
        Real ratio = 0;  // the heat of the balance over the heat the installed surface passes
    };

protected:
    void Calculate(Real& tubeFlow, Real& shellFlow, RunResults& results) override;

private:
    // One parallel flow through one bundle.
    struct Unit {
        Real G1 = 0, G2 = 0;  // kg/hour
        Real W1 = 0, W2 = 0;  // J/(hour K), the heat capacity flows
        Real area = 0;        // m2 of one bundle
    };
    // One search for the tube outlet over the admissible outlets, from just
    // beyond the tube inlet (nearInlet) up to the shell inlet (farEnd).
    struct Search {
        Real nearInlet = 0, farEnd = 0;
        Real cp1in = 0, cp2in = 0, cp2out = 0;
        Real installed = 0;  // m2
        int totalIterations = 0;
        State st;  // of the last iteration
        bool admissible(Real T) const { return (T - nearInlet) * (T - farEnd) <= 0; }
    };
    // An outlet and BalanceRatio - 1 there.
    struct Point {
        Real T = 0, f = 0;
    };
    // a, b: outlets with balances of opposite sign, once known; between them
    // lies the outlet sought. Relaxation goes on while it stays inside and
    // converges; after a change of sign, a step that would leave them, or a
    // step that hardly shrinks, the outlet is found by false position with
    // the Illinois modification.
    struct Bracket {
        Point a, b, previous;
        bool bracketed = false, bracketing = false, havePrevious = false;
        int retained = 0;   // which end false position kept last time: -1 a, +1 b
        Real lastStep = 0;  // of the relaxation
    };
    enum class SearchEnd { Found, Restart, LeftForData };

    // Throws CalculationAborted for data outside the model: the passes, the
    // design, the given flow; then the fixed shell outlet against the inlets.
    void requireCalculableDesign(Real G1, Real G2) const;
    void requireOutletBetweenInlets() const;
    // The restarts of the search; false when the person left for the data.
    bool findOutlet(Search& search, RunResults& results);
    SearchEnd searchBalance(Search& search, RunResults& results);
    // Takes the outlet p into the bracket (opening it, or probing the end the
    // relaxation heads for); throws when no outlet on that side balances.
    void placePoint(Search& search, Bracket& bracket, const Point& p);
    Point probeEnd(const Search& search, const Point& p);
    // The next approximation after T; none when the bracket has closed on a
    // jump of the balance and the last state is the result.
    std::optional<Real> nextOutlet(Bracket& bracket, Real T);
    void showPassTemperatures(const char* id, const State& st);
    void showFieldProfile(const State& st);
    void finish(const Search& search, Real& G1, Real& G2, RunResults& results);

    Film FilmCoefficients(Real shellOffset, Real tubeOffset, Real difference, Real tubeTemperature,
                          Real G1, Real G2);
    State evaluate(Real T1out, Real cp1in, Real cp2in, Real cp2out);
    // The flows of the heat balance at the outlet of `st`; throws when it
    // gives no positive flow.
    void balanceFlows(State& st, Real cp1, Real cp2);
    // The temperature field of one unit at the overall coefficient k.
    void field(State& st, const Unit& unit, Real k) const;
    // The mean state by substitution of K (false when it did not settle),
    // then, where it swings, by false position on K.
    bool settleBySubstitution(State& st, const Unit& unit, Real& K, Real& Kmin, Real& Kmax);
    Real settleByFalsePosition(State& st, const Unit& unit, Real Kmin, Real Kmax);
    // Wall offsets of the last evaluation: the start of the next one.
    Real m_tubeOffset = 0, m_shellOffset = 0, m_lastK = 0;
    Real m_givenFlow = 0;  // kg/hour, all parallel flows
};

}  // namespace vexamo
