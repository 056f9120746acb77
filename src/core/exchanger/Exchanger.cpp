#include "exchanger/Exchanger.h"

#include "exchanger/BoilingExchangers.h"
#include "exchanger/CondensationExchangers.h"
#include "exchanger/HeatCoolExchanger.h"

namespace vexamo {

ExchangerClass exchangerClassFor(int pairCode) {
    switch (pairCode) {
        case 1:
            return ExchangerClass::TConBoilObj;
        case 2:
            return ExchangerClass::TConHeatObj;
        case 3:
            return ExchangerClass::TBoilConObj;
        case 4:
            return ExchangerClass::TBoilCoolObj;
        case 5:
            return ExchangerClass::THeatConObj;
        case 6:
            return ExchangerClass::THeatCoolObj;
        case 7:
            return ExchangerClass::TCoolBoilObj;
        case 8:
            return ExchangerClass::THeatCoolObj;
        default:
            return ExchangerClass::None;
    }
}

const char* exchangerClassName(ExchangerClass cls) {
    static constexpr const char* names[] = {"",
                                            "TConBoilObj",
                                            "TConHeatObj",
                                            "TBoilConObj",
                                            "TBoilCoolObj",
                                            "THeatConObj",
                                            "THeatCoolObj",
                                            "TCoolBoilObj"};
    return names[static_cast<int>(cls)];
}

void ExchangerRegistry::add(ExchangerClass cls, ExchangerFactory factory) {
    if (cls != ExchangerClass::None)
        m_factories[static_cast<std::size_t>(cls)] = std::move(factory);
}

const ExchangerFactory* ExchangerRegistry::find(ExchangerClass cls) const {
    if (cls == ExchangerClass::None) return nullptr;
    const ExchangerFactory& f = m_factories[static_cast<std::size_t>(cls)];
    return f ? &f : nullptr;
}

const ExchangerRegistry& builtInExchangers() {
    static const ExchangerRegistry registry = [] {
        ExchangerRegistry r;
        // The process-pair classes register their constructors here.
        r.add(ExchangerClass::TConBoilObj,
              [](const ExchangerArguments& a) { return std::make_unique<TConBoilObj>(a); });
        r.add(ExchangerClass::TConHeatObj,
              [](const ExchangerArguments& a) { return std::make_unique<TConHeatObj>(a); });
        r.add(ExchangerClass::TBoilConObj,
              [](const ExchangerArguments& a) { return std::make_unique<TBoilConObj>(a); });
        r.add(ExchangerClass::TBoilCoolObj,
              [](const ExchangerArguments& a) { return std::make_unique<TBoilCoolObj>(a); });
        r.add(ExchangerClass::THeatConObj,
              [](const ExchangerArguments& a) { return std::make_unique<THeatConObj>(a); });
        r.add(ExchangerClass::THeatCoolObj,
              [](const ExchangerArguments& a) { return std::make_unique<THeatCoolObj>(a); });
        r.add(ExchangerClass::TCoolBoilObj,
              [](const ExchangerArguments& a) { return std::make_unique<TCoolBoilObj>(a); });
        return r;
    }();
    return registry;
}

}  // namespace vexamo
