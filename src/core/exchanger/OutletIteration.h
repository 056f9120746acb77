#pragma once
// The exchanger in which one medium changes phase at its saturation
// temperature (condenses or boils) and the other is heated or cooled without
// a change of phase. The outlet temperature of the single-phase medium is
// iterated until the heat flow needs exactly the surface that is installed:
// at every approximation the film coefficients and the heat-flux balance
// across the wall are solved at the two ends and at the mean state, and the
// next approximation is the outlet that the log-mean law gives for the
// installed surface. When two successive approximations fall on either side
// of the balance, or a step would leave the admissible interval while the
// balance changes side at its bound, the outlet is bracketed and found by
// regula falsi (Illinois, with bisection when it stalls); when the balance
// keeps its side up to the bound, the duty is impossible for the exchanger
// and the calculation ends with a message that says why. The condensation
// and boiling pairs with a single-phase medium (TConHeatObj, THeatConObj,
// TBoilCoolObj, TCoolBoilObj) are this calculation with their own
// correlations, texts and messages.
#include <array>
#include <string>

#include "exchanger/Correlations.h"
#include "exchanger/HexObj.h"
#include "exchanger/OutletIterationTexts.h"

namespace vexamo {

class TOutletIterationObj : public THexObj {
public:
    // Upper bound of iterations over all restarts of one calculation.
    static constexpr int kIterationLimit = 20000;
    // The outlet must differ from the inlet by at least this share of the
    // inlet driving force (below it the single-phase flow would be unbounded).
    static constexpr Real kLeastChange = 0.001L;
    // Relaxation steps on one side of the balance before the bound it points
    // to is tried for a bracket.
    static constexpr int kRelaxationSteps = 12;
    // Passes over the films at one outlet temperature until the wall
    // temperatures they assume are the ones they give.
    static constexpr int kWallPasses = 80;

    Real SaturationTemperature = 0;  // Tc or Tb
    Real SinglePhaseInlet = 0;       // Tin
    std::uint8_t FlowSideCopy = 0;
    bool NotchWanted = false;

    // What one film evaluation (an end or the mean state) found.
    struct FilmState {
        Real q = 0;                 // heat flux, W/m2
        Real singlePhaseAlpha = 0;  // W/(m2*K)
        Real phaseChangeAlpha = 0;
        Real singlePhaseDrop = 0;  // temperature drop over the film, K
        Real phaseChangeDrop = 0;
        TubeSideResult
            tube;  // the tube-side evaluation, when the single-phase medium is in the tubes
        ShellSideResult shell;  // the shell-side one, when it is across the bundle
    };
    // The last evaluations, for tests and the pressure loss.
    FilmState Inlet, Outlet, Mean;
    Real Outlet_T = 0;       // the outlet temperature the results belong to
    int WallPasses = 0;      // passes over the films of the last evaluation
    bool Bracketed = false;  // the outlet was found between two bracketing iterates

