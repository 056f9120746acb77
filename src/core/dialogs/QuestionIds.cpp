#include "dialogs/QuestionIds.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace vexamo {

namespace {

using D = PortDialog;

// The answers and defaults as docs/questions.md states them.
constexpr std::array kDeclarations{
    // questions
    QuestionDeclaration{"run.load_problem", D::Confirm, "yes / no", "no"},
    QuestionDeclaration{"file.open_problem", D::OpenFile, "a path, or null to cancel", "cancel"},
    QuestionDeclaration{"run.save_problem", D::Confirm, "yes / no", "no"},
    QuestionDeclaration{"file.save_problem", D::SaveFile, "a path, or null to cancel", "cancel"},
    QuestionDeclaration{"design.conductivity", D::Input, "number",
                        "the conductivity implied by the stored wall resistance"},
    QuestionDeclaration{"stream.concentrations", D::Grid, "list of numbers", "the stored ones"},
    QuestionDeclaration{"stream.air_content", D::Input, "number", "0"},
    QuestionDeclaration{"equilibrium.method", D::Method,
                        "\"Wilson\", \"NRTL\", \"UNIQUAC\", \"UNIFAC\" (or \"Exit\")", "Wilson"},
    QuestionDeclaration{"equilibrium.unifac_variant", D::Alternatives, "1 or 2", "1"},
    QuestionDeclaration{"equilibrium.unifac_source", D::Alternatives, "1 or 2", "1"},
    QuestionDeclaration{"equilibrium.data_absent", D::Alternatives, "1, 2 or 3", "3"},
    QuestionDeclaration{"equilibrium.parameters", D::Grid, "list of numbers per pair", ""},
    QuestionDeclaration{"iteration.initial_approximation", D::Confirm,
                        "\"no\", or a temperature degC", "no"},
    QuestionDeclaration{"iteration.out_of_interval", D::Alternatives,
                        "\"menu\", or the new constant", "menu"},
    QuestionDeclaration{"iteration.slow_convergence", D::Confirm, "\"no\", or the new constant",
                        "no"},
    QuestionDeclaration{kShellLossForm, D::ShellLossForm, "the fields shell_loss.*", ""},
    QuestionDeclaration{kShellLossHeadType, D::ShellLossField, "1 to 4", "1"},
    QuestionDeclaration{kShellLossPitch, D::ShellLossField, "\"Default\" or a number", "Default"},
    QuestionDeclaration{kShellLossGap, D::ShellLossField, "\"Default\" or a number", "Default"},
    QuestionDeclaration{kShellLossInletDistance, D::ShellLossField, "\"Default\" or a number",
                        "Default"},
    QuestionDeclaration{kShellLossOutletDistance, D::ShellLossField, "\"Default\" or a number",
                        "Default"},
    QuestionDeclaration{kShellLossGapSize, D::ShellLossField, "\"diminished\" or \"enlarged\"",
                        "diminished"},
    QuestionDeclaration{kShellLossHoles, D::ShellLossField, "\"stamped\" or \"drilling\"",
                        "drilling"},
    QuestionDeclaration{kShellLossSealingStrips, D::ShellLossField, "0, 2, 4 or 6", "0"},
    QuestionDeclaration{"tube_loss.ends", D::Alternatives, "1 or 2", "1"},
    QuestionDeclaration{"tube_loss.u_tubes", D::CheckBox, "true or false", "false"},
    QuestionDeclaration{"tube_loss.bend_radius", D::Input, "number", ""},
    QuestionDeclaration{"tube_loss.roughness", D::Input, "\"Default\" or a number", "Default"},
    QuestionDeclaration{"tube_loss.material", D::Alternatives, "0 to 6", "0"},
    QuestionDeclaration{"fit.slow_convergence", D::AbortRetry, "\"abort\" or \"retry\"", "abort"},
    QuestionDeclaration{"graph.profile", D::ProfileGraph, "", ""},
    // messages
    QuestionDeclaration{"file.save_failed", D::Message, "error", ""},
    QuestionDeclaration{"file.load_failed", D::Message, "error", ""},
    QuestionDeclaration{"run.no_pair", D::Message, "error", ""},
    QuestionDeclaration{"run.not_built", D::Message, "error", ""},
    QuestionDeclaration{"run.aborted", D::Message, "error", ""},
    QuestionDeclaration{"run.cancelled", D::Message, "information", ""},
    QuestionDeclaration{"stream.concentrations_sum", D::Message, "error", ""},
    QuestionDeclaration{"calculation.error", D::Message, "error", ""},
    QuestionDeclaration{"calculation.speed", D::Message, "warning", ""},
    QuestionDeclaration{"file.saved_as_dat", D::Message, "information", ""},
    QuestionDeclaration{"design.bundle_fit", D::Message, "warning", ""},
    QuestionDeclaration{"calculation.pressure_loss", D::Message, "warning", ""},
    QuestionDeclaration{"heatcool.pass_temperatures", D::Message, "warning", ""},
    QuestionDeclaration{"heatcool.pass_temperatures_final", D::Message, "warning", ""},
    QuestionDeclaration{"heatcool.mean_state", D::Message, "warning", ""},
    QuestionDeclaration{"calculation.driving_force", D::Message, "warning", ""},
    QuestionDeclaration{"iteration.outside_interval", D::Message, "warning", ""},
    QuestionDeclaration{"iteration.impossible_duty", D::Message, "error", ""},
    QuestionDeclaration{"flux_balance.error", D::Message, "error", ""},
    QuestionDeclaration{"shell_loss.dp", D::Message, "warning", ""},
    QuestionDeclaration{"correlation.flux_balance_input", D::Message, "warning", ""},
    QuestionDeclaration{"correlation.wrong_parameter", D::Message, "error", ""},
    QuestionDeclaration{"equilibrium.inversion_error", D::Message, "error", ""},
};

}  // namespace

std::span<const QuestionDeclaration> questionDeclarations() { return kDeclarations; }

const QuestionDeclaration* findQuestionDeclaration(std::string_view id) {
    const auto it = std::find_if(kDeclarations.begin(), kDeclarations.end(),
                                 [&](const QuestionDeclaration& d) { return d.id == id; });
    return it == kDeclarations.end() ? nullptr : &*it;
}

void requireDeclaredId(std::string_view id, std::string_view where) {
    if (findQuestionDeclaration(id) == nullptr)
        throw std::logic_error(std::string(where) + ": the request id \"" + std::string(id) +
                               "\" is not declared in dialogs/QuestionIds.cpp");
}

}  // namespace vexamo
