// The drawing of pictures for the headless program, loaded only when a
// command writes one: the window system's libraries stay out of every other
// command's start. Errors come back as text, not as exceptions across the
// boundary.
#include <exception>
#include <string>
#include <vector>

#include "plot/ChartPainter.h"
#include "plot/DataSheetPainter.h"
#include "plot/ProfilePainter.h"
#include "plot/TxyPainter.h"

extern "C" __attribute__((visibility("default"))) bool vexamoPlotProfile(
    const vexamo::ProfileGraphRequest* request, const char* file, std::string* error) {
    try {
        vexamo::plot::renderProfileGraph(*request, file);
        return true;
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
}

extern "C" __attribute__((visibility("default"))) bool vexamoPlotTxy(
    const vexamo::plot::TxyDiagram* diagram, const char* file, std::string* error) {
    try {
        vexamo::plot::renderTxyDiagram(*diagram, file);
        return true;
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
}

extern "C" __attribute__((visibility("default"))) bool vexamoPlotCharts(
    const std::vector<vexamo::Chart>* charts, const char* file, std::string* error) {
    try {
        vexamo::plot::renderCharts(*charts, file);
        return true;
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
}

extern "C" __attribute__((visibility("default"))) bool vexamoPlotDataSheet(
    const vexamo::DataSheet* sheet, const char* file, std::string* error) {
    try {
        vexamo::plot::renderDataSheet(*sheet, file);
        return true;
    } catch (const std::exception& e) {
        *error = e.what();
        return false;
    }
}
