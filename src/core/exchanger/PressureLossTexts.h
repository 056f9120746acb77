#pragma once
// The questions, messages and report lines of the pressure-loss operations
// (THexObj::TubeSidePressureLoss and ShellSidePressureLoss) in both
// languages: the operations keep the computation, these functions the words.
#include <string>

#include "common/Real.h"
#include "common/Text.h"
#include "dialogs/Dialogs.h"

namespace vexamo::pressureLossTexts {

// --- Tube space -----------------------------------------------------------

// tube_loss.ends: sharp or round-edged tube ends; the U-tube box
// (tube_loss.u_tubes) only with more than one pass.
AlternRequest tubeEndsRequest(LanguageFlagType lang, bool uTubeBox);
// tube_loss.bend_radius: the bend radius of U-tubes, m.
InputRequest bendRadiusRequest(LanguageFlagType lang);
std::string bendRadiusRefused(LanguageFlagType lang);
// tube_loss.roughness: the height of the wall asperities, mm, or "Default".
InputRequest roughnessRequest(LanguageFlagType lang);
std::string roughnessRefused(LanguageFlagType lang);
// tube_loss.material: the rows of the roughness table, "0" to "6".
AlternRequest tubeMaterialRequest(LanguageFlagType lang);
std::string noTubeMaterial(LanguageFlagType lang);

// The label of the tube-space loss line and the whole line with its loss.
std::string tubeLossLabel(LanguageFlagType lang);
std::string tubeLossLine(LanguageFlagType lang, Real loss_kPa);

// --- Shell space ----------------------------------------------------------

std::string shellLossLabel(LanguageFlagType lang);
std::string shellLossLine(LanguageFlagType lang, Real loss_kPa);
// The line of a shell space with fewer than two baffle compartments.
std::string shellLossNeedsCompartments(LanguageFlagType lang);
// The pitch, the bundle clearance and the casing gap lines.
std::string shellGeometryLines(LanguageFlagType lang, Real pitch, Real bundleClearance_mm,
                               Real casingGap_mm);

// --- Either space ---------------------------------------------------------

// The loss line of a space whose loss could not be computed, and the warning
// that says so.
std::string lossNotComputedLine(LanguageFlagType lang, bool shellSpace, const std::string& reason);
std::string lossNotComputedWarning(LanguageFlagType lang, const std::string& reason);

}  // namespace vexamo::pressureLossTexts
