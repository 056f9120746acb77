#pragma once
// One exception family for the core. Front ends translate it once.
#include <stdexcept>
#include <string>

namespace vexamo {

// Base of every error the core raises on purpose.
class VexamoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text that cannot be represented in the file encoding, or bytes that are not
// a valid encoded text.
class EncodingError : public VexamoError {
public:
    using VexamoError::VexamoError;
};

// Bytes of a record or file that do not form valid problem data.
class FormatError : public VexamoError {
public:
    using VexamoError::VexamoError;
};

// A condition that ends the current calculation (never the program): the
// message is shown and the Run ends without results.
class CalculationAborted : public VexamoError {
public:
    using VexamoError::VexamoError;
};

// The person chose to end the program in the middle of a calculation. The
// desktop closes; the command line ends the Run and keeps the report.
class ProgramExitRequested : public VexamoError {
public:
    using VexamoError::VexamoError;
};

// The person cancelled a data dialog or chose Exit where a Run asks for a
// method: not a failure, so outside the VexamoError family that the generic
// handlers turn into messages. The Run driver restores what the Run had
// changed and ends it.
class RunCancelled : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A floating-point failure (overflow, division by zero, a result that is not
// a number) inside a numerical method; the caller may catch it and recover.
class NumericalError : public CalculationAborted {
public:
    using CalculationAborted::CalculationAborted;
};

}  // namespace vexamo
