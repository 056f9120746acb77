#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "common/Constants.h"
#include "common/Ext80.h"
#include "dialogs/FieldRules.h"
#include "problem/RecordCodec.h"
#include "problemjson/JsonText.h"
#include "problemjson/ProblemJson.h"
#include "support/SampleProblem.h"

namespace vexamo::pjson {
namespace {

const SubstanceData& data() {
    static const SubstanceData d = SubstanceData::builtIn();
    return d;
}

// Offset of the first byte that differs, or -1.
long firstDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    if (a.size() != b.size()) return static_cast<long>(std::min(a.size(), b.size()));
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return static_cast<long>(i);
    return -1;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

const char* kHandWritten = R"({
  "tube_space": {"process": "конденсация", "components": ["comp.1", "комп.2"],
                 "concentrations_mass_pct": [30.5], "pressure_kgf_cm2": 1.5},
  "shell_space": {"process": "heating", "components": ["comp.2"], "flow_rate_kg_h": 12000.5,
                  "temperature_C": 18},
  "design": {"tube_count": 100, "tube_length_m": 2.5, "outer_diameter_m": 0.025,
             "inner_diameter_m": 0.021, "shell_passes": 2, "rows_on_vertical": 10,
             "parallel_flows": 2, "shell_diameter_m": 0.4, "material": "Titanium",
             "conductivity_W_mK": 21.9, "tube_arrangement": "шахматное", "bundle": "vertical"}
})";

TEST(ProblemJson, HandWrittenEntriesGiveTheRecordsOfTheDialogs) {
    const ProblemData p = problemFromJson(kHandWritten, data());
    const TechnSet& t = p.TubeStream;
    EXPECT_EQ(t.ComponentCount, 2);
    EXPECT_EQ(t.ProcessCode, 0);
    EXPECT_EQ(t.ProcessName, "конденсация");
    EXPECT_EQ(t.GivenState, 'p');
    EXPECT_EQ(t.PhaseChange, 'x');
    EXPECT_EQ(t.SinglePhase, 0);
    EXPECT_EQ(t.Pressure, 1.5L * 735.559L * 133.3L);  // typed x 735.559 = mm Hg, x 133.3 = Pa
    EXPECT_EQ(t.FlowRate, 0);                         // the flow is given for the other medium
    EXPECT_EQ(t.Concentration[0], 30.5L);
    EXPECT_EQ(t.Concentration[1], 69.5L);
    EXPECT_EQ(t.ComponentIndex[0], 0);
    EXPECT_EQ(t.ComponentIndex[1], 1);
    EXPECT_EQ(encodeProblem({t, t, {}}), encodeProblem({t, t, {}}));
    EXPECT_EQ(t.Components[1].EnglishName, "comp.2");
    EXPECT_EQ(t.Components[1].MolarMass, data().SubstanceTable[1].MolarMass);
    EXPECT_EQ(t.Components[2].EnglishName, "");

    const TechnSet& s = p.ShellStream;
    EXPECT_EQ(s.GivenState, 't');
    EXPECT_EQ(s.PhaseChange, 0);
    EXPECT_EQ(s.SinglePhase, 1);
    EXPECT_EQ(s.Temperature, 18);
    EXPECT_EQ(s.Pressure, 0);
    EXPECT_EQ(s.FlowRate, 12000.5L);
    EXPECT_EQ(s.Concentration[0], 100);

    const DesignRecord& d = p.Design;
    EXPECT_EQ(d.FlowSide, 1);
    EXPECT_EQ(d.TubePasses, 1);  // condensing in the tubes: one pass
    EXPECT_EQ(d.MaterialIndex, 0);
    EXPECT_EQ(d.MaterialName, "Titanium");
    EXPECT_EQ(d.WallResistance, (0.025L - 0.021L) * 0.5L / 21.9L + 1.0L / 5800);
    EXPECT_NEAR(static_cast<double>(d.Surface), 2 * 100 * 3.14159265358979 * 0.023 * 2.5, 1e-9);
    EXPECT_EQ(d.StaggeredTubes, 1);
    EXPECT_EQ(d.HorizontalBundle, 0);
}

