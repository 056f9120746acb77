#include "cli/ErrorReport.h"

#include "common/AtomicFile.h"

namespace vexamo::cli {

int reportError(std::ostream& err, const std::exception& e) {
    err << "vexamo: " << describeError(e, kEnglish) << '\n';
    const bool refused = dynamic_cast<const InputError*>(&e) != nullptr ||
                         dynamic_cast<const OutputRefused*>(&e) != nullptr;
    return refused ? 2 : 1;
}

int reportStop(std::ostream& err, const RunStop& stop) {
    err << "vexamo: " << stop.what() << '\n';
    return 1;
}

}  // namespace vexamo::cli
