// `run --pdf`: the data sheet of a Run read back as text. Its title block,
// the results as the report prints them, the warnings listed once, a Run
// without results documented with its reason, a bad name refused before the
// Run.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli/RunCommand.h"
#include "common/Str20.h"
#include "graph/DataSheet.h"
#include "support/Files.h"
#include "support/PdfTools.h"
#include "support/TempDir.h"

namespace vexamo::cli {
namespace {

std::string example(const std::string& name) {
    return std::string(VEXAMO_SOURCE_DIR) + "/examples/" + name;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The number the report prints after `label`.
std::string reportValue(const std::string& report, const std::string& label) {
    const std::size_t at = report.find(label);
    if (at == std::string::npos) return {};
    std::istringstream rest(report.substr(at + label.size()));
    std::string value;
    rest >> value;
    return value;
}

#define SKIP_WITHOUT_PDF_TOOLS()                                                              \
    do {                                                                                      \
        const std::string missing = test::missingPdfTool();                                   \
        if (!missing.empty()) GTEST_SKIP() << missing << " is not installed (poppler-utils)"; \
    } while (false)

TEST(DataSheet, CarriesTheTitleBlockTheResultsAndTheCharts) {
    SKIP_WITHOUT_PDF_TOOLS();
    test::TempDir dir;
    RunOptions o;
    o.problem = example("steam-water-heater.json");
    o.answers = example("answers/steam-water-heater.json");
    o.report = (dir / "report.txt").string();
    o.json = (dir / "results.json").string();
    o.pdf = (dir / "sheet.pdf").string();
    o.quiet = true;
    std::ostringstream out, err;
    ASSERT_EQ(runRun(o, out, err), 0) << err.str();
    const std::string text = test::pdfText(dir / "sheet.pdf");
    ASSERT_FALSE(text.empty());

    EXPECT_NE(text.find("Heat exchanger data sheet"), std::string::npos) << text;
    EXPECT_NE(text.find("Problem: steam-water-heater.json"), std::string::npos);
    EXPECT_NE(text.find("Date: " + todayDate()), std::string::npos);
    EXPECT_TRUE(std::regex_search(text, std::regex("Program: Vexamo [0-9]+\\.[0-9]+")));
    // The media and the design as given.
    EXPECT_NE(text.find("Tube space: heating"), std::string::npos);
    EXPECT_NE(text.find("25000 kg/hour"), std::string::npos);
    EXPECT_NE(text.find("Number of pipes:"), std::string::npos);

    // K as the report prints it, and that is the results' own value.
    const std::string report = test::readText(dir / "report.txt");
    const std::string k = reportValue(report, "Overall heat transfer coefficient:");
    ASSERT_FALSE(k.empty()) << report;
    EXPECT_NE(text.find("Overall heat transfer coefficient:"), std::string::npos);
    EXPECT_NE(text.find(k + " watt/m^2*K"), std::string::npos) << k;
    const nlohmann::json results = nlohmann::json::parse(test::readText(dir / "results.json"));
    EXPECT_NEAR(std::stod(k), results["overall_coefficient_W_m2K"].get<double>(), 1e-3);
    EXPECT_NE(text.find("ENGINEERING SUMMARY"), std::string::npos);
    EXPECT_NE(text.find(reportValue(report, "Duty of the results:") + " kW"), std::string::npos);
    // No warning, said so; the profile and, as the shell medium condenses, the T-Q diagram.
    EXPECT_TRUE(std::regex_search(text, std::regex("Warnings\\s+none")));
    EXPECT_NE(text.find("Temperature profile"), std::string::npos);
    EXPECT_NE(text.find("Temperature-duty diagram"), std::string::npos);

    const std::vector<test::PdfFont> fonts = test::pdfFonts(dir / "sheet.pdf");
    ASSERT_FALSE(fonts.empty());
    for (const test::PdfFont& f : fonts) EXPECT_TRUE(f.embedded) << f.name;
    EXPECT_FALSE(test::pdfFirstPagePng(dir / "sheet.pdf", dir / "page").empty());

    // A second Run keeps the first sheet as .bak.
    ASSERT_EQ(runRun(o, out, err), 0) << err.str();
    EXPECT_EQ(test::readText(dir / "sheet.pdf.bak").rfind("%PDF-", 0), 0u);
}

TEST(DataSheet, ListsTheWarningsAndDocumentsARunWithoutResults) {
    SKIP_WITHOUT_PDF_TOOLS();
    test::TempDir dir;
    auto hotWater = [&](double inlet) {
        nlohmann::json p = nlohmann::json::parse(test::readText(example("water-water-2pass.json")));
        p["shell_space"]["temperature_C"] = inlet;
        test::writeText(dir / "problem.json", p.dump());
    };
    RunOptions o;
    o.problem = (dir / "problem.json").string();
    o.answers = example("answers/water-water-2pass.json");
    o.report = (dir / "report.txt").string();
    o.pdf = (dir / "sheet.pdf").string();
    o.quiet = true;
    std::ostringstream out, err;

    // 15 K beyond the table: results, and the warning once, in its section.
    hotWater(215);
    ASSERT_EQ(runRun(o, out, err), 0) << err.str();
    std::string text = test::pdfText(dir / "sheet.pdf");
    const std::string warning = "Warning: comp.2: properties at 215 °C, 15 K above the range";
    EXPECT_EQ(occurrences(text, warning), 1u) << text;
    EXPECT_LT(text.find("Warnings"), text.find(warning));
    EXPECT_EQ(text.find("DATA USED OUTSIDE THEIR RANGE"), std::string::npos);
    EXPECT_NE(text.find("Overall heat transfer coefficient:"), std::string::npos);

    // Far beyond: the Run fails, its sheet says why and shows no results.
    hotWater(235);
    EXPECT_EQ(runRun(o, out, err), 1);
    text = test::pdfText(dir / "sheet.pdf");
    EXPECT_NE(text.find("No results:"), std::string::npos) << text;
    EXPECT_NE(text.find("far outside its property"), std::string::npos);
    EXPECT_NE(text.find("Problem: problem.json"), std::string::npos);
    EXPECT_NE(text.find("Number of pipes:"), std::string::npos);
    EXPECT_EQ(text.find("Overall heat transfer coefficient:"), std::string::npos);
}

TEST(DataSheet, RussianSheetAndABadNameRefusedBeforeTheRun) {
    SKIP_WITHOUT_PDF_TOOLS();
    test::TempDir dir;
    RunOptions o;
    o.problem = example("steam-water-heater.json");
    o.answers = example("answers/steam-water-heater.json");
    o.language = kRussian;
    o.quiet = true;
    o.report = (dir / "report.txt").string();
    o.pdf = (dir / "sheet.png").string();
    std::ostringstream out, err;
    EXPECT_EQ(runRun(o, out, err), 2);
    EXPECT_NE(err.str().find("--pdf"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(dir / "report.txt")) << "the Run went ahead";

    o.pdf = (dir / "лист.pdf").string();
    ASSERT_EQ(runRun(o, out, err), 0) << err.str();
    const std::string text = test::pdfText(dir / "лист.pdf");
    EXPECT_NE(text.find("Расчётный лист теплообменника"), std::string::npos) << text;
    EXPECT_NE(text.find("Трубное пространство"), std::string::npos);
    EXPECT_NE(text.find("ИНЖЕНЕРНАЯ СВОДКА"), std::string::npos);
    const std::string report = cp1251ToUtf8(test::readText(dir / "report.txt"));
    const std::string k = reportValue(report, "Коэффициент теплопеpедачи:");
    EXPECT_FALSE(k.empty()) << report;
    EXPECT_NE(text.find(k), std::string::npos) << k;
}

// The program itself, as an engineer calls it: the drawing module is found
// beside it.
TEST(DataSheet, TheProgramWritesIt) {
    SKIP_WITHOUT_PDF_TOOLS();
    test::TempDir dir;
    const test::Outcome o = test::runCommand(
        std::string(VEXAMO_BINARY) + " run --quiet --pdf " + (dir / "sheet.pdf").string() + " " +
        example("steam-water-heater.json") + " --answers " +
        example("answers/steam-water-heater.json") + " > /dev/null");
    ASSERT_EQ(o.status, 0) << o.text;
    EXPECT_NE(test::pdfText(dir / "sheet.pdf").find("Problem: steam-water-heater.json"),
              std::string::npos);
}

}  // namespace
}  // namespace vexamo::cli
