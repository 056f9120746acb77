#pragma once
// Pressure losses of a single-phase medium: in the tube space (friction along
// all passes, tube ends and U-bends) and across a baffled bundle in the shell
// space (stream analysis: ideal cross flow corrected for leakage, bypass and
// the end compartments, plus the baffle windows). The computations are plain
// functions; the exchanger's operations TubeSidePressureLoss and
// ShellSidePressureLoss (HexObj.h) ask the construction data and report.
#include <span>

#include "common/Real.h"
#include "dialogs/GenericDialogs.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

// --- Tube space -----------------------------------------------------------

// Loss coefficient A of one U-bend against the relative bend radius R/Din,
// linear between the points 1, 2, 4, 6, 15, 30, 50; outside 1..50 the end
// value (a bend tighter than one diameter or wider than fifty is not in the
// data).
Real UBendCoefficient(Real relativeRadius);

// Wall roughness (mm) of the material rows 0..6 of the tube-material choice.
Real TubeRoughness_mm(int row);

// What the friction factor of the tube space rests on.
struct TubeFrictionState {
    Real reynoldsIn = 0;          // Reb at the inlet temperature
    Real pecletIn = 0;            // Peb = Reb * Pr at the inlet temperature
    Real reynoldsMean = 0;        // Rea at the mean temperature
    Real rayleighIn = 0;          // Gr*Pr of the inlet-state tube-side evaluation
    Real rayleighMean = 0;        // Gr*Pr of the mean-state evaluation
    Real prandtlRatioMean = 0;    // Pr/Pr_w of the mean-state evaluation
    Real viscosityRatioIn = 0;    // mu/mu_w of the inlet-state evaluation
    Real viscosityRatioMean = 0;  // mu/mu_w of the mean-state evaluation
    Real innerDiameter = 0;       // m
    Real length = 0;              // m
    int passes = 0;
    Real roughness_mm = 0;  // used only by turbulent flow
};

// Turbulent from Reb = 2300 on.
bool TubeFlowTurbulent(Real reynoldsIn);

// Darcy friction factor: rough or smooth wall in turbulent flow (rough when
// 2 delta/d >= 5/sqrt(Rea)), viscous-gravitational (Ra_in >= 800000) or
// viscous laminar flow with the non-isothermal correction. Throws
// NumericalError for a factor that is not a positive finite number.
Real TubeFrictionFactor(const TubeFrictionState& state);

// Delta p = W^2 (L z lambda / Din + zeta_ends + zeta_bend) rho/2, in kPa.
Real TubePressureLoss_kPa(Real speed, Real length, int passes, Real lambda, Real innerDiameter,
                          Real zetaEnds, Real zetaBend, Real density);

// --- Shell space ----------------------------------------------------------

struct ShellLossInput {
    int shellPasses = 0;  // Nsp: baffle compartments, Nsp - 1 baffles
    int tubeCount = 0;    // Nt
    bool staggered = false;
    Real tubeLength = 0;          // L, m
    Real notchHeight = 0;         // h, m
    Real flow_kg_h = 0;           // G of one parallel stream
    Real tubeDiameter = 0;        // d (outer), m
    Real casingDiameter = 0;      // Dc, m
    Real viscosity = 0;           // mu at the mean medium temperature, Pa*s
    Real wallViscosity = 0;       // mu_w at the mean wall temperature
    Real density = 0;             // rho at the mean medium temperature
    GapCalcResult gap;            // pitch t (m), delta_sb, delta_tb, Lbi, Lbo (mm), Nss
    Real bundleClearance_mm = 0;  // Lbb
};

// Every intermediate of the stream analysis, for the report and the tests.
struct ShellLossBreakdown {
    Real Lbc = 0, Bc = 0;            // central baffle spacing (m), baffle cut (%)
    Real Pn = 0, Pp = 0;             // pitch normal and parallel to the flow, m
    Real Nc = 0, Ncw = 0;            // rows crossed between the tips and in a window
    Real Dctl = 0, Sm = 0, Sb = 0;   // m, m2, m2
    Real Gc = 0, Re = 0;             // kg/(m2*s), -
    Real idealBank = 0;              // delta p_bi, kPa
    Real thetaDs = 0, thetaCtl = 0;  // degrees
    Real Ssb = 0, Stb = 0;           // mm2
    Real Swg = 0, Fw = 0, Sw = 0, Dw = 0, Gw = 0;
    Real RL = 0, RB = 0, RS = 0;
    Real crossFlow = 0, windows = 0, ends = 0;  // kPa
    Real total = 0;                             // kPa
};

// The leakage correction R_L from the leakage areas (mm2) and Sm (m2).
Real ShellLeakageCorrection(Real Ssb_mm2, Real Stb_mm2, Real Sm);
// The bypass correction R_B: C_bh 3.7 for Re > 100, else 4.5; 1 when the
// sealing strips cover at least every second row (Nss/Nc >= 1/2).
Real ShellBypassCorrection(Real Re, Real Fsbp, Real sealingStrips, Real Nc);
// The end-compartment correction R_S (exponent n 0.2 for Re >= 100, else 1),
// Lbc in m, the nozzle distances in mm.
Real ShellEndCorrection(Real Re, Real Lbc, Real inletDistance_mm, Real outletDistance_mm);
// The loss of the Nb windows (kPa): turbulent form for Re >= 100.
Real ShellWindowLoss(Real Re, Real RL, int baffles, Real Ncw, Real Gw, Real density, Real viscosity,
                     Real pitch, Real d, Real Lbc, Real Dw);

// The stream analysis for Nsp >= 2. Geometry that leaves no flow area (a
// pitch not above the tube diameter, no baffle cut, no row crossed) throws
// NumericalError naming what is missing.
ShellLossBreakdown ShellSideLoss(const ShellLossInput& input);

}  // namespace vexamo
