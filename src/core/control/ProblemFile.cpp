#include "control/ProblemFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "common/Errors.h"
#include "problem/RecordCodec.h"

namespace vexamo {

namespace fs = std::filesystem;

fs::path backupName(const fs::path& name) { return backupPath(name, BackupRule::ReplaceExtension); }

namespace {

std::optional<std::string> streamDamage(const TechnSet& s, std::size_t substanceCount,
                                        LanguageFlagType lang) {
    if (s.ComponentCount < 1 || s.ComponentCount > kMaxComponents)
        return tr(lang, "the number of components is ", "число компонентов равно ") +
               std::to_string(s.ComponentCount) +
               tr(lang, " (allowed 1 to 6)", " (допустимо от 1 до 6)");
    for (std::size_t i = 0; i < s.ComponentCount; ++i)
        if (s.ComponentIndex[i] >= substanceCount)
            return tr(lang, "component ", "компонент ") + std::to_string(i + 1) +
                   tr(lang, " has the substance number ", " имеет номер вещества ") +
                   std::to_string(s.ComponentIndex[i] + 1) +
                   tr(lang, ", the substance table holds ", ", в таблице веществ их ") +
                   std::to_string(substanceCount);
    if (s.ProcessCode > 3)
        return tr(lang, "the process code is ", "код процесса равен ") +
               std::to_string(s.ProcessCode) +
               tr(lang, " (allowed 0 to 3)", " (допустимо от 0 до 3)");
    return std::nullopt;
}

}  // namespace

std::optional<std::string> problemDamage(const ProblemData& problem, std::size_t substanceCount,
                                         LanguageFlagType lang) {
    if (auto why = streamDamage(problem.TubeStream, substanceCount, lang))
        return tr(lang, "tube space: ", "трубное пространство: ") + *why;
    if (auto why = streamDamage(problem.ShellStream, substanceCount, lang))
        return tr(lang, "shell space: ", "межтрубное пространство: ") + *why;
    return problemFieldFault(problem, lang);
}

ProblemData decodeProblemFile(std::span<const std::uint8_t> bytes, std::size_t substanceCount,
                              LanguageFlagType lang) {
    if (bytes.size() < kProblemFileSize)
        throw ShortFileError(
            tr(lang, "the file is ", "длина файла ") + std::to_string(bytes.size()) +
            tr(lang, " bytes long, a problem file has ", " байт, файл задачи имеет ") +
            std::to_string(kProblemFileSize));
    ProblemData problem;
    try {
        problem = decodeProblem(bytes);
    } catch (const EncodingError& e) {
        throw FormatError(
            std::string(tr(lang, "a name in the file is damaged: ", "имя в файле повреждено: ")) +
            e.what());
    }
    if (auto why = problemDamage(problem, substanceCount, lang)) throw FormatError(*why);
    return problem;
}

ProblemData readProblemFile(const fs::path& name, std::size_t substanceCount,
                            LanguageFlagType lang) {
    std::ifstream in(name, std::ios::binary);
    if (!in.is_open()) throw std::system_error(errno, std::generic_category(), name.string());
    std::vector<std::uint8_t> bytes(kProblemFileSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return decodeProblemFile(bytes, substanceCount, lang);
}

void writeProblemFile(const fs::path& name, const ProblemData& problem) {
    const std::vector<std::uint8_t> bytes = encodeProblem(problem);
    writeFileAtomically(name,
                        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                        BackupRule::ReplaceExtension);
}

namespace {

FileRequest problemFileRequest(const Session& session, const char* id, const char* caption) {
    FileRequest request;
    request.id = id;
    request.caption = caption;
    request.filter = tr(session.LanguageFlag, "Datafiles|*.dat", "Файлы данных|*.dat");
    request.initialFolder = session.WorkingFolder;
    request.defaultExtension = "dat";
    return request;
}

}  // namespace

void SaveProblemFile(Session& session, Dialogs& dialogs) {
    const LanguageFlagType lang = session.LanguageFlag;
    if (!dialogs.confirm(
            {"run.save_problem", tr(lang, "Wish to write down the entered data in a file (y/n) ? ",
                                    "Желаете записать введенные данные в файл (y/n) ? ")}))
        return;
    FileRequest request = problemFileRequest(session, "file.save_problem",
                                             tr(lang, "Saving file", "Сохранение файла"));
    request.promptOverwrite = true;
    auto chosen = dialogs.saveFile(request);
    if (!chosen) return;
    // The writer writes the binary problem file: a name ending in .json would
    // hold bytes no JSON reader can take. It is written beside it as .dat.
    std::string extension = chosen->extension().string();
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (extension == ".json") {
        chosen->replace_extension(".dat");
        dialogs.message({"file.saved_as_dat", MessageKind::Information,
                         tr(lang, "The problem is written as a problem file: ",
                            "Задача записана как файл данных: ") +
                             chosen->string() +
                             tr(lang, " (a JSON problem is written by \"vexamo convert\")",
                                " (задачу в формате JSON записывает \"vexamo convert\")")});
    }
    try {
        writeProblemFile(*chosen, session.Problem);
    } catch (const std::exception& e) {
        // The system's message, then what failed (the writer's reason).
        dialogs.message({"file.save_failed", MessageKind::Error,
                         tr(lang, "It was not possible to keep the data in a file",
                            "Не удалось сохранить данные в файле") +
                             chosen->string() + "\r\n" + e.what()});
    }
}

FileActionResult FileActionExecute(Session& session, Dialogs& dialogs) {
    const LanguageFlagType lang = session.LanguageFlag;
    const FileRequest request = problemFileRequest(session, "file.open_problem",
                                                   tr(lang, "Opening file", "Загрузка файла"));
    const auto chosen = dialogs.openFile(request);
    if (!chosen) return FileActionResult::Cancelled;

    session.DataLoaded = 1;
    session.TechnoEntered = false;
    const std::string failed = tr(lang, "It was not possible to load the data from the file",
                                  "Не удалось загрузить данные из файла") +
                               chosen->string();
    FileActionResult result = FileActionResult::Loaded;
    try {
        session.Problem = readProblemFile(*chosen, session.Data.SubstanceTable.size(), lang);
    } catch (const ShortFileError&) {
        dialogs.message({"file.load_failed", MessageKind::Error, failed});
        result = FileActionResult::Failed;
    } catch (const FormatError& e) {
        // The file is there but damaged: say what is wrong with it.
        dialogs.message({"file.load_failed", MessageKind::Error, failed + "\r\n" + e.what()});
        result = FileActionResult::Failed;
    } catch (const std::exception&) {
        dialogs.message({"file.load_failed", MessageKind::Error, failed});
        result = FileActionResult::Failed;
    }
    session.DataLoaded = 1;
    session.TechnoEntered = false;
    session.DesignEntered = false;
    return result;
}

}  // namespace vexamo
