#include "dialogs/FieldRules.h"

namespace vexamo {

std::string rangeRefusal(const IntegerFieldRule& rule, LanguageFlagType languageFlag,
                         const std::string& typed) {
    return tr(languageFlag, rule.english, rule.russian) + std::string(": ") + typed;
}

std::string rangeRefusal(const RealFieldRule& rule, LanguageFlagType languageFlag,
                         const std::string& typed) {
    return tr(languageFlag, rule.english, rule.russian) + std::string(": ") + typed;
}

std::optional<std::string> foulingBeyondBound(Real fouling_m2K_W, LanguageFlagType languageFlag) {
    if (fouling_m2K_W <= kMaxSideFouling) return std::nullopt;
    return tr(languageFlag, "The fouling resistance must not be above 0.01 m2*K/W: ",
              "Сопротивление загрязнений должно быть не выше 0.01 м2*К/Вт: ");
}

bool withinRange(const IntegerFieldRule& rule, long long value) {
    return value >= rule.low && value <= rule.high;
}

std::optional<std::string> realRefusal(const RealFieldRule& rule, Real value,
                                       LanguageFlagType languageFlag, const std::string& typed) {
    // Written so that a value that is no number is refused too.
    if (!(value > rule.above)) return rangeRefusal(rule, languageFlag, typed);
    if (rule.beyond)
        if (auto beyond = rule.beyond(value, languageFlag)) return *beyond + typed;
    return std::nullopt;
}

}  // namespace vexamo
