#include "common/Errors.h"

#include <new>
#include <typeinfo>

namespace vexamo {

std::string describeError(const std::exception& e, LanguageFlagType languageFlag) {
    if (dynamic_cast<const VexamoError*>(&e) != nullptr) return e.what();
    if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr)
        return tr(languageFlag, "Internal error of the program: not enough memory",
                  "Внутренняя ошибка программы: недостаточно памяти");
    // A broken invariant, a bad cast, an index out of range: faults of the
    // program, not of the data or the system.
    if (dynamic_cast<const std::logic_error*>(&e) != nullptr ||
        dynamic_cast<const std::bad_cast*>(&e) != nullptr)
        return tr(languageFlag,
                  "Internal error of the program: ", "Внутренняя ошибка программы: ") +
               std::string(e.what());
    return e.what();
}

}  // namespace vexamo
