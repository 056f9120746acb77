#pragma once
// One exception family for the core. Front ends translate it once.
#include <stdexcept>
#include <string>
#include <utility>

#include "common/Text.h"

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

// Input refused at a boundary of the program (a file, an option, an answer,
// a value out of range): nothing was calculated from it. The message names
// the file or field. The command line exits with status 2.
class InputError : public VexamoError {
public:
    using VexamoError::VexamoError;
};

// A person's decision to stop a Run in the middle of its work. Not an error:
// it stands outside std::exception, so that no handler meant for failures
// catches it. The Run driver turns it into its RunOutcome; nothing else needs
// to know about it.
class RunStop {
public:
    explicit RunStop(std::string text) : m_text(std::move(text)) {}
    virtual ~RunStop() = default;
    const char* what() const noexcept { return m_text.c_str(); }

private:
    std::string m_text;
};

// The person chose to end the program in the middle of a calculation. The
// desktop closes; the command line ends the Run and keeps the report.
class ProgramExitRequested : public RunStop {
public:
    using RunStop::RunStop;
};

// The person cancelled a data dialog or chose Exit where a Run asks for a
// method. The Run driver restores what the Run had changed and ends it.
class RunCancelled : public RunStop {
public:
    using RunStop::RunStop;
};

// A floating-point failure (overflow, division by zero, a result that is not
// a number) inside a numerical method; the caller may catch it and recover.
class NumericalError : public CalculationAborted {
public:
    using CalculationAborted::CalculationAborted;
};

// What a person is told about an exception that reached a front end: the
// text of an error of the family or of the operating system as it stands; a
// fault of the program itself (a broken invariant, an index out of range) as
// an internal error with its text, and exhausted memory as such. Never advice
// to restart: a fault of the program is not mended by that.
std::string describeError(const std::exception& e, LanguageFlagType languageFlag);

}  // namespace vexamo
