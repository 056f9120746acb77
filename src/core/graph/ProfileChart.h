#pragma once
// The charts of one Run with results: the temperature profile along the
// tubes as the Run showed it last, and, where a medium condenses or boils,
// the temperature-duty diagram of the two streams. Both say on their axes
// what is plotted in which unit and name every curve in the legend.
#include <optional>
#include <string>
#include <vector>

#include "common/Text.h"
#include "control/EngineeringSummary.h"
#include "dialogs/Dialogs.h"
#include "graph/Chart.h"
#include "problem/ProblemRecords.h"

namespace vexamo {

// A medium's name for a legend: its components' names in the language asked
// for (the chemical's name for a built-in record), joined by " + "
// ("ethanol + water"); empty for a stream without any.
std::string mediumName(const TechnSet& stream, LanguageFlagType language);

// The temperature profile: x the position along the tubes in metres (the
// relative position 0..1 where the design has no tube length), y the
// temperatures in degC. Curve 0 of the request is the shell space, the others
// the tube space (one per pass of a multipass exchanger). A condensing or
// boiling medium is drawn as its dashed saturation line.
//
// The ends are the Run's reported temperatures: the shell space from its
// inlet to its outlet, the tube space from its inlet (the first pass at x = 0)
// to its outlet (the last pass at the end where it leaves). A profile that
// ends within 0.01 K of them (the field of the last iteration is that close
// to the balance) is moved onto them, the points between in proportion; one
// that ends farther off (an iteration stopped before the balance) is drawn
// as computed and the title says by how much its ends differ.
//
// Without a summary (a Run that showed a profile but ended without results)
// the profile is drawn as shown and the title says there are no results.
Chart profileChart(const ProfileGraphRequest& profile, const EngineeringSummary* summary,
                   const ProblemData& problem, LanguageFlagType language);

// The temperature-duty (T-Q) diagram of a pair where at least one medium
// condenses or boils: x the duty transferred from 0 to the Run's duty in kW,
// y the temperature in degC. A single-phase stream runs from its inlet at
// Q = 0 to its outlet at Q = duty (straight: the Run's balance uses the mean
// heat capacity of its ends); a condensing or boiling medium is its dashed
// saturation line. Nothing for a pair of two single-phase media or a duty
// that is not a positive finite number.
std::optional<Chart> temperatureDutyChart(const EngineeringSummary& summary,
                                          const ProblemData& problem, LanguageFlagType language);

// What `run --plot` draws and the data sheet shows: the profile, then the
// T-Q diagram where there is one.
std::vector<Chart> runCharts(const ProfileGraphRequest& profile, const EngineeringSummary& summary,
                             const ProblemData& problem, LanguageFlagType language);

// The largest difference between the profile's ends and the reported
// temperatures (K), as profileChart compares them; 0 for a profile that agrees.
Real profileEndMismatch(const ProfileGraphRequest& profile, const EngineeringSummary& summary);

}  // namespace vexamo
