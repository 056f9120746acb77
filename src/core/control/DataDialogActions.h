#pragma once
// The two data dialogs of a Session. Their models (dialogs/) take only the
// records and flags they need; these give them the session's, and the
// actions that show them keep the session's flags.
#include "control/Session.h"
#include "dialogs/DesignDialog.h"
#include "dialogs/Dialogs.h"
#include "dialogs/TechnologicalDialog.h"

namespace vexamo {

// The technological form's model before it is shown: the session's substance
// table, problem, DataLoaded flag and language.
void prepareTechnological(TechnologicalDialogModel& model, const Session& session);
// After an accepted OK: into the session's problem, and the run-time values
// (EnteredState, FlowSide, PairCode, TubeFlow, ShellFlow).
void harvestTechnological(const TechnologicalDialogModel& model, Session& session);

// TechnoActionExecute: prepare, FormActivate (the front end need not call it
// again), show, harvest when the front end returned true after an accepted
// OK. Returns true when the values were taken. Either way TechnoPending
// becomes false and TechnoEntered true.
bool TechnoActionExecute(Session& session, Dialogs& dialogs);

// The design form's model before it is shown: the session's problem,
// run-time flow side, DataLoaded flag and language.
void prepareDesign(DesignDialogModel& model, Session& session);

// DesignActionExecute: prepare, FormActivate (the front end need not call it
// again), show, harvest when the front end returned true after an accepted
// OK. Returns true when the values were taken. Either way DesignPending
// becomes false and DesignEntered true.
bool DesignActionExecute(Session& session, Dialogs& dialogs);

}  // namespace vexamo
