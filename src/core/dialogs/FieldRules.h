#pragma once
// The numbers of the two data forms and the rule each keeps: its field in the
// readable problem format, its control on the form, the range a value must
// keep, its unit and the words that refuse a value outside the range. The
// form models and the JSON problem reader check by this one table, so the
// two can never accept different numbers.
#include <limits>
#include <optional>
#include <string>

#include "common/Constants.h"
#include "common/InputBounds.h"
#include "common/Real.h"
#include "common/Text.h"

namespace vexamo {

// A whole number from `low` to `high`.
struct IntegerFieldRule {
    const char* key;      // the field of the readable problem format
    const char* control;  // the control of the form
    long long low;
    long long high;
    const char* unit;     // "" for a count
    const char* english;  // the form's refusal of a value outside the range
    const char* russian;
};

// A real number above `above` and, where `beyond` is given, not beyond the
// bound it checks (it returns the refusal of a value beyond it).
struct RealFieldRule {
    const char* key;
    const char* control;  // without the side's suffix for the technological form
    Real above;
    const char* unit;
    const char* english;  // the form's refusal of a value not above `above`
    const char* russian;
    const char* jsonBelow;  // the JSON reader's words for such a value
    std::optional<std::string> (*beyond)(Real, LanguageFlagType);
};

// The refusal of a fouling resistance above kMaxSideFouling, in the form's
// language and ending where the text as typed follows; nothing when within.
std::optional<std::string> foulingBeyondBound(Real fouling_m2K_W, LanguageFlagType languageFlag);

// A lower limit that admits zero and refuses every negative number.
inline constexpr Real kNotNegative = -std::numeric_limits<Real>::denorm_min();

namespace field {

// clang-format off
// The design form (TfmDesign).
inline constexpr IntegerFieldRule TubeCount{
    "tube_count", "edPipeNmb", 1, 65535, "",
    "The number of pipes must be from 1 to 65535", "Число труб должно быть от 1 до 65535"};
inline constexpr RealFieldRule TubeLength{
    "tube_length_m", "edPipeL", 0, "m",
    "The length of pipes must be greater than zero", "Длина труб должна быть больше нуля",
    "must be positive", nullptr};
inline constexpr RealFieldRule OuterDiameter{
    "outer_diameter_m", "edPipeDex", 0, "m",
    "The external diameter of pipes must be greater than zero",
    "Наружный диаметр труб должен быть больше нуля", "must be positive", nullptr};
// Also below the outer diameter; the same words refuse both.
inline constexpr RealFieldRule InnerDiameter{
    "inner_diameter_m", "edPipeDin", 0, "m",
    "The inner diameter of pipes must be greater than zero and less than the external diameter",
    "Внутренний диаметр труб должен быть больше нуля и меньше наружного диаметра",
    "must be positive", nullptr};
inline constexpr IntegerFieldRule ShellPasses{
    "shell_passes", "edIntTrumpsp", 1, 255, "",
    "The number of courses in the intertubular space must be from 1 to 255",
    "Число ходов в межтрубном пространстве должно быть от 1 до 255"};
inline constexpr IntegerFieldRule TubePasses{
    "tube_passes", "cbTrumpsp", 1, 4, "",
    "The number of courses in the tube space must be from 1 to 4",
    "Число ходов в трубном пространстве должно быть от 1 до 4"};
inline constexpr RealFieldRule ShellDiameter{
    "shell_diameter_m", "edCasing", 0, "m",
    "The inner diameter of the casing must be greater than zero",
    "Внутренний диаметр кожуха должен быть больше нуля", "must be positive", nullptr};
inline constexpr IntegerFieldRule RowsOnVertical{
    "rows_on_vertical", "edRowNmb", 1, 255, "",
    "The number of pipe lines on a vertical must be from 1 to 255",
    "Число рядов труб по вертикали должно быть от 1 до 255"};
inline constexpr IntegerFieldRule ParallelFlows{
    "parallel_flows", "cbParall", 1, 4, "",
    "The number of parallel flows must be from 1 to 4",
    "Число параллельных потоков должно быть от 1 до 4"};
// Asked for a material that is not in the list.
inline constexpr RealFieldRule Conductivity{
    "conductivity_W_mK", "cbMaterial", 0, "W/(m*K)",
    "The heat conductivity of the pipe material must be greater than zero",
    "Теплопроводность материала труб должна быть больше нуля", "must be positive", nullptr};
// The fouling of each side; fields of the object design.fouling_m2K_W.
inline constexpr RealFieldRule TubeFouling{
    "tube", "edFoulTube", kNotNegative, "m2*K/W",
    "The fouling resistance in the tube space must not be negative",
    "Сопротивление загрязнений в трубном пространстве не может быть отрицательным",
    "must not be negative", foulingBeyondBound};
inline constexpr RealFieldRule ShellFouling{
    "shell", "edFoulShell", kNotNegative, "m2*K/W",
    "The fouling resistance in the shell space must not be negative",
    "Сопротивление загрязнений в межтрубном пространстве не может быть отрицательным",
    "must not be negative", foulingBeyondBound};

// The technological form (TfmHexData); the control names get the side's
// suffix, 1 for the tube space and 2 for the shell space.
inline constexpr RealFieldRule FlowRate{
    "flow_rate_kg_h", "edConsum", 0, "kg/h",
    "The flow rate of the heat-transfer medium must be greater than zero",
    "Расход теплоносителя должен быть больше нуля", "must be positive", flowRateBeyondBound};
inline constexpr RealFieldRule Temperature{
    "temperature_C", "edTemp", -kZeroCelsius_K, "deg.C",
    "The temperature must be above absolute zero (-273.15 deg.C)",
    "Температура должна быть выше абсолютного нуля (-273.15 град.С)", "below absolute zero",
    temperatureBeyondBound};
inline constexpr RealFieldRule Pressure{
    "pressure_kgf_cm2", "edPress", 0, "kgf/cm2",
    "The pressure must be greater than zero", "Давление должно быть больше нуля",
    "must be positive", pressureBeyondBound};
// clang-format on

}  // namespace field

// The form's refusal of a value outside the rule, in the form's language:
// its words, ": " and the text as typed.
std::string rangeRefusal(const IntegerFieldRule& rule, LanguageFlagType languageFlag,
                         const std::string& typed);
std::string rangeRefusal(const RealFieldRule& rule, LanguageFlagType languageFlag,
                         const std::string& typed);

// Whether a whole number keeps the rule's range.
bool withinRange(const IntegerFieldRule& rule, long long value);

// The form's refusal of a real number typed as `typed`: not above the rule's
// lower limit, or beyond its bound; nothing when it keeps the rule.
std::optional<std::string> realRefusal(const RealFieldRule& rule, Real value,
                                       LanguageFlagType languageFlag, const std::string& typed);

}  // namespace vexamo
