#pragma once
// Completes one medium before the exchanger is built: component names and
// records, concentrations, and for a given pressure the saturation state.
#include <cstdint>

#include "common/Real.h"
#include "control/RunDriver.h"
#include "control/Session.h"
#include "dialogs/Dialogs.h"

namespace vexamo {

// The wording of a stream: "trumpet space" / "intertrumpet space" followed by
// the phase (" during boiling of a liquid", " during condensation of a vapour").
std::string spaceText(char streamDigit, std::uint8_t phaseLetter, LanguageFlagType languageFlag);

// PrepareStream(given-state letter, stream digit, phase letter, record,
// correction cell, temperature result, entered value). Conditions that make
// the stream unusable (a stored component no longer in the table, a component
// index outside it) end the calculation with their message.
void PrepareStream(Session& session, Dialogs& dialogs, std::uint8_t givenState, char streamDigit,
                   std::uint8_t phaseLetter, TechnSet& record, Real& correction, Real& temperature,
                   Real enteredValue);

// The Run's stream preparer for this session and port.
StreamPreparer streamPreparer(Session& session, Dialogs& dialogs);

}  // namespace vexamo
