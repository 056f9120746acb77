#include "cli/PlotFiles.h"

#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <vector>

#include "control/EngineeringSummary.h"
#include "graph/ProfileChart.h"

namespace vexamo::cli {

namespace {

using ProfileEntry = bool (*)(const ProfileGraphRequest*, const char*, std::string*);
using TxyEntry = bool (*)(const plot::TxyDiagram*, const char*, std::string*);
using ChartsEntry = bool (*)(const std::vector<Chart>*, const char*, std::string*);
using DataSheetEntry = bool (*)(const DataSheet*, const char*, std::string*);

// Loading the library and drawing, one at a time: Runs on several threads
// may each write a picture, and the toolkit's application object and fonts
// are not made for being set up from two threads at once.
std::mutex& drawingMutex() {
    static std::mutex mutex;
    return mutex;
}

// The library beside the executable (or one folder up, as the test programs
// lie below it), else where it is installed.
void* plotLibrary() {
    static void* handle = nullptr;  // loaded once for the life of the process
    if (handle) return handle;
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    std::vector<std::filesystem::path> places;
    if (!ec) places = {self.parent_path(), self.parent_path().parent_path()};
    places.emplace_back(VEXAMO_PLOT_MODULE_DIR);
    std::string tried;
    for (const auto& place : places) {
        const std::filesystem::path file = place / "libvexamo-plot.so";
        if (!std::filesystem::exists(file, ec)) continue;
        handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle) return handle;
        tried += std::string(" ") + dlerror();
    }
    throw std::runtime_error(
        "the drawing library libvexamo-plot.so cannot be loaded" +
        (tried.empty() ? std::string(" (not found beside vexamo)") : ":" + tried));
}

template <typename Entry>
Entry entry(const char* name) {
    void* symbol = dlsym(plotLibrary(), name);
    if (!symbol) throw std::runtime_error(std::string("libvexamo-plot.so has no ") + name);
    return reinterpret_cast<Entry>(symbol);
}

}  // namespace

void writeProfilePicture(const ProfileGraphRequest& request, const std::string& file) {
    const std::lock_guard<std::mutex> lock(drawingMutex());
    std::string error;
    if (!entry<ProfileEntry>("vexamoPlotProfile")(&request, file.c_str(), &error))
        throw std::runtime_error(error);
}

void writeTxyPicture(const plot::TxyDiagram& diagram, const std::string& file) {
    const std::lock_guard<std::mutex> lock(drawingMutex());
    std::string error;
    if (!entry<TxyEntry>("vexamoPlotTxy")(&diagram, file.c_str(), &error))
        throw std::runtime_error(error);
}

void writeChartPicture(const std::vector<Chart>& charts, const std::string& file) {
    const std::lock_guard<std::mutex> lock(drawingMutex());
    std::string error;
    if (!entry<ChartsEntry>("vexamoPlotCharts")(&charts, file.c_str(), &error))
        throw std::runtime_error(error);
}

void writeDataSheet(const DataSheet& sheet, const std::string& file) {
    const std::lock_guard<std::mutex> lock(drawingMutex());
    std::string error;
    if (!entry<DataSheetEntry>("vexamoPlotDataSheet")(&sheet, file.c_str(), &error))
        throw std::runtime_error(error);
}

std::vector<Chart> runPictureCharts(const Session& session, const ProfileGraphRequest& profile) {
    if (!session.Results.produced)
        return {profileChart(profile, nullptr, session.Problem, session.LanguageFlag)};
    return runCharts(profile, summarize(session), session.Problem, session.LanguageFlag);
}

void writeRunPicture(const Session& session, const ProfileGraphRequest& profile,
                     const std::string& file) {
    writeChartPicture(runPictureCharts(session, profile), file);
}

}  // namespace vexamo::cli
