#include "desktop/forms/JsonProblemOpen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cctype>
#include <fstream>

#include "problem/RecordCodec.h"
#include "problemjson/JsonText.h"
#include "problemjson/ProblemJson.h"

namespace vexamo::desktop {

std::string problemOpenFilter(LanguageFlagType lang) {
    return tr(lang, "Problems|*.dat;*.json|Datafiles|*.dat|JSON problems|*.json",
              "Задачи|*.dat;*.json|Файлы данных|*.dat|Задачи JSON|*.json");
}

bool isJsonProblem(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".json";
}

ProblemData readJsonProblem(const std::filesystem::path& file, const SubstanceData& data,
                            LanguageFlagType lang) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open())
        throw JsonProblemError(tr(lang, "the file cannot be opened", "файл не открывается"));
    // Never more than one byte beyond the limit is read.
    std::string text(pjson::kMaxJsonFileBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) throw JsonProblemError(tr(lang, "the file cannot be read", "файл не читается"));
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > pjson::kMaxJsonFileBytes)
        throw JsonProblemError(
            tr(lang, "longer than ", "длиннее ") + std::to_string(pjson::kMaxJsonFileBytes) +
            tr(lang, " bytes, too long for a problem", " байт, слишком длинный для задачи"));
    try {
        return pjson::problemFromJson(text, data);
    } catch (const pjson::ProblemJsonError& e) {
        throw JsonProblemError(e.what());
    }
}

std::unique_ptr<QTemporaryFile> temporaryProblemFile(const ProblemData& problem) {
    const std::vector<std::uint8_t> bytes = encodeProblem(problem);
    auto file = std::make_unique<QTemporaryFile>(
        QDir::temp().filePath(QStringLiteral("vexamo-XXXXXX.dat")));
    if (!file->open() ||
        file->write(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file->flush())
        throw std::runtime_error(file->fileName().toStdString() + ": " +
                                 file->errorString().toStdString());
    file->close();
    return file;
}

}  // namespace vexamo::desktop