// A component may be named by what it is: the chemical's name in either
// language or its CAS number give the same records as the system's names,
// and the file written back uses the system's names.
TEST(ProblemJson, ComponentsByChemicalNameOrCasNumber) {
    std::string byChemical = kHandWritten;
    byChemical.replace(byChemical.find("[\"comp.1\", \"комп.2\"]"),
                       std::string("[\"comp.1\", \"комп.2\"]").size(),
                       "[\"Ethanol\", \"7732-18-5\"]");
    byChemical.replace(byChemical.find("[\"comp.2\"]"), std::string("[\"comp.2\"]").size(),
                       "[\"вода\"]");
    const ProblemData p = problemFromJson(byChemical, data());
    EXPECT_EQ(encodeProblem(p), encodeProblem(problemFromJson(kHandWritten, data())));
    EXPECT_NE(problemToJson(p, data()).find("\"comp.1\""), std::string::npos);
    std::string formula = kHandWritten;
    formula.replace(formula.find("[\"comp.2\"]"), std::string("[\"comp.2\"]").size(), "[\"H2O\"]");
    EXPECT_THROW(problemFromJson(formula, data()), ProblemJsonError);
}

TEST(ProblemJson, ConvertedProblemsComeBackByteForByte) {
    // A problem the readable fields describe completely has no "stored" part.
    ProblemData plain = problemFromJson(kHandWritten, data());
    const std::string plainText = problemToJson(plain, data());
    EXPECT_EQ(plainText.find("\"stored\""), std::string::npos) << plainText;
    EXPECT_EQ(encodeProblem(problemFromJson(plainText, data())), encodeProblem(plain));

    // A problem after real Runs: stale slots, run-time UNIFAC data, values the
    // readable fields cannot say.
    ProblemData p = test::sampleProblem(data());
    p.TubeStream.Components[0].Groups.PureFractions[0] = 0.5L;
    p.TubeStream.Components[0].Groups.PureInteraction[0][1] = 931.2L / 273.15L;
    p.TubeStream.ComponentIndex[4] = 3;
    p.TubeStream.Concentration[5] = 12.25L;
    p.ShellStream.Components[4] = data().SubstanceTable[2];
    p.ShellStream.Components[5].MolarMass = std::numeric_limits<Real>::quiet_NaN();
    p.ShellStream.AirFactor = 0.87L;
    p.TubeStream.Pressure = 101325.0L / 3;
    p.Design.WallResistance = 1.0L / 3;
    p.Design.ShellDiameter = -0.0L;
    const auto bytes = encodeProblem(p);
    const std::string text = problemToJson(p, data());
    EXPECT_NE(text.find("\"stored\""), std::string::npos);
    EXPECT_EQ(firstDifference(encodeProblem(problemFromJson(text, data())), bytes), -1) << text;

    for (const char* file : {"steam-water-heater", "ethanol-water-cooler"}) {
        const std::string json =
            readFile(std::string(VEXAMO_SOURCE_DIR) + "/examples/" + file + ".json");
        const ProblemData e = problemFromJson(json, data());
        EXPECT_EQ(firstDifference(encodeProblem(problemFromJson(problemToJson(e, data()), data())),
                                  encodeProblem(e)),
                  -1)
            << file;
    }
}

TEST(ProblemJson, NumbersKeepAllEightyBits) {
    for (Real v : {0.1L, 1.0L / 3, 6.0L, 1e-6L, 123456789.0L, -2.5e300L, 1e-4940L,
                   std::numeric_limits<Real>::max(), std::numeric_limits<Real>::denorm_min()}) {
        const auto text = exactDecimal(v);
        ASSERT_TRUE(text) << static_cast<double>(v);
        EXPECT_EQ(std::strtold(text->c_str(), nullptr), v) << *text;
        EXPECT_EQ(realFromJson(Json::parse(*text)), v) << *text;
    }
    EXPECT_EQ(*exactDecimal(100), "100");
    EXPECT_EQ(*exactDecimal(0.025L), "0.025");
    EXPECT_EQ(*exactDecimal(-0.0L), "-0.0");
    EXPECT_TRUE(std::signbit(realFromJson(Json::parse(*exactDecimal(-0.0L)))));
    const Json nan = realToJson(std::numeric_limits<Real>::quiet_NaN());
    ASSERT_TRUE(nan.is_string());
    EXPECT_TRUE(std::isnan(realFromJson(nan)));
}

