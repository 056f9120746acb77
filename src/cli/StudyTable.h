#pragma once
// The summary of a study: one row per Run, as CSV (one header line, then a
// line per Run) or as JSON. The inputs shown are the fields of the problems
// that are not the same in every Run (a batch), or the varied fields (a
// sweep); the results are those an engineer compares between cases.
#include <string>
#include <vector>

#include "cli/Study.h"

namespace vexamo::cli {

// The fields whose value is not the same in every row (a field that some
// rows lack counts as differing), in the order they first appear.
std::vector<std::string> differingInputs(const std::vector<StudyRow>& rows);

// RFC 4180: separated by commas, lines ending in CR LF, a field quoted when
// it holds a comma, a quote or a line break; numbers to 10 significant
// digits, an empty field where a value does not exist.
std::string studyCsv(const std::vector<StudyRow>& rows, const std::vector<std::string>& inputs);

// The same rows with exact numbers (the shortest decimal that reads back to
// the computed value).
std::string studyJson(const std::vector<StudyRow>& rows, const std::vector<std::string>& inputs,
                      const std::string& command);

// A field of CSV.
std::string csvField(const std::string& text);

// The result columns that follow the inputs, in order.
const std::vector<std::string>& studyResultColumns();

}  // namespace vexamo::cli
