#pragma once
// The narrow views of a Session that the equilibrium set-up and the
// exchangers work through: they refer to the session's members, so what the
// set-up or an exchanger writes is the session's.
#include "control/Session.h"
#include "equilibrium/EquilibriumSetup.h"
#include "exchanger/ExchangerContext.h"

namespace vexamo {

class Dialogs;

ExchangerContext exchangerContext(Session& session);
EquilibriumContext equilibriumContext(Session& session, Dialogs& dialogs);

}  // namespace vexamo
