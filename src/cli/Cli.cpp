#include "cli/Cli.h"

#include <CLI/CLI.hpp>
#include <fmt/core.h>

#include <iostream>

#include "cli/ProblemIo.h"
#include "cli/ProblemSummary.h"
#include "cli/PropsCommand.h"
#include "cli/RunCommand.h"
#include "cli/VleCommand.h"
#include "common/Errors.h"
#include "control/Session.h"

namespace vexamo::cli {

namespace {

LanguageFlagType languageFrom(const std::string& lang) { return lang == "ru" ? kRussian : kEnglish; }

}  // namespace

int runCli(int argc, char** argv) {
    CLI::App app{"Vexamo: thermal and hydraulic design of shell-and-tube heat exchangers"};
    app.set_version_flag("--version", std::string("vexamo ") + VEXAMO_VERSION);
    app.require_subcommand(1);

    std::string convertIn, convertOut;
    auto* convert = app.add_subcommand("convert", "Convert a problem between .dat and .json (by extension)");
    convert->add_option("IN", convertIn, "problem file to read (.dat or .json)")->required();
    convert->add_option("OUT", convertOut, "problem file to write (.dat or .json)")->required();

    std::string showFile, showLang = "en";
    auto* show = app.add_subcommand("show", "Show the data of a problem file (.dat or .json)");
    show->add_option("FILE", showFile, "problem file")->required();
    show->add_option("--lang", showLang, "language of the texts: en or ru")
        ->check(CLI::IsMember({"en", "ru"}));

    PropsOptions props;
    std::string propsLang = "en";
    auto* propsCommand =
        app.add_subcommand("props", "Properties of a built-in substance or mixture at a temperature");
    propsCommand->add_option("NAME", props.substance, "substance name (comp.1 ... comp.4, комп.1 ... комп.4)")
        ->required();
    propsCommand->add_option("TEMP", props.temperature, "temperature, deg C")->required();
    propsCommand->add_option("--mix", props.mix, "mixture in mass %, e.g. \"comp.1=40,comp.2=60\"");
    propsCommand->add_flag("--json", props.json, "print JSON");
    propsCommand->add_option("--lang", propsLang, "language of the texts: en or ru")
        ->check(CLI::IsMember({"en", "ru"}));

    SubstancesOptions substances;
    std::string substancesLang = "en";
    auto* substancesCommand =
        app.add_subcommand("substances", "The built-in substances: what each is, and the ranges of its data");
    substancesCommand->add_flag("--json", substances.json, "print JSON");
    substancesCommand->add_option("--lang", substancesLang, "language of the texts: en or ru")
        ->check(CLI::IsMember({"en", "ru"}));

    RunOptions runOptions;
    std::string runLang = "en";
    auto* runCommand = app.add_subcommand("run", "Run the calculation of a problem headless");
    runCommand->add_option("PROBLEM", runOptions.problem, "problem file (.dat or .json)")->required();
    runCommand->add_option("--answers", runOptions.answers, "answers file (JSON: question id -> answer)");
    runCommand->add_option("--lang", runLang, "language of the texts: en or ru")->check(CLI::IsMember({"en", "ru"}));
    runCommand->add_option("--report", runOptions.report, "write the report to this file (Windows-1251, CR LF)");
    runCommand->add_option("--json", runOptions.json, "write the results as JSON to this file");
    runCommand->add_option("--record", runOptions.record, "write every question asked with the answer used");
    runCommand->add_option("--plot", runOptions.plot, "draw the last temperature profile into a PNG or SVG file");
    runCommand->add_flag("--quiet", runOptions.quiet, "do not log questions and answers to stderr");
    runCommand->add_flag("--verbose", runOptions.verbose,
                         "also log the intermediate values of the iterations (heating-cooling passes)");

    VleOptions vleOptions;
    std::string vleLang = "en";
    auto* vleCommand = app.add_subcommand("vle", "Phase equilibrium of a mixture at a pressure, without an exchanger");
    vleCommand->add_option("--mix", vleOptions.mix, "mixture in mass %, e.g. \"comp.1=30,comp.2=70\"")->required();
    vleCommand->add_option("--pressure", vleOptions.pressure, "pressure, kgf/cm2")->required();
    vleCommand->add_option("--process", vleOptions.process, "boiling or condensation")
        ->check(CLI::IsMember({"boiling", "condensation"}));
    vleCommand->add_option("--answers", vleOptions.answers, "answers file (JSON: question id -> answer)");
    vleCommand->add_flag("--json", vleOptions.json, "print the results as JSON");
    vleCommand->add_flag("--txy", vleOptions.txy, "print the T-x-y diagram of a two-component mixture as CSV");
    vleCommand->add_option("--plot", vleOptions.plot, "draw the T-x-y diagram into a PNG or SVG file");
    vleCommand->add_option("--lang", vleLang, "language of the texts: en or ru")->check(CLI::IsMember({"en", "ru"}));
    vleCommand->add_flag("--quiet", vleOptions.quiet, "do not log questions and answers to stderr");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? 0 : 2;
    }

    if (*runCommand) {
        runOptions.language = languageFrom(runLang);
        return runRun(runOptions, std::cout, std::cerr);
    }
    if (*vleCommand) {
        vleOptions.language = languageFrom(vleLang);
        return runVle(vleOptions, std::cout, std::cerr);
    }

    const SubstanceData data = SubstanceData::builtIn();
    try {
        if (*convert) {
            checkProblemOutput(convertOut, convertIn);
            const ProblemData problem = loadProblem(convertIn, data, kEnglish);
            saveProblem(convertOut, problem, data);
            return 0;
        }
        if (*show) {
            const LanguageFlagType lang = languageFrom(showLang);
            const ProblemData problem = loadProblem(showFile, data, lang);
            std::cout << problemSummary(problem, data, lang);
            return 0;
        }
        if (*substancesCommand) {
            substances.language = languageFrom(substancesLang);
            runSubstances(substances, data, std::cout);
            return 0;
        }
        if (*propsCommand) {
            props.language = languageFrom(propsLang);
            runProps(props, data, std::cout, std::cerr);
            return 0;
        }
    } catch (const InputError& e) {
        std::cerr << "vexamo: " << e.what() << '\n';
        return 2;
    } catch (const CalculationAborted& e) {
        std::cerr << "vexamo: " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "vexamo: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

}  // namespace vexamo::cli
