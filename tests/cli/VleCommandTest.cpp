#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "cli/VleCommand.h"
#include "problemjson/JsonText.h"
#include "support/TempDir.h"

namespace vexamo::cli {
namespace {

struct Result {
    int status = 0;
    std::string out, err;
};

Result vle(VleOptions o) {
    std::ostringstream out, err;
    Result r;
    r.status = runVle(o, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

// 1.0332 kgf/cm2 = 759.98 mm Hg: the atmosphere the built-in equilibrium data
// were measured at.
VleOptions options(const std::string& mix, const std::string& pressure = "1.0332") {
    VleOptions o;
    o.mix = mix;
    o.pressure = pressure;
    o.quiet = true;
    return o;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

TEST(VleCommand, BoilingMixtureAsReportAndAsJson) {
    Result r = vle(options("comp.2=50,comp.1=50"));  // any order: the table's order is used
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> report = lines(r.out);
    ASSERT_EQ(report.size(), 10u) << r.out;
    EXPECT_EQ(report[3],
              "component comp.1-comp.2 of model Wilson and root-mean-square error of calculation.");
    EXPECT_EQ(report[9].substr(0, 10), "  759.9796");  // 1.0332 x 735.559 mm Hg

    VleOptions o = options("comp.1=50,comp.2=50");
    o.json = true;
    r = vle(o);
    ASSERT_EQ(r.status, 0) << r.err;
    const pjson::Json j = pjson::Json::parse(r.out);
    EXPECT_EQ(j["outcome"], "results");
    EXPECT_EQ(j["method"], "Wilson");
    // 50 % by mass is x = 0.281 of ethanol: measured 82.0 (x = 0.284) to 82.3 degC (x = 0.255)
    EXPECT_NEAR(pjson::realFromJson(j["saturation_temperature_C"]), 82.1L, 0.25L);
    EXPECT_NEAR(pjson::realFromJson(j["liquid_mole_fraction"][0]), 0.2811L, 1e-4L);
    EXPECT_NEAR(pjson::realFromJson(j["vapour_mole_fraction"][0]), 0.568L,
                0.02L);  // measured y 0.567 at x 0.284
    const pjson::Json& pair = j["pairs"][0];
    EXPECT_EQ(pair["source"], "fitted");
    EXPECT_EQ(pair["points"], 34);
    EXPECT_NEAR(pjson::realFromJson(pair["parameters"][0]["kJ_mol"]), 1.25L, 0.01L);
    EXPECT_NEAR(pjson::realFromJson(pair["rms_y"]), 0.0099L, 1e-4L);
    EXPECT_EQ(j["report"].size(), 10u);
}

TEST(VleCommand, PressureTypedInKgfPerCm2) {
    // 1 kgf/cm2 = 98 066.5 Pa = 735.559 mm Hg, not the 760 mm Hg of the
    // physical atmosphere; water boils at 99.06 degC there (IAPWS-IF97).
    VleOptions o = options("comp.2=100", "1");
    o.json = true;
    const Result r = vle(o);
    ASSERT_EQ(r.status, 0) << r.err;
    const pjson::Json j = pjson::Json::parse(r.out);
    EXPECT_EQ(pjson::realFromJson(j["pressure_mmHg"]), 735.559L);
    EXPECT_NEAR(pjson::realFromJson(j["pressure_Pa"]) / 98066.5L, 1.0L,
                2e-4L);  // 133.3 Pa per mm Hg
    EXPECT_NEAR(pjson::realFromJson(j["saturation_temperature_C"]), 99.06L, 0.03L);
}

TEST(VleCommand, DefaultsTakeUnifacWhereDataAreAbsent) {
    VleOptions o = options("comp.1=40,comp.3=60");
    o.json = true;
    const Result r = vle(o);
    ASSERT_EQ(r.status, 0) << r.err;
    const pjson::Json j = pjson::Json::parse(r.out);
    EXPECT_EQ(j["method"], "UNIFAC");
    EXPECT_EQ(j["unifac_variant"], "1");
    EXPECT_EQ(j["pairs"][0]["source"], "reference");
    EXPECT_EQ(j["pairs"][0]["parameters"][0]["name"], "a[1,5]");
    const Real t = pjson::realFromJson(j["saturation_temperature_C"]);
    EXPECT_GT(t, 64.5L);  // between methanol's and ethanol's boiling points
    EXPECT_LT(t, 78.3L);
}

TEST(VleCommand, EndingTheProgramOrBadInput) {
    const test::TempDir dir;
    std::ofstream(dir / "answers.json") << R"({"equilibrium.data_absent": 2})";
    VleOptions o = options("comp.2=50,comp.4=50");
    o.answers = (dir / "answers.json").string();
    Result r = vle(o);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ended at the user's choice"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find(" Calculation of power parameters"),
              std::string::npos);  // the report is written

    // An answer of the wrong type asked inside the equilibrium set-up is the
    // answers file's fault (2, named), not a failure of the set-up.
    std::ofstream(dir / "wrong.json") << R"({"equilibrium.data_absent": "x"})";
    o.answers = (dir / "wrong.json").string();
    r = vle(o);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("equilibrium.data_absent"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("reboot"), std::string::npos) << r.err;

    EXPECT_EQ(vle(options("comp.1=50,comp.2=40")).status, 2);  // not 100 %
    EXPECT_EQ(vle(options("comp.1=50,benzene=50")).status, 2);
    EXPECT_EQ(vle(options("comp.1=50,comp.2=50", "0")).status, 2);
    VleOptions three = options("comp.1=30,comp.2=30,comp.3=40");
    three.txy = true;
    EXPECT_EQ(vle(three).status, 2);
    VleOptions process = options("comp.1=50,comp.2=50");
    process.process = "melting";
    EXPECT_EQ(vle(process).status, 2);
}

TEST(VleCommand, TxyDiagramAsCsvAndPicture) {
    const test::TempDir dir;
    VleOptions o = options("comp.1=50,comp.2=50");
    o.txy = true;
    o.plot = (dir / "txy.png").string();
    const Result r = vle(o);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> csv = lines(r.out);
    ASSERT_EQ(csv.size(), 52u);
    EXPECT_EQ(csv[0], "x,y,T,x_measured,y_measured,T_measured");
    EXPECT_EQ(csv[1].substr(0, 18), "0.000000,0.000000,");
    EXPECT_NEAR(std::stold(csv[1].substr(18, 7)), 99.97L, 0.03L);  // water at 759.98 mm Hg
    EXPECT_EQ(csv[1].substr(csv[1].find(",0.0028")),
              ",0.0028,0.032,99.3");  // the first measured point
    EXPECT_EQ(csv[51].substr(0, 9), "1.000000,");
    EXPECT_NEAR(std::stold(csv[51].substr(csv[51].rfind(',', csv[51].size() - 4) + 1)), 78.17L,
                0.1L);
    EXPECT_GT(std::filesystem::file_size(dir / "txy.png"), 5000u);

    o.txy = false;
    o.plot = (dir / "txy.svg").string();
    EXPECT_EQ(vle(o).status, 0);
    std::ifstream svg(dir / "txy.svg");
    std::stringstream text;
    text << svg.rdbuf();
    EXPECT_NE(text.str().find("<svg"), std::string::npos);
}

TEST(VleCommand, PointsNotFoundAreWarningsAndEmptyFields) {
    // At 5 kgf/cm2 water boils at 151 degC (IAPWS-IF97), beyond ethanol's
    // vapour-pressure table: the point x = 0 is not found, the others are.
    VleOptions o = options("comp.1=50,comp.2=50", "5");
    o.txy = true;
    o.quiet = false;
    Result r = vle(o);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(
        r.err.find(
            "\nvexamo: warning: x = 0: The boiling temperature of the mixture comp.1-comp.2 at "),
        std::string::npos)
        << r.err;
    EXPECT_EQ(r.err.find("warning: x = 0.02"), std::string::npos);
    const std::vector<std::string> csv = lines(r.out);
    ASSERT_EQ(csv.size(), 52u);
    EXPECT_EQ(csv[1].substr(0, 11), "0.000000,,,");  // x, then no y and no T
    EXPECT_EQ(csv[2].substr(0, 9), "0.020000,");
    EXPECT_NE(csv[2].substr(9, 1), ",");

    o.json = true;  // the diagram goes into the JSON
    o.quiet = true;
    r = vle(o);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");  // --quiet keeps the warnings back too
    const pjson::Json j = pjson::Json::parse(r.out);
    EXPECT_TRUE(j["txy"]["T_C"][0].is_null());
    EXPECT_TRUE(j["txy"]["y"][0].is_null());
    EXPECT_GT(pjson::realFromJson(j["txy"]["T_C"][1]), 140);
}

TEST(VleCommand, FromTheCommandLine) {
    const test::TempDir dir;
    const std::string command =
        std::string(VEXAMO_BINARY) +
        " vle --mix \"comp.1=50,comp.2=50\" --pressure 1 --process boiling --json 2>/dev/null";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        const int status = pclose(pipe);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(pjson::Json::parse(text)["outcome"], "results");
    const std::string plot = std::string(VEXAMO_BINARY) +
                             " vle --mix \"comp.1=50,comp.2=50\" --pressure 1 --txy --plot " +
                             (dir / "txy.png").string() + " >/dev/null 2>&1";
    const int status = std::system(plot.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "txy.png"));
}

}  // namespace
}  // namespace vexamo::cli