// The significant digits of a value's shortest decimal, found the plain way:
// printf at every length until one reads back to the same 80 bits.
std::string shortestDigitsByPrintf(Real v) {
    for (int precision = 1; precision <= 21; ++precision) {
        char buffer[96];
        std::snprintf(buffer, sizeof buffer, "%.*Le", precision - 1, v);
        if (encodeExt80(std::strtold(buffer, nullptr)) != encodeExt80(v)) continue;
        std::string digits;
        for (const char* c = buffer; *c && *c != 'e'; ++c)
            if (std::isdigit(static_cast<unsigned char>(*c))) digits += *c;
        return digits.erase(digits.find_last_not_of('0') + 1);
    }
    return "";
}

// The significant digits of a decimal text, in either notation.
std::string significantDigits(const std::string& text) {
    std::string digits;
    for (char c : text.substr(0, text.find('e')))
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
    digits.erase(0, digits.find_first_not_of('0'));
    return digits.erase(digits.find_last_not_of('0') + 1);
}

// The writer rounds one wide printing instead of printing every length: it
// must choose the very text printf would, at ties, carries and every range
// of exponent, for any bit pattern a damaged file can hold.
TEST(ProblemJson, ShortestDecimalIsPrintfsShortest) {
    std::vector<Real> values = {2.5L,
                                0.125L,
                                9.5L,
                                99.5L,
                                999999.5L,
                                0.95L,
                                1e21L,
                                1e-7L,
                                9.999999999999999999e20L,
                                std::numeric_limits<Real>::max(),
                                std::numeric_limits<Real>::min(),
                                std::numeric_limits<Real>::denorm_min(),
                                5.0L / 3,
                                273.15L,
                                1.0L / 5800};
    // powers of two and their neighbours, where the gap below is the narrower
    for (int k = -16440; k < 16384; k += 97)
        for (Real v : {std::ldexp(Real{1}, k), std::nextafter(std::ldexp(Real{1}, k), Real{0}),
                       std::nextafter(std::ldexp(Real{1}, k), Real{2} * std::ldexp(Real{1}, k))})
            values.push_back(v);
    std::mt19937_64 random(14);
    for (int i = 0; i < 6000; ++i) {
        Ext80Bytes b{};
        const std::uint64_t mantissa = random() | (std::uint64_t{1} << 63);
        for (int k = 0; k < 8; ++k)
            b[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(mantissa >> (8 * k));
        // any exponent, or one near 1 where the positional notation is used
        const unsigned exponent =
            i % 2 ? static_cast<unsigned>(random() % 0x7FFF) : 16383u - 40u + random() % 120;
        const unsigned top = exponent | (random() % 2 ? 0x8000u : 0u);
        b[8] = static_cast<std::uint8_t>(top);
        b[9] = static_cast<std::uint8_t>(top >> 8);
        values.push_back(decodeExt80(b));
        // short decimals and halves: where the wide digits cannot decide
        values.push_back(static_cast<Real>(random() % 100000) / (Real{1} + random() % 64));
    }
    for (Real v : values) {
        if (!std::isfinite(v) || v == 0) continue;
        const std::string text = *exactDecimal(v);
        ASSERT_EQ(std::strtold(text.c_str(), nullptr), v) << text;
        ASSERT_EQ(significantDigits(text), shortestDigitsByPrintf(v)) << text;
    }
}

TEST(ProblemJson, BadInputNamesTheField) {
    struct Case {
        std::string from, to, field;
    };
    const std::vector<Case> cases = {
        {"\"tube_count\": 100", "\"tube_count\": 0", "design.tube_count"},
        {"\"tube_count\": 100", "\"tube_count\": 70000", "design.tube_count"},
        {"\"tube_count\": 100", "\"tube_count\": 1.5", "design.tube_count"},
        {"\"inner_diameter_m\": 0.021", "\"inner_diameter_m\": 0.03", "design.inner_diameter_m"},
        {"\"parallel_flows\": 2", "\"parallel_flows\": 5", "design.parallel_flows"},
        {"\"conductivity_W_mK\": 21.9", "\"conductivity_W_mK\": -1", "design.conductivity_W_mK"},
        {"\"conductivity_W_mK\": 21.9, ", "", "design.conductivity_W_mK"},
        {"\"material\": \"Titanium\"", "\"material\": \"Copper\"", "design.conductivity_W_mK"},
        {"\"bundle\": \"vertical\"", "\"bundle\": \"diagonal\"", "design.bundle"},
        {"\"shell_diameter_m\": 0.4", "\"shell_diametre_m\": 0.4", "design.shell_diametre_m"},
        {"\"comp.1\", \"комп.2\"", "\"comp.1\", \"benzene\"", "tube_space.components[1]"},
        {"\"comp.1\", \"комп.2\"", "\"comp.2\", \"comp.1\"", "tube_space.components[1]"},
        {"[30.5]", "[130.5]", "tube_space.concentrations_mass_pct[0]"},
        {"[30.5]", "[30.5, 70]", "tube_space.concentrations_mass_pct"},
        {"[30.5]", "[1, 2, 3]", "tube_space.concentrations_mass_pct"},
        {"\"pressure_kgf_cm2\": 1.5", "\"pressure_kgf_cm2\": -1", "tube_space.pressure_kgf_cm2"},
        {"\"pressure_kgf_cm2\": 1.5", "\"pressure_kgf_cm2\": \"1.5\"",
         "tube_space.pressure_kgf_cm2"},
        {"\"pressure_kgf_cm2\": 1.5", "\"temperature_C\": 80", "tube_space.temperature_C"},
        {"\"temperature_C\": 18", "\"temperature_C\": -300", "shell_space.temperature_C"},
        // beyond any process stream of this exchanger
        {"\"temperature_C\": 18", "\"temperature_C\": 1000.5", "shell_space.temperature_C"},
        {"\"pressure_kgf_cm2\": 1.5", "\"pressure_kgf_cm2\": 200.01",
         "tube_space.pressure_kgf_cm2"},
        {"\"flow_rate_kg_h\": 12000.5", "\"flow_rate_kg_h\": 1.5e8", "shell_space.flow_rate_kg_h"},
        {"\"flow_rate_kg_h\": 12000.5", "\"flow_rate_kg_h\": 0", "shell_space.flow_rate_kg_h"},
        {"\"flow_rate_kg_h\": 12000.5,", "", "shell_space.flow_rate_kg_h"},
        {"\"process\": \"heating\"", "\"process\": \"cooling\"", "shell_space.process"},
        {"\"process\": \"heating\"", "\"process\": \"melting\"", "shell_space.process"},
        {"\"process\": \"heating\"", "\"process\": \"кипение нагрев\"", "shell_space.process"},
    };
    for (const auto& c : cases) {
        std::string text = kHandWritten;
        const auto at = text.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        text.replace(at, c.from.size(), c.to);
        try {
            problemFromJson(text, data());
            ADD_FAILURE() << "accepted: " << c.to;
        } catch (const ProblemJsonError& e) {
            EXPECT_EQ(e.field(), c.field) << c.to << " -> " << e.what();
        }
    }
    EXPECT_THROW(problemFromJson("{\"tube_space\": ", data()), ProblemJsonError);
    EXPECT_THROW(problemFromJson("[]", data()), ProblemJsonError);
    // At the bounds themselves a problem is still read.
    for (const auto& [from, to] :
         {std::pair{"\"temperature_C\": 18", "\"temperature_C\": 1000"},
          std::pair{"\"pressure_kgf_cm2\": 1.5", "\"pressure_kgf_cm2\": 200"},
          std::pair{"\"flow_rate_kg_h\": 12000.5", "\"flow_rate_kg_h\": 1e8"}}) {
        std::string text = kHandWritten;
        text.replace(text.find(from), std::string(from).size(), to);
        EXPECT_NO_THROW(problemFromJson(text, data())) << to;
    }
    std::string huge = kHandWritten;
    huge.replace(huge.find("\"temperature_C\": 18"), 19, "\"temperature_C\": 1e5000");
    EXPECT_THROW(problemFromJson(huge, data()), ProblemJsonError);
}

// The reader takes the whole numbers of the design form's range and no other,
// and says the range as the form's rule has it.
TEST(ProblemJson, WholeNumbersKeepTheDesignFormsRanges) {
    for (const IntegerFieldRule* rule :
         {&field::TubeCount, &field::ShellPasses, &field::RowsOnVertical, &field::ParallelFlows}) {
        auto withValue = [rule](long long value) {
            std::string text = kHandWritten;
            const std::string key = std::string("\"") + rule->key + "\": ";
            const auto at = text.find(key) + key.size();
            text.replace(at, text.find(',', at) - at, std::to_string(value));
            return text;
        };
        EXPECT_NO_THROW(problemFromJson(withValue(rule->low), data())) << rule->key;
        EXPECT_NO_THROW(problemFromJson(withValue(rule->high), data())) << rule->key;
        for (const long long outside : {rule->low - 1, rule->high + 1}) {
            try {
                problemFromJson(withValue(outside), data());
                ADD_FAILURE() << rule->key << " accepted " << outside;
            } catch (const ProblemJsonError& e) {
                EXPECT_EQ(std::string(e.what()), std::string("design.") + rule->key +
                                                     ": must be from " + std::to_string(rule->low) +
                                                     " to " + std::to_string(rule->high));
            }
        }
    }
}

// A heated medium that enters no colder than the cooled one has nothing to
// take heat from: refused at the heated side's inlet, whichever space it is in.
TEST(ProblemJson, HeatingCoolingInletsMustDriveHeatTheRightWay) {
    const std::string source =
        readFile(std::string(VEXAMO_SOURCE_DIR) + "/examples/water-water-2pass.json");
    EXPECT_NO_THROW(problemFromJson(source, data()));
    for (const char* heated : {"\"temperature_C\": 95", "\"temperature_C\": 120"}) {
        std::string text = source;
        text.replace(text.find("\"temperature_C\": 25"), 19, heated);
        try {
            problemFromJson(text, data());
            ADD_FAILURE() << "accepted: " << heated;
        } catch (const ProblemJsonError& e) {
            EXPECT_EQ(e.field(), "tube_space.temperature_C");
        }
    }
    // the same with the spaces swapped
    std::string swapped = source;
    swapped.replace(swapped.find("\"heating\""), 9, "\"cooling\"");
    swapped.replace(swapped.rfind("\"cooling\""), 9, "\"heating\"");
    try {
        problemFromJson(swapped, data());
        ADD_FAILURE() << "accepted the shell heated from 95 by the tubes at 25";
    } catch (const ProblemJsonError& e) {
        EXPECT_EQ(e.field(), "shell_space.temperature_C");
        EXPECT_NE(std::string(e.what()).find("95 deg.C against 25 deg.C"), std::string::npos)
            << e.what();
    }
}

// design.fouling_m2K_W: each side optional (the default is half of 1/5800),
// from 0 to 0.01, added to the wall; written back only when it is not the
// default, and a problem file keeps its sum.
std::string withFouling(const std::string& fouling) {
    std::string text = kHandWritten;
    const std::string at = "\"bundle\": \"vertical\"";
    text.replace(text.find(at), at.size(), at + ", \"fouling_m2K_W\": " + fouling);
    return text;
}

TEST(ProblemJson, FoulingOfEachSide) {
    const Real wall = (0.025L - 0.021L) * 0.5L / 21.9L;
    const ProblemData plain = problemFromJson(kHandWritten, data());
    EXPECT_EQ(plain.Design.TubeFouling, kDefaultSideFouling);
    EXPECT_EQ(plain.Design.ShellFouling, kDefaultSideFouling);
    EXPECT_EQ(encodeExt80(plain.Design.WallResistance), encodeExt80(wall + kFoulingResistance));
    EXPECT_EQ(problemToJson(plain, data()).find("fouling"), std::string::npos);

    const ProblemData both =
        problemFromJson(withFouling(R"({"tube": 0.0004, "shell": 0})"), data());
    EXPECT_EQ(both.Design.TubeFouling, 0.0004L);
    EXPECT_EQ(both.Design.ShellFouling, 0);
    EXPECT_EQ(both.Design.WallResistance, wall + 0.0004L);
    // written and read back: the same split, the same file bytes
    const std::string text = problemToJson(both, data());
    EXPECT_NE(text.find("\"fouling_m2K_W\""), std::string::npos) << text;
    EXPECT_EQ(text.find("\"stored\""), std::string::npos) << text;
    const ProblemData back = problemFromJson(text, data());
    EXPECT_EQ(back.Design.TubeFouling, 0.0004L);
    EXPECT_EQ(back.Design.ShellFouling, 0);
    EXPECT_EQ(encodeProblem(back), encodeProblem(both));
    // the typed material's conductivity is what is left of the sum after the fouling
    EXPECT_NE(text.find("\"conductivity_W_mK\": 21.9"), std::string::npos) << text;

    const ProblemData one = problemFromJson(withFouling(R"({"shell": 0.001})"), data());
    EXPECT_EQ(one.Design.TubeFouling, kDefaultSideFouling);
    EXPECT_EQ(one.Design.ShellFouling, 0.001L);
    EXPECT_TRUE(hasDefaultFouling(problemFromJson(withFouling("{}"), data()).Design));
    EXPECT_NO_THROW(problemFromJson(withFouling(R"({"tube": 0.01, "shell": 0.01})"), data()));

    const std::pair<const char*, const char*> refused[] = {
        {R"({"tube": -0.0001})", "design.fouling_m2K_W.tube: must not be negative"},
        {R"({"shell": 0.0100001})",
         "design.fouling_m2K_W.shell: The fouling resistance must not be above 0.01 m2*K/W: "
         "0.0100001"},
        {R"({"tube": "thin"})", "design.fouling_m2K_W.tube: a number is expected"},
        {R"({"tube": "ext80:0000000000000080ff7f"})",
         "design.fouling_m2K_W.tube: the number is out of range"},  // infinity
        {R"({"inside": 0.0001})", "design.fouling_m2K_W.inside: unknown field"},
        {"0.0002", "design.fouling_m2K_W: an object with \"tube\" and \"shell\" is expected"},
    };
    for (const auto& [fouling, message] : refused) {
        try {
            problemFromJson(withFouling(fouling), data());
            ADD_FAILURE() << "accepted: " << fouling;
        } catch (const ProblemJsonError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

// A problem file keeps only the sum. Read back, a listed material's wall is
// known: the rest is the fouling, shared half and half, and the sum formed
// again gives the stored bits; the JSON form then says the split.
TEST(ProblemJson, AProblemFileGivesTheFoulingBackAsItsSum) {
    const ProblemData steel = problemFromJson(
        readFile(std::string(VEXAMO_SOURCE_DIR) + "/examples/water-water-2pass.json"), data());
    for (const auto& [tube, shell] : {std::pair{0.0005L, 0.0001L}, std::pair{0.0L, 0.0L},
                                      std::pair{1.0L / 3000, 1.0L / 7000}}) {
        ProblemData p = steel;
        p.Design.TubeFouling = tube;
        p.Design.ShellFouling = shell;
        p.Design.WallResistance =
            wallResistance(p.Design.OuterDiameter, p.Design.InnerDiameter, 46.5L, tube, shell);
        const auto bytes = encodeProblem(p);
        const ProblemData loaded = decodeProblem(bytes);
        EXPECT_EQ(loaded.Design.TubeFouling, loaded.Design.ShellFouling);
        EXPECT_NEAR(static_cast<double>(loaded.Design.TubeFouling + loaded.Design.ShellFouling),
                    static_cast<double>(tube + shell), 1e-18);
        EXPECT_EQ(
            encodeExt80(wallResistance(p.Design.OuterDiameter, p.Design.InnerDiameter, 46.5L,
                                       loaded.Design.TubeFouling, loaded.Design.ShellFouling)),
            encodeExt80(p.Design.WallResistance));
        const std::string text = problemToJson(loaded, data());
        EXPECT_NE(text.find("\"fouling_m2K_W\""), std::string::npos);
        EXPECT_EQ(encodeProblem(problemFromJson(text, data())), bytes);
    }
}

}  // namespace
}  // namespace vexamo::pjson
