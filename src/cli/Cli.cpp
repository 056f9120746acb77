#include "cli/Cli.h"

#include <fmt/core.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/ErrorReport.h"
#include "cli/ProblemIo.h"
#include "cli/ProblemSummary.h"
#include "cli/PropsCommand.h"
#include "cli/RunCommand.h"
#include "cli/StudyCommands.h"
#include "cli/VleCommand.h"
#include "common/Errors.h"
#include "control/Session.h"

namespace vexamo::cli {

namespace {

LanguageFlagType languageFrom(const std::string& lang) {
    return lang == "ru" ? kRussian : kEnglish;
}

void addLanguageOption(CLI::App* command, std::string& lang) {
    command->add_option("--lang", lang, "language of the texts: en or ru")
        ->check(CLI::IsMember({"en", "ru"}));
}

// The options of every subcommand, filled by the parser.
struct Commands {
    CLI::App* convert = nullptr;
    std::string convertIn, convertOut;
    CLI::App* show = nullptr;
    std::string showFile, showLang = "en";
    CLI::App* props = nullptr;
    PropsOptions propsOptions;
    std::string propsLang = "en";
    CLI::App* substances = nullptr;
    SubstancesOptions substancesOptions;
    std::string substancesLang = "en";
    CLI::App* run = nullptr;
    RunOptions runOptions;
    std::string runLang = "en";
    CLI::App* vle = nullptr;
    VleOptions vleOptions;
    std::string vleLang = "en";
    CLI::App* batch = nullptr;
    BatchOptions batchOptions;
    std::string batchLang = "en";
    CLI::App* sweep = nullptr;
    SweepOptions sweepOptions;
    std::string sweepLang = "en";
};

void defineFileCommands(CLI::App& app, Commands& c) {
    c.convert =
        app.add_subcommand("convert", "Convert a problem between .dat and .json (by extension)");
    c.convert->add_option("IN", c.convertIn, "problem file to read (.dat or .json)")->required();
    c.convert->add_option("OUT", c.convertOut, "problem file to write (.dat or .json)")->required();

    c.show = app.add_subcommand("show", "Show the data of a problem file (.dat or .json)");
    c.show->add_option("FILE", c.showFile, "problem file")->required();
    addLanguageOption(c.show, c.showLang);
}

void defineDataCommands(CLI::App& app, Commands& c) {
    c.props = app.add_subcommand("props",
                                 "Properties of a built-in substance or mixture at a temperature");
    c.props
        ->add_option("NAME", c.propsOptions.substance,
                     "substance name (comp.1 ... comp.4, комп.1 ... комп.4)")
        ->required();
    c.props->add_option("TEMP", c.propsOptions.temperature, "temperature, deg C")->required();
    c.props->add_option("--mix", c.propsOptions.mix,
                        "mixture in mass %, e.g. \"comp.1=40,comp.2=60\"");
    c.props->add_flag("--json", c.propsOptions.json, "print JSON");
    addLanguageOption(c.props, c.propsLang);

    c.substances = app.add_subcommand(
        "substances", "The built-in substances: what each is, and the ranges of its data");
    c.substances->add_flag("--json", c.substancesOptions.json, "print JSON");
    addLanguageOption(c.substances, c.substancesLang);
}

void defineRunCommand(CLI::App& app, Commands& c) {
    RunOptions& o = c.runOptions;
    c.run = app.add_subcommand("run", "Run the calculation of a problem headless");
    c.run->add_option("PROBLEM", o.problem, "problem file (.dat or .json), - for JSON on stdin")
        ->required();
    c.run->add_option("--answers", o.answers,
                      "answers file (JSON: question id -> answer), - for stdin");
    c.run
        ->add_option("--set", o.sets,
                     "PATH=VALUE: set a field of the JSON problem format before the Run "
                     "(design.tube_length_m=4); repeatable, applied in order")
        ->allow_extra_args(false);
    addLanguageOption(c.run, c.runLang);
    c.run->add_option("--report", o.report, "write the report to this file (Windows-1251, CR LF)");
    c.run->add_option("--json", o.json,
                      "write the results as JSON to this file (- for stdout, the report then "
                      "to stderr)");
    c.run->add_option("--record", o.record, "write every question asked with the answer used");
    c.run->add_option(
        "--plot", o.plot,
        "draw the temperature profile (and the T-Q diagram of a condensing or boiling medium) into "
        "a PNG or SVG file");
    c.run->add_option("--pdf", o.pdf,
                      "write the data sheet (data, results, summary, warnings, charts) into a "
                      "PDF file");
    c.run->add_flag("--quiet", o.quiet, "do not log questions and answers to stderr");
    c.run->add_flag("--verbose", o.verbose,
                    "also log the intermediate values of the iterations (heating-cooling passes)");
}

void defineVleCommand(CLI::App& app, Commands& c) {
    VleOptions& o = c.vleOptions;
    c.vle = app.add_subcommand(
        "vle", "Phase equilibrium of a mixture at a pressure, without an exchanger");
    c.vle->add_option("--mix", o.mix, "mixture in mass %, e.g. \"comp.1=30,comp.2=70\"")
        ->required();
    c.vle->add_option("--pressure", o.pressure, "pressure, kgf/cm2")->required();
    c.vle->add_option("--process", o.process, "boiling or condensation")
        ->check(CLI::IsMember({"boiling", "condensation"}));
    c.vle->add_option("--answers", o.answers, "answers file (JSON: question id -> answer)");
    c.vle->add_flag("--json", o.json, "print the results as JSON");
    c.vle->add_flag("--txy", o.txy, "print the T-x-y diagram of a two-component mixture as CSV");
    c.vle->add_option("--plot", o.plot, "draw the T-x-y diagram into a PNG or SVG file");
    addLanguageOption(c.vle, c.vleLang);
    c.vle->add_flag("--quiet", o.quiet, "do not log questions and answers to stderr");
}

// The options of the summary both study commands write.
void addStudyOutputOptions(CLI::App* command, StudyOutput& o, std::string& lang) {
    command->add_option("--jobs", o.jobs, "Runs at a time (default: one per core)")
        ->check(CLI::Range(1u, 256u));
    command->add_option("--csv", o.csv,
                        "write one CSV row per Run to this file (- for stdout; the default when "
                        "neither --csv nor --json is given)");
    command->add_option("--json", o.json, "write the rows as JSON to this file (- for stdout)");
    command->add_flag("--quiet", o.quiet, "no progress line and no closing count on stderr");
    addLanguageOption(command, lang);
}

void defineStudyCommands(CLI::App& app, Commands& c) {
    BatchOptions& b = c.batchOptions;
    c.batch = app.add_subcommand("batch", "Run many problems headless, one summary row each");
    c.batch->add_option("PROBLEM", b.problems, "problem files (.dat or .json)")->required();
    auto* answers =
        c.batch->add_option("--answers", b.answers, "one answers file for every problem");
    c.batch
        ->add_option("--answers-dir", b.answersDir,
                     "a folder of answers files: DIR/<stem of the problem>.json, where it exists")
        ->excludes(answers);
    addStudyOutputOptions(c.batch, b.output, c.batchLang);

    SweepOptions& s = c.sweepOptions;
    c.sweep = app.add_subcommand(
        "sweep", "Run a problem over a grid of field values (the product of every --vary)");
    c.sweep->add_option("PROBLEM", s.problem, "problem file (.dat or .json)")->required();
    c.sweep
        ->add_option("--vary", s.vary,
                     "PATH=FROM:TO:STEP or PATH=V1,V2,...: a field of the JSON problem format "
                     "and its values; repeatable, the first varies slowest")
        ->required()
        ->allow_extra_args(false);
    c.sweep->add_option("--set", s.sets, "PATH=VALUE: a fixed change before the varied fields")
        ->allow_extra_args(false);
    c.sweep->add_option("--answers", s.answers, "answers file for every Run");
    c.sweep->add_option("--plot", s.plot,
                        "draw the results against the first varied field (PNG or SVG), one "
                        "curve per value of the others");
    c.sweep
        ->add_option("--y", s.y,
                     "the results plotted, one panel each: duty, surface, K, over_surface, "
                     "tube_outlet, shell_outlet, tube_flow, shell_flow, tube_loss, shell_loss "
                     "(default duty,surface,K)")
        ->delimiter(',');
    addStudyOutputOptions(c.sweep, s.output, c.sweepLang);
}

// The parsed subcommand, run; what it throws is reported by the caller.
int runCommand(Commands& c) {
    if (*c.run) {
        c.runOptions.language = languageFrom(c.runLang);
        c.runOptions.input = &std::cin;
        return runRun(c.runOptions, std::cout, std::cerr);
    }
    if (*c.batch) {
        c.batchOptions.output.language = languageFrom(c.batchLang);
        return runBatch(c.batchOptions, std::cout, std::cerr);
    }
    if (*c.sweep) {
        c.sweepOptions.output.language = languageFrom(c.sweepLang);
        return runSweep(c.sweepOptions, std::cout, std::cerr);
    }
    if (*c.vle) {
        c.vleOptions.language = languageFrom(c.vleLang);
        return runVle(c.vleOptions, std::cout, std::cerr);
    }
    const SubstanceData data = SubstanceData::builtIn();
    if (*c.convert) {
        checkProblemOutput(c.convertOut, c.convertIn);
        const ProblemData problem = loadProblem(c.convertIn, data, kEnglish);
        saveProblem(c.convertOut, problem, data);
    } else if (*c.show) {
        const LanguageFlagType lang = languageFrom(c.showLang);
        const ProblemData problem = loadProblem(c.showFile, data, lang);
        std::cout << problemSummary(problem, data, lang);
    } else if (*c.substances) {
        c.substancesOptions.language = languageFrom(c.substancesLang);
        runSubstances(c.substancesOptions, data, std::cout);
    } else if (*c.props) {
        c.propsOptions.language = languageFrom(c.propsLang);
        runProps(c.propsOptions, data, std::cout, std::cerr);
    }
    return 0;
}

}  // namespace

int runCli(int argc, char** argv) {
    CLI::App app{"Vexamo: thermal and hydraulic design of shell-and-tube heat exchangers"};
    app.set_version_flag("--version", std::string("vexamo ") + VEXAMO_VERSION);
    app.require_subcommand(1);
    Commands commands;
    defineFileCommands(app, commands);
    defineDataCommands(app, commands);
    defineRunCommand(app, commands);
    defineVleCommand(app, commands);
    defineStudyCommands(app, commands);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int status = app.exit(e);
        return status == 0 ? 0 : 2;
    }
    return reportingErrors(std::cerr, [&] { return runCommand(commands); });
}

}  // namespace vexamo::cli
