// The two data dialogs of a Session: the models take only the records and
// flags they need; here they are given the session's, and the actions that
// show them keep the session's flags.
#include "control/Session.h"
#include "dialogs/DesignDialog.h"
#include "dialogs/TechnologicalDialog.h"

namespace vexamo {

void TechnologicalDialogModel::prepare(const Session& session) {
    prepare(session.Data.SubstanceTable, session.Problem, session.DataLoaded, session.LanguageFlag);
}

void TechnologicalDialogModel::harvest(Session& session) const {
    harvest(session.Problem);
    for (std::size_t s = 0; s < sides.size(); ++s) session.EnteredState[s] = sides[s].enteredValue;
    session.TubeFlow = sides[0].flowRate;
    session.ShellFlow = sides[1].flowRate;
    session.FlowSide = FlowSide;
    session.PairCode = PairCode;
}

bool TechnoActionExecute(Session& session, Dialogs& dialogs) {
    TechnologicalDialogModel& model = session.TechnoDialog;
    model.prepare(session);
    model.FormActivate(session.LanguageFlag);
    const bool ok = dialogs.showTechnological(model) && model.accepted;
    if (ok) model.harvest(session);
    session.TechnoPending = false;
    session.TechnoEntered = true;
    return ok;
}

void DesignDialogModel::prepare(Session& session) {
    prepare(session.Problem, session.FlowSide, session.DataLoaded, session.LanguageFlag);
}

DialogCheck DesignDialogModel::bitbtOkClick(LanguageFlagType languageFlag, Dialogs& dialogs,
                                            const Session& session) {
    return bitbtOkClick(languageFlag, dialogs, session.Problem.Design);
}

bool DesignActionExecute(Session& session, Dialogs& dialogs) {
    DesignDialogModel& model = session.DesignDialog;
    model.prepare(session);
    model.FormActivate(session.LanguageFlag);
    const bool ok = dialogs.showDesign(model) && model.accepted;
    if (ok) model.harvest(session.Problem.Design);
    session.DesignPending = false;
    session.DesignEntered = true;
    return ok;
}

}  // namespace vexamo
