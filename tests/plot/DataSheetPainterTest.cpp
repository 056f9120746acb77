// The data sheet's PDF read back with the poppler tools: every font embedded,
// the Cyrillic text extractable, long lines wrapped onto the page, text that
// does not fit flowing onto more pages, a page that is not blank.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "common/Errors.h"
#include "plot/DataSheetPainter.h"
#include "support/PdfTools.h"
#include "support/TempDir.h"

namespace vexamo {
namespace {

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A Russian sheet with a report long enough for three pages, one line far
// wider than the page, a warning and a chart.
DataSheet russianSheet() {
    DataSheet sheet;
    sheet.title = "Расчётный лист теплообменника";
    sheet.titleBlock = {"Задача: подогреватель.json", "Дата: 2026-12-10", "Программа: Vexamo 9.9"};
    sheet.warningsHeading = "Предупреждения";
    sheet.chartsHeading = "Графики";
    sheet.noWarnings = "нет";
    sheet.pageWord = "стр.";
    DataSheetSection report{"Результаты", {}};
    report.lines.push_back("  Коэффициент теплопередачи:        1329.6126 Вт/м^2*К;");
    std::string wide = "  Широкая строка:";
    for (int i = 0; i < 30; ++i) wide += " слово" + std::to_string(i);
    report.lines.push_back(wide);
    for (int i = 0; i < 150; ++i) report.lines.push_back("  строка отчета " + std::to_string(i));
    sheet.sections.push_back(report);
    sheet.warnings = {"Предупреждение: comp.2: свойства при 215 °C"};
    Chart chart{"Температурный профиль", "длина, м", "температура, °C", {}};
    chart.curves.push_back({"трубное пр-во", {0, 1, 2, 3}, {20, 40, 60, 78.5}, false, false});
    sheet.charts.push_back(chart);
    return sheet;
}

TEST(DataSheetPainter, EmbedsItsFontsAndFlowsOverPages) {
    const std::string missing = test::missingPdfTool();
    if (!missing.empty()) GTEST_SKIP() << missing << " is not installed (poppler-utils)";
    test::TempDir dir;
    const auto file = dir / "sheet.pdf";
    plot::renderDataSheet(russianSheet(), file);
    ASSERT_EQ(readAll(file).rfind("%PDF-", 0), 0u);

    const std::vector<test::PdfFont> fonts = test::pdfFonts(file);
    ASSERT_FALSE(fonts.empty());
    bool sans = false, mono = false;
    for (const test::PdfFont& f : fonts) {
        EXPECT_TRUE(f.embedded) << f.name << " is not embedded";
        sans = sans || f.name.find("DejaVuSans") != std::string::npos;
        mono = mono || f.name.find("DejaVuSansMono") != std::string::npos;
    }
    EXPECT_TRUE(sans && mono) << "the sheet's fonts are DejaVu Sans and DejaVu Sans Mono";

    const std::string text = test::pdfText(file);
    EXPECT_NE(text.find("Расчётный лист теплообменника"), std::string::npos) << text;
    EXPECT_NE(text.find("1329.6126 Вт/м^2*К"), std::string::npos);
    EXPECT_NE(text.find("Предупреждение: comp.2"), std::string::npos);
    // The wide line wrapped: its last word is on the page, on a line of its own.
    EXPECT_NE(text.find("слово29"), std::string::npos);
    EXPECT_EQ(text.find("слово0 слово1 слово2 слово3 слово4 слово5 слово6 слово7 слово8 слово9 "
                        "слово10 слово11 слово12 слово13 слово14 слово15 слово16 слово17 слово18 "
                        "слово19 слово20 слово21 слово22 слово23 слово24 слово25 слово26 слово27 "
                        "слово28 слово29"),
              std::string::npos);
    // 150 lines of report and a chart: more than two pages, each numbered;
    // nothing lost on the way.
    const auto pages = std::count(text.begin(), text.end(), '\f');
    EXPECT_GE(pages, 3) << text;
    EXPECT_NE(text.find("стр. 3"), std::string::npos);
    EXPECT_NE(text.find("строка отчета 0\n"), std::string::npos);
    EXPECT_NE(text.find("строка отчета 149"), std::string::npos);

    const auto png = test::pdfFirstPagePng(file, dir / "page");
    ASSERT_FALSE(png.empty());
    QImage page(QString::fromStdString(png.string()));
    ASSERT_FALSE(page.isNull());
    // A4 at 50 dpi, and ink on it.
    EXPECT_NEAR(page.width(), 413, 2);
    EXPECT_NEAR(page.height(), 585, 2);
    long dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 160) ++dark;
    EXPECT_GT(dark, page.width() * page.height() / 200) << "the first page is blank";
}

TEST(DataSheetPainter, RefusesOtherNamesAndKeepsThePreviousFile) {
    test::TempDir dir;
    EXPECT_THROW(plot::renderDataSheet(russianSheet(), dir / "sheet.png"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir / "sheet.png"));
    const auto file = dir / "sheet.PDF";
    std::ofstream(file) << "previous";
    plot::renderDataSheet(russianSheet(), file);
    EXPECT_EQ(readAll(dir / "sheet.PDF.bak"), "previous");
    EXPECT_EQ(readAll(file).rfind("%PDF-", 0), 0u);
    // A curve whose counts differ is refused before anything is written.
    DataSheet bad = russianSheet();
    bad.charts[0].curves[0].y.pop_back();
    EXPECT_THROW(plot::renderDataSheet(bad, dir / "bad.pdf"), std::runtime_error);
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.pdf"));
}

}  // namespace
}  // namespace vexamo
