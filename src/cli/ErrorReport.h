#pragma once
// The one place where the command line turns what went wrong into its line
// on stderr and its exit status.
#include <exception>
#include <ostream>

#include "common/Errors.h"

namespace vexamo::cli {

// Writes "vexamo: <message>" (describeError) and returns the exit status:
// 2 for input or an output refused before anything was calculated or moved,
// 1 for everything else (a failed calculation, a failed write, a fault of
// the program told as an internal error).
int reportError(std::ostream& err, const std::exception& e);

// The same for a person's decision to stop (status 1: no results).
int reportStop(std::ostream& err, const RunStop& stop);

// Runs `body` (returning an exit status) and reports whatever it throws.
template <class Body>
int reportingErrors(std::ostream& err, Body&& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        return reportError(err, e);
    } catch (const RunStop& stop) {
        return reportStop(err, stop);
    }
}

}  // namespace vexamo::cli
