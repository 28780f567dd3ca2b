#include "CommandLine.h"

#include "HelpText.h"
#include "SettingOptions.h"
#include "ToolError.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <utility>
#include <vector>

namespace OrvaneTools {

namespace {

// The options as they were declared: what was given is read from them, never looked up by name again, as
// CLI11 looks names up in functions that may not throw, where memory running out would end the process.
struct DeclaredOptions {
    std::vector<std::pair<const SettingOption*, CLI::Option*>> settings;
    CLI::Option* scene = nullptr;
    CLI::Option* version = nullptr;
    CLI::App* inspect = nullptr;
};

struct Parser {
    std::unique_ptr<CLI::App> app;
    DeclaredOptions declared;
};

DeclaredOptions declareOptions(CLI::App& app, std::string& inspectModule) {
    DeclaredOptions declared;
    for (const SettingOption& option : settingOptions()) {
        const std::string names =
            (option.shortName ? std::string("-") + option.shortName + "," : std::string()) + "--" + option.name;
        CLI::Option* added = nullptr;
        if (option.form == SettingForm::Flag) {
            added = app.add_flag(names, option.help);
        } else {
            added = app.add_option(names, option.help)->type_name(option.typeName);
            if (takesEntries(option.form))
                added->expected(1)->allow_extra_args(false)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        }
        if (std::string(option.name) == "module") added->envname(kModuleVariable);
        declared.settings.emplace_back(&option, added);
    }
    // What sets nothing of the run: a scene to read, the versions to show, and the inspect command.
    declared.scene = app.add_option("--scene", "read settings from a JSON scene file; flags override it")
                         ->type_name("FILE.json");
    declared.version = app.add_flag("--version", "print this program's version (the project's, which the effect "
                                                 "module carries too) and the effect module's as a host shows it, "
                                                 "then exit");
    declared.inspect = app.add_subcommand("inspect", "show what a host's effect list would read from a module file");
    declared.inspect->add_option("MODULE", inspectModule, "the module file")->required();
    return declared;
}

RenderSettings settingsFrom(const DeclaredOptions& declared) {
    RenderSettings settings;
    for (const auto& [option, given] : declared.settings) {
        if (given->count() == 0) continue;
        const std::vector<std::string> texts =
            option->form == SettingForm::Flag ? std::vector<std::string>{"true"} : given->results();
        applySetting(*option, texts, "--" + std::string(option->name), settings);
    }
    return settings;
}

Parser makeParser(std::string& inspectModule) {
    Parser parser;
    parser.app = std::make_unique<CLI::App>(helpDescription(), "orvane-render");
    parser.app->footer(helpFooter());
    parser.declared = declareOptions(*parser.app, inspectModule);
    return parser;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    const Parser parser = makeParser(result.inspectModule);
    CLI::App* app = parser.app.get();
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
    if (parser.declared.inspect->parsed()) {
        result.mode = CommandLine::Mode::Inspect;
        return result;
    }
    result.flags = settingsFrom(parser.declared);
    if (parser.declared.version->count()) {
        result.mode = CommandLine::Mode::Version;
        return result;
    }
    if (parser.declared.scene->count()) result.scenePath = parser.declared.scene->results().front();
    return result;
}

std::vector<std::string> longOptionNames() {
    std::string unused;
    const Parser parser = makeParser(unused);
    std::vector<std::string> names;
    for (const CLI::Option* option : parser.app->get_options())
        for (const std::string& name : option->get_lnames()) names.push_back(name);
    return names;
}

} // namespace OrvaneTools
