#pragma once
// The exchangers in which one medium boils. Against a condensing medium
// (TBoilConObj: boiling in the tubes; TConBoilObj: condensation in the tubes)
// one heat-flux balance between the two phase-change films gives the result
// without iteration. Against a cooled single-phase medium (TBoilCoolObj:
// boiling in the tubes; TCoolBoilObj: the cooled medium in the tubes) the
// outlet temperature of the cooled medium is iterated (TOutletIterationObj).
#include "exchanger/HexObj.h"
#include "exchanger/OutletIteration.h"

namespace vexamo {

// Boiling at Tb against condensation at Tc: the common part of the two
// classes with two phase-change films.
class TBoilingCondensingObj : public THexObj {
public:
    Real BoilingTemperature = 0;     // Tb
    Real CondensingTemperature = 0;  // Tc
    std::uint8_t FlowSideCopy = 0;

    // What the calculation found, for tests.
    Real LatentHeatTube = 0, LatentHeatShell = 0;    // r1, r2 (kJ/kg)
    Real CondensationFactor = 0, BoilingFactor = 0;  // alpha' of the two films

protected:
    TBoilingCondensingObj(const ExchangerArguments& args, bool boilingInTubes);
    void Calculate(Real& tubeFlow, Real& shellFlow, RunResults& results) override;

private:
    void drivingForceCheck(Real difference);
    // The heat flux q (W/m2) and the film coefficients of the two films.
    struct TwoFilms {
        Real q = -1, tubeAlpha = 0, shellAlpha = 0;
    };
    // The flux balance between the films, with the wall at `wall` for the
    // condensation film; false when it has no solution (results.reason says why).
    bool boilingInTubesFilms(Real wall, Real difference, TwoFilms& films, RunResults& results);
    bool condensationInTubesFilms(Real wall, Real difference, TwoFilms& films, RunResults& results);
    bool m_boilingInTubes;
};

class TBoilConObj : public TBoilingCondensingObj {
public:
    explicit TBoilConObj(const ExchangerArguments& args);
};

class TConBoilObj : public TBoilingCondensingObj {
public:
    explicit TConBoilObj(const ExchangerArguments& args);
};

class TBoilCoolObj : public TOutletIterationObj {
public:
    explicit TBoilCoolObj(const ExchangerArguments& args);
};

class TCoolBoilObj : public TOutletIterationObj {
public:
    explicit TCoolBoilObj(const ExchangerArguments& args);
};

}  // namespace vexamo
