#include "CommandLine.h"

#include "HelpText.h"
#include "SettingOptions.h"
#include "ToolError.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace OrvaneTools {

namespace {

void declareOptions(CLI::App& app, std::string& inspectModule) {
    for (const SettingOption& option : settingOptions()) {
        const std::string names =
            (option.shortName ? std::string("-") + option.shortName + "," : std::string()) + "--" + option.name;
        if (option.form == SettingForm::Flag) {
            app.add_flag(names, option.help);
            continue;
        }
        CLI::Option* added = app.add_option(names, option.help)->type_name(option.typeName);
        if (takesEntries(option.form))
            added->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    }
    app.get_option("--module")->envname(kModuleVariable);
    // What sets nothing of the run: a scene to read, the versions to show, and the inspect command.
    app.add_option("--scene", "read settings from a JSON scene file; flags override it")->type_name("FILE.json");
    app.add_flag("--version", "print this program's version (the project's, which the effect module carries too) and "
                              "the effect module's as a host shows it, then exit");
    auto* inspect = app.add_subcommand("inspect", "show what a host's effect list would read from a module file");
    inspect->add_option("MODULE", inspectModule, "the module file")->required();
}

RenderSettings settingsFrom(const CLI::App& app) {
    RenderSettings settings;
    for (const SettingOption& option : settingOptions()) {
        const CLI::Option* given = app.get_option("--" + std::string(option.name));
        if (given->count() == 0) continue;
        const std::vector<std::string> texts =
            option.form == SettingForm::Flag ? std::vector<std::string>{"true"} : given->results();
        applySetting(option, texts, "--" + std::string(option.name), settings);
    }
    return settings;
}

std::unique_ptr<CLI::App> makeApp(std::string& inspectModule) {
    auto app = std::make_unique<CLI::App>(helpDescription(), "orvane-render");
    app->footer(helpFooter());
    declareOptions(*app, inspectModule);
    return app;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    const std::unique_ptr<CLI::App> app = makeApp(result.inspectModule);
    try {
        app->parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        result.mode = CommandLine::Mode::Help;
        result.helpText = app->help();
        return result;
    } catch (const CLI::CallForAllHelp&) {
        result.mode = CommandLine::Mode::Help;
        result.helpText = app->help("", CLI::AppFormatMode::All);
        return result;
    } catch (const CLI::ParseError& e) {
        throw usageError(std::string(e.what()) + " (see orvane-render --help)");
    }
    if (app->got_subcommand("inspect")) {
        result.mode = CommandLine::Mode::Inspect;
        return result;
    }
    result.flags = settingsFrom(*app);
    if (app->count("--version")) {
        result.mode = CommandLine::Mode::Version;
        return result;
    }
    if (app->count("--scene")) result.scenePath = app->get_option("--scene")->results().front();
    return result;
}

std::vector<std::string> longOptionNames() {
    std::string unused;
    const std::unique_ptr<CLI::App> app = makeApp(unused);
    std::vector<std::string> names;
    for (const CLI::Option* option : app->get_options())
        for (const std::string& name : option->get_lnames()) names.push_back(name);
    return names;
}

} // namespace OrvaneTools
