#include "control/RunContexts.h"

#include "control/DataDialogActions.h"
#include "dialogs/TechnologicalDialog.h"

namespace vexamo {

ExchangerContext exchangerContext(Session& session) {
    return {.language = session.LanguageFlag,
            .data = session.Data,
            .technological = session.TechnoDialog,
            .report = session.Report,
            .progressLineIndex = session.ProgressLineIndex,
            .tubeFlow = session.TubeFlow,
            .shellFlow = session.ShellFlow,
            .condensationCorrection = session.CondensationCorrection,
            .results = session.Results,
            .validity = session.Validity,
            .enterTechnologicalData = [&session](Dialogs& dialogs) {
                TechnoActionExecute(session, dialogs);
            }};
}

EquilibriumContext equilibriumContext(Session& session, Dialogs& dialogs) {
    return {.language = session.LanguageFlag,
            .data = session.Data,
            .report = session.Report,
            .fitProgress = session.FitState,
            .pairs = session.EquilibriumPairs,
            .componentNames = session.ComponentNames,
            .dialogs = dialogs};
}

}  // namespace vexamo
