#include "cli/ProblemIo.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "common/Errors.h"
#include "control/ProblemFile.h"
#include "control/RecordCodec.h"
#include "problemjson/ProblemJson.h"

namespace vexamo::cli {

namespace fs = std::filesystem;

namespace {

std::string extensionOf(const fs::path& file) {
    std::string ext = file.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    if (fs::exists(file)) MakeBackup(file);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out.is_open()) throw std::runtime_error(file.string() + ": cannot be created");
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(file.string() + ": writing failed");
}

}  // namespace

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
    if (ext == ".json") {
        std::ifstream in(file, std::ios::binary);
        if (!in.is_open()) throw InputError(file.string() + ": cannot be opened");
        std::ostringstream text;
        text << in.rdbuf();
        try {
            return pjson::problemFromJson(text.str(), data);
        } catch (const pjson::ProblemJsonError& e) {
            throw InputError(file.string() + ": " + e.what());
        }
    }
    throw InputError(file.string() + ": the extension must be .dat or .json");
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
    writeBytes(file, bytes);
}

}  // namespace vexamo::cli
