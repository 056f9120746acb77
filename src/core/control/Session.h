#pragma once
// One running program's state: the loaded problem, the run-time values, the
// built-in data and the report. Passed by reference to whatever needs it.
#include <filesystem>
#include <string>
#include <vector>

#include "common/Real.h"
#include "common/Text.h"
#include "dialogs/DesignDialog.h"
#include "dialogs/ReportMemo.h"
#include "dialogs/TechnologicalDialog.h"
#include "equilibrium/EquilibriumModel.h"
#include "equilibrium/ParameterFitting.h"
#include "exchanger/Exchanger.h"
#include "problem/ProblemRecords.h"
#include "properties/PropertyFunctions.h"
#include "properties/SubstanceRecords.h"

namespace vexamo {

struct Session {
    explicit Session(SubstanceData data = SubstanceData::builtIn()) : Data(std::move(data)) {}

    SubstanceData Data;   // SubstanceTable, BinaryDataTable, GroupInteractionTable, SteamTable
    ProblemData Problem;  // TubeStream, ShellStream, Design

    LanguageFlagType LanguageFlag = kEnglish;
    char DecimalSeparator = '.';  // of every number this session's Runs show and read
    std::uint8_t DataLoaded = 0;
    std::uint8_t FlowSide = 0;
    int PairCode = 0;
    Real TubeFlow = 0;
    Real ShellFlow = 0;
    Real CondensationCorrection = 0;

    std::array<Real, 2> EnteredState{};  // per stream: degC or mm Hg as typed
    int ProgressLineIndex = 0;
    std::vector<std::string> ComponentNames;  // of the stream prepared last, current language
    RunResults Results;                       // of the last calculation
    RangeLog Validity;                        // the data this Run used outside their ranges

    // Flags of the main window (see the Run driver).
    bool TechnoPending = true;
    bool DesignPending = true;
    bool TechnoEntered = false;
    bool DesignEntered = false;

    // The two data dialogs live as long as the program and keep their values.
    TechnologicalDialogModel TechnoDialog;
    DesignDialogModel DesignDialog;

    std::filesystem::path WorkingFolder;  // taken at every Run
    ReportMemo Report;                    // ReportMemo

    // Phase equilibrium of the condensing or boiling mixture prepared last
    // (set up anew for every such stream).
    EquilibriumModel Equilibrium;  // EquilibriumModel, its MethodLetter first
    FitProgress FitState;  // progress counter of the fits: carries over for the program's life
    std::vector<PairSetup> EquilibriumPairs;  // what the last set-up did for each pair
    std::array<Real, 7> EquilibriumWork{};    // the equilibrium work array (activity coefficients)
    std::array<Real, 7> EquilibriumLiquid{};  // mole fractions of the last saturation state
    std::array<Real, 7> EquilibriumVapour{};
};

}  // namespace vexamo
