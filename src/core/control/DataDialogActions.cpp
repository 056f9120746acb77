#include "control/DataDialogActions.h"

namespace vexamo {

void prepareTechnological(TechnologicalDialogModel& model, const Session& session) {
    model.prepare(session.Data.SubstanceTable, session.Problem, session.DataLoaded,
                  session.LanguageFlag);
}

void harvestTechnological(const TechnologicalDialogModel& model, Session& session) {
    model.harvest(session.Problem);
    for (std::size_t s = 0; s < model.sides.size(); ++s)
        session.EnteredState[s] = model.sides[s].enteredValue;
    session.TubeFlow = model.sides[0].flowRate;
    session.ShellFlow = model.sides[1].flowRate;
    session.FlowSide = model.FlowSide;
    session.PairCode = model.PairCode;
}

bool TechnoActionExecute(Session& session, Dialogs& dialogs) {
    TechnologicalDialogModel& model = session.TechnoDialog;
    prepareTechnological(model, session);
    model.FormActivate(session.LanguageFlag);
    const bool ok = dialogs.showTechnological(model) && model.accepted;
    if (ok) harvestTechnological(model, session);
    session.TechnoPending = false;
    session.TechnoEntered = true;
    return ok;
}

void prepareDesign(DesignDialogModel& model, Session& session) {
    model.prepare(session.Problem, session.FlowSide, session.DataLoaded, session.LanguageFlag);
}

bool DesignActionExecute(Session& session, Dialogs& dialogs) {
    DesignDialogModel& model = session.DesignDialog;
    prepareDesign(model, session);
    model.FormActivate(session.LanguageFlag);
    const bool ok = dialogs.showDesign(model) && model.accepted;
    if (ok) model.harvest(session.Problem.Design);
    session.DesignPending = false;
    session.DesignEntered = true;
    return ok;
}

}  // namespace vexamo
