#pragma once
// The readable problem format: both media and the design data as JSON that a
// person can write and read (docs/problem-format.md).
#include <stdexcept>
#include <string>
#include <string_view>

#include "common/Errors.h"
#include "problem/ProblemRecords.h"
#include "problemjson/JsonFwd.h"
#include "properties/SubstanceRecords.h"

namespace vexamo::pjson {

// Bad JSON or a value out of range; the message names the field.
class ProblemJsonError : public InputError {
public:
    ProblemJsonError(std::string field, const std::string& message)
        : InputError(field.empty() ? message : field + ": " + message), m_field(std::move(field)) {}
    const std::string& field() const { return m_field; }

private:
    std::string m_field;
};

// Builds the records the data dialogs would produce from the entries
// (component slots copied from the substance table, pressure x 735.559 x 133.3 Pa,
// GivenState, PhaseChange and SinglePhase by process, wall resistance and
// surface), then applies the "stored" section of a converted file.
ProblemData problemFromJson(std::string_view text, const SubstanceData& data);

// Writes the readable form; whatever the readable fields do not determine
// goes into the "stored" section, so that converting back gives the same
// bytes. Throws ProblemJsonError for problem data that are not sound.
std::string problemToJson(const ProblemData& problem, const SubstanceData& data);

// Entries changed in the JSON form of a converted problem: every record field
// (and component slot) whose value the readable fields of `edited` derive
// otherwise than those of `original` is taken out of edited's "stored"
// section, so that a value kept from before the change cannot undo it.
void releaseStored(const Json& original, Json& edited, const SubstanceData& data);

// Reads the readable fields of a problem's JSON form as a hand-written file
// is read (its "stored" section left out, every range checked). Throws
// ProblemJsonError naming the field.
void checkReadable(const Json& root, const SubstanceData& data);

}  // namespace vexamo::pjson