    enum class FilmKind { CondensationInTubes, CondensationOnBundle, Boiling };
    enum class Failure { Throw, EndWithMessage };
    struct Setup {
        bool phaseChangeInTubes = true;  // the tube medium condenses or boils
        FilmKind film = FilmKind::CondensationInTubes;
        Real drivingForceLimit = 1;      // K
        int slowConvergenceLimit = 120;  // asks when IterationCount exceeds it
        std::string progressLabel;  // "; Temperature of the heat-carrier on output from ... = "
        // Driving-force warning: the negative-force text is lead + Tin + middle
        // + Ts + tail; the recommendation lines follow it.
        std::string negativeLead, negativeMiddle, negativeTail, recommendation;
        // Failure of the flux balance at the inlet end, outlet end, mean state.
        std::array<Failure, 3> failure{Failure::Throw, Failure::Throw, Failure::Throw};
        std::array<std::string, 3> failureText;
        bool pressureLossBox = false;  // "dp = " box after the shell-side loss
    };

protected:
    TOutletIterationObj(const ExchangerArguments& args, Setup setup);
    void Calculate(Real& tubeFlow, Real& shellFlow, RunResults& results) override;

private:
    enum End { InletEnd = 0, OutletEnd = 1, MeanState = 2 };
    // The wall-side estimates one pass over the films assumes and gives.
    struct WallEstimates {
        Real spWallIn = 0, pcWallIn = 0;    // walls at the inlet end
        Real spDropOut = 0, pcDropOut = 0;  // film drops at the outlet end
        Real pcDropMean = 0;                // phase-change film drop at the mean state
    };
    // What the state at one outlet temperature gives besides the films.
    struct OutletState {
        Real heatFlow = 0;  // J/hour, signed as the single-phase medium's change
        Real dOut = 0, dLog = 0;
        Real spWallOut = 0;
        Real balance = 0;  // installed over required surface
    };
    // One pass over the films at outlet T with the walls `w` assumes; `next`
    // takes the walls it gives. False when a flux balance failed and the
    // calculation ends with a message.
    bool filmPass(Real T, Real cpIn, Real latent_kJ, const WallEstimates& w, WallEstimates& next,
                  Real& G1, Real& G2, OutletState& state);
    // The state at outlet T with walls that agree with their films (`w`
    // starts from the last estimates and takes the settled ones).
    bool settledState(Real T, Real cpIn, Real latent_kJ, WallEstimates& w, Real& G1, Real& G2,
                      OutletState& state);
    // One search for the outlet. The outlet is iterated as its change
    // x = sign (T - Tin); the admissible changes lie between xLow and xHigh
    // (none when the driving force is too small).
    struct Search {
        Real dIn = 0;  // the inlet driving force, sign (Ts - Tin)
        Real xLow = 0, xHigh = 0;
        Real installed = 0;  // m2
        int totalIterations = 0;
        Real cpIn = 0, latent_kJ = 0;
        Real T = 0;  // the outlet of the last evaluation
        OutletState state;
        WallEstimates walls;
        bool admissible(Real x) const { return x >= xLow && x <= xHigh; }  // false for NaN
    };
    // Throws CalculationAborted when the design or the given flow cannot be
    // calculated.
    void requireCalculableData(Real G1, Real G2) const;
    // The start of a (re)start: the driving-force check, the approximation
    // (the person's or the program's), the wall estimates and the properties
    // at the inlet and at saturation.
    void startApproximation(Search& search);
    // A start outside the admissible interval: says why and asks what to do;
    // false when the person left for the initial data.
    bool outsideStart(Search& search, RunResults& results);
    // One approximation at the change x: the progress line and the settled
    // state; false when a flux balance failed and the calculation ends.
    bool evaluateAt(Search& search, Real x, Real& G1, Real& G2);
    // Relaxation until the balance changes side, then regula falsi between
    // the last iterates on either side. True: the last evaluation is the
    // result (balanced, or stopped by the person); false: the calculation
    // ended without results.
    bool searchBalance(Search& search, Real x, Real& G1, Real& G2, RunResults& results);
    // The finish: the pressure loss of the single-phase medium, the profile
    // graph and the results of the last evaluation.
    void addPressureLoss(const Search& search, Real shellFlow, RunResults& results);
    void showTemperatureProfile(const Search& search);
    void fillResults(const Search& search, RunResults& results);
    // Ends the calculation without results: no outlet in the admissible
    // interval balances the heat (`atSaturation`: the balance points beyond
    // the saturation-side bound, otherwise beyond the inlet-side one).
    void reportImpossibleDuty(bool atSaturation, Real installed, RunResults& results);
    // The single-phase medium is heated against a condensing one, cooled
    // against a boiling one.
    bool heated() const { return m_setup.film != FilmKind::Boiling; }
    // +1 when the single-phase medium is heated: it moves towards Ts.
    Real signOfChange() const { return heated() ? 1 : -1; }
    // The flow of the condensing or boiling medium is the given one.
    bool phaseChangeFlowGiven() const {
        return m_setup.phaseChangeInTubes ? FlowSideCopy == 0 : FlowSideCopy == 1;
    }
    PropertySet singlePhaseMixture(Real t);
    PropertySet phaseChangeMixture(Real t);
    // The film coefficients and the flux across the wall at one state; false
    // when the flux balance failed and the calculation ends with a message.
    bool evaluate(End end, Real t, Real singlePhaseWall, Real phaseChangeWall, Real difference,
                  Real G1, Real G2, FilmState& state);
    Real phaseChangeFactor(Real wall);
    void drivingForceCheck(Real difference);
    // Says why the approximation left the interval.
    void explainOutside(Real T, bool nearSaturation);
    // What the texts say about this pair and its duty.
    outletIterationTexts::Duty duty() const;

    Setup m_setup;
};

}  // namespace vexamo
