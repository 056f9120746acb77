#pragma once
// The design data dialog (TfmDesign) without its window.
#include <optional>
#include <string>
#include <vector>

#include "common/Real.h"
#include "common/Text.h"
#include "dialogs/GenericDialogs.h"
#include "problem/ProblemRecords.h"

namespace vexamo {

class DesignDialogModel {
public:
    // Field texts, by control name.
    std::string edPipeNmb, edPipeL, edPipeDex, edPipeDin, cbTrumpsp, edCasing, edIntTrumpsp,
        edRowNmb, cbMaterial, cbParall, cbPipeArrang, cbWispArrang;
    // The fouling resistance of the tube and the shell side, m2*K/W.
    std::string edFoulTube, edFoulShell;
    // Lists (rebuilt by FormActivate, never duplicated).
    std::vector<std::string> tubePassList, parallelList, materialList, pipeArrangList,
        wispArrangList;
    bool casingVisible = true;      // edCasing and its label
    bool tubePassesVisible = true;  // cbTrumpsp and its label
    std::string caption;
    std::vector<std::pair<std::string, std::string>>
        labels;  // (control, text); hidden fields have ""

    // A fouling value as its field was filled: a field that still shows
    // `text` gives back `value` to the bit (the text is rounded for reading).
    struct ShownValue {
        std::string text;
        Real value = 0;
    };
    ShownValue shownTubeFouling, shownShellFouling;

    // Values kept between showings.
    Real lastShellDiameter = 0;  // the casing diameter read last (0 if none)
    DesignRecord values;         // what OK read
    Real conductivity = 0;       // lambda of the material, W/(m*K)
    // True once bitbtOkClick accepted the values of this showing (prepare and
    // every OK reset it); DesignActionExecute harvests only then.
    bool accepted = false;

    // DesignActionExecute before showing: Design.FlowSide from the run-time
    // flow side, pre-filled from `problem` when dataLoaded is 1, visibility
    // from the streams' SinglePhase. The fouling fields are filled from
    // `problem` when dataLoaded is 1, else with the default when both are
    // empty.
    void prepare(ProblemData& problem, std::uint8_t flowSide, std::uint8_t dataLoaded,
                 LanguageFlagType languageFlag);
    void FormActivate(LanguageFlagType languageFlag);
    // OK: empty fields, numbers in order, arrangement words (both languages),
    // material and, for a typed material, its conductivity asked through
    // `dialogs` (id design.conductivity, InputAnswer; default: the
    // conductivity implied by the WallResistance of `stored` when positive);
    // WallResistance and Surface. Cancel or "Default" of the conductivity
    // question is a silent refusal: the form stays open. Numbers that cannot
    // describe an exchanger are refused with a message naming the field, by
    // the rules of dialogs/FieldRules.h: TubeCount outside 1..65535, a length
    // or diameter not above zero, an inner diameter not below the outer one,
    // TubePasses or ParallelFlows outside 1..4, ShellPasses or RowsOnVertical
    // outside 1..255, a typed conductivity not above zero, a fouling
    // resistance below zero or above kMaxSideFouling. WallResistance is the
    // wall plus the fouling of both sides. `values` changes only on acceptance.
    DialogCheck bitbtOkClick(LanguageFlagType languageFlag, Dialogs& dialogs,
                             const DesignRecord& stored);
    // After OK: into `design`, with MaterialName cut to 20 characters and Surface.
    void harvest(DesignRecord& design) const;

private:
    bool anyFieldEmpty() const;
    // The conductivity of a material that is not in the list, asked through
    // `dialogs`; a refusal (or the silent one of Cancel) when none is taken.
    std::optional<DialogCheck> askConductivity(LanguageFlagType languageFlag, Dialogs& dialogs,
                                               const DesignRecord& stored, Real& lambda) const;
};

}  // namespace vexamo
