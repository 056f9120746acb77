#pragma once
// The engineering summary of a Run with results: what an engineer checks
// first. The media and their composition, both streams' ends, the duty seen
// from each stream, the mean temperature difference the surface rests on
// beside the textbook one, the surfaces, velocities, Reynolds numbers and
// pressure losses of both sides, and the wall resistance used.
#include <optional>
#include <string>
#include <vector>

#include "common/Constants.h"
#include "common/Real.h"
#include "common/Text.h"
#include "control/Session.h"

namespace vexamo {

struct StreamSummary {
    int side = 1;                     // 1 tube space, 2 shell space
    std::string process;              // "heating", "condensation", ... in the Run's language
    std::vector<std::string> medium;  // per component: system name, what it is, mass %
    bool phaseChange = false;         // condenses or boils at its saturation temperature
    Real flow_kg_h = 0;
    Real inlet_C = 0, outlet_C = 0;
    bool outletFixed = false;         // the heating-cooling pair's shell outlet, fixed at 40 degC
    Real duty_kW = 0;                 // from this stream's own flow and properties
    Real velocity = 0, reynolds = 0;  // of its single-phase film; 0: none
    bool lossComputed = false;
    Real loss_kPa = 0;
    std::string lossReason;  // why it could not be computed, when it was tried
};

struct EngineeringSummary {
    StreamSummary tube, shell;
    Real duty_kW = 0;                // the duty the results rest on
    Real meanDifference = 0;         // Q / (K F), K
    std::optional<Real> logMean;     // LMTD of the four ends in counter-current, K
    std::optional<Real> correction;  // F of one shell pass, an even number of tube passes
    Real requiredSurface = 0, installedSurface = 0;  // m2 (installed 0: not reported)
    Real wallResistance = 0;  // m2*K/W, the tube wall and the fouling of both sides
    Real tubeFouling = kDefaultSideFouling, shellFouling = kDefaultSideFouling;  // m2*K/W
};

// Of the last Run, which must have produced results.
EngineeringSummary summarize(const Session& session);

// The summary block of the report (CR LF lines), in the language asked for.
std::string summaryBlock(const EngineeringSummary& summary, LanguageFlagType languageFlag);

// F of a 1-2N exchanger (one shell pass, an even number of tube passes) by
// the Bowman-Mueller-Nagle relation for R = (T1 - T2) / (t2 - t1),
// P = (t2 - t1) / (T1 - t1); none where it is not defined (a temperature
// cross or P outside 0..1).
std::optional<Real> oneShellPassCorrection(Real R, Real P);

}  // namespace vexamo
