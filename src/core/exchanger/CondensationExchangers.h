#pragma once
// The exchangers in which one medium condenses and the other is heated:
// condensation in the tube space against a heated shell-side medium
// (TConHeatObj), and a heated tube-side medium against condensation on the
// bundle (THeatConObj). Both iterate the outlet temperature of the heated
// medium (TOutletIterationObj) and report its pressure loss.
#include "exchanger/OutletIteration.h"

namespace vexamo {

class TConHeatObj : public TOutletIterationObj {
public:
    explicit TConHeatObj(const ExchangerArguments& args);
};

class THeatConObj : public TOutletIterationObj {
public:
    explicit THeatConObj(const ExchangerArguments& args);
};

}  // namespace vexamo
