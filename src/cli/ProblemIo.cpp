#include "cli/ProblemIo.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "common/AtomicFile.h"
#include "common/Errors.h"
#include "control/ProblemFile.h"
#include "problem/RecordCodec.h"
#include "problemjson/JsonText.h"
#include "problemjson/ProblemJson.h"

namespace vexamo::cli {

namespace fs = std::filesystem;

namespace {

std::string extensionOf(const fs::path& file) {
    std::string ext = file.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// A .dat is the system's own problem file and keeps "case1.bak"; a JSON
// problem backs up to "case1.json.bak", so converting one stem both ways
// never shares a backup.
BackupRule problemBackupRule(const fs::path& file) {
    return extensionOf(file) == ".dat" ? BackupRule::ReplaceExtension : BackupRule::AppendBak;
}

}  // namespace

std::string readInputText(const fs::path& file, std::size_t limit) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) throw InputError(file.string() + ": cannot be opened");
    return readInputText(in, file.string(), limit);
}

std::string readInputText(std::istream& in, const std::string& name, std::size_t limit) {
    std::string text;
    char buffer[65536];
    while (in && text.size() <= limit) {
        in.read(buffer, sizeof buffer);
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) throw InputError(name + ": cannot be read");
    if (text.size() > limit)
        throw InputError(name + ": longer than " + std::to_string(limit) +
                         " bytes, too long for a file of the program");
    return text;
}

void checkProblemOutput(const fs::path& file, const fs::path& input) {
    try {
        checkOutputs({{"OUT", file, problemBackupRule(file), {".dat", ".json"}}}, {{"IN", input}});
    } catch (const OutputRefused& e) {
        throw InputError(e.what());
    }
}

ProblemData loadProblem(const fs::path& file, const SubstanceData& data, LanguageFlagType lang) {
    const std::string ext = extensionOf(file);
    if (ext == ".dat") {
        try {
            return readProblemFile(file, data.SubstanceTable.size(), lang);
        } catch (const FormatError& e) {
            throw InputError(file.string() + ": " + e.what());
        } catch (const std::system_error& e) {
            throw InputError(file.string() + ": cannot be opened (" + e.code().message() + ")");
        }
    }
    if (ext == ".json")
        return problemFromText(readInputText(file, pjson::kMaxJsonFileBytes), file.string(), data);
    throw InputError(file.string() + ": the extension must be .dat or .json");
}

ProblemData problemFromText(const std::string& text, const std::string& origin,
                            const SubstanceData& data) {
    try {
        return pjson::problemFromJson(text, data);
    } catch (const pjson::ProblemJsonError& e) {
        throw InputError(origin + ": " + e.what());
    }
}

void saveProblem(const fs::path& file, const ProblemData& problem, const SubstanceData& data) {
    const std::string ext = extensionOf(file);
    std::string bytes;
    try {
        if (ext == ".dat") {
            const auto raw = encodeProblem(problem);
            bytes.assign(raw.begin(), raw.end());
        } else if (ext == ".json") {
            bytes = pjson::problemToJson(problem, data);
        } else {
            throw InputError(file.string() + ": the extension must be .dat or .json");
        }
    } catch (const pjson::ProblemJsonError& e) {
        throw InputError(file.string() + ": " + e.what());
    } catch (const EncodingError& e) {
        throw InputError(file.string() + ": " + e.what());
    }
    writeFileAtomically(file, bytes, problemBackupRule(file));
}

}  // namespace vexamo::cli
